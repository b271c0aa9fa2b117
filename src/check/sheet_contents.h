#pragma once
// What the design sheet says, as text: its captions and the rows of its
// inputs, points and rules with their verdicts, read from a window's boxes.
// The desktop's PDF and the page's printable sheet both lay out these rows,
// so the two say the same.

#include <string>
#include <string_view>
#include <vector>

#include "check/sheet_texts.h"  // the sheet's captions, from check/sheet_texts.toml
#include "form/fields.h"

namespace diaspring::sheet_text {

// "零件号/图号：DS-01    版本：B"; "" when both are empty.
std::string runningHead(std::string_view partNumber, std::string_view revision);
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
