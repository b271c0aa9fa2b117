#include "cli/report.h"

#include <algorithm>
#include <array>

#include "cli/utf8_text.h"

namespace diaspring::cli {
namespace {

// What the report shows for an empty box.
constexpr std::string_view kEmpty = "—";

struct Input {
  std::string_view symbol;
  TextBox box;
  std::string_view unit;
};

// The design as entered, in the order an engineer states it.
constexpr std::array<Input, 13> kInputs{{
    {"h", TextBox::Text4, "mm"},
    {"H/h", TextBox::Text6, ""},
    {"R", TextBox::Text7, "mm"},
    {"R/r", TextBox::Text9, ""},
    {"Δλ", TextBox::Text10, "mm"},
    {"λ1f", TextBox::Text11, "mm"},
    {"E", TextBox::Text31, "MPa"},
    {"μ", TextBox::Text32, ""},
    {"F", TextBox::Text33, "N"},
    {"D", TextBox::Text34, "mm"},
    {"d", TextBox::Text35, "mm"},
    {"r0", TextBox::Text36, "mm"},
    {"rf", TextBox::Text37, "mm"},
}};

// The cone height and inner radius the curve command derives and shows.
constexpr std::array<Input, 2> kDerived{{
    {"H", TextBox::Text5, "mm"},
    {"r", TextBox::Text8, "mm"},
}};

struct PointRow {
  std::string_view point;
  std::string_view name;
  TextBox load;
  TextBox deflection;
};

constexpr std::array<PointRow, 6> kPoints{{
    {"M", "peak", TextBox::Text12, TextBox::Text13},
    {"N", "valley", TextBox::Text14, TextBox::Text15},
    {"H", "inflection", TextBox::Text16, TextBox::Text17},
    {"B", "working", TextBox::Text18, TextBox::Text19},
    {"A", "worn lining", TextBox::Text20, TextBox::Text21},
    {"C", "release", TextBox::Text22, TextBox::Text23},
}};

// The check boxes in the order the check writes them.
constexpr std::array<TextBox, 12> kChecks{{
    TextBox::Text24, TextBox::Text25, TextBox::Text26, TextBox::Text27, TextBox::Text28, TextBox::Text29,
    TextBox::Text30, TextBox::Text38, TextBox::Text39, TextBox::Text40, TextBox::Text41, TextBox::Text42,
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
  for (const PointRow& row : kPoints) {
    loads.add(shown(fields, row.load));
    deflections.add(shown(fields, row.deflection));
    labelWidth = std::max(labelWidth, row.point.size() + 2 + row.name.size());
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

  for (std::size_t i = 0; i < kPoints.size(); ++i) {
    const PointRow& row = kPoints[i];
    std::string line = "  ";
    pad(line, std::string(row.point) + "  " + std::string(row.name), labelWidth + 3);
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
  for (TextBox box : kChecks) captionWidth = std::max(captionWidth, displayWidth(reportCaption(box)));

  out += "Constraint check\n";
  int rule = 0;
  for (TextBox box : kChecks) {
    ++rule;
    std::string line = rule < 10 ? "   " : "  ";
    line += std::to_string(rule);
    line += "  ";
    pad(line, reportCaption(box), captionWidth + 3);
    line += shown(fields, box);
    trimEnd(line);
    out += line + '\n';
  }
}

}  // namespace

std::string_view reportCaption(TextBox box) {
  switch (box) {
    case TextBox::Text12: return "F1M=";
    case TextBox::Text13: return "λ1M=";
    case TextBox::Text14: return "F1N=";
    case TextBox::Text15: return "λ1N=";
    case TextBox::Text16: return "F1H=";
    case TextBox::Text17: return "λ1H=";
    case TextBox::Text18: return "F1B=";
    case TextBox::Text19: return "λ1B=";
    case TextBox::Text20: return "F1A=";
    case TextBox::Text21: return "λ1A=";
    case TextBox::Text22: return "F1C=";
    case TextBox::Text23: return "λ1C=";
    case TextBox::Text24: return "|F-F1B|=  ( <1 )";
    case TextBox::Text25: return "F1A≥F1B";
    case TextBox::Text26: return "H/h= (1.6-2.2)";
    case TextBox::Text27: return "H/(R-r)= (9°-15°)";
    case TextBox::Text28: return "R/r=   (1.2-1.35)";
    case TextBox::Text29: return "2R/h= (70-100)";
    case TextBox::Text30: return "R/r0= (3.5-5.0)";
    case TextBox::Text38: return "(D+d)/4≤R1≤D/2";
    case TextBox::Text39: return "R-R1=  (1-7)";
    case TextBox::Text40: return "r1-r=  (0-6)";
    case TextBox::Text41: return "rf-r0=  (0-6)";
    case TextBox::Text42: return "(r1-rf)/(R1-r1)=    (2.3-4.5)";
    default: return "";
  }
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
  for (std::size_t i = 0; i < kInputs.size(); ++i) {
    if (i > 0) out += "  ";
    out += assignment(fields, kInputs[i]);
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
