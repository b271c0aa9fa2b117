#pragma once
// A load-deflection curve measured on a rig: λ1 in mm and F1 in N, one
// pair a row. The text may be comma-, semicolon-, tab- or blank-separated
// (the decimal separator is always '.'), may start with one header line
// (a row in which no cell is a number), may hold blank lines and lines
// starting with '#', and its lines end at LF, CRLF or CR. The rows form a
// loading branch (λ1 rising), optionally followed by an unloading branch
// (λ1 falling). Anything else is refused whole, naming the line: a cell
// that is not a number (NaN and infinity included), a row without exactly
// two cells, a λ1 equal to the one before it, a λ1 that turns back a
// second time (unsorted rows), fewer than three loading points, more than
// kMaxMeasuredRows rows or a file larger than kMaxMeasuredBytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/design_curve.h"

namespace diaspring::compare {

inline constexpr std::size_t kMaxMeasuredRows = 100000;            // 100 s at 1 kHz
inline constexpr std::uintmax_t kMaxMeasuredBytes = 8 * 1024 * 1024;

struct MeasuredCurve {
  std::string name;
  std::vector<XY> loading;    // λ1 strictly rising
  std::vector<XY> unloading;  // from the turning point, λ1 strictly falling; empty when not measured
  // F1 on the loading branch at λ1, linearly interpolated; NaN outside it.
  double loadingAt(double lambda1) const;
};

struct MeasuredRead {
  std::optional<MeasuredCurve> curve;
  std::string error;    // "line 7: ..." (or about the whole file) when there is no curve
  std::string errorZh;  // the same in Chinese ("第 7 行：..."), for the window
  int line = 0;       // the line at fault, from 1; 0 when the fault is the file's
};

MeasuredRead parseMeasured(std::string_view text, std::string name);
// Reads the file at `path` (refusing a larger file before reading it); the
// curve is named after the file, without its directory.
MeasuredRead readMeasuredFile(const std::string& path);
// The text of a file named `name` already in memory (a file the page was
// given), refused and named as readMeasuredFile refuses and names the file.
MeasuredRead readMeasuredText(std::string_view text, const std::string& name);

}  // namespace diaspring::compare
