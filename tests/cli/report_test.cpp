// The readable report: its exact layout for the default design, column
// alignment whatever the texts, one line per item, and the fault lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/report.h"
#include "runtime/utf8_text.h"
#include "form/fields.h"
#include "support/default_run.h"

namespace diaspring::cli {
namespace {

// The boxes as a curve run and a check leave them on the default design.
MemoryFields defaultRunFields() {
  MemoryFields f;
  for (const auto& [box, text] : testing::kDefaultRun) f.setText(box, text);
  return f;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

// The display column at which `needle` starts in `line`.
std::size_t columnOf(const std::string& line, std::string_view needle) {
  const std::size_t at = line.find(needle);
  if (at == std::string::npos) return std::string::npos;
  return displayWidth(std::string_view(line).substr(0, at));
}

TEST(CliReport, DefaultDesignReadsLikeThis) {
  const std::string expected =
      "Diaphragm spring  h=2.2 mm  H/h=1.9  R=84.7 mm  R/r=1.33  Δλ=1.6 mm  λ1f=1.6 mm  E=210000 MPa  μ=0.3  "
      "F=4593 N  D=180 mm  d=125 mm  r0=18 mm  rf=20 mm\n"
      "Derived           H=4.18 mm  r=63.68 mm\n"
      "\n"
      "Characteristic points\n"
      "  point            load F1 (N)     deflection λ1 (mm)\n"
      "  M  peak          F1M= 5175.178   λ1M= 2.080\n"
      "  N  valley        F1N= 3400.662   λ1N= 4.690\n"
      "  H  inflection    F1H= 4287.478   λ1H= 3.385\n"
      "  B  working       F1B= 4592.558   λ1B= 3.080\n"
      "  A  worn lining   F1A= 4851.586   λ1A= 1.480\n"
      "  C  release       F1C= 3400.73    λ1C= 4.68\n"
      "\n"
      "Constraint check\n"
      "   1  |F-F1B|=  ( <1 )                0.442(合格)\n"
      "   2  F1A≥F1B                         合格\n"
      "   3  H/h= (1.6-2.2)                  1.9(合格)\n"
      "   4  H/(R-r)= (9°-15°)               11.39(合格)\n"
      "   5  R/r=   (1.2-1.35)               1.33(合格)\n"
      "   6  2R/h= (70-100)                  77.00(合格)\n"
      "   7  R/r0= (3.5-5.0)                 4.71(合格)\n"
      "   8  (D+d)/4≤R1≤D/2                  (合格)\n"
      "   9  R-R1=  (1-7)                    2.00(合格)\n"
      "  10  r1-r=  (0-6)                    2.00(合格)\n"
      "  11  rf-r0=  (0-6)                   2.00(合格)\n"
      "  12  (r1-rf)/(R1-r1)=    (2.3-4.5)   2.68(合格)\n"
      "\n"
      "Faults: none\n";
  EXPECT_EQ(renderReport(defaultRunFields(), {}), expected);
}

TEST(CliReport, EmptyBoxesShowADashAndInputsLoseTheirUnit) {
  MemoryFields f;  // as the window opens: nothing computed yet
  f.setText(TextBox::Text9, "");
  const std::string report = renderReport(f, {});
  EXPECT_NE(report.find("  R/r=—  "), std::string::npos);
  EXPECT_NE(report.find("Derived           H=—  r=—\n"), std::string::npos);
  EXPECT_NE(report.find("  M  peak          F1M= —        λ1M= —\n"), std::string::npos) << report;
  EXPECT_NE(report.find("  12  (r1-rf)/(R1-r1)=    (2.3-4.5)   —\n"), std::string::npos) << report;
}

TEST(CliReport, ColumnsStayAlignedWhateverTheTexts) {
  MemoryFields f = defaultRunFields();
  f.setText(TextBox::Text12, "-123456.5");
  f.setText(TextBox::Text14, "7");
  f.setText(TextBox::Text16, "0.0000001");
  f.setText(TextBox::Text18, "不合格");  // typed by hand: any text may stand in a box
  f.setText(TextBox::Text15, "12345.6789");
  f.setText(TextBox::Text24, "不合格");
  f.setText(TextBox::Text26, "");
  const std::vector<std::string> all = lines(renderReport(f, {}));

  // The point rows: the deflection captions in one column, the loads that
  // are numbers aligned on the decimal point (a whole number where its
  // point would be).
  std::vector<std::size_t> deflectionColumns;
  std::vector<std::size_t> loadPoints;
  for (const std::string& line : all) {
    const std::size_t caption = columnOf(line, "λ1");
    if (line.find("F1") == std::string::npos || line.find("= ") == std::string::npos || caption == std::string::npos) continue;
    deflectionColumns.push_back(caption);
    const std::size_t load = line.find("= ") + 2;
    std::size_t start = load;
    while (line[start] == ' ') ++start;
    if (line.compare(start, 3, "不") == 0) continue;
    std::size_t end = start;
    while (line[end] != ' ') ++end;
    const std::size_t point = line.find('.', start);
    loadPoints.push_back(point != std::string::npos && point < end ? point : end);
  }
  ASSERT_EQ(deflectionColumns.size(), 6u);
  for (std::size_t c : deflectionColumns) EXPECT_EQ(c, deflectionColumns.front());
  ASSERT_EQ(loadPoints.size(), 5u);
  for (std::size_t p : loadPoints) EXPECT_EQ(p, loadPoints.front());

  // The check rows: every verdict starts in the same display column, the
  // Chinese characters counted two columns wide.
  std::vector<std::size_t> verdicts;
  bool inChecks = false;
  for (const std::string& line : all) {
    if (line == "Constraint check") {
      inChecks = true;
      continue;
    }
    if (!inChecks) continue;
    if (line.empty()) break;
    const std::size_t last = line.rfind("   ");
    ASSERT_NE(last, std::string::npos) << line;
    verdicts.push_back(displayWidth(std::string_view(line).substr(0, last + 3)));
  }
  ASSERT_EQ(verdicts.size(), 12u);
  for (std::size_t v : verdicts) EXPECT_EQ(v, verdicts.front());
}

TEST(CliReport, ATextWithControlCharactersStaysOnItsLine) {
  MemoryFields f = defaultRunFields();
  f.setText(TextBox::Text4, "2.2\nrm -rf");
  f.setText(TextBox::Text25, "a\tb\x1b[31m");
  const std::string report = renderReport(f, {});
  EXPECT_EQ(lines(report).size(), lines(renderReport(defaultRunFields(), {})).size());
  EXPECT_NE(report.find("h=2.2\\nrm -rf mm"), std::string::npos);
  EXPECT_NE(report.find("a\\tb\\x1B[31m"), std::string::npos);
  for (char c : report) {
    if (c != '\n') {
      EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << static_cast<int>(c);
    }
  }
}

TEST(CliReport, FaultsNameTheControlTheFaultAndTheCause) {
  const std::vector<FaultRecord> faults{
      {Command::Command1, FaultKind::DivisionByZero, ""},
      {Command::Command3, FaultKind::InvalidOperation, "曲线尚未计算"},
      {Slider::HScroll3, FaultKind::Overflow, ""},
  };
  const std::string report = renderReport(defaultRunFields(), faults);
  EXPECT_NE(report.find("\n\nFaults\n"
                        "  Command1 (输出膜片弹簧曲线及描点): division by zero\n"
                        "  Command3 (计算并验证约束条件): invalid operation — 曲线尚未计算\n"
                        "  HScroll3 change: overflow\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("Faults: none"), std::string::npos);
}

}  // namespace
}  // namespace diaspring::cli
