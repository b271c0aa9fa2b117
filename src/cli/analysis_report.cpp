#include "cli/analysis_report.h"

#include <algorithm>

#include "analysis/analysis_table.h"
#include "runtime/utf8_text.h"

namespace diaspring::cli {
namespace {

// Right-aligns `text` in a column `width` display columns wide.
void padLeft(std::string& line, const std::string& text, std::size_t width) {
  const std::size_t w = displayWidth(text);
  if (w < width) line.append(width - w, ' ');
  line += text;
}

void padRight(std::string& line, const std::string& text, std::size_t width) {
  line += text;
  const std::size_t w = displayWidth(text);
  if (w < width) line.append(width - w, ' ');
}

}  // namespace

std::string renderAnalysisReport(const SpringAnalysis& a, const AnalysisParams& p) {
  std::string out = "Strength and release (强度与分离特性)\n";
  if (!a.error.empty()) return out + "  not analysed: " + printable(a.error) + "\n";

  // The points: one column per quantity, each as wide as its widest cell.
  const auto columns = pointColumns();
  std::vector<std::vector<std::string>> cells(columns.size());
  std::vector<std::size_t> widths(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    cells[c].push_back(std::string(columns[c].symbol));
    cells[c].push_back(std::string(columns[c].unit));
    for (const PointState& point : a.points) cells[c].push_back(analysisNumber(point.*columns[c].member, columns[c].pattern));
    for (const std::string& cell : cells[c]) widths[c] = std::max(widths[c], displayWidth(cell));
  }
  for (std::size_t row = 0; row < 2 + a.points.size(); ++row) {
    std::string line = "  ";
    padRight(line, row < 2 ? "" : kPointSymbols[row - 2], 3);
    for (std::size_t c = 0; c < columns.size(); ++c) padLeft(line, cells[c][row], widths[c] + 2);
    out += line + '\n';
  }

  out += "  Release at the bearing: kf = " + analysisNumber(a.kf, "0.0") + " N/mm (n = " + analysisNumber(p.n, "0") +
         ", b = " + analysisNumber(p.b, "0.00") + " mm)\n";
  for (const auto& [name, stroke] : {std::pair{"new lining ", &a.newStroke}, std::pair{"worn lining", &a.wornStroke}}) {
    out += std::string("    ") + name + "  λ1 " + analysisNumber(stroke->lambda1Start, "0.000") + " ... " +
           analysisNumber(stroke->lambda1End, "0.000") + " mm   F2max " + analysisNumber(stroke->F2max, "0.0") +
           " N at λ1 = " + analysisNumber(stroke->lambda1AtF2max, "0.000") + " mm   λ2 at the end " +
           analysisNumber(stroke->lambda2End, "0.000") + " mm\n";
  }
  out += "  Checks (fatigue line at 2e6 cycles σO = " + analysisNumber(p.sigmaO0, "0") + " + " +
         analysisNumber(p.fatigueSlope, "0.00") + "·σu MPa: " + (p.userFatigueData ? "user data" : "example values") +
         "; required life " + analysisNumber(p.requiredCycles, "0") + " cycles)\n";
  const std::vector<CheckLine> lines = checkLines(a, p);
  std::size_t whatWidth = 0, valueWidth = 0;
  for (const CheckLine& line : lines) {
    whatWidth = std::max(whatWidth, displayWidth(line.what));
    valueWidth = std::max(valueWidth, displayWidth(line.value));
  }
  for (const CheckLine& line : lines) {
    std::string text = "    ";
    padRight(text, line.what, whatWidth + 2);
    padRight(text, line.value, valueWidth + 2);
    padRight(text, "limit " + line.limit, 0);
    text += "  " + line.verdict();
    out += text + '\n';
  }
  return out;
}

}  // namespace diaspring::cli
