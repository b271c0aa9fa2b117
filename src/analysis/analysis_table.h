#pragma once
// The analysis as rows and columns of text, one layout for the report, the
// window's table, the design sheet and the study: the columns of a point,
// the lines of the checks, the numbers as shown.

#include <span>
#include <string>
#include <vector>

#include "analysis/spring_analysis.h"

namespace diaspring {

struct PointColumn {
  const char* key;     // "lambda1", "F1", ...: JSON keys and study columns
  const char* symbol;  // "λ1", "F1", "σOM", ...
  const char* unit;    // "mm", "N", "MPa"
  double PointState::*member;
  const char* pattern;  // "0.000", "0.0", ...
  bool inJson;          // lambda2 is shown but not a key of a point in JSON
};
std::span<const PointColumn> pointColumns();

// A number as the tables show it: with `pattern`'s decimals; "—" for no
// value, "∞" for an infinite one.
std::string analysisNumber(double value, const char* pattern);

struct CheckLine {
  std::string what;    // "|σOM|max ≤ Rm"
  std::string whatZh;  // "碟簧中性面最大应力 |σOM| ≤ Rm"
  std::string value;   // "945.9 MPa" / "σu 1129, σo 1328 MPa, S = 1.04" (S: the safety)
  std::string limit;   // "1570 MPa" / "≥ 1"
  bool pass = false;
};
// The static checks, then the fatigue of the new and the worn stroke
// (the governing place, safety at least 1).
std::vector<CheckLine> checkLines(const SpringAnalysis& analysis, const AnalysisParams& params);

}  // namespace diaspring
