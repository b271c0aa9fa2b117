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
  std::string basis;   // 依据: the rule's source, the material table, 用户数据 or 示例数据
  // A verdict on data no standard stands behind: kExampleDataMark (never
  // shown as a pass or a fail) or kUserDataMark; "" for a plain verdict.
  std::string dataMark;
  bool example() const;
  // "通过" / "不通过" / "示例数据，不作为签发依据" / "通过（用户数据）" ...
  std::string verdictZh() const;
  // "pass" / "FAIL" / "example data, not for release" / "pass (user data)" ...
  std::string verdict() const;
  // The sheet's lines of a check: the verdict with its mark ("✔ 通过", "✘
  // 不通过（用户数据）", the example mark alone), "限值 …" and "依据：…".
  std::string markedVerdictZh() const;
  std::string limitLineZh() const;
  std::string basisLineZh() const;
};

inline constexpr const char* kExampleDataMark = "示例数据，不作为签发依据";
// The static checks, then the fatigue of the new and the worn stroke
// (the governing place, safety at least 1).
std::vector<CheckLine> checkLines(const SpringAnalysis& analysis, const AnalysisParams& params);

// The fixed texts of the analysis's page of the design sheet (the desktop's
// PDF and the page's printable sheet). "%1"... mark the numbers filled in.
namespace analysis_sheet {
inline constexpr const char* kTitle = "膜片弹簧强度与分离特性";
inline constexpr const char* kCannotAnalyse = "无法分析：";
inline constexpr const char* kParams =
    "分离指数 n = %1，指根宽 b = %2 mm，抗拉强度 Rm = %3 MPa，许用应力：内上缘 [σ] = %4 MPa，指根 [σf] = %5 MPa";
inline constexpr const char* kFatigueLine = "疲劳线 σO = %1 + %2·σu MPa（示例值）";
// The same, with the lines' source and the required life: "疲劳线（2·10⁶ 次）σO = 700 + 0.60·σu MPa；…（用户数据）；要求寿命 N = 2·10⁶ 次".
std::string fatigueLinesLine(const AnalysisParams& params);
// "材料：60Si2MnA（GB/T 1222）；Rm：…" (the basis of Rm).
std::string materialLine(const AnalysisParams& params);
inline constexpr const char* kChartsHeading = "一、应力与分离力特性";
inline constexpr const char* kStressCaption = "图 2  应力 σI…σIV、σOM (MPa) 随 λ1 (mm)";
inline constexpr const char* kReleaseCaption = "图 3  分离力 F2 (N) 随分离行程 λ2 (mm)";
inline constexpr const char* kPointsHeading = "二、特征点的应力与分离力";
inline constexpr const char* kPointNotes[] = {
    "s：碟簧部分的变形；σI 内上缘，σII 内下缘，σIII 外下缘，σIV 外上缘，σOM 中性点的应力（压应力为负）；",
    "F2：分离轴承处的分离力；σf：分离指根部的弯曲应力；λ2：自接合点起的分离行程（仅在分离行程上）。"};
inline constexpr const char* kChecksHeading = "三、分离特性与强度校核";
inline constexpr const char* kFootnote =
    "应力按碟簧公式（DIN 2092 / DIN EN 16983）计算，s = λ1·(R−r)/(R1−r1)；疲劳线为示例值，应以材料的实测疲劳数据替换。";
inline constexpr const char* kUserFootnote =
    "应力按碟簧公式（DIN 2092 / DIN EN 16983）计算，s = λ1·(R−r)/(R1−r1)；疲劳线为用户数据，寿命在 10⁵、5·10⁵、2·10⁶ 次之间按 lg N 插值。";
inline constexpr const char* kBasisColumn = "依据";

// "新摩擦片：λ1 … mm，最大分离力 F2max = … N（λ1 = … mm），行程终点分离行程 λ2 = … mm"
// for the new (worn false) or the worn stroke.
std::string strokeLine(const SpringAnalysis& analysis, bool worn);
// "分离指刚度 kf = … N/mm"
std::string stiffnessLine(const SpringAnalysis& analysis);
}  // namespace analysis_sheet

}  // namespace diaspring
