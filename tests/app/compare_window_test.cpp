// The window 特性曲线对比: opened from the 分析 menu, following the curve
// runs of the main window, adding and refusing curves, the calibration typed
// back into the main window, the tolerance boxes and the readout.

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>

#include <set>

#include <gtest/gtest.h>

#include "chart_widget.h"
#include "compare_window.h"
#include "main_window.h"
#include "runtime/convert.h"

namespace {

using namespace diaspring;
using diaspring::app::CompareWindow;
using diaspring::app::MainWindow;

class ScriptedCompare : public CompareWindow {
 public:
  ScriptedCompare() : CompareWindow([] { return DesignInputs(); }, [](const DesignInputs&) {}) {}
  std::vector<std::pair<QString, QString>> warnings;

 protected:
  void showWarning(const QString& title, const QString& text) override { warnings.emplace_back(title, text); }
};

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
  const QString path = dir.filePath(QString::fromUtf8(name));
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(text);
  return path;
}

// A rig curve of the default design made 2 % stiffer.
QByteArray rigCurve() {
  const compare::DesignCurve d = compare::designCurve(DesignInputs(), "d");
  QByteArray text = "lambda1;F1\n";
  for (int i = 1; i <= 50; ++i)
    text += QByteArray::number(0.1 * i) + ";" + QByteArray::number(1.02 * d.load(0.1 * i), 'g', 10) + "\n";
  return text;
}

TEST(CompareWindow, OpensFromTheMenuFollowsTheCurveRunsAndTypesTheFitBack) {
  MainWindow main;
  QAction* entry = main.analysisMenu()->findChild<QAction*>(QStringLiteral("analysisCompare"));
  ASSERT_NE(entry, nullptr);
  entry->trigger();
  CompareWindow* w = main.compareWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->isModal());

  DesignInputs thicker = main.currentInputs();
  thicker.setText(TextBox::Text4, "2.3");
  main.applyDesign(thicker);  // a curve run
  EXPECT_DOUBLE_EQ(w->input().designs.front().g.h, 2.3);
  EXPECT_TRUE(w->result().hasScatter);

  QTemporaryDir dir;
  ASSERT_TRUE(w->importMeasured(write(dir, "rig.csv", rigCurve())));
  EXPECT_EQ(w->measuredTable()->rowCount(), 1);
  const compare::Calibration fit = w->result().measured.front().fit;
  ASSERT_TRUE(w->applyFit(0));
  EXPECT_EQ(main.currentInputs().text(TextBox::Text4), format(fit.h, "0.0000"));
  EXPECT_EQ(main.currentInputs().text(TextBox::Text6), format(fit.H / fit.h, "0.0000"));
  // The fit ran the curve: the comparison follows the fitted design.
  EXPECT_NEAR(w->input().designs.front().g.h, fit.h, 1e-4);
}

// The current design greys, with a note, while an input it was made from
// differs from the main window's; the next curve run makes it fresh.
TEST(CompareWindow, IsMarkedStaleWhileTheMainWindowsInputsDiffer) {
  const struct {
    TextBox box;
    const char* text;
    bool stale;
  } cases[] = {
      {TextBox::Text4, "2.6", true}, {TextBox::Text33, "4800", true}, {TextBox::Text37, "22", true},
      {TextBox::Text1, "300", false},  // an engine box: read by nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(textBoxName(c.box));
    MainWindow main;
    main.showCompareWindow();
    CompareWindow* w = main.compareWindow();
    main.press(Command::Command1);
    ASSERT_FALSE(w->isStale());
    main.findChild<QLineEdit*>(QString::fromStdString(textBoxName(c.box)))->setText(QString::fromUtf8(c.text));
    EXPECT_EQ(w->isStale(), c.stale);
    EXPECT_EQ(w->chart()->isStale(), c.stale);
    EXPECT_EQ(w->staleNote()->isVisibleTo(w), c.stale);
    main.press(Command::Command1);
    EXPECT_FALSE(w->isStale());
    EXPECT_FALSE(w->staleNote()->isVisibleTo(w));
  }
}

// The main window draws exactly what it draws without the comparison.
TEST(CompareWindow, LeavesTheMainWindowsChartAsItIs) {
  MainWindow alone, watched;
  watched.showCompareWindow();
  watched.compareWindow()->pinCurrent();
  for (MainWindow* w : {&alone, &watched}) {
    w->press(Command::Command1);
    w->press(Command::Command3);
    w->press(Command::Command1);
  }
  const auto& a = alone.chart()->displayList();
  const auto& b = watched.chart()->displayList();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a.ops()[i].kind, b.ops()[i].kind) << i;
    EXPECT_EQ(a.ops()[i].x1, b.ops()[i].x1) << i;
    EXPECT_EQ(a.ops()[i].y2, b.ops()[i].y2) << i;
  }
}

TEST(CompareWindow, AddsHidesAndRemovesCurvesAndRefusesWhatItCannotTake) {
  ScriptedCompare w;
  QTemporaryDir dir;
  struct Bad {
    const char* name;
    QByteArray text;
    const char* words;
  };
  const Bad bad[] = {
      {"words.csv", "0,0\n1,abc\n2,3\n", "第 2 行：F1 'abc' 不是有限的数"},
      {"one.csv", "0\n1\n2\n", "第 1 行"},
      {"empty.csv", "", "没有测量点"},
      {"bad.diaspring", "{", ""},
  };
  for (const Bad& b : bad) {
    const QString path = write(dir, b.name, b.text);
    const bool added = QString::fromUtf8(b.name).endsWith(QStringLiteral(".diaspring")) ? w.openDesignFile(path)
                                                                                        : w.importMeasured(path);
    EXPECT_FALSE(added) << b.name;
    ASSERT_FALSE(w.warnings.empty()) << b.name;
    EXPECT_TRUE(w.warnings.back().second.contains(QString::fromUtf8(b.words))) << w.warnings.back().second.toStdString();
  }
  EXPECT_EQ(w.curveCount(), 1);  // nothing half-imported

  for (int i = 0; i < 6; ++i) ASSERT_TRUE(w.pinCurrent());
  ASSERT_TRUE(w.importMeasured(write(dir, "rig.csv", rigCurve())));
  EXPECT_EQ(w.curveCount(), 8);
  const std::size_t warned = w.warnings.size();
  EXPECT_FALSE(w.pinCurrent());  // a ninth
  EXPECT_EQ(w.warnings.size(), warned + 1);
  EXPECT_EQ(w.curveCount(), 8);

  // Every curve has its own style; hiding one takes it off the chart only.
  std::set<int> styles;
  for (const auto& d : w.scene().designs) styles.insert(d.style);
  for (const auto& m : w.scene().measured) styles.insert(m.style);
  EXPECT_EQ(styles.size(), 8U);
  w.curveTable()->item(2, 0)->setCheckState(Qt::Unchecked);  // as a click on the box does
  QCoreApplication::processEvents();
  EXPECT_EQ(w.scene().designs.size(), 6U);
  EXPECT_EQ(w.curveTable()->item(2, 0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(w.curveCount(), 8);
  w.removeCurve(0);  // the current design stays
  w.removeCurve(7);  // the measured curve goes, with its row of the table
  EXPECT_EQ(w.curveCount(), 7);
  EXPECT_EQ(w.measuredTable()->rowCount(), 0);
}

TEST(CompareWindow, ToleranceBoxesChangeTheScatterAndBadTextIsNamed) {
  ScriptedCompare w;
  const double sigma = w.result().monteCarlo.F1B.sigma;
  QLineEdit* h = w.tolerance("h");
  h->setText(QStringLiteral("0.02"));
  emit h->editingFinished();
  EXPECT_LT(w.result().monteCarlo.F1B.sigma, sigma);
  EXPECT_DOUBLE_EQ(w.input().tolerances.h, 0.02);
  h->setText(QStringLiteral("zwei"));
  emit h->editingFinished();
  EXPECT_DOUBLE_EQ(w.input().tolerances.h, 0.02);  // the last good value
  EXPECT_TRUE(w.scatterNote()->text().contains(QStringLiteral("h 不是非负数")));
  EXPECT_FALSE(h->styleSheet().isEmpty());
}

}  // namespace
