// The explanation of a search that found no design, in English and in the
// window's words.
#include "search/search.h"

#include <cmath>
#include <string>

#include "runtime/convert.h"

namespace diaspring::search {
namespace {

std::string ruleName(int rule, const Options& options) {
  if (rule < kRuleCount) return "rule " + std::to_string(rule + 1) + " (" + ruleInfo(rule).key + ")";
  return options.constraints[static_cast<std::size_t>(rule - kRuleCount)].name;
}

std::string number(double x) { return generalText(Num(std::round(x * 1e4) / 1e4)); }

// The unit of each rule's quantity, after its number ("" for a ratio).
constexpr const char* kRuleUnits[kRuleCount] = {" N", " N", "", "°", "", "", "", " mm", " mm", " mm", " mm", ""};

std::string missLine(const Miss& m, const Options& options, bool chinese) {
  const RuleOutcome& o = m.outcome;
  const std::string unit = m.rule < kRuleCount ? kRuleUnits[m.rule] : "";
  std::string line = chinese && m.rule < kRuleCount ? "  条件 " + std::to_string(m.rule + 1) : "  " + ruleName(m.rule, options);
  if (m.rule == 1) {
    line += chinese ? "：F1A − F1B = " + number(o.value) + " N，应大于 0" : ": F1A - F1B = " + number(o.value) + " N, must be above 0";
  } else if (m.rule < kRuleCount) {
    const std::string range = m.rule == 0 ? "below 1" + unit : number(o.low) + " ... " + number(o.high) + unit;
    if (chinese)
      line += "：" + number(o.value) + unit + "，应在 " +
              (m.rule == 0 ? "1" + unit + " 以下" : number(o.low) + " … " + number(o.high) + unit) +
              (o.low > o.high ? "（空区间）" : "") + "，差 " + number(o.miss) + unit;
    else
      line += ": " + number(o.value) + unit + ", needs " + range + (o.low > o.high ? " (an empty range)" : "") +
              ", misses by " + number(o.miss) + unit;
  } else {
    const ExtraConstraint& c = options.constraints[static_cast<std::size_t>(m.rule - kRuleCount)];
    const std::string miss = c.percent ? generalText(Num(std::round(o.miss * 1e4) / 1e2)) + (chinese ? " 个百分点" : " percentage points")
                                       : number(o.miss) + (c.unit.empty() ? "" : " " + c.unit);
    line += chinese ? "：差 " + miss : ": misses by " + miss;
  }
  return line + "\n";
}

std::string explain(const Infeasibility& why, const Options& options, bool chinese) {
  std::string text = chinese ? "在给定范围内没有一个设计能满足全部约束条件。\n"
                             : "No design in the ranges passes all twelve rules" +
                                   std::string(options.constraints.empty() ? "" : " and the further constraints") + ".\n";
  std::string never;
  for (int i = 0; i < kRuleCount; ++i)
    if (why.neverMet[static_cast<std::size_t>(i)])
      never += (never.empty() ? "" : ", ") + (chinese ? std::to_string(i + 1) : ruleName(i, options));
  for (const std::string& c : why.constraintsNeverMet) never += (never.empty() ? "" : ", ") + c;
  if (!never.empty()) text += (chinese ? "没有任何设计满足的条件：" : "Met by no design: ") + never + "\n";
  if (why.nearest) {
    const DesignInputs& n = *why.nearest;
    const std::string shown = "h=" + n.text(TextBox::Text4) + " H/h=" + n.text(TextBox::Text6) +
                              " R=" + n.text(TextBox::Text7) + " R/r=" + n.text(TextBox::Text9);
    text += chinese ? "最接近的设计 " + shown + " 不满足：\n"
                    : "The nearest design, " + shown + ", misses these together:\n";
    for (const Miss& m : why.misses) text += missLine(m, options, chinese);
  } else if (why.constraintsNeverMet.empty()) {
    text += chinese ? "范围内的设计都没有峰值点和谷值点。\n"
                    : "No design in the ranges has a peak and a valley on its curve.\n";
  }
  return text;
}

}  // namespace

std::string explainEnglish(const Infeasibility& why, const Options& options) { return explain(why, options, false); }
std::string explainChinese(const Infeasibility& why, const Options& options) { return explain(why, options, true); }

std::string explainInWords(const Infeasibility& why, const Options& options) {
  std::string text = explainChinese(why, options);
  for (const ExtraConstraint& c : options.constraints) {
    if (c.nameZh.empty()) continue;
    for (std::size_t at = text.find(c.name); at != std::string::npos; at = text.find(c.name, at + c.nameZh.size()))
      text.replace(at, c.name.size(), c.nameZh);
  }
  return text;
}

}  // namespace diaspring::search
