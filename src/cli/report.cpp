#include "cli/report.h"

#include <algorithm>
#include <array>

#include "check/constraint_check.h"
#include "runtime/utf8_text.h"
#include "model/points.h"
#include "form/input_boxes.h"

namespace diaspring::cli {
namespace {

// What the report shows for an empty box.
constexpr std::string_view kEmpty = "—";

struct Input {
  std::string_view symbol;
  TextBox box;
  std::string_view unit;
};

// The cone height and inner radius the curve command derives and shows.
constexpr std::array<Input, 2> kDerived{{
    {"H", TextBox::Text5, "mm"},
    {"r", TextBox::Text8, "mm"},
}};

std::string shown(const Fields& fields, TextBox box) {
  const std::string text = fields.text(box);
  return text.empty() ? std::string(kEmpty) : printable(text);
}

void pad(std::string& out, std::string_view text, std::size_t width) {
  out += text;
  const std::size_t w = displayWidth(text);
  if (w < width) out.append(width - w, ' ');
}

// A plain decimal number ("5175.178", "-0.00", "4"): the kind of text that
// is aligned on its decimal point.
bool isPlainNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits > 0;
}

// A column of texts, numbers aligned on their decimal points and anything
// else aligned left.
class Column {
 public:
  void add(std::string text) {
    if (isPlainNumber(text)) {
      const std::size_t point = std::min(text.find('.'), text.size());
      intWidth_ = std::max(intWidth_, point);
      fracWidth_ = std::max(fracWidth_, text.size() - point);
    }
    texts_.push_back(std::move(text));
  }

  std::size_t width() const {
    std::size_t w = intWidth_ + fracWidth_;
    for (const std::string& t : texts_) w = std::max(w, displayWidth(t));
    return w;
  }

  std::string cell(std::size_t row) const {
    const std::string& text = texts_[row];
    std::string out;
    if (isPlainNumber(text)) {
      const std::size_t point = std::min(text.find('.'), text.size());
      out.append(intWidth_ - point, ' ');
      out += text;
      out.append(fracWidth_ - (text.size() - point), ' ');
    } else {
      out = text;
    }
    std::string padded;
    pad(padded, out, width());
    return padded;
  }

 private:
  std::vector<std::string> texts_;
  std::size_t intWidth_ = 0;
  std::size_t fracWidth_ = 0;
};

void trimEnd(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

// "h=2.2 mm", "H/h=1.9"; an empty box shows as a dash, without its unit.
std::string assignment(const Fields& fields, const Input& input) {
  const std::string text = fields.text(input.box);
  std::string out(input.symbol);
  out += '=';
  if (text.empty()) {
    out += kEmpty;
  } else {
    out += printable(text);
    if (!input.unit.empty()) {
      out += ' ';
      out += input.unit;
    }
  }
  return out;
}

void appendPoints(std::string& out, const Fields& fields) {
  Column loads;
  Column deflections;
  std::size_t labelWidth = 0;
  for (const PointBoxes& row : characteristicPoints()) {
    loads.add(shown(fields, row.load));
    deflections.add(shown(fields, row.deflection));
    labelWidth = std::max(labelWidth, std::string_view(row.symbol).size() + 2 + std::string_view(row.role).size());
  }
  constexpr std::string_view kLoadHeader = "load F1 (N)";
  constexpr std::string_view kDeflectionHeader = "deflection λ1 (mm)";
  const std::size_t loadCaption = displayWidth(reportCaption(TextBox::Text12)) + 1;
  const std::size_t deflectionCaption = displayWidth(reportCaption(TextBox::Text13)) + 1;
  const std::size_t loadColumn = std::max(loadCaption + loads.width(), kLoadHeader.size());

  out += "Characteristic points\n";
  std::string header = "  ";
  pad(header, "point", labelWidth + 3);
  pad(header, kLoadHeader, loadColumn + 3);
  header += kDeflectionHeader;
  out += header + '\n';

  for (std::size_t i = 0; i < characteristicPoints().size(); ++i) {
    const PointBoxes& row = characteristicPoints()[i];
    std::string line = "  ";
    pad(line, std::string(row.symbol) + "  " + row.role, labelWidth + 3);
    std::string load;
    pad(load, reportCaption(row.load), loadCaption);
    load += loads.cell(i);
    pad(line, load, loadColumn + 3);
    pad(line, reportCaption(row.deflection), deflectionCaption);
    line += deflections.cell(i);
    trimEnd(line);
    out += line + '\n';
  }
}

void appendChecks(std::string& out, const Fields& fields) {
  std::size_t captionWidth = 0;
  for (int rule = 0; rule < kRuleCount; ++rule)
    captionWidth = std::max(captionWidth, displayWidth(reportCaption(ruleInfo(rule).box)));

  out += "Constraint check\n";
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const TextBox box = ruleInfo(rule).box;
    std::string line = rule < 9 ? "   " : "  ";
    line += std::to_string(rule + 1);
    line += "  ";
    pad(line, reportCaption(box), captionWidth + 3);
    line += shown(fields, box);
    trimEnd(line);
    out += line + '\n';
  }
}

}  // namespace

std::string reportCaption(TextBox box) {
  for (const PointBoxes& point : characteristicPoints()) {
    if (box == point.load) return std::string("F1") + point.symbol + "=";
    if (box == point.deflection) return std::string("λ1") + point.symbol + "=";
  }
  for (int rule = 0; rule < kRuleCount; ++rule) {
    if (box != ruleInfo(rule).box) continue;
    std::string_view caption = ruleInfo(rule).caption;
    caption.remove_prefix(std::min(caption.find_first_not_of(' '), caption.size()));
    caption.remove_suffix(caption.size() - std::min(caption.find_last_not_of(' ') + 1, caption.size()));
    return std::string(caption);
  }
  return {};
}

std::string describeFault(const FaultRecord& fault) {
  std::string out;
  if (const auto* command = std::get_if<Command>(&fault.source)) {
    out = commandName(*command) + " (" + std::string(commandCaption(*command)) + ")";
  } else {
    out = sliderName(std::get<Slider>(fault.source)) + " change";
  }
  out += ": ";
  out += faultName(fault.kind);
  if (!fault.cause.empty()) {
    out += " — ";
    out += printable(fault.cause);
  }
  return out;
}

std::string renderReport(const Fields& fields, const std::vector<FaultRecord>& faults) {
  std::string out = "Diaphragm spring  ";
  const auto inputs = namedInputs();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (i > 0) out += "  ";
    out += assignment(fields, Input{inputs[i].symbol, inputs[i].box, inputs[i].unit});
  }
  out += "\nDerived           ";
  for (std::size_t i = 0; i < kDerived.size(); ++i) {
    if (i > 0) out += "  ";
    out += assignment(fields, kDerived[i]);
  }
  out += "\n\n";
  appendPoints(out, fields);
  out += '\n';
  appendChecks(out, fields);
  out += '\n';
  if (faults.empty()) {
    out += "Faults: none\n";
  } else {
    out += "Faults\n";
    for (const FaultRecord& fault : faults) out += "  " + describeFault(fault) + '\n';
  }
  return out;
}

}  // namespace diaspring::cli
