// What the window shows belongs to the design it shows: the sheet's second
// page and the strength window follow the main window's run and its
// staleness, sliders follow a design the program applies, a box read in a
// way the user may not expect is marked, and the sheet names the design.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "analysis_window.h"
#include "compare/design_curve.h"
#include "compare_window.h"
#include "form/controls.h"
#include "auto_design_dialog.h"
#include "guide.h"
#include "search/strength_goals.h"
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
  EXPECT_EQ(pdfText(w.answer).count(q(kInputsEditedWarning)), 4);  // on every page: both, the yield and the release page

  box(w, TextBox::Text4)->setText(q("2.2"));  // undone by hand: fresh again
  EXPECT_FALSE(a.isStale());
  box(w, TextBox::Text4)->setText(q("3.1"));
  w.press(Command::Command1);
  EXPECT_FALSE(a.isStale());
  EXPECT_EQ(a.table()->item(3, 1)->foreground().style(), Qt::NoBrush);
}

// The analysis reads rf (and the curve's inputs) at the curve press: an rf
// typed and checked afterwards greys the strength window and marks every
// page (the design, the analysis and the release page), while an input it does not read leaves it as it is.
TEST(Honesty, EveryInputTheAnalysisReadsGreysIt) {
  QTemporaryDir dir;
  const struct {
    TextBox box;
    const char* text;
    bool stale;
  } cases[] = {
      {TextBox::Text37, "22", true},
      {TextBox::Text31, "206000", true},
      {TextBox::Text36, "20", false},
      {TextBox::Text33, "4800", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(textBoxName(c.box));
    ScriptedWindow w;
    w.press(Command::Command1);
    w.showAnalysisWindow();
    box(w, c.box)->setText(q(c.text));
    w.press(Command::Command3);
    EXPECT_EQ(w.analysisWindow()->isStale(), c.stale);
    w.answer = dir.filePath(q("sheet.pdf"));
    w.exportDesignSheet();
    EXPECT_EQ(pdfText(w.answer).count(q(kInputsEditedWarning)), c.stale ? 4 : 0);
  }
}

// A failed rule keeps "不合格"; its tooltip says what was computed and the
// range, until the box shows no failure.
TEST(Honesty, AFailedRulesTooltipGivesTheValueAndTheRange) {
  ScriptedWindow w;
  box(w, TextBox::Text6)->setText(q("2.31"));
  w.press(Command::Command1);
  w.press(Command::Command3);
  QLineEdit* rule = box(w, TextBox::Text26);
  EXPECT_EQ(rule->text(), q("不合格"));
  EXPECT_TRUE(rule->toolTip().endsWith(q("\nH/h = 2.31，范围 1.6–2.2\n不合格"))) << rule->toolTip().toStdString();
  EXPECT_FALSE(box(w, TextBox::Text28)->toolTip().contains(q("范围"))) << "a rule that passed";
  w.press(Command::Command2);
  EXPECT_FALSE(rule->toolTip().contains(q("范围"))) << rule->toolTip().toStdString();
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

// Every way the program itself puts a design into the boxes leaves each
// slider at the position nearest its box's number, its box as given; typing
// into a box moves no slider.
TEST(Honesty, SlidersFollowEveryDesignTheProgramPutsIntoTheBoxes) {
  using Positions = std::array<int, kSliderCount>;
  const Positions opening = {200, 160, 1020, 120, 20, 20};  // the window as it opens
  const Positions placed = {235, 175, 953, 125, 80, 120};
  DesignDocument design;  // its stored positions are the range minimums
  for (auto [b, text] : {std::pair{TextBox::Text4, "2.35"}, {TextBox::Text6, "1.75"}, {TextBox::Text7, "95.3"},
                         {TextBox::Text9, "1.25"}, {TextBox::Text10, "0.8"}, {TextBox::Text11, "1.2"}})
    design.inputs.setText(b, text);
  for (int i = 1; i <= kSliderCount; ++i)
    design.inputs.setSlider(static_cast<Slider>(i), sliderRange(static_cast<Slider>(i)).min);
  DesignDocument matching = design;
  for (int i = 1; i <= kSliderCount; ++i) matching.inputs.setSlider(static_cast<Slider>(i), placed[i - 1]);
  DesignDocument unreadable = matching;
  unreadable.inputs.setText(TextBox::Text4, "1e999");  // read as an overflow
  unreadable.inputs.setSlider(Slider::HScroll1, 310);

  QTemporaryDir dir;
  const auto file = [&dir](const char* name, DesignDocument d) {
    const QString path = dir.filePath(q(name));
    EXPECT_FALSE(writeDesignFile(path.toStdString(), d));
    return path;
  };
  const QString designPath = file("design.diaspring", design);
  const QString matchingPath = file("matching.diaspring", matching);
  const QString unreadablePath = file("unreadable.diaspring", unreadable);
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString crashed = QDir(folder).filePath(q("autosave-99999998-1.diaspring"));

  const struct {
    const char* name;
    std::function<Positions(ScriptedWindow&)> put;  // returns the positions expected
  } ways[] = {
      {"自动设计 applies",
       [&](ScriptedWindow& w) {
         w.applyDesign(design.inputs);
         return placed;
       }},
      {"a file out of step", [&](ScriptedWindow& w) { return w.openFile(designPath) ? placed : Positions{}; }},
      {"a file in step", [&](ScriptedWindow& w) { return w.openFile(matchingPath) ? placed : Positions{}; }},
      {"a file whose h overflows",
       [&](ScriptedWindow& w) {
         Positions p = placed;
         p[0] = 310;
         return w.openFile(unreadablePath) ? p : Positions{};
       }},
      {"an autosave restored",
       [&](ScriptedWindow& w) {
         DesignDocument copy = design;
         EXPECT_FALSE(writeDesignFile(crashed.toStdString(), copy));
         QFile newest(crashed);
         EXPECT_TRUE(newest.open(QIODevice::ReadWrite));
         EXPECT_TRUE(newest.setFileTime(QDateTime::currentDateTime().addDays(2), QFileDevice::FileModificationTime));
         newest.close();
         w.restore = true;
         w.offerRestore();
         return placed;
       }},
      {"a calibration typed back",
       [&](ScriptedWindow& w) {
         w.showCompareWindow();
         app::CompareWindow& c = *w.compareWindow();
         const compare::DesignCurve d = compare::designCurve(DesignInputs(), "d");
         QByteArray rig = "lambda1;F1\n";  // the default design 2 % stiffer
         for (int i = 1; i <= 50; ++i)
           rig += QByteArray::number(0.1 * i) + ";" + QByteArray::number(1.02 * d.load(0.1 * i), 'g', 10) + "\n";
         QFile csv(dir.filePath(q("rig.csv")));
         EXPECT_TRUE(csv.open(QIODevice::WriteOnly));
         csv.write(rig);
         csv.close();
         EXPECT_TRUE(c.importMeasured(csv.fileName()));
         EXPECT_TRUE(c.applyFit(0));
         const double h = std::stod(w.currentInputs().text(TextBox::Text4));
         const double ratio = std::stod(w.currentInputs().text(TextBox::Text6));
         EXPECT_NE(h, 2.2);
         // The other boxes keep the opening texts: 84.7, 1.33, 1.6, 1.6.
         return Positions{int(std::lround(h * 100)), int(std::lround(ratio * 100)), 847, 133, 160, 160};
       }},
      {"typing into a box",
       [&](ScriptedWindow& w) {
         box(w, TextBox::Text7)->setText(q("95.3"));
         box(w, TextBox::Text4)->setText(q("3.1"));
         return opening;
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    ScriptedWindow w;
    const std::string r = w.currentInputs().text(TextBox::Text7);
    const Positions expected = way.put(w);
    for (int i = 1; i <= kSliderCount; ++i)
      EXPECT_EQ(bar(w, static_cast<Slider>(i))->value(), expected[i - 1]) << sliderName(static_cast<Slider>(i));
    const char* typed = std::string_view(way.name) == "a calibration typed back" ? r.c_str() : "95.3";
    EXPECT_EQ(box(w, TextBox::Text7)->text(), q(typed));  // the box as given, not as a slider writes it
    w.saveChanges = QMessageBox::Discard;
  }
  EXPECT_FALSE(QFile::exists(crashed));
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

TEST(Honesty, RestoredAutosaveGoesBackToItsFileStillModified) {
  QTemporaryDir dir;
  const QString path = dir.filePath(q("design2.diaspring"));
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  const QString left = QDir(folder).filePath(q("autosave-99999999-1"));  // as a crash leaves it
  std::string savedAt;
  {
    ScriptedWindow w;
    w.answer = path;
    ASSERT_TRUE(w.saveAs());
    savedAt = w.metadata().savedAt;
    box(w, TextBox::Text33)->setText(q("6100"));
    ASSERT_TRUE(w.autosave());
    const QString copy = w.autosavePath();
    const QString base = copy.left(copy.size() - q(".diaspring").size());
    ASSERT_TRUE(QFile::copy(copy, left + q(".diaspring")));
    ASSERT_TRUE(QFile::copy(base + q(".origin"), left + q(".origin")));
    QFile newest(left + q(".diaspring"));
    ASSERT_TRUE(newest.open(QIODevice::ReadWrite));
    ASSERT_TRUE(newest.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
  }
  ScriptedWindow w;
  w.restore = true;
  w.offerRestore();
  // The offer named the file the design goes back into.
  EXPECT_EQ(w.restoreInto, QFileInfo(path).absoluteFilePath());
  const QString question = app::MainWindow::restoreQuestion(q("2026-12-08 00:00"), w.restoreInto);
  EXPECT_TRUE(question.contains(q("“design2.diaspring”"))) << question.toStdString();
  EXPECT_TRUE(app::MainWindow::restoreQuestion(q("2026-12-08 00:00"), QString()).contains(q("未命名"))) << "never saved";
  EXPECT_EQ(w.filePath(), QFileInfo(path).absoluteFilePath());
  EXPECT_TRUE(w.isWindowModified());
  EXPECT_EQ(box(w, TextBox::Text33)->text(), q("6100"));
  EXPECT_EQ(w.metadata().savedAt, savedAt);  // the file's save, not the autosave's time
  EXPECT_FALSE(QFile::exists(left + q(".origin")));
  w.saveChanges = QMessageBox::Discard;
}

TEST(Honesty, CancelledSearchLeavesNoOldTableAndNoFullBar) {
  ScriptedWindow w;
  w.openAutoDesign();
  app::AutoDesignDialog* dialog = w.autoDesignDialog();
  const char* ranges[4][2] = {{"2", "4"}, {"1.8", "1.9"}, {"86", "88"}, {"1.25", "1.3"}};
  for (int i = 0; i < 4; ++i)
    for (int end = 0; end < 2; ++end) dialog->rangeEdit(i, end == 1)->setText(q(ranges[i][end]));
  dialog->minYieldEdit()->setText(q("0"));  // the window's thin springs reach no 99 % yield
  QSignalSpy finished(dialog, &app::AutoDesignDialog::searchFinished);
  ASSERT_TRUE(dialog->start());
  ASSERT_TRUE(finished.wait(120000));
  ASSERT_GT(dialog->table()->rowCount(), 0);
  dialog->rangeEdit(0, true)->setText(q("40"));  // a long search, cancelled
  ASSERT_TRUE(dialog->start());
  dialog->cancel();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(dialog->table()->rowCount(), 0);
  EXPECT_EQ(dialog->progress()->value(), 0);
}

TEST(Honesty, ChineseTextsSayItInChinese) {
  search::Options options;
  ASSERT_EQ(search::addStrengthGoals(options, DesignInputs()), "");
  search::Infeasibility why;
  why.constraintsNeverMet = {search::kSigmaIConstraint};
  const std::string text = search::explainInWords(why, options);
  EXPECT_NE(text.find(search::kSigmaIConstraintZh), std::string::npos) << text;
  EXPECT_EQ(text.find("sigma"), std::string::npos) << text;
  for (const char* section : {"<h3>七、强度与分离特性</h3>", "<h3>八、自动设计</h3>"})
    EXPECT_TRUE(app::guideHtml().contains(q(section))) << section;
}

}  // namespace
