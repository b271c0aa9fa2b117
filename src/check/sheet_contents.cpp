#include "check/sheet_contents.h"

#include <span>
#include <string_view>

#include "check/constraint_check.h"
#include "form/controls.h"
#include "form/input_boxes.h"
#include "model/points.h"

namespace diaspring::sheet_text {
namespace {

// The rows of the sheet's two input tables, in their order.
constexpr TextBox kGeometryInputs[] = {TextBox::Text4, TextBox::Text6, TextBox::Text5,  TextBox::Text7,
                                       TextBox::Text9, TextBox::Text8, TextBox::Text10, TextBox::Text11};
constexpr TextBox kClutchInputs[] = {TextBox::Text31, TextBox::Text32, TextBox::Text33, TextBox::Text34,
                                     TextBox::Text35, TextBox::Text36, TextBox::Text37};

// The length of the white space character at the start of `s` (0: none):
// ASCII white space, U+0085, U+00A0, U+1680, U+2000..U+200A, U+2028,
// U+2029, U+202F, U+205F and U+3000.
std::size_t spaceAt(std::string_view s) {
  if (s.empty()) return 0;
  const auto b = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0U; };
  const unsigned c = b(0);
  if (c == ' ' || (c >= '\t' && c <= '\r')) return 1;
  if (c == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;
  if (c == 0xE1 && b(1) == 0x9A && b(2) == 0x80) return 3;
  if (c == 0xE2 && b(1) == 0x80 && (b(2) <= 0x8A || b(2) == 0xA8 || b(2) == 0xA9 || b(2) == 0xAF)) return 3;
  if (c == 0xE2 && b(1) == 0x81 && b(2) == 0x9F) return 3;
  if (c == 0xE3 && b(1) == 0x80 && b(2) == 0x80) return 3;
  return 0;
}

std::string cell(const Fields& fields, TextBox box) {
  std::string text = trimmed(fields.text(box));
  return text.empty() ? kDash : text;
}

std::vector<InputRow> inputRows(const Fields& fields, std::span<const TextBox> boxes) {
  std::vector<InputRow> rows;
  for (const TextBox box : boxes) {
    const InputBox& in = *inputFrameBox(box);
    rows.push_back({in.symbol, in.shortZh, cell(fields, box), *in.unit ? in.unit : kDash});
  }
  return rows;
}

Verdict verdictOf(const std::string& shown) {
  if (shown.empty()) return Verdict::Unchecked;
  if (shown.find(kFailed) != std::string::npos) return Verdict::Failed;
  if (shown.find(kPassed) != std::string::npos) return Verdict::Passed;
  return Verdict::Unknown;  // something typed into the box by hand
}

}  // namespace

std::string trimmed(std::string_view text, bool simplify) {
  std::string out;
  std::size_t keptEnd = 0;  // out's length up to its last character that is not white space
  bool inSpace = false;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t n = spaceAt(text.substr(i))) {
      if (!out.empty() && !(simplify && inSpace)) out.append(simplify ? std::string_view(" ") : text.substr(i, n));
      inSpace = true;
      i += n;
      continue;
    }
    inSpace = false;
    out += text[i++];
    keptEnd = out.size();
  }
  out.resize(keptEnd);
  return out;
}

std::string noChartHint() {
  return "请先按“" + std::string(commandCaption(Command::Command1)) + "”按钮绘制曲线，再导出设计报告。";
}

Contents contents(const Fields& fields) {
  Contents c;
  c.geometry = inputRows(fields, kGeometryInputs);
  c.clutch = inputRows(fields, kClutchInputs);
  for (const PointBoxes& point : characteristicPoints())
    c.points.push_back({point.symbol, point.roleZh, cell(fields, point.load), cell(fields, point.deflection)});
  int unchecked = 0, unknown = 0;
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleInfo& rule = ruleInfo(i);
    RuleRow row{i + 1, trimmed(rule.caption, true), trimmed(fields.text(rule.box)), "", Verdict::Unchecked};
    row.verdict = verdictOf(row.shown);
    switch (row.verdict) {
      case Verdict::Passed: ++c.passed; row.mark = kTick; break;
      case Verdict::Failed: ++c.failed; row.mark = kCross; break;
      case Verdict::Unchecked: ++unchecked; row.shown = kUnchecked; row.mark = kDash; break;
      case Verdict::Unknown: ++unknown; row.mark = "?"; break;
    }
    c.rules.push_back(std::move(row));
  }
  c.summary = std::to_string(kRuleCount) + " 项约束中 " + std::to_string(c.passed) + " 项合格";
  if (c.failed > 0) c.summary += "，" + std::to_string(c.failed) + " 项不合格";
  if (unchecked > 0) c.summary += "，" + std::to_string(unchecked) + " 项未验证";
  if (unknown > 0) c.summary += "，" + std::to_string(unknown) + " 项结果无法识别";
  c.summary += c.passed == kRuleCount ? "，满足全部约束条件。" : "。";
  return c;
}

std::string runningHead(std::string_view partNumber, std::string_view revision) {
  const std::string part = trimmed(partNumber, true), rev = trimmed(revision, true);
  std::string head;
  if (!part.empty()) head = std::string(kPartLabel) + part;
  if (!rev.empty()) head += (head.empty() ? "" : "    ") + std::string(kRevisionLabel) + rev;
  return head;
}

}  // namespace diaspring::sheet_text
