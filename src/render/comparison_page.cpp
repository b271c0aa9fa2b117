#include "render/comparison_page.h"

#include <cmath>
#include <span>
#include <vector>

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "chart/display_list.h"
#include "compare/comparison_texts.h"
#include "render/chart_painter.h"
#include "render/design_sheet.h"
#include "render/page_layout.h"
#include "render/page_table.h"
#include "render/sheet_style.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

using namespace sheet;
using namespace compare;

constexpr double kLeft = kPageLeft, kWidth = kPageWidth, kRow = 4.7;

QString qs(const std::string& s) { return QString::fromStdString(s); }
QString zh(const char* s) { return QString::fromUtf8(s); }
QString num(double v, const char* pattern) { return std::isfinite(v) ? qs(format(v, pattern)) : QStringLiteral("—"); }

// A table: a head row and rows of cells, the first column left-aligned.
double table(PageLayout& page, double y, const std::vector<double>& widths, std::span<const char* const> head,
             const std::vector<QStringList>& rows) {
  constexpr double kPoints = 8.2;
  std::vector<Qt::Alignment> aligns(widths.size(), Qt::AlignRight);
  aligns.front() = Qt::AlignLeft;
  PageTable t(page, tableColumns(widths, aligns, 1, 1.5));
  y = t.head(y, kRow, tableLine(head, kPoints, true));
  std::vector<TableLine> lines;
  for (const QStringList& row : rows) {
    TableLine& line = lines.emplace_back();
    for (const QString& text : row) line.push_back({text, kPoints});
  }
  return t.rows(y, kRow, lines) + 2;
}

QString deviation(const Deviation& d) {
  return std::isfinite(d.newton) ? QStringLiteral("%1 N (%2 %)").arg(num(d.newton, "0"), num(d.percent, "0.0"))
                                 : zh(texts::kNotMeasured);
}

}  // namespace

void paintComparisonPage(QPainter& painter, const ComparisonPage& c, const QDate& date, int page, int pages,
                         bool inputsEdited) {
  PageLayout sheet(painter);
  double y = sheet.pageHead(zh(texts::kSheetTitle), date.toString(QStringLiteral("yyyy-MM-dd")), page,
                            pages, inputsEdited);

  y = sheet.heading(y, zh(texts::kSheetChartHeading));
  DisplayList list;
  drawComparison(list, c.scene);
  const double chartHeight = 92;
  ChartStyle style = ChartStyle::smooth();
  style.naturalSize = QSizeF(kWidth * 4.2, chartHeight * 4.2);  // the window's proportions of text to chart
  sheet.chart(kLeft, y, kWidth, chartHeight, list, style);
  y += chartHeight + 1;
  sheet.text(kLeft, y, kWidth, 4.5,
             zh(texts::kSheetChartCaption), 7.8, kMuted,
             Qt::AlignHCenter);
  y += 7;

  std::vector<QStringList> rows;
  for (const DesignCurve& d : c.input.designs) {
    QStringList row{qs(d.name)};
    if (!d.ok()) {
      row << qs(d.error);
    } else {
      for (std::size_t k = 0; k < 6; ++k)
        row << QStringLiteral("%1 / %2").arg(num(d.points[k].first, "0.000"), num(d.points[k].second, "0"));
    }
    rows.push_back(row);
  }
  y = sheet.heading(y, zh(texts::kSheetDesignsHeading));
  y = table(sheet, y, {40, 23, 23, 23, 23, 23, 23}, texts::kSheetDesignColumns, rows);
  y += 2;

  if (!c.input.measured.empty()) {
    y = sheet.heading(y, zh(texts::kSheetMeasuredHeading));
    rows.clear();
    for (std::size_t i = 0; i < c.result.measured.size(); ++i) {
      const MeasuredComparison& m = c.result.measured[i];
      rows.push_back({qs(c.input.measured[i].name), deviation(m.atB), deviation(m.atA), num(m.rms, "0"),
                      num(m.fit.h, "0.0000"), num(m.fit.H, "0.0000"), num(m.fit.rms, "0")});
    }
    y = table(sheet, y, {40, 27, 27, 18, 22, 22, 22}, texts::kSheetMeasuredColumns, rows);
    y += 2;
  }

  if (c.result.hasScatter) {
    const Tolerances& t = c.input.tolerances;
    const MonteCarlo& mc = c.result.monteCarlo;
    y = sheet.heading(y, zh(texts::kSheetScatterHeading));
    sheet.text(kLeft, y, kWidth, kRow,
               zh(texts::kSheetTolerances)
                   .arg(num(t.h, "0.000"), num(t.l0, "0.000"), num(t.R, "0.000"), num(t.r, "0.000"),
                        num(t.Epercent, "0.0"))
                   .arg(mc.samples)
                   .arg(mc.seed),
               8.4, kInk);
    y += kRow + 1;
    const Range* w[] = {&c.result.worst.F1B, &c.result.worst.F1A, &c.result.worst.F1C,
                        &c.result.worst.releaseForceMax};
    const Stats* s[] = {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax};
    rows.clear();
    for (int i = 0; i < 4; ++i)
      rows.push_back({zh(texts::kScatterRows[i]), num(w[i]->min, "0"), num(w[i]->max, "0"), num(s[i]->min, "0"),
                      num(s[i]->max, "0"), num(s[i]->mean, "0"), num(s[i]->sigma, "0.0")});
    y = table(sheet, y, {40, 23, 23, 23, 23, 23, 23}, texts::kSheetScatterColumns, rows);
    const Sensitivity& se = c.result.sensitivity;
    sheet.text(kLeft, y, kWidth, kRow,
               zh(texts::kSheetShares)
                   .arg(num(t.clampPercent, "0.0"), num(100 * mc.withinClampTolerance, "0.0"),
                        num(100 * mc.F1AatLeastF1B, "0.0")),
               8.4, kInk);
    y += kRow;
    sheet.text(kLeft, y, kWidth, kRow,
               zh(texts::kSheetSensitivity)
                   .arg(num(se.h, "0"), num(se.H, "0"), num(se.R, "0"), num(se.r, "0"), num(se.E, "0.0000")),
               8.4, kInk);
    y += kRow + 2;
    sheet.text(kLeft, y, kWidth, 4.2,
               zh(texts::kSheetBasis),
               7.6, kMuted);
  }
}

}  // namespace diaspring
