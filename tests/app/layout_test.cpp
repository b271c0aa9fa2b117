// The live window against the controls it must have: every control's name,
// kind, container, place and size, caption or default text, slider range, and
// the keyboard focus order. The expected values are written out here on their
// own, not taken from the window's layout table, so a slip in either shows.
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <QScrollArea>

#include <gtest/gtest.h>

#include "qt_print.h"

#include "caption_button.h"
#include "chart_widget.h"
#include "label_fit.h"
#include "main_window.h"
#include "shown_window.h"
#include "form/controls.h"

namespace {

using diaspring::app::MainWindow;

enum Kind { Frame, Label, TextBox, ScrollBar, Button, Picture, Image };

struct Expected {
  const char* name;
  Kind kind;
  const char* parent;
  const char* text;
  int left, top, width, height;  // twips
  int tabIndex;
  int min = 0, max = 0, value = 0;
};

// clang-format off
const Expected kExpected[] = {
    {"Frame1", Frame, "Form1", "原始数据", 240, 120, 3612, 1572, 0},
    {"Frame4", Frame, "Form1", "已知参数", 240, 1800, 4095, 2412, 69},
    {"Frame2", Frame, "Form1", "输入数据", 240, 4320, 3975, 4215, 11},
    {"Picture1", Picture, "Form1", "", 4320, 0, 8295, 4452, 39},
    {"Frame3", Frame, "Form1", "输出点坐标", 4320, 4440, 9732, 1452, 41},
    {"Frame5", Frame, "Form1", "检验约束条件", 4320, 5880, 7695, 2412, 84},
    {"Command1", Button, "Form1", "输出膜片弹簧曲线及描点", 12720, 1320, 1332, 732, 40},
    {"Command3", Button, "Form1", "计算并验证约束条件", 12720, 2160, 1332, 612, 68},
    {"Command2", Button, "Form1", "清空数据", 12720, 2880, 1332, 612, 66},
    {"Image1", Image, "Form1", "", 12000, 6000, 2250, 2250, -1},
    {"Label1", Label, "Frame1", "Temax/nT：", 120, 360, 975, 255, 1},
    {"Text1", TextBox, "Frame1", "147", 1080, 360, 615, 270, 2},
    {"Label2", Label, "Frame1", "/", 1800, 360, 255, 255, 3},
    {"Text2", TextBox, "Frame1", "2300", 2040, 360, 495, 270, 4},
    {"Label3", Label, "Frame1", "N·M/rpm", 2640, 360, 852, 372, 5},
    {"Label4", Label, "Frame1", "最高转速：", 120, 840, 1095, 255, 6},
    {"Text3", TextBox, "Frame1", "4800", 1080, 840, 495, 270, 7},
    {"Label5", Label, "Frame1", "rpm", 1680, 840, 495, 255, 8},
    {"Label6", Label, "Frame1", "汽车类型：轿车", 120, 1200, 1815, 255, 9},
    {"Label7", Label, "Frame1", "后备功率：小", 1800, 1200, 1572, 252, 10},
    {"Label41", Label, "Frame4", "弹性模量E(Mpa）=", 240, 240, 1572, 252, 70},
    {"Text31", TextBox, "Frame4", "210000", 1800, 240, 732, 264, 77},
    {"Label42", Label, "Frame4", "泊松比μ=", 2640, 240, 972, 372, 71},
    {"Text32", TextBox, "Frame4", "0.3", 3480, 240, 492, 264, 78},
    {"Label43", Label, "Frame4", "摩擦片工作压力F（N）=", 240, 600, 1932, 252, 72},
    {"Text33", TextBox, "Frame4", "4593", 2280, 600, 732, 264, 79},
    {"Label44", Label, "Frame4", "摩擦片外径D（mm）=", 240, 960, 1812, 252, 73},
    {"Text34", TextBox, "Frame4", "180", 2040, 960, 732, 264, 80},
    {"Label45", Label, "Frame4", "摩擦片内径d（mm）=", 240, 1320, 1692, 252, 74},
    {"Text35", TextBox, "Frame4", "125", 2160, 1320, 732, 264, 81},
    {"Label46", Label, "Frame4", "膜片弹簧小端内半径r0(mm）=", 240, 1680, 2412, 252, 75},
    {"Text36", TextBox, "Frame4", "18", 2760, 1680, 732, 264, 82},
    {"Label47", Label, "Frame4", "分离轴承作用半径rf（mm)=", 240, 2040, 2412, 252, 76},
    {"Text37", TextBox, "Frame4", "20", 2640, 2040, 732, 264, 83},
    {"Label8", Label, "Frame2", "h调节", 240, 360, 615, 255, 12},
    {"Label9", Label, "Frame2", "H/h调节", 120, 720, 855, 255, 13},
    {"Label10", Label, "Frame2", "h=", 120, 1200, 615, 255, 14},
    {"Text4", TextBox, "Frame2", "2.2", 360, 1200, 615, 270, 17},
    {"Label11", Label, "Frame2", "H=", 1200, 1200, 372, 252, 15},
    {"Text5", TextBox, "Frame2", "", 1440, 1200, 732, 270, 18},
    {"Label12", Label, "Frame2", "H/h=", 2400, 1200, 492, 252, 16},
    {"Text6", TextBox, "Frame2", "1.9", 2760, 1200, 615, 270, 19},
    {"Label13", Label, "Frame2", "R调节", 240, 1560, 615, 375, 22},
    {"Label14", Label, "Frame2", "R/r调节", 240, 1920, 735, 255, 23},
    {"Label15", Label, "Frame2", "R=", 120, 2400, 375, 255, 24},
    {"Text7", TextBox, "Frame2", "84.7", 360, 2400, 615, 270, 29},
    {"Label16", Label, "Frame2", "r=", 1200, 2400, 372, 252, 25},
    {"Text8", TextBox, "Frame2", "", 1440, 2400, 612, 264, 30},
    {"Label17", Label, "Frame2", "R/r=", 2280, 2400, 492, 252, 26},
    {"Text9", TextBox, "Frame2", "1.33", 2760, 2400, 615, 270, 31},
    {"Label18", Label, "Frame2", "Δλ调节", 120, 2880, 855, 255, 32},
    {"Label19", Label, "Frame2", "λ1f调节", 120, 3240, 1095, 255, 33},
    {"Label20", Label, "Frame2", "Δλ=", 120, 3720, 492, 252, 35},
    {"Text10", TextBox, "Frame2", "1.6", 600, 3720, 735, 270, 37},
    {"Label21", Label, "Frame2", "λ1f=", 2160, 3720, 492, 252, 36},
    {"Text11", TextBox, "Frame2", "1.6", 2640, 3720, 735, 270, 38},
    {"Label22", Label, "Frame3", "F1M=", 240, 480, 372, 252, 42},
    {"Text12", TextBox, "Frame3", "", 720, 360, 975, 372, 44},
    {"Label23", Label, "Frame3", "λ1M=", 240, 1080, 492, 252, 43},
    {"Text13", TextBox, "Frame3", "", 720, 960, 975, 372, 45},
    {"Label24", Label, "Frame3", "F1N=", 2040, 480, 372, 252, 46},
    {"Text14", TextBox, "Frame3", "", 2400, 360, 975, 372, 48},
    {"Label25", Label, "Frame3", "λ1N=", 1920, 1080, 615, 255, 47},
    {"Text15", TextBox, "Frame3", "", 2400, 960, 975, 372, 49},
    {"Label26", Label, "Frame3", "F1H=", 3480, 480, 372, 252, 50},
    {"Text16", TextBox, "Frame3", "", 3840, 360, 975, 372, 52},
    {"Label27", Label, "Frame3", "λ1H=", 3360, 1080, 495, 255, 51},
    {"Text17", TextBox, "Frame3", "", 3840, 960, 975, 372, 53},
    {"Label28", Label, "Frame3", "F1B=", 5040, 480, 375, 255, 54},
    {"Text18", TextBox, "Frame3", "", 5400, 360, 975, 372, 56},
    {"Label29", Label, "Frame3", "λ1B=", 4920, 1080, 615, 255, 55},
    {"Text19", TextBox, "Frame3", "", 5400, 960, 975, 372, 57},
    {"Label30", Label, "Frame3", "F1A=", 6600, 480, 375, 255, 58},
    {"Text20", TextBox, "Frame3", "", 6960, 360, 852, 372, 60},
    {"Label31", Label, "Frame3", "λ1A=", 6480, 1080, 495, 255, 59},
    {"Text21", TextBox, "Frame3", "", 6960, 960, 852, 372, 61},
    {"Label32", Label, "Frame3", "F1C=", 8160, 480, 375, 255, 62},
    {"Text22", TextBox, "Frame3", "", 8640, 360, 852, 372, 64},
    {"Label33", Label, "Frame3", "λ1C=", 8160, 1080, 492, 252, 63},
    {"Text23", TextBox, "Frame3", "", 8640, 960, 852, 372, 65},
    {"Label34", Label, "Frame5", "|F-F1B|=  ( <1 ) ", 120, 360, 852, 492, 85},
    {"Text24", TextBox, "Frame5", "", 960, 360, 1092, 372, 97},
    {"Label35", Label, "Frame5", "F1A≥F1B", 120, 960, 852, 252, 86},
    {"Text25", TextBox, "Frame5", "", 960, 840, 1092, 372, 98},
    {"Label36", Label, "Frame5", "   H/h= (1.6-2.2)", 120, 1320, 852, 372, 87},
    {"Text26", TextBox, "Frame5", "", 1080, 1320, 972, 372, 99},
    {"Label37", Label, "Frame5", " H/(R-r)= (9°-15°)", 120, 1920, 972, 492, 88},
    {"Text27", TextBox, "Frame5", "", 1080, 1920, 972, 372, 100},
    {"Label38", Label, "Frame5", "    R/r=   (1.2-1.35)", 2520, 360, 1092, 372, 89},
    {"Text28", TextBox, "Frame5", "", 3480, 360, 1092, 372, 101},
    {"Label39", Label, "Frame5", "  2R/h= (70-100)", 2640, 840, 852, 492, 90},
    {"Text29", TextBox, "Frame5", "", 3480, 840, 1092, 384, 102},
    {"Label40", Label, "Frame5", "  R/r0= (3.5-5.0)", 2520, 1320, 972, 372, 91},
    {"Text30", TextBox, "Frame5", "", 3480, 1320, 1092, 372, 103},
    {"Label48", Label, "Frame5", "(D+d)/4≤R1≤D/2", 2160, 1920, 1572, 252, 92},
    {"Text38", TextBox, "Frame5", "", 3720, 1800, 852, 384, 104},
    {"Label49", Label, "Frame5", "R-R1=  (1-7)", 5760, 360, 612, 372, 93},
    {"Text39", TextBox, "Frame5", "", 6360, 360, 972, 384, 105},
    {"Label50", Label, "Frame5", "r1-r=  (0-6)", 5760, 840, 612, 492, 94},
    {"Text40", TextBox, "Frame5", "", 6360, 840, 972, 372, 106},
    {"Label51", Label, "Frame5", "rf-r0=  (0-6)", 5760, 1320, 612, 372, 95},
    {"Text41", TextBox, "Frame5", "", 6360, 1320, 972, 372, 107},
    {"Label52", Label, "Frame5", "(r1-rf)/(R1-r1)=    (2.3-4.5)", 4800, 1800, 1692, 492, 96},
    {"Text42", TextBox, "Frame5", "", 6360, 1800, 1212, 372, 108},
    // The sliders, with their range and starting value.
    {"HScroll1", ScrollBar, "Frame2", "", 960, 360, 2295, 255, 20, 200, 400, 200},
    {"HScroll2", ScrollBar, "Frame2", "", 960, 720, 2295, 255, 21, 150, 200, 160},
    {"HScroll3", ScrollBar, "Frame2", "", 960, 1560, 2295, 255, 27, 760, 1350, 1020},
    {"HScroll4", ScrollBar, "Frame2", "", 960, 1920, 2295, 255, 28, 120, 135, 120},
    {"HScroll5", ScrollBar, "Frame2", "", 960, 2880, 2295, 255, 67, 20, 200, 20},
    {"HScroll6", ScrollBar, "Frame2", "", 960, 3240, 2295, 255, 34, 20, 300, 20},
};
// clang-format on

int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QString q(const char* s) { return QString::fromUtf8(s); }

using WindowLayout = ShownWindow<>;

// On a screen smaller than the window (the form at twice the scale on a
// 1600 × 1000 screen) the window shrinks to it and the form scrolls; on a
// large one it is fixed at its own size again.
TEST_F(WindowLayout, TheFormScrollsWhenTheScreenIsTooSmall) {
  const QSize natural = window.size();
  window.fitScreen(QSize(800, 500));
  QScrollArea* scroll = window.formScroll();
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(window.centralWidget(), scroll);
  EXPECT_EQ(window.form()->parentWidget(), scroll->viewport());
  EXPECT_EQ(window.form()->size(), QSize(956, 578));
  EXPECT_LE(window.width(), 800);
  EXPECT_LE(window.height(), 500);
  EXPECT_EQ(window.maximumSize(), natural);
  QCoreApplication::processEvents();
  EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);

  window.fitScreen(QSize(1920, 1080));
  EXPECT_EQ(window.formScroll(), nullptr);
  EXPECT_EQ(window.centralWidget(), window.form());
  QCoreApplication::processEvents();
  EXPECT_EQ(window.size(), natural);
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

// No caption starts on or against a box to its left ("λ1H=" beside the λ1N
// box); the label keeps its place.
TEST_F(WindowLayout, NoCaptionTouchesTheBoxToItsLeft) {
  int crowded = 0;
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->objectName().startsWith(QLatin1String("Label"))) continue;
    const QRect own = label->geometry();
    for (QObject* child : label->parentWidget()->children()) {
      auto* box = qobject_cast<QLineEdit*>(child);
      if (box == nullptr) continue;
      const QRect other = box->geometry();
      if (other.top() > own.bottom() || other.bottom() < own.top() || other.left() >= own.left() ||
          other.right() + 1 < own.left())
        continue;
      ++crowded;
      EXPECT_GE(own.left() + label->contentsMargins().left(), other.right() + 1 + 2)
          << label->objectName().toStdString() << " beside " << box->objectName().toStdString();
    }
  }
  EXPECT_GE(crowded, 1);  // Label27 beside Text15
  EXPECT_EQ(find("Label27")->geometry(), QRect(224, 72, 33, 17));
}

// A long number typed into an input box shows whole, in a narrower or
// smaller font; the usual text keeps the window's font.
TEST_F(WindowLayout, AnInputBoxShowsALongNumberWhole) {
  auto* e = qobject_cast<QLineEdit*>(find("Text31"));
  ASSERT_NE(e, nullptr);
  const QFont usual = e->font();
  e->setText(QStringLiteral("2100000"));
  EXPECT_LE(QFontMetricsF(e->font()).horizontalAdvance(e->text()), diaspring::app::lineTextWidth(*e));
  e->setText(QStringLiteral("210000"));
  EXPECT_EQ(e->font(), usual);
}

TEST_F(WindowLayout, WindowHasItsCaptionFixedClientSizeAndOnlyAMenuBar) {
  EXPECT_EQ(window.form()->objectName(), "Form1");
  // The caption follows the design's file name; the form's caption stays.
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("未命名[*] - 膜片弹簧设计"));
  EXPECT_EQ(window.form()->size(), QSize(956, 578));
  EXPECT_EQ(window.size(), QSize(956, 578 + window.menuBar()->height()));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.findChildren<QMenuBar*>().size(), 1);
  EXPECT_TRUE(window.findChildren<QToolBar*>().isEmpty());
  EXPECT_TRUE(window.findChildren<QStatusBar*>().isEmpty());
  EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(WindowLayout, EveryControlHasItsKindPlaceAndText) {
  EXPECT_EQ(std::size(kExpected), 110u);  // 5 frames, 52 labels, 42 boxes, 6 sliders, 3 buttons, chart, picture
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(e.name);
    QWidget* w = find(e.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->accessibleName(), q(e.name));
    ASSERT_NE(w->parentWidget(), nullptr);
    EXPECT_EQ(w->parentWidget()->objectName(), q(e.parent));
    EXPECT_EQ(w->geometry(), QRect(px(e.left), px(e.top), px(e.width), px(e.height)));
    EXPECT_TRUE(w->isVisible());
    switch (e.kind) {
      case Frame: {
        auto* frame = qobject_cast<QGroupBox*>(w);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->title(), q(e.text));
        break;
      }
      case Label: {
        auto* label = qobject_cast<QLabel*>(w);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), q(e.text));
        EXPECT_TRUE(label->wordWrap());
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        break;
      }
      case TextBox: {
        auto* edit = qobject_cast<QLineEdit*>(w);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), q(e.text));
        // The boxes that show results (those that start empty) are
        // read-only; the inputs are not.
        EXPECT_EQ(edit->isReadOnly(), q(e.text).isEmpty());
        EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
        break;
      }
      case ScrollBar: {
        auto* bar = qobject_cast<QScrollBar*>(w);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->orientation(), Qt::Horizontal);
        EXPECT_EQ(bar->minimum(), e.min);
        EXPECT_EQ(bar->maximum(), e.max);
        EXPECT_EQ(bar->value(), e.value);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 1);
        EXPECT_FALSE(bar->hasTracking());
        EXPECT_TRUE(bar->focusPolicy() & Qt::TabFocus);
        break;
      }
      case Button: {
        auto* button = qobject_cast<QPushButton*>(w);
        ASSERT_NE(button, nullptr);
        // Line breaks are added for display only; no character is lost.
        EXPECT_EQ(button->text().remove(QLatin1Char('\n')), q(e.text));
        break;
      }
      case Picture:
        EXPECT_NE(qobject_cast<diaspring::app::ChartWidget*>(w), nullptr);
        break;
      case Image: {
        auto* image = qobject_cast<QLabel*>(w);
        ASSERT_NE(image, nullptr);
        const QPixmap picture = image->pixmap();
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(150, 150));
        break;
      }
    }
  }
  // Nothing named like a control is missing from the list above.
  int named = 0;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    const QString n = w->objectName();
    if (n.startsWith("Frame") || n.startsWith("Label") || n.startsWith("Text") ||
        n.startsWith("HScroll") || n.startsWith("Command") || n == "Picture1" || n == "Image1")
      ++named;
  }
  EXPECT_EQ(named, 110);
}

TEST_F(WindowLayout, TextBoxesHaveNoLengthLimit) {
  auto* edit = qobject_cast<QLineEdit*>(find("Text33"));  // an input box: the result boxes are read-only
  ASSERT_NE(edit, nullptr);
  const QString longText(70000, QLatin1Char('7'));
  edit->setText(longText);
  EXPECT_EQ(edit->text().size(), longText.size());
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClicks(edit, "12");
  EXPECT_EQ(edit->text().size(), longText.size() + 2);
}

// The window starts exactly as the headless front end's boxes and sliders do,
// so both run the same design.
TEST_F(WindowLayout, StartsAsTheWindowLogicExpects) {
  for (int i = 1; i <= diaspring::kTextBoxCount; ++i) {
    const auto box = static_cast<diaspring::TextBox>(i);
    auto* edit = qobject_cast<QLineEdit*>(find(diaspring::textBoxName(box).c_str()));
    ASSERT_NE(edit, nullptr) << i;
    EXPECT_EQ(edit->text().toStdString(), diaspring::defaultText(box)) << diaspring::textBoxName(box);
  }
  for (int i = 1; i <= diaspring::kSliderCount; ++i) {
    const auto slider = static_cast<diaspring::Slider>(i);
    auto* bar = qobject_cast<QScrollBar*>(find(diaspring::sliderName(slider).c_str()));
    ASSERT_NE(bar, nullptr) << i;
    const diaspring::SliderRange range = diaspring::sliderRange(slider);
    EXPECT_EQ(bar->minimum(), range.min) << i;
    EXPECT_EQ(bar->maximum(), range.max) << i;
    EXPECT_EQ(bar->value(), range.initial) << i;
  }
}

// The part of a label not hidden under a control stacked above it (created
// after it in the same container); labels are see-through.
int visibleWidth(const QLabel& label) {
  const QRect own = label.geometry();
  int right = own.right() + 1;
  const QObjectList siblings = label.parentWidget()->children();
  for (qsizetype i = siblings.indexOf(&label) + 1; i < siblings.size(); ++i) {
    const auto* w = qobject_cast<const QWidget*>(siblings[i]);
    if (w == nullptr || qobject_cast<const QLabel*>(w) != nullptr || !w->isVisible()) continue;
    if (w->geometry().intersects(own) && w->x() > own.x()) right = std::min(right, w->x());
  }
  return right - own.x();
}

// Every caption shows in full: wrapped where the label wraps it, its lines
// fit the visible part of the label (the last line's descent may touch the
// edge), and a button's lines fit inside the button.
TEST_F(WindowLayout, CaptionsAreNotCutOff) {
  for (const Expected& e : kExpected) {
    if (e.kind != Label && e.kind != Button) continue;
    SCOPED_TRACE(e.name);
    QWidget* w = find(e.name);
    ASSERT_NE(w, nullptr);
    const QFontMetrics fm(w->font());
    if (e.kind == Label) {
      const auto* label = qobject_cast<QLabel*>(w);
      const int visible = visibleWidth(*label);
      EXPECT_LE(label->contentsRect().right() + 1, visible);
      const QRect needed = fm.boundingRect(label->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, q(e.text));
      EXPECT_LE(needed.right() + 1, visible);
      EXPECT_LE(needed.height(), label->height() + fm.descent());
      EXPECT_GE(QFontInfo(w->font()).pixelSize(), 9) << "caption shrunk beyond legibility";
    } else {
      const QStringList lines = qobject_cast<QPushButton*>(w)->text().split(QLatin1Char('\n'));
      for (const QString& line : lines) EXPECT_LT(fm.horizontalAdvance(line), w->width() - 4);
      EXPECT_LE(static_cast<int>(lines.size()) * fm.height(), w->height() - 4);
    }
  }
}

TEST_F(WindowLayout, TabRunsThroughTheControlsInTabIndexOrder) {
  std::vector<QString> expected;
  for (const char* n : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "HScroll1", "HScroll2",
                        "HScroll3", "HScroll4", "Text7", "Text8", "Text9", "HScroll6", "Text10",
                        "Text11", "Picture1", "Command1"})
    expected.push_back(q(n));
  for (int i = 12; i <= 23; ++i) expected.push_back(QStringLiteral("Text%1").arg(i));
  for (const char* n : {"Command2", "HScroll5", "Command3"}) expected.push_back(q(n));
  for (int i = 31; i <= 37; ++i) expected.push_back(QStringLiteral("Text%1").arg(i));
  for (int i = 24; i <= 30; ++i) expected.push_back(QStringLiteral("Text%1").arg(i));
  for (int i = 38; i <= 42; ++i) expected.push_back(QStringLiteral("Text%1").arg(i));
  ASSERT_EQ(expected.size(), 52u);

  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text1");  // the first to take the focus

  std::vector<QString> seen;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    seen.push_back(focus->objectName());
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(seen, expected);
  // ... and round again to the first.
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text1");
}

}  // namespace
