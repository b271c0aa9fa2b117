// The dialog 自动设计… driven as a user drives it: ranges typed, the search
// run off the window's thread, the table sorted, a design put into the
// window with a double click.
#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

#include "qt_print.h"
#include "runtime/convert.h"

#include "auto_design_dialog.h"
#include "chart_widget.h"
#include "main_window.h"

namespace {

using diaspring::TextBox;
using diaspring::app::AutoDesignDialog;
using diaspring::app::MainWindow;

QString q(const char* s) { return QString::fromUtf8(s); }

class QuietWindow : public MainWindow {
 public:
  std::vector<QString> faults;

 protected:
  void showFault(const QString&, const QString& text) override { faults.push_back(text); }
};

class AutoDesign : public ::testing::Test {
 protected:
  AutoDesignDialog* open() {
    window.openAutoDesign();
    return window.autoDesignDialog();
  }
  // Types a small corner of the design space into the range boxes.
  void narrow(AutoDesignDialog* dialog) {
    const char* ranges[4][2] = {{"2", "4"}, {"1.8", "1.9"}, {"86", "88"}, {"1.25", "1.3"}};
    for (int i = 0; i < 4; ++i)
      for (int end = 0; end < 2; ++end) dialog->rangeEdit(i, end == 1)->setText(q(ranges[i][end]));
    // The search without the production yield: the yield's own tests are
    // in the core's, and this corner is quick without it.
    dialog->minYieldEdit()->setText(q("0"));
  }
  static bool runToEnd(AutoDesignDialog* dialog) {
    QSignalSpy finished(dialog, &AutoDesignDialog::searchFinished);
    if (!dialog->start()) return false;
    return finished.wait(120000);
  }
  std::string text(TextBox b) const {
    return qobject_cast<QLineEdit*>(window.control("Text" + std::to_string(static_cast<int>(b))))->text().toStdString();
  }

  QuietWindow window;
};

TEST_F(AutoDesign, OpensFromTheChartMenuOnce) {
  QAction* action = nullptr;
  for (QAction* a : window.chartMenu()->actions())
    if (a->text() == q("自动设计…")) action = a;
  ASSERT_NE(action, nullptr);
  action->trigger();
  AutoDesignDialog* dialog = window.autoDesignDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  window.openAutoDesign();
  EXPECT_EQ(window.autoDesignDialog(), dialog);
}

TEST_F(AutoDesign, ChartTextIsAsLargeAsTheWindowChartsText) {
  AutoDesignDialog* dialog = open();
  window.show();
  // The text's pixel size on screen: the font's at the natural size, grown or
  // shrunk with the panel.
  const auto shown = [](const diaspring::app::ChartWidget* chart) {
    const diaspring::ChartPainter& painter = chart->painter();
    return painter.magnification(QRectF(chart->contentsRect())) * QFontInfo(painter.style().font).pixelSize();
  };
  const auto* own = dialog->tradeOffChart();
  const auto* main = window.chart();
  for (const QSize size : {dialog->minimumSizeHint(), dialog->size(), dialog->size() * 1.5}) {
    dialog->resize(size);
    EXPECT_GE(shown(own), shown(main) - 1e-9) << size.width() << "x" << size.height();
  }
}

TEST_F(AutoDesign, FindsSortsAndAppliesDesigns) {
  // The search takes the window's analysis inputs.
  window.setExtra("sigmaAllow", "1800");
  AutoDesignDialog* dialog = open();
  EXPECT_NE(dialog->constraintNote()->text().indexOf(q("[σ] = 1800 MPa")), -1) << dialog->constraintNote()->text().toStdString();
  narrow(dialog);
  ASSERT_TRUE(runToEnd(dialog));
  QTableWidget* table = dialog->table();
  const auto& designs = dialog->designs();
  ASSERT_GE(designs.size(), 2u);
  for (int row = 0; row < table->rowCount(); ++row) {
    EXPECT_EQ(table->horizontalHeaderItem(6)->text(), q("σImax (MPa)"));
    EXPECT_LE(table->item(row, 6)->text().toDouble(), 1800);
    EXPECT_GT(table->item(row, 6)->text().toDouble(), 1000);
  }
  ASSERT_EQ(table->rowCount(), static_cast<int>(designs.size()));
  EXPECT_NE(dialog->status()->text().indexOf(q("找到")), -1);
  // Each design a cross on the trade-off chart, coloured by its stress,
  // and the stress key's 12 strokes; the axes, ticks and the front's line
  // have colours of their own.
  std::size_t crosses = 0;
  for (const diaspring::DrawOp& op : dialog->tradeOffChart()->displayList().ops())
    if (op.kind == diaspring::DrawOp::Kind::Line && op.hasColor && op.color != 0x000000 && op.color != 0xFF0000 &&
        op.color != 0xC0C0C0 && op.color != 0x0000FF)
      ++crosses;
  EXPECT_EQ(crosses, 2 * designs.size() + 12);

  // Sorted by the release force, the column runs downhill the other way.
  table->sortItems(5, Qt::AscendingOrder);
  for (int row = 1; row < table->rowCount(); ++row)
    EXPECT_LE(designs[static_cast<std::size_t>(dialog->designOfRow(row - 1))].releaseForceMax,
              designs[static_cast<std::size_t>(dialog->designOfRow(row))].releaseForceMax);

  // A double click puts the design into the window and draws its curve.
  const int row = table->rowCount() / 2;
  const auto& picked = designs[static_cast<std::size_t>(dialog->designOfRow(row))];
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  table->scrollToItem(table->item(row, 0));
  table->setCurrentCell(row, 0);
  const QRect cell = table->visualItemRect(table->item(row, 0));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(text(TextBox::Text4), picked.inputs.text(TextBox::Text4));
  EXPECT_EQ(text(TextBox::Text6), picked.inputs.text(TextBox::Text6));
  EXPECT_EQ(text(TextBox::Text7), picked.inputs.text(TextBox::Text7));
  EXPECT_EQ(text(TextBox::Text9), picked.inputs.text(TextBox::Text9));
  EXPECT_EQ(text(TextBox::Text18), diaspring::format(picked.F1B, "0.000"));
  EXPECT_TRUE(window.faults.empty());
  window.press(diaspring::Command::Command3);
  EXPECT_EQ(text(TextBox::Text25), "合格");
}

// The designs found grey while an input the search held fixed, an analysis
// input or a range differs from what it searched with; applying needs a row.
TEST_F(AutoDesign, DesignsGreyWhenTheirInputsChangeAndApplyingNeedsARow) {
  AutoDesignDialog* dialog = open();
  EXPECT_FALSE(dialog->applyButton()->isEnabled());
  EXPECT_FALSE(dialog->compareButton()->isEnabled());
  narrow(dialog);
  ASSERT_TRUE(runToEnd(dialog));
  ASSERT_GT(dialog->table()->rowCount(), 0);
  dialog->table()->setCurrentCell(0, 0);
  EXPECT_TRUE(dialog->applyButton()->isEnabled());
  EXPECT_TRUE(dialog->compareButton()->isEnabled());
  QLineEdit* rf = qobject_cast<QLineEdit*>(window.control("Text37"));
  QLineEdit* h = qobject_cast<QLineEdit*>(window.control("Text4"));
  const struct {
    const char* name;
    std::function<void()> edit, undo;
    bool stale;
  } cases[] = {
      {"rf", [&] { rf->setText(q("22")); }, [&] { rf->setText(q("20")); }, true},
      {"h, a free input", [&] { h->setText(q("3")); }, [&] { h->setText(q("2.2")); }, false},
      {"a range", [&] { dialog->rangeEdit(2, true)->setText(q("89")); }, [&] { dialog->rangeEdit(2, true)->setText(q("88")); }, true},
      {"[σ]", [&] { window.setExtra("sigmaAllow", "1600"); }, [&] { window.setExtra("sigmaAllow", "1700"); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(dialog->isStale());
    c.edit();
    EXPECT_EQ(dialog->isStale(), c.stale);
    EXPECT_EQ(dialog->staleNote()->isVisibleTo(dialog), c.stale);
    c.undo();
  }
  EXPECT_FALSE(dialog->isStale());
}

TEST_F(AutoDesign, BadRangesAreRefusedAndImpossibleDataExplained) {
  AutoDesignDialog* dialog = open();
  narrow(dialog);
  dialog->rangeEdit(2, false)->setText(q("9o"));
  EXPECT_FALSE(dialog->start());
  EXPECT_NE(dialog->status()->text().indexOf(q("R (mm) 的范围不是两个数")), -1);
  EXPECT_FALSE(dialog->running());

  dialog->rangeEdit(2, false)->setText(q("86"));
  qobject_cast<QLineEdit*>(window.control("Text34"))->setText(q("150"));  // D: R1 can no longer lie on the disc
  ASSERT_TRUE(runToEnd(dialog));
  EXPECT_TRUE(dialog->designs().empty());
  EXPECT_EQ(dialog->table()->rowCount(), 0);
  EXPECT_NE(dialog->status()->text().indexOf(q("没有任何设计满足的条件：8")), -1);
  // What would open the space: a larger disc, found by searching again.
  EXPECT_NE(dialog->status()->text().indexOf(q("若把 D 从 150 mm 改为")), -1) << dialog->status()->text().toStdString();
}

TEST_F(AutoDesign, CancelAndCloseWhileRunning) {
  AutoDesignDialog* dialog = open();
  QSignalSpy finished(dialog, &AutoDesignDialog::searchFinished);
  ASSERT_TRUE(dialog->start());
  EXPECT_FALSE(dialog->start());  // one search at a time
  dialog->cancel();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(dialog->running());
  EXPECT_NE(dialog->status()->text().indexOf(q("取消")), -1);

  // Destroying the dialog in the middle of a search stops it cleanly.
  auto* other = new AutoDesignDialog([] { return diaspring::DesignInputs(); }, [](const diaspring::DesignInputs&) {});
  ASSERT_TRUE(other->start());
  delete other;
}

}  // namespace
