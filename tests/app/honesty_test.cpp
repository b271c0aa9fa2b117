// What the window shows belongs to the design it shows: the sheet's second
// page and the strength window follow the main window's run and its
// staleness, sliders follow a design the program applies, a box read in a
// way the user may not expect is marked, and the sheet names the design.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "analysis_window.h"
#include "box_marks.h"
#include "design/design_file.h"
#include "render/design_sheet.h"
#include "scripted_window.h"

namespace {

using namespace diaspring;

QString q(const char* s) { return QString::fromUtf8(s); }

QString pdfText(const QString& path) {
  QProcess text;
  text.start(q("pdftotext"), {q("-layout"), path, q("-")});
  EXPECT_TRUE(text.waitForFinished(60000));
  return QString::fromUtf8(text.readAllStandardOutput());
}

QLineEdit* box(const ScriptedWindow& w, TextBox b) {
  return w.findChild<QLineEdit*>(QString::fromStdString(textBoxName(b)));
}
QScrollBar* bar(const ScriptedWindow& w, Slider s) {
  return w.findChild<QScrollBar*>(QString::fromStdString(sliderName(s)));
}

TEST(Honesty, AnotherDesignTakesTheAnalysisAndTheSecondPageAway) {
  QTemporaryDir dir;
  DesignDocument other;
  other.inputs.setText(TextBox::Text4, "3");
  const QString otherPath = dir.filePath(q("other.diaspring"));
  ASSERT_FALSE(writeDesignFile(otherPath.toStdString(), other));
  const struct {
    const char* name;
    void (*change)(ScriptedWindow&, const QString&);
  } ways[] = {
      {"新建", [](ScriptedWindow& w, const QString&) { w.newDesign(); }},
      {"打开", [](ScriptedWindow& w, const QString& path) { ASSERT_TRUE(w.openFile(path)); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    ScriptedWindow w;
    w.showAnalysisWindow();
    w.press(Command::Command1);
    ASSERT_TRUE(w.analysisInput().has_value());
    way.change(w, otherPath);
    EXPECT_FALSE(w.analysisInput().has_value());
    EXPECT_FALSE(w.analysisWindow()->analysis().has_value());
    EXPECT_EQ(w.analysisWindow()->table()->item(3, 1), nullptr);
    w.answer = dir.filePath(q("sheet.pdf"));
    w.exportDesignSheet();
    const QString text = pdfText(w.answer);
    EXPECT_TRUE(text.contains(q("尚未绘制特性曲线"))) << text.toStdString();
    EXPECT_FALSE(text.contains(q("强度与分离特性"))) << text.toStdString();
  }
}

TEST(Honesty, StrengthWindowAndBothPagesGreyAfterAnEdit) {
  QTemporaryDir dir;
  ScriptedWindow w;
  w.press(Command::Command1);
  w.showAnalysisWindow();
  app::AnalysisWindow& a = *w.analysisWindow();
  EXPECT_FALSE(a.isStale());
  box(w, TextBox::Text4)->setText(q("3.1"));
  EXPECT_TRUE(a.isStale());
  EXPECT_TRUE(a.stressChart()->isStale());
  EXPECT_EQ(a.table()->item(3, 1)->foreground().color(), QColor(0x9E, 0x9E, 0x9E));
  w.answer = dir.filePath(q("sheet.pdf"));
  w.exportDesignSheet();
  EXPECT_EQ(pdfText(w.answer).count(q(kInputsEditedWarning)), 2);  // on both pages

  box(w, TextBox::Text4)->setText(q("2.2"));  // undone by hand: fresh again
  EXPECT_FALSE(a.isStale());
  box(w, TextBox::Text4)->setText(q("3.1"));
  w.press(Command::Command1);
  EXPECT_FALSE(a.isStale());
  EXPECT_EQ(a.table()->item(3, 1)->foreground().style(), Qt::NoBrush);
}

TEST(Honesty, SlidersFollowAnAppliedDesignWithoutRewritingItsBoxes) {
  ScriptedWindow w;
  DesignInputs design;
  design.setText(TextBox::Text7, "90");
  design.setText(TextBox::Text6, "1.8875");
  w.applyDesign(design);
  EXPECT_EQ(box(w, TextBox::Text6)->text(), q("1.8875"));  // the texts as applied
  EXPECT_EQ(bar(w, Slider::HScroll3)->value(), 900);
  EXPECT_EQ(bar(w, Slider::HScroll2)->value(), 189);
  bar(w, Slider::HScroll3)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(box(w, TextBox::Text7)->text(), q("90.1"));  // one step from the applied design
  EXPECT_EQ(box(w, TextBox::Text6)->text(), q("1.8875"));
}

TEST(Honesty, FullWidthAndOutOfRangeTextsAreMarkedWithWhatIsRead) {
  ScriptedWindow w;
  const struct {
    const char* text;
    const char* tip;
  } cases[] = {{"２.２", "计算时读作 2.2。"}, {"1e999", "超出数值范围"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    box(w, TextBox::Text4)->setText(q(c.text));
    EXPECT_TRUE(w.marks().isFlagged(TextBox::Text4));
    EXPECT_TRUE(box(w, TextBox::Text4)->toolTip().contains(q(c.tip))) << box(w, TextBox::Text4)->toolTip().toStdString();
  }
  box(w, TextBox::Text4)->setText(q("２.２"));
  w.press(Command::Command1);
  EXPECT_TRUE(w.faults.empty());
  EXPECT_EQ(box(w, TextBox::Text5)->text(), q("4.18"));
}

TEST(Honesty, SheetCarriesTheDesignInformationAndIsNamedByIt) {
  QTemporaryDir dir;
  ScriptedWindow w;
  w.setMetadata(DesignMetadata{"离合器 A", "DS-0420", "张工", "第一稿", ""});
  w.answer = dir.filePath(q("d.diaspring"));
  ASSERT_TRUE(w.saveAs());
  w.press(Command::Command1);
  w.answer = dir.filePath(q("sheet.pdf"));
  w.exportDesignSheet();
  EXPECT_TRUE(w.asked.back().suggested.endsWith(q("DS-0420 膜片弹簧设计报告.pdf"))) << w.asked.back().suggested.toStdString();
  const QString text = pdfText(w.answer);
  for (const char* said : {"离合器 A", "DS-0420", "张工", "第一稿", "d.diaspring"})
    EXPECT_TRUE(text.contains(q(said))) << said;
}

}  // namespace
