#include "render/analysis_page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "analysis/analysis_charts.h"
#include "analysis/analysis_table.h"
#include "chart/display_list.h"
#include "render/chart_painter.h"
#include "render/design_sheet.h"
#include "render/sheet_style.h"

namespace diaspring {
namespace {

using namespace sheet;  // the colours

constexpr double kLeft = 16.0, kWidth = 178.0, kTop = 12.0;

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Lays out in millimetres on any device resolution.
class Sheet {
 public:
  explicit Sheet(QPainter& p) : p_(p), unit_(p.device()->logicalDpiX() / 25.4) {}
  QRectF box(double x, double y, double w, double h) const { return {x * unit_, y * unit_, w * unit_, h * unit_}; }
  QFont font(double points, bool bold = false) const {
    QFont f(ChartStyle::defaultChartFont().family());
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
  }
  void text(double x, double y, double w, double h, const QString& s, double points, const QColor& color,
            Qt::Alignment align = Qt::AlignLeft, bool bold = false) {
    p_.setFont(font(points, bold));
    p_.setPen(color);
    const QRectF r = box(x, y, w, h);
    const QString shown = QFontMetricsF(p_.font(), p_.device()).elidedText(s, Qt::ElideRight, r.width());
    p_.drawText(r, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
  }
  void fill(double x, double y, double w, double h, const QColor& color) { p_.fillRect(box(x, y, w, h), color); }
  void rule(double y, double x1, double x2, const QColor& color, double widthMm = 0.2) {
    p_.setPen(QPen(color, widthMm * unit_));
    p_.drawLine(QPointF(x1 * unit_, y * unit_), QPointF(x2 * unit_, y * unit_));
  }
  double heading(double y, const QString& title) {
    fill(kLeft, y + 0.9, 1.1, 3.8, kAccent);
    text(kLeft + 2.6, y, kWidth - 2.6, 5.6, title, 10.5, kAccent, Qt::AlignLeft, true);
    return y + 6.6;
  }
  void chart(double x, double y, double w, double h, const DisplayList& list) {
    p_.save();
    ChartPainter(ChartStyle::smooth()).paint(p_, box(x, y, w, h), list);
    p_.restore();
    p_.setPen(QPen(kInk, 0.15 * unit_));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(box(x, y, w, h));
  }

 private:
  QPainter& p_;
  double unit_;
};

}  // namespace

void paintAnalysisPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                       bool inputsEdited) {
  Sheet sheet(painter);
  const SpringModel model(input.run, input.params);
  const SpringAnalysis a = analyseSpring(input.run, input.params);
  double y = kTop;
  sheet.text(kLeft, y, kWidth, 8, QStringLiteral("膜片弹簧强度与分离特性"), 15, kInk, Qt::AlignLeft, true);
  sheet.text(kLeft, y, kWidth, 4.6, date.toString(QStringLiteral("yyyy-MM-dd")), 9, kMuted, Qt::AlignRight);
  sheet.text(kLeft, y + 4.4, kWidth, 4.0, pageMark(page, pages), 8, kMuted, Qt::AlignRight);
  y += 9;
  sheet.rule(y, kLeft, kLeft + kWidth, kAccent, 0.5);
  y += 3;
  if (inputsEdited) {
    sheet.fill(kLeft, y, kWidth * 0.72, 5.6, kFailFill);
    sheet.text(kLeft, y, kWidth * 0.72, 5.6, QString::fromUtf8(kInputsEditedWarning), 10, kFailInk, Qt::AlignHCenter,
               true);
    y += 8;
  }
  if (!a.error.empty()) {
    sheet.text(kLeft, y, kWidth, 6, QStringLiteral("无法分析：") + qs(a.error), 10, kFailInk);
    return;
  }
  const AnalysisParams& p = input.params;
  sheet.text(kLeft, y, kWidth, 5,
             QStringLiteral("分离指数 n = %1，指根宽 b = %2 mm，抗拉强度 Rm = %3 MPa，"
                            "许用应力：内上缘 [σ] = %4 MPa，指根 [σf] = %5 MPa")
                 .arg(p.n)
                 .arg(p.b)
                 .arg(p.Rm)
                 .arg(p.sigmaAllow)
                 .arg(p.sigmaAllowF),
             8.5, kInk);
  y += 5;
  sheet.text(kLeft, y, kWidth, 5,
             QStringLiteral("疲劳线 σO = %1 + %2·σu MPa（示例值）").arg(p.sigmaO0).arg(p.fatigueSlope), 8.5, kInk);
  y += 7;

  // The two charts side by side, at the window chart's proportions.
  const double chartWidth = (kWidth - 4) / 2;
  const double chartHeight = 72;  // taller than the main chart's shape: the page has the room
  y = sheet.heading(y, QStringLiteral("一、应力与分离力特性"));
  DisplayList stresses, release;
  drawStressChart(stresses, model, a);
  drawReleaseChart(release, model, a);
  sheet.chart(kLeft, y, chartWidth, chartHeight, stresses);
  sheet.chart(kLeft + chartWidth + 4, y, chartWidth, chartHeight, release);
  y += chartHeight + 1;
  sheet.text(kLeft, y, chartWidth, 4.5, QStringLiteral("图 2  应力 σI…σIV、σOM (MPa) 随 λ1 (mm)"), 7.8, kMuted,
             Qt::AlignHCenter);
  sheet.text(kLeft + chartWidth + 4, y, chartWidth, 4.5, QStringLiteral("图 3  分离力 F2 (N) 随分离行程 λ2 (mm)"),
             7.8, kMuted, Qt::AlignHCenter);
  y += 8;

  // The points.
  y = sheet.heading(y, QStringLiteral("二、特征点的应力与分离力"));
  const auto columns = pointColumns();
  const double first = 10, cell = (kWidth - first) / static_cast<double>(columns.size());
  sheet.fill(kLeft, y, kWidth, 9, kHeadFill);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const double x = kLeft + first + cell * static_cast<double>(c);
    sheet.text(x, y, cell - 1, 4.5, qs(columns[c].symbol), 8.5, kInk, Qt::AlignRight, true);
    sheet.text(x, y + 4.2, cell - 1, 4.5, qs(columns[c].unit), 7.5, kMuted, Qt::AlignRight);
  }
  sheet.rule(y, kLeft, kLeft + kWidth, kInk, 0.3);
  y += 9;
  sheet.rule(y, kLeft, kLeft + kWidth, kInk, 0.2);
  for (std::size_t r = 0; r < a.points.size(); ++r) {
    sheet.text(kLeft + 1.5, y, first, 4.7, qs(kPointSymbols[r]), 8.8, kAccent, Qt::AlignLeft, true);
    for (std::size_t c = 0; c < columns.size(); ++c)
      sheet.text(kLeft + first + cell * static_cast<double>(c), y, cell - 1, 4.7,
                 qs(analysisNumber(a.points[r].*columns[c].member, columns[c].pattern)), 8.5, kInk, Qt::AlignRight);
    y += 4.7;
    sheet.rule(y, kLeft, kLeft + kWidth, r + 1 < a.points.size() ? kHairline : kInk, r + 1 < a.points.size() ? 0.1 : 0.3);
  }
  y += 2;
  sheet.text(kLeft, y, kWidth, 4.2,
             QStringLiteral("s：碟簧部分的变形；σI 内上缘，σII 内下缘，σIII 外下缘，σIV 外上缘，σOM 中性点的应力（压应力为负）；"),
             7.6, kMuted);
  y += 4.2;
  sheet.text(kLeft, y, kWidth, 4.2,
             QStringLiteral("F2：分离轴承处的分离力；σf：分离指根部的弯曲应力；λ2：自接合点起的分离行程（仅在分离行程上）。"),
             7.6, kMuted);
  y += 8;

  // Release and checks.
  y = sheet.heading(y, QStringLiteral("三、分离特性与强度校核"));
  const std::pair<QString, const ReleaseStroke*> strokes[] = {{QStringLiteral("新摩擦片"), &a.newStroke},
                                                              {QStringLiteral("磨损后"), &a.wornStroke}};
  for (const auto& [name, s] : strokes) {
    sheet.text(kLeft, y, kWidth, 4.8,
               QStringLiteral("%1：λ1 %2 … %3 mm，最大分离力 F2max = %4 N（λ1 = %5 mm），行程终点分离行程 λ2 = %6 mm")
                   .arg(name, qs(analysisNumber(s->lambda1Start, "0.000")), qs(analysisNumber(s->lambda1End, "0.000")),
                        qs(analysisNumber(s->F2max, "0.0")), qs(analysisNumber(s->lambda1AtF2max, "0.000")),
                        qs(analysisNumber(s->lambda2End, "0.000"))),
               8.6, kInk);
    y += 5;
  }
  sheet.text(kLeft, y, kWidth, 4.8,
             QStringLiteral("分离指刚度 kf = %1 N/mm").arg(qs(analysisNumber(a.kf, "0.0"))), 8.6, kInk);
  y += 7;
  for (const CheckLine& line : checkLines(a, p)) {
    const QColor color = line.pass ? kPassInk : kFailInk;
    sheet.text(kLeft, y, 88, 4.8, qs(line.whatZh), 8.6, kInk);
    sheet.text(kLeft + 88, y, 62, 4.8, qs(line.value), 8.6, kInk);
    sheet.text(kLeft + 150, y, 18, 4.8, qs(line.limit), 8.0, kMuted);
    sheet.text(kLeft + 168, y, 10, 4.8, line.pass ? QStringLiteral("✔") : QStringLiteral("✘"), 9, color,
               Qt::AlignHCenter, true);
    y += 5;
    sheet.rule(y, kLeft, kLeft + kWidth, kHairline, 0.1);
  }
  y += 3;
  sheet.text(kLeft, y, kWidth, 4.2,
             QStringLiteral("应力按碟簧公式（DIN 2092 / DIN EN 16983）计算，s = λ1·(R−r)/(R1−r1)；疲劳线为示例值，"
                            "应以材料的实测疲劳数据替换。"),
             7.6, kMuted);
}

}  // namespace diaspring
