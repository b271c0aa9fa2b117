// Any bytes as the text of a box. val reads it or raises Overflow, and never
// anything else; isWholeNumber agrees with val; a number written in the
// general form reads back to the same text; text after a number changes
// nothing.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "runtime/convert.h"

using diaspring::Fault;
using diaspring::FaultKind;
using diaspring::Num;
using diaspring::fuzz::require;

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// val, or nothing when the text's number lies beyond the double range.
std::optional<Num> read(std::string_view text) {
  try {
    return diaspring::val(text);
  } catch (const Fault& fault) {
    require(fault.kind() == FaultKind::Overflow, "val raises only Overflow", text);
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool whole = diaspring::isWholeNumber(text);
  const std::optional<Num> x = read(text);

  // Text after the number is ignored, and makes the text no longer wholly a number.
  const std::string followed = std::string(text) + "x";
  require(!diaspring::isWholeNumber(followed), "text ending in a letter is not wholly a number", text);
  const std::optional<Num> y = read(followed);
  require(x.has_value() == y.has_value(), "trailing text changes nothing", text);
  if (!x) return 0;
  require(x->isSet() && std::isfinite(x->value()), "val gives a finite, set number", text);
  require(sameBits(x->value(), y->value()), "trailing text changes nothing", text);
  if (text.empty()) require(!whole && x->value() == 0, "the empty text reads as 0 but is no number", text);

  // The general form of the number is wholly a number and reads back to
  // itself. Only at the very top of the range can the 15 digits round past
  // the largest double, and the text then reads as an overflow.
  const std::string shown = diaspring::generalText(*x);
  require(diaspring::isWholeNumber(shown), "the general form is wholly a number", text);
  const std::optional<Num> back = read(shown);
  if (!back) {
    require(std::fabs(x->value()) > 1.797693134862315e308, "the general form reads back", text);
    return 0;
  }
  require(diaspring::generalText(*back) == shown, "the general form reads back to itself", text);
  require(diaspring::format(*x, "0.000") == diaspring::format(*back, "0.000"), "the pattern form agrees", text);
  (void)diaspring::str(*x);
  return 0;
}
