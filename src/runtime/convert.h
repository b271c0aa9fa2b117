#pragma once
// Text <-> number conversions of the window. None of them looks at the C or
// C++ locale: the decimal separator is always '.', whatever LC_NUMERIC says.

#include <string>
#include <string_view>

#include "runtime/num.h"

namespace diaspring {

// The number formed by the leading part of `text` that reads as a decimal
// number: optional sign, digits, at most one point, an optional exponent
// (E or e, optional sign, digits). Blanks (space, tab, CR, LF) are skipped
// wherever they stand. Text without such a part, the empty text included,
// gives 0. Trailing text after the number is ignored ("2.2 mm" -> 2.2,
// "1,5" -> 1); an exponent letter without digits adds nothing ("1e" -> 1).
// The result is always set; a zero result is positive zero ("-0" -> 0).
// A number beyond the double range ("1E999") raises an Overflow fault; one
// too small to represent reads as 0 (or the nearest subnormal). Digit strings
// of any length are read exactly (correctly rounded). Full-width digits and
// signs (runtime/full_width.h) read as their ASCII forms: "２.２" -> 2.2; the
// text stays not wholly a number for isWholeNumber, so it is still flagged.
Num val(std::string_view text);

// Whether `text` is wholly a number as val reads it: blanks aside, nothing
// before or after the number, and an exponent letter only with digits. False
// for the empty text ("" reads as 0 but says no number), "2.2 mm", "1,5",
// "1e" and "abc"; true for " 2.2", "-1.5E+3", "1 2" (blanks are skipped).
bool isWholeNumber(std::string_view text);

// The general number-to-text form used when a number is stored into a text
// box: rounded to 15 significant digits, no leading blank, no trailing zeros,
// no point for a whole number; "-" for negatives. Numbers whose decimal
// exponent is 15 or more, or below -4, take the exponent form
// "1.5E+20" / "1E-05" (mantissa without trailing zeros, sign and at least two
// exponent digits). A number below 1 in magnitude has a "0" before the point
// ("0.5", "-0.0001"). Negative zero gives "0". An unset value gives the empty
// text.
//
// The rounding to significant digits here and in the functions below works on
// the exact binary value and goes half away from zero. Infinity and NaN, which
// checked arithmetic never produces, raise Overflow and InvalidOperation.
std::string generalText(Num x);

// Str: the general form with a blank in the sign position of a non-negative
// number (" 2.5", "-2.5", " 0.5", " 0" also for negative zero). An unset
// value gives the empty text, as in the general form.
std::string str(Num x);

// Str of a single-precision number: as str, but rounded to 7 significant
// digits (the exponent form from a decimal exponent of 7 or more, or below
// -4): 1000 -> " 1000", 1E7 -> " 1E+07".
std::string strSingle(float x);

// Format with a pattern of the form "0", "0.0", "0.00", "0.000", ...: at least
// one integer digit and exactly as many decimals as the pattern has zeros
// after the point. The value is first taken to 15 significant digits (as the
// general form reads it), then rounded half away from zero: 0.125 -> "0.13",
// 2.675 -> "2.68", -1.005 -> "-1.01". A negative number keeps its sign, also
// when it rounds to zero (-0.001 -> "-0.00"); negative zero is zero. An unset
// value gives the empty text. Any other pattern is a programming error and
// throws std::invalid_argument (checked before the value is looked at).
std::string format(Num x, std::string_view pattern);

}  // namespace diaspring
