// The window 强度与分离特性: opened from the main window and from the chart's
// menu, following each curve run, its inputs, its table, charts, checks,
// readout and chart export.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "analysis_window.h"
#include "chart_actions.h"
#include "compare/production_yield.h"
#include "main_window.h"
#include "render/chart_export.h"

namespace {

using namespace diaspring;
using diaspring::app::AnalysisWindow;
using diaspring::app::MainWindow;

QString cell(const AnalysisWindow& w, int row, int column) {
  const QTableWidgetItem* item = w.table()->item(row, column);
  return item ? item->text() : QString();
}

void type(AnalysisWindow& w, const char* name, const QString& text) {
  QLineEdit* edit = w.input(name);
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(text);
  emit edit->editingFinished();
}

TEST(AnalysisWindow, FollowsTheCurveRunsOfTheMainWindow) {
  MainWindow main;
  main.showAnalysisWindow();
  AnalysisWindow* w = main.analysisWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->isModal());
  EXPECT_FALSE(w->analysis().has_value());  // no curve yet
  EXPECT_TRUE(w->stressChart()->displayList().ops().empty());

  main.press(Command::Command1);
  ASSERT_TRUE(w->analysis().has_value());
  EXPECT_EQ(w->analysis()->error, "");
  // Row B (3), column F1 (1): the window's own load, as the point box shows it.
  EXPECT_EQ(cell(*w, 3, 1), QStringLiteral("4592.6"));
  EXPECT_FALSE(w->stressChart()->displayList().ops().empty());
  EXPECT_FALSE(w->releaseChart()->displayList().ops().empty());
  EXPECT_TRUE(w->checks()->text().contains(QStringLiteral("不通过")));  // |σI| = 1706 > [σ] = 1700
  EXPECT_TRUE(w->checks()->text().contains(QStringLiteral("通过")));

  main.press(Command::Command2);  // the clear command empties the analysis
  EXPECT_FALSE(w->analysis().has_value());
  EXPECT_EQ(cell(*w, 3, 1), QString());
}

// The production yield of the run's spring under the checks: the core's
// figure for that run, with the band used, and it follows the inputs.
TEST(AnalysisWindow, ShowsTheProductionYieldOfTheRun) {
  MainWindow main;
  main.showAnalysisWindow();
  AnalysisWindow* w = main.analysisWindow();
  main.press(Command::Command1);
  const auto shown = [&] {
    const auto y = compare::productionYieldOf(*w->analysisInput(), compare::kDefaultSamples, compare::kDefaultSeed);
    EXPECT_TRUE(y);
    return y ? y->overall.value : 0.0;
  };
  const double before = shown();
  const QString text = w->yieldTable()->text();
  EXPECT_TRUE(text.contains(QStringLiteral("生产合格率 ") + QString::fromStdString(compare::shareText(before)))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("DIN 2093"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("|σI| ≤ [σ]")));
  type(*w, "sigmaAllow", QStringLiteral("1800"));  // the σI requirement no longer binds
  EXPECT_GT(shown(), before);
  EXPECT_TRUE(w->yieldTable()->text().contains(QString::fromStdString(compare::shareText(shown()))));
  main.press(Command::Command2);
  EXPECT_EQ(w->yieldTable()->text(), QString());
}

TEST(AnalysisWindow, InputsChangeTheAnalysisAndBadTextIsNamed) {
  MainWindow main;
  main.press(Command::Command1);
  main.showAnalysisWindow();
  AnalysisWindow& w = *main.analysisWindow();
  const double finger = w.analysis()->points[3].sigmaFinger;
  type(w, "b", QStringLiteral("28"));
  EXPECT_DOUBLE_EQ(w.analysis()->points[3].sigmaFinger * 2, finger);
  EXPECT_EQ(std::string(w.extras().extra("b").value()), "28");
  type(w, "n", QStringLiteral("viele"));
  EXPECT_EQ(w.analysis()->error, "n: 'viele' is not a number");
  EXPECT_FALSE(w.analysisInput().has_value());
  type(w, "n", QStringLiteral("18"));
  type(w, "sigmaAllow", QStringLiteral("1800"));
  EXPECT_TRUE(w.analysis()->checks.iPass);
  // The design sheet gets the window's inputs.
  ASSERT_TRUE(main.analysisInput().has_value());
  EXPECT_EQ(main.analysisInput()->params.sigmaAllow, 1800);
}

// Choosing a steel types E and μ into the main window's boxes, as 自动设计's
// apply does, sets Rm and the limits, and is kept with the design; a name of
// the user's own marks its numbers as user data.
TEST(AnalysisWindow, TheMaterialChoiceTypesItsNumbersAndIsKept) {
  MainWindow main;
  main.press(Command::Command1);
  main.showAnalysisWindow();
  AnalysisWindow& w = *main.analysisWindow();
  QComboBox* box = w.materialBox();
  ASSERT_NE(box, nullptr);
  box->setCurrentText(QStringLiteral("50CrVA"));
  emit box->lineEdit()->editingFinished();
  EXPECT_EQ(main.currentInputs().text(TextBox::Text31), "206000");
  EXPECT_EQ(main.currentInputs().text(TextBox::Text32), "0.3");
  EXPECT_EQ(main.extra("material"), "50CrVA");
  EXPECT_EQ(w.input("Rm")->text(), QStringLiteral("1275"));
  ASSERT_TRUE(main.analysisInput().has_value());
  EXPECT_EQ(main.analysisInput()->params.Rm, 1275);
  EXPECT_EQ(main.analysisInput()->params.material, "50CrVA（GB/T 1222）");
  // The fatigue verdict on the shipped line is neither a pass nor a fail.
  EXPECT_TRUE(w.checks()->text().contains(QStringLiteral("示例数据，不作为签发依据")));

  box->setCurrentText(QStringLiteral("厂标钢"));
  emit box->lineEdit()->editingFinished();
  EXPECT_EQ(main.analysisInput()->params.strengthBasis, "用户数据");
  EXPECT_EQ(main.currentInputs().text(TextBox::Text31), "206000");  // a user's own types nothing
}

TEST(AnalysisWindow, OpensFromTheChartMenuReadsOutAndExports) {
  MainWindow main;
  main.press(Command::Command1);
  QAction* open = nullptr;
  for (QAction* action : main.chartMenu()->actions())
    if (action->text() == app::kAnalysisCaption) open = action;
  ASSERT_NE(open, nullptr);
  open->trigger();
  AnalysisWindow* w = main.analysisWindow();
  ASSERT_NE(w, nullptr);
  w->resize(1080, 820);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

  // The data under the middle of the stress chart, and its readout.
  app::AnalysisChart* chart = w->stressChart();
  const QPointF middle(chart->width() * 0.5, chart->height() * 0.5);
  const auto data = chart->dataAt(middle);
  ASSERT_TRUE(data.has_value());
  EXPECT_GT(data->x(), 0);
  QMouseEvent move(QEvent::MouseMove, middle, chart->mapToGlobal(middle), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(chart, &move);
  EXPECT_TRUE(w->readout()->text().startsWith(QStringLiteral("λ1 = "))) << w->readout()->text().toStdString();
  EXPECT_FALSE(chart->dataAt(QPointF(1, 1)).has_value());  // the margin is outside the plot

  QTemporaryDir dir;
  for (const char* name : {"stress.png", "stress.svg", "release.pdf"}) {
    QString error;
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(w->exportChart(*chart, path, &error)) << error.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000) << name;
  }
}

}  // namespace
