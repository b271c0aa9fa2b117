// The window driven as a user drives it: button clicks, slider steps by
// keyboard and mouse, faults shown in a real message box, and the chart kept
// across presses.
#include <array>
#include <string>
#include <utility>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt_print.h"

#include "chart_widget.h"
#include "fault_message.h"
#include "main_window.h"
#include "shown_window.h"
#include "support/default_run.h"

namespace {

using diaspring::DrawOp;
using diaspring::app::ChartWidget;
using diaspring::app::MainWindow;

QString q(const char* s) { return QString::fromUtf8(s); }

// Closes every modal message box as soon as it shows, keeping what it said,
// so a box that should not appear fails a test instead of hanging it.
class BoxWatcher {
 public:
  struct Box {
    QString title, text;
    QMessageBox::Icon icon;
  };
  BoxWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes.push_back({box->windowTitle(), box->text(), box->icon()});
        box->accept();
      }
    });
    timer_.start(5);
  }
  std::vector<Box> boxes;

 private:
  QTimer timer_;
};

// The twelve point boxes after the curve button, and the twelve verdicts of
// the check button, with the default design.
using diaspring::testing::kDefaultPoints;
using diaspring::testing::kDefaultVerdicts;

// Made before the window, so that it sees the message boxes of its start.
struct WatchedBoxes {
  BoxWatcher watcher;
};

class MainWindowUse : protected WatchedBoxes, public ShownWindow<> {
 protected:
  QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
  QScrollBar* bar(const char* name) const { return find<QScrollBar>(name); }
  QString text(const char* name) const { return box(name)->text(); }
  void type(const char* name, const char* value) {
    box(name)->selectAll();
    QTest::keyClick(box(name), Qt::Key_Delete);
    QTest::keyClicks(box(name), q(value));
  }
  void click(const char* button) {
    auto* b = window.findChild<QPushButton*>(q(button));
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
  }
  ChartWidget* chart() const { return window.chart(); }
  std::size_t count(DrawOp::Kind kind) const {
    std::size_t n = 0;
    const auto& list = chart()->displayList();
    for (std::size_t i = list.visibleFrom(); i < list.size(); ++i) n += list.ops()[i].kind == kind;
    return n;
  }
  // The pixel of the chart's grab where a recorded point lands.
  QPoint pixelOf(const DrawOp& op, const std::optional<DrawOp>& scale) const {
    const QRect inside = chart()->contentsRect();
    const QPointF at = chart()->painter().map(QRectF(QPointF(0, 0), QSizeF(inside.size())), scale, op.x1, op.y1);
    return inside.topLeft() + QPoint(static_cast<int>(at.x()), static_cast<int>(at.y()));
  }
  void expectBoxes(const std::array<diaspring::testing::BoxText, 12>& boxes, bool filled) {
    for (const auto& [box, value] : boxes) {
      const std::string name = diaspring::textBoxName(box);
      EXPECT_EQ(text(name.c_str()), filled ? q(value) : QString()) << name;
    }
  }

};

TEST_F(MainWindowUse, StartsWithDefaultsAndRunsNoHandler) {
  // The sliders stand at their values but have not written their boxes.
  EXPECT_EQ(bar("HScroll1")->value(), 200);
  EXPECT_EQ(text("Text4"), "2.2");
  EXPECT_EQ(text("Text5"), "");
  EXPECT_EQ(text("Text8"), "");
  EXPECT_EQ(text("Text10"), "1.6");
  expectBoxes(kDefaultPoints, false);
  EXPECT_EQ(chart()->displayList().size(), 0u);
  EXPECT_TRUE(watcher.boxes.empty());
}

TEST_F(MainWindowUse, CurveButtonFillsDerivedAndPointBoxes) {
  click("Command1");
  EXPECT_EQ(text("Text5"), "4.18");
  EXPECT_EQ(text("Text8"), "63.68");
  expectBoxes(kDefaultPoints, true);
  EXPECT_EQ(count(DrawOp::Kind::PSet), 10001u);
  EXPECT_TRUE(watcher.boxes.empty());
}

TEST_F(MainWindowUse, FaultIsShownNamingTheButtonAndTheWindowGoesOn) {
  type("Text9", "");
  click("Command1");
  ASSERT_EQ(watcher.boxes.size(), 1u);
  const BoxWatcher::Box& shown = watcher.boxes.front();
  EXPECT_EQ(shown.icon, QMessageBox::Critical);
  EXPECT_FALSE(shown.title.isEmpty());
  EXPECT_TRUE(shown.text.contains(q("输出膜片弹簧曲线及描点"))) << shown.text.toStdString();
  EXPECT_TRUE(shown.text.contains(q("除数为零"))) << shown.text.toStdString();
  EXPECT_TRUE(shown.text.contains(q("保留"))) << shown.text.toStdString();
  // The frame was drawn before the fault and stays; no curve was traced.
  EXPECT_EQ(count(DrawOp::Kind::Scale), 1u);
  EXPECT_EQ(count(DrawOp::Kind::PSet), 0u);
  EXPECT_TRUE(window.isVisible());

  type("Text9", "1.33");
  click("Command1");
  EXPECT_EQ(watcher.boxes.size(), 1u);
  EXPECT_EQ(text("Text8"), "63.68");
  expectBoxes(kDefaultPoints, true);
}

TEST(FaultMessageText, AddsTheCauseOnlyWhenKnown) {
  const QString action = q("计算并验证约束条件");
  const QString plain = diaspring::app::faultMessage(action, diaspring::Fault(diaspring::FaultKind::Overflow));
  EXPECT_TRUE(plain.contains(action));
  EXPECT_TRUE(plain.contains(q("溢出")));
  EXPECT_FALSE(plain.contains(q("原因")));
  const QString why = diaspring::app::faultMessage(
      action, diaspring::Fault(diaspring::FaultKind::InvalidOperation, "特性曲线没有峰值"));
  EXPECT_TRUE(why.contains(q("原因：特性曲线没有峰值")));
}

TEST_F(MainWindowUse, SecondPressDrawsOverTheFirst) {
  click("Command1");
  const QImage first = chart()->grab().toImage();
  const int rebuilds = chart()->rasterRebuilds();
  const std::size_t firstSize = chart()->displayList().size();

  type("Text6", "1.6");  // a flatter spring: a different curve
  click("Command1");
  const QImage both = chart()->grab().toImage();
  const auto& list = chart()->displayList();
  EXPECT_EQ(count(DrawOp::Kind::Scale), 2u);
  EXPECT_EQ(count(DrawOp::Kind::PSet), 20002u);
  // The raster was carried on, not redrawn: only the second press was replayed.
  EXPECT_EQ(chart()->rasterRebuilds(), rebuilds);
  EXPECT_EQ(chart()->replayedOps(), list.size());
  EXPECT_GT(list.size(), firstSize);

  // The sweep point at 6 mm of each curve: apart, and both still red.
  std::vector<const DrawOp*> at6;
  for (const DrawOp& op : list.ops())
    if (op.kind == DrawOp::Kind::PSet && op.x1 > 5.9995f && op.x1 < 6.0005f) at6.push_back(&op);
  ASSERT_EQ(at6.size(), 2u);
  const std::optional<DrawOp> scale = list.ops().front();
  const QPoint p1 = pixelOf(*at6[0], scale), p2 = pixelOf(*at6[1], scale);
  ASSERT_GT(std::abs(p1.y() - p2.y()), 5);
  EXPECT_EQ(first.pixelColor(p1), QColor(Qt::red));
  EXPECT_EQ(both.pixelColor(p1), QColor(Qt::red));
  EXPECT_EQ(both.pixelColor(p2), QColor(Qt::red));
  EXPECT_NE(first.pixelColor(p2), QColor(Qt::red));
}

TEST_F(MainWindowUse, RepaintWithoutNewDrawingOnlyCopiesTheRaster) {
  for (int i = 0; i < 3; ++i) {
    click("Command1");
    chart()->grab();
  }
  const int rebuilds = chart()->rasterRebuilds();
  const std::size_t replayed = chart()->replayedOps();
  chart()->grab();
  chart()->repaint();
  EXPECT_EQ(chart()->rasterRebuilds(), rebuilds);
  EXPECT_EQ(chart()->replayedOps(), replayed);
  // A new size is a fresh raster, replayed in full.
  chart()->resize(chart()->size() + QSize(10, 10));
  chart()->grab();
  EXPECT_EQ(chart()->rasterRebuilds(), rebuilds + 1);
  EXPECT_EQ(chart()->replayedOps(), chart()->displayList().size());
}

TEST_F(MainWindowUse, SlidersWriteTheirBoxesOnKeyboardSteps) {
  QScrollBar* r = bar("HScroll3");
  r->setFocus();
  QTest::keyClick(r, Qt::Key_Home);
  EXPECT_EQ(r->value(), 760);
  EXPECT_EQ(text("Text7"), "76");
  QTest::keyClick(r, Qt::Key_Right);
  EXPECT_EQ(r->value(), 761);
  EXPECT_EQ(text("Text7"), "76.1");
  QTest::keyClick(r, Qt::Key_PageUp);  // a page is one step too
  EXPECT_EQ(text("Text7"), "76");
  QTest::keyClick(r, Qt::Key_Down);
  QTest::keyClick(r, Qt::Key_PageDown);
  EXPECT_EQ(text("Text7"), "76.2");
  QTest::keyClick(r, Qt::Key_Up);
  EXPECT_EQ(text("Text7"), "76.1");

  QScrollBar* h = bar("HScroll1");
  QTest::keyClick(h, Qt::Key_End);
  EXPECT_EQ(text("Text4"), "4");
  QTest::keyClick(h, Qt::Key_Left);
  EXPECT_EQ(text("Text4"), "3.99");
  EXPECT_TRUE(watcher.boxes.empty());
}

class SliderMouse : public MainWindowUse {
 protected:
  QPoint centre(QScrollBar* b, QStyle::SubControl part) const {
    QStyleOptionSlider option;
    option.initFrom(b);
    option.orientation = b->orientation();
    option.minimum = b->minimum();
    option.maximum = b->maximum();
    option.sliderPosition = b->sliderPosition();
    option.sliderValue = b->value();
    option.singleStep = b->singleStep();
    option.pageStep = b->pageStep();
    option.upsideDown = false;
    option.subControls = QStyle::SC_All;
    return b->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, b).center();
  }
};

TEST_F(SliderMouse, ArrowAndTrackClicksStepByOne) {
  QScrollBar* wear = bar("HScroll5");
  QTest::mouseClick(wear, Qt::LeftButton, {}, centre(wear, QStyle::SC_ScrollBarAddLine));
  EXPECT_EQ(wear->value(), 21);
  EXPECT_EQ(text("Text10"), "0.210");
  QTest::mouseClick(wear, Qt::LeftButton, {}, centre(wear, QStyle::SC_ScrollBarAddPage));
  EXPECT_EQ(wear->value(), 22);
  EXPECT_EQ(text("Text10"), "0.220");
  QTest::mouseClick(wear, Qt::LeftButton, {}, centre(wear, QStyle::SC_ScrollBarSubLine));
  EXPECT_EQ(text("Text10"), "0.210");
  EXPECT_TRUE(watcher.boxes.empty());
}

TEST_F(SliderMouse, DraggedThumbWritesOnlyOnRelease) {
  QScrollBar* travel = bar("HScroll6");
  const QPoint grip = centre(travel, QStyle::SC_ScrollBarSlider);
  const QPoint target = grip + QPoint(60, 0);
  QTest::mousePress(travel, Qt::LeftButton, {}, grip);
  QMouseEvent move(QEvent::MouseMove, target, travel->mapToGlobal(target), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(travel, &move);
  EXPECT_GT(travel->sliderPosition(), 20);
  EXPECT_EQ(travel->value(), 20);
  EXPECT_EQ(text("Text11"), "1.6");  // nothing written while dragging
  QTest::mouseRelease(travel, Qt::LeftButton, {}, target);
  EXPECT_GT(travel->value(), 20);
  const double expected = travel->value() / 100.0;
  EXPECT_EQ(text("Text11"), QString::number(expected, 'f', 3));
}

TEST_F(MainWindowUse, CurveCheckClearCurveCheck) {
  click("Command1");
  EXPECT_EQ(text("Text5"), "4.18");
  EXPECT_EQ(text("Text8"), "63.68");
  expectBoxes(kDefaultPoints, true);
  expectBoxes(kDefaultVerdicts, false);

  click("Command3");
  expectBoxes(kDefaultPoints, true);
  expectBoxes(kDefaultVerdicts, true);

  click("Command2");
  EXPECT_EQ(text("Text5"), "4.18");
  EXPECT_EQ(text("Text8"), "63.68");
  EXPECT_EQ(text("Text4"), "2.2");
  EXPECT_EQ(text("Text33"), "4593");
  expectBoxes(kDefaultPoints, false);
  expectBoxes(kDefaultVerdicts, false);
  // The chart is blank, and what the clear erased is gone from memory.
  EXPECT_EQ(chart()->displayList().size(), 0u);
  const QImage blank = chart()->grab().toImage();
  const QRect inside = chart()->contentsRect();
  for (int y = inside.top(); y <= inside.bottom(); y += 3)
    for (int x = inside.left(); x <= inside.right(); x += 3)
      ASSERT_EQ(blank.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;

  click("Command1");
  expectBoxes(kDefaultPoints, true);
  expectBoxes(kDefaultVerdicts, false);
  EXPECT_EQ(count(DrawOp::Kind::PSet), 10001u);

  click("Command3");
  expectBoxes(kDefaultPoints, true);
  expectBoxes(kDefaultVerdicts, true);
  EXPECT_TRUE(watcher.boxes.empty());
}

}  // namespace
