#include "render/sheet_pages.h"

#include <utility>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "analysis/analysis_charts.h"
#include "analysis/analysis_table.h"
#include "chart/display_list.h"
#include "render/chart_painter.h"
#include "render/design_sheet.h"
#include "render/page_layout.h"
#include "render/page_table.h"
#include "render/sheet_style.h"

namespace diaspring {
namespace {

using namespace sheet;  // the colours

constexpr double kLeft = kPageLeft, kWidth = kPageWidth;

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void paintAnalysisPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                       bool inputsEdited) {
  PageLayout sheet(painter);
  const SpringModel model(input.run, input.params);
  const SpringAnalysis a = analyseSpring(input.run, input.params);
  double y = sheet.pageHead(qs(analysis_sheet::kTitle), date.toString(QStringLiteral("yyyy-MM-dd")), page, pages,
                            inputsEdited);
  if (!a.error.empty()) {
    sheet.text(kLeft, y, kWidth, 6, qs(analysis_sheet::kCannotAnalyse) + qs(a.error), 10, kFailInk);
    return;
  }
  const AnalysisParams& p = input.params;
  sheet.text(kLeft, y, kWidth, 5,
             qs(analysis_sheet::kParams)
                 .arg(p.n)
                 .arg(p.b)
                 .arg(p.Rm)
                 .arg(p.sigmaAllow)
                 .arg(p.sigmaAllowF),
             8.5, kInk);
  y += 5;
  sheet.text(kLeft, y, kWidth, 5, qs(analysis_sheet::fatigueLinesLine(p)), 8.5,
             p.userFatigueData ? kInk : kExampleInk);
  y += 5;
  sheet.text(kLeft, y, kWidth, 5, qs(analysis_sheet::materialLine(p)), 8.5, kInk);
  y += 7;

  // The two charts side by side, at the window chart's proportions.
  const double chartWidth = (kWidth - 4) / 2;
  const double chartHeight = 72;  // taller than the main chart's shape: the page has the room
  y = sheet.heading(y, qs(analysis_sheet::kChartsHeading));
  DisplayList stresses, release;
  drawStressChart(stresses, model, a);
  drawReleaseChart(release, model, a);
  sheet.chart(kLeft, y, chartWidth, chartHeight, stresses);
  sheet.chart(kLeft + chartWidth + 4, y, chartWidth, chartHeight, release);
  y += chartHeight + 1;
  sheet.text(kLeft, y, chartWidth, 4.5, qs(analysis_sheet::kStressCaption), 7.8, kMuted,
             Qt::AlignHCenter);
  sheet.text(kLeft + chartWidth + 4, y, chartWidth, 4.5, qs(analysis_sheet::kReleaseCaption),
             7.8, kMuted, Qt::AlignHCenter);
  y += 8;

  // The points.
  y = sheet.heading(y, qs(analysis_sheet::kPointsHeading));
  // The points' symbols, then a column a quantity: its symbol over its unit.
  std::vector<TableColumn> columns{{10, Qt::AlignLeft, 1.5, 0}};
  const TableCell none{};  // the symbols' column has no head
  std::vector<HeadLine> head{{{none}, 0, 4.5}, {{none}, 4.2, 4.5}};
  std::vector<TableLine> rows(a.points.size());
  for (std::size_t r = 0; r < rows.size(); ++r) rows[r].push_back({qs(kPointSymbols[r]), 8.8, kAccent, true});
  const double cell = (kWidth - columns[0].width) / static_cast<double>(pointColumns().size());
  for (const PointColumn& column : pointColumns()) {
    columns.push_back({cell, Qt::AlignRight, 0, 1});
    head[0].cells.push_back({qs(column.symbol), 8.5, kInk, true});
    head[1].cells.push_back({qs(column.unit), 7.5, kMuted});
    for (std::size_t r = 0; r < rows.size(); ++r)
      rows[r].push_back({qs(analysisNumber(a.points[r].*column.member, column.pattern)), 8.5});
  }
  PageTable points(sheet, std::move(columns));
  y = points.rows(points.head(y, 9, head), 4.7, rows);
  y += 2;
  sheet.text(kLeft, y, kWidth, 4.2,
             qs(analysis_sheet::kPointNotes[0]),
             7.6, kMuted);
  y += 4.2;
  sheet.text(kLeft, y, kWidth, 4.2,
             qs(analysis_sheet::kPointNotes[1]),
             7.6, kMuted);
  y += 8;

  // Release and checks.
  y = sheet.heading(y, qs(analysis_sheet::kChecksHeading));
  for (const bool worn : {false, true}) {
    sheet.text(kLeft, y, kWidth, 4.8, qs(analysis_sheet::strokeLine(a, worn)), 8.6, kInk);
    y += 5;
  }
  sheet.text(kLeft, y, kWidth, 4.8, qs(analysis_sheet::stiffnessLine(a)), 8.6, kInk);
  y += 7;
  // Each check on two lines: what, the value and the verdict; then the
  // limit and its 依据 (the source of the rule or of its data).
  for (const CheckLine& line : checkLines(a, p)) {
    const QColor color = line.example() ? kExampleInk : line.pass ? kPassInk : kFailInk;
    const QString verdict = qs(line.markedVerdictZh());
    sheet.text(kLeft, y, 76, 4.6, qs(line.whatZh), 8.4, kInk);
    sheet.text(kLeft + 76, y, 66, 4.6, qs(line.value), 8.2, kInk);
    sheet.text(kLeft + 142, y, 36, 4.6, verdict, 8.2, color, Qt::AlignRight, true);
    y += 4.2;
    sheet.text(kLeft + 4, y, 72, 4.0, qs(line.limitLineZh()), 7.4, kMuted);
    sheet.text(kLeft + 76, y, 102, 4.0, qs(line.basisLineZh()), 7.4, kMuted);
    y += 4.4;
    sheet.rule(y, kLeft, kLeft + kWidth, kHairline, 0.1);
  }
  y += 3;
  sheet.text(kLeft, y, kWidth, 4.2,
             qs(p.userFatigueData ? analysis_sheet::kUserFootnote : analysis_sheet::kFootnote),
             7.6, kMuted);
}

}  // namespace diaspring
