// The design sheet's comparison page: present exactly when something is
// compared, numbered as the last page, with the chart's curves, the
// calibration and the scatter table.

#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "compare/comparison_chart.h"
#include "render/chart_export.h"
#include "render/comparison_page.h"
#include "render/design_sheet.h"
#include "runtime/convert.h"
#include "support/window_fixture.h"

namespace {

using namespace diaspring;
using diaspring::testing::TestWindow;

QString pdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

ComparisonPage comparison() {
  ComparisonPage page;
  DesignInputs thin;
  thin.setText(TextBox::Text4, "2.1");
  page.input.designs = {compare::designCurve(DesignInputs(), "当前设计"), compare::designCurve(thin, "薄板方案")};
  compare::MeasuredCurve m;
  m.name = "rig-7.csv";
  for (int i = 1; i <= 30; ++i) m.loading.emplace_back(0.1 * i, 1.01 * page.input.designs[0].load(0.1 * i));
  page.input.measured = {m};
  page.input.tolerances = compare::defaultTolerances(page.input.designs[0].g);
  page.input.samples = 1000;
  page.result = compare::runComparison(page.input);
  page.scene = compare::sceneOf(page.input, page.result);
  return page;
}

TEST(ComparisonPage, IsTheSheetsLastPageWithTheComparedCurvesFitAndScatter) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  QTemporaryDir dir;
  const ComparisonPage page = comparison();
  const AnalysisInput analysis{curveRunOf(window.logic, window.fields), AnalysisParams{}};
  struct Case {
    const AnalysisInput* analysis;
    int pages;
    bool inputsEdited;  // the page carries the warning exactly then
  };
  for (const Case& c : {Case{nullptr, 2, false}, Case{&analysis, 4, true}, Case{nullptr, 2, true}}) {
    const QString path = dir.filePath(QStringLiteral("sheet%1%2.pdf").arg(c.pages).arg(c.inputsEdited));
    QString error;
    ASSERT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, QDate(2024, 3, 15), c.analysis, c.inputsEdited,
                                 nullptr, &page))
        << error.toStdString();
    const QStringList pages = pdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), c.pages);
    const QString last = pages[c.pages - 1].simplified().remove(QLatin1Char(' '));
    for (const QString& expected :
         {QStringLiteral("第%1页共%1页").arg(c.pages), QStringLiteral("特性曲线对比与生产离散"),
          QStringLiteral("薄板方案"), QStringLiteral("rig-7.csv"),
          QString::fromStdString(format(page.result.measured[0].fit.h, "0.0000")),
          QString::fromStdString(format(page.result.worst.F1B.max, "0"))})
      EXPECT_TRUE(last.contains(expected)) << expected.toStdString() << "\n" << last.toStdString();
    EXPECT_EQ(last.contains(QString::fromUtf8(kInputsEditedWarning).remove(QLatin1Char(' '))), c.inputsEdited)
        << last.toStdString();
    EXPECT_FALSE(pages[0].contains(QStringLiteral("特性曲线对比")));
  }
}

// A pinned curve's long name shows whole in the saved PNG: the legend wraps
// it, and no text reaches the image's right edge.
TEST(ComparisonPage, TheLegendShowsALongNameWholeInThePng) {
  const std::string pinned = "固定1 h=2.2 H/h=1.9 R=84.7 R/r=1.33 E=210000 F=4593";
  compare::ComparisonInput in;
  in.designs = {compare::designCurve(DesignInputs(), "当前设计"), compare::designCurve(DesignInputs(), pinned)};
  in.samples = 200;
  DisplayList chart;
  compare::drawComparison(chart, compare::sceneOf(in, compare::runComparison(in)));
  std::string shown;
  for (const DrawOp& op : chart.ops())
    if (op.kind == DrawOp::Kind::Print && pinned.find(chart.text(op)) != std::string::npos &&
        chart.text(op).find('=') != std::string::npos)
      shown += (shown.empty() ? "" : " ") + chart.text(op);
  EXPECT_EQ(shown, pinned);
  const QImage image = renderChartImage(chart, 2);
  int inkAtEdge = 0;
  for (int x = image.width() - 6; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y) inkAtEdge += qGray(image.pixel(x, y)) < 160;
  EXPECT_EQ(inkAtEdge, 0);
}

}  // namespace
