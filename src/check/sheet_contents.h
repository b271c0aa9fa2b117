#pragma once
// What the design sheet says, as text: its captions and the rows of its
// inputs, points and rules with their verdicts, read from a window's boxes.
// The desktop's PDF and the page's printable sheet both lay out these rows,
// so the two say the same.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "form/fields.h"

namespace diaspring::sheet_text {

inline constexpr const char* kTitle = "膜片弹簧设计报告";
inline constexpr const char* kSubtitle = "离合器膜片弹簧 · 设计输入、载荷—变形特性、特征点与约束条件校核";
// The warning on every page of a sheet whose inputs were edited after its run.
inline constexpr const char* kInputsEdited = "输入已修改，本报告基于上次计算的输入";
inline constexpr const char* kPageMark = "第 %1 页 共 %2 页";
inline constexpr const char* kDateLabel = "日期：";
// The title block's design information, each shown only when not empty.
inline constexpr const char* kProjectLabel = "项目：";
inline constexpr const char* kPartLabel = "零件号/图号：";
inline constexpr const char* kDesignerLabel = "设计者：";
inline constexpr const char* kFileLabel = "文件：";
inline constexpr const char* kNotesLabel = "备注：";
inline constexpr const char* kInputsHeading = "一、设计输入";
inline constexpr const char* kGeometryCaption = "弹簧几何与行程";
inline constexpr const char* kClutchCaption = "材料与离合器参数";
inline constexpr std::array<const char*, 4> kInputColumns{"符号", "含义", "数值", "单位"};
inline constexpr const char* kChartHeading = "二、载荷—变形特性曲线";
inline constexpr const char* kNoChart = "尚未绘制特性曲线";
inline constexpr const char* kChartCaption =
    "图 1  大端载荷 F1 (N) 随大端变形 λ1 (mm) 的变化（红线），及特征点 M、N、H、B、A、C";
inline constexpr const char* kPointsHeading = "三、特征点";
inline constexpr std::array<const char*, 4> kPointColumns{"点", "名称", "F1 (N)", "λ1 (mm)"};
inline constexpr std::array<const char*, 3> kPointNotes{
    "F1：膜片弹簧大端载荷；λ1：大端变形。", "B 点载荷应与工作压力 F 相符，A 点为摩擦片",
    "磨损 Δλ 后的工作点，C 点为分离行程终点。"};
inline constexpr const char* kLegendPassed = " 合格";     // after ✔
inline constexpr const char* kLegendFailed = " 不合格";   // after ✘
inline constexpr const char* kRulesHeading = "四、约束条件校核";
inline constexpr std::array<const char*, 4> kRuleColumns{"序号", "约束条件（推荐范围）", "验证结果", "判定"};
inline constexpr const char* kDash = "—";
inline constexpr const char* kTick = "✔";
inline constexpr const char* kCross = "✘";
inline constexpr const char* kUnchecked = "未验证";
inline constexpr const char* kFooterLeft = "diaspring · 离合器膜片弹簧设计计算";
inline constexpr const char* kFooterRight = "本页汇总设计输入、特性曲线、特征点及约束条件校核结果，供设计评审与存档。";

// The release: the running head of every page, and the sheet's last page
// with the material, the revision, the approval block and the notes in full.
inline constexpr const char* kRevisionLabel = "版本：";
inline constexpr const char* kReleaseTitle = "签署页";
inline constexpr const char* kMaterialHeading = "一、材料及数据来源";
inline constexpr const char* kApprovalHeading = "二、签署";
inline constexpr const char* kNotesHeading = "三、备注";
inline constexpr std::array<const char*, 4> kApprovalRoles{"设计", "校核", "审核", "批准"};
inline constexpr std::array<const char*, 4> kApprovalColumns{"职责", "姓名", "日期", "签字"};
inline constexpr const char* kNoNotes = "（无）";
inline constexpr const char* kNotesContinued = "（全文见第 %1 页）";
// "零件号/图号：DS-01    版本：B"; "" when both are empty.
std::string runningHead(std::string_view partNumber, std::string_view revision);
// The basis beside each verdict of the twelve rules: their recommended range.
inline constexpr const char* kRuleBasis = "推荐范围";

// "请先按“…”按钮绘制曲线，再导出设计报告。" with the curve button's caption.
std::string noChartHint();

struct InputRow {
  std::string symbol, meaning, value, unit;  // value and unit: a dash when empty
};

struct PointRow {
  std::string symbol, role, load, deflection;  // a dash for an empty box
};

enum class Verdict { Passed, Failed, Unchecked, Unknown };

struct RuleRow {
  int number = 0;     // 1 ... 12
  std::string caption;  // whitespace runs made single spaces
  std::string shown;    // the box's text, trimmed (未验证 when empty)
  std::string mark;     // ✔, ✘, — or ?
  Verdict verdict = Verdict::Unchecked;
};

struct Contents {
  std::vector<InputRow> geometry, clutch;
  std::vector<PointRow> points;
  std::vector<RuleRow> rules;
  std::string summary;  // "12 项约束中 … 项合格…"
  int passed = 0, failed = 0;
};

Contents contents(const Fields& fields);

// `text` without leading and trailing white space (also the wide and
// no-break spaces), and with each inner run made one space when `simplify`.
std::string trimmed(std::string_view text, bool simplify = false);

}  // namespace diaspring::sheet_text
