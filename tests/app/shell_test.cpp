// The desktop shell around the form: the menu bar and its shortcuts, design
// files opened, saved, refused and dropped, unsaved changes, the autosave and
// its restore, stale results, read-only results showing their first digit,
// the red frame of a box that is not wholly a number, Qt in Chinese, the
// printed sheet and the guide.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

#include "qt_print.h"

#include "check/box_help.h"
#include "form/input_boxes.h"
#include "box_marks.h"
#include "chart_widget.h"
#include "check/constraint_check.h"
#include "design/design_file.h"
#include "guide.h"
#include "model/points.h"
#include "render/design_sheet.h"
#include "runtime/version.h"
#include "scripted_window.h"
#include "translations.h"

namespace {

using namespace diaspring;

QString q(const char* s) { return QString::fromUtf8(s); }

// Settings and the data folder in a folder of their own for this process.
class PrivateHome : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    qputenv("XDG_DATA_HOME", home_.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral("config")).toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home_.filePath(QStringLiteral("config")));
    QCoreApplication::setOrganizationName(QStringLiteral("diaspring"));
    QCoreApplication::setApplicationName(QStringLiteral("diaspring"));
  }

 private:
  QTemporaryDir home_;
};
[[maybe_unused]] const auto* const kHome = ::testing::AddGlobalTestEnvironment(new PrivateHome);

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QSettings().clear();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QLineEdit* box(TextBox b) const { return window.findChild<QLineEdit*>(QString::fromStdString(textBoxName(b))); }
  QScrollBar* bar(Slider s) const { return window.findChild<QScrollBar*>(QString::fromStdString(sliderName(s))); }
  QAction* action(const char* name) const { return window.findChild<QAction*>(q(name)); }
  void type(TextBox b, const char* text) {
    box(b)->setFocus();
    box(b)->selectAll();
    QTest::keyClick(box(b), Qt::Key_Delete);
    QTest::keyClicks(box(b), q(text));
  }
  QString write(const char* name, const QByteArray& bytes) const {
    QFile file(dir.filePath(q(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QTemporaryDir dir;
  ScriptedWindow window;
};

TEST_F(Shell, MenuBarSitsAboveTheUnmovedForm) {
  QMenuBar* bar = window.menuBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(window.form()->size(), QSize(956, 578));
  EXPECT_EQ(window.form()->mapTo(&window, QPoint(0, 0)), QPoint(0, bar->height()));
  EXPECT_EQ(window.size(), QSize(956, 578 + bar->height()));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());

  // The analysis menu comes between 编辑 and 帮助.
  QStringList titles;
  for (QAction* menu : bar->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{q("文件(&F)"), q("编辑(&E)"), q("分析(&Y)"), q("帮助(&H)")}));
}

TEST_F(Shell, MenuActionsHaveTheirMenusAndStandardShortcuts) {
  struct Case {
    const char* action;
    const char* menu;
    QKeySequence::StandardKey key;
  };
  const Case cases[] = {
      {"fileNew", "fileMenu", QKeySequence::New},        {"fileOpen", "fileMenu", QKeySequence::Open},
      {"fileMetadata", "fileMenu", QKeySequence::UnknownKey},
      {"fileSave", "fileMenu", QKeySequence::Save},      {"fileSaveAs", "fileMenu", QKeySequence::SaveAs},
      {"fileExportChart", "fileMenu", QKeySequence::UnknownKey},
      {"fileExportSheet", "fileMenu", QKeySequence::UnknownKey},
      {"filePrintSheet", "fileMenu", QKeySequence::Print}, {"fileQuit", "fileMenu", QKeySequence::Quit},
      {"editCopyChart", "editMenu", QKeySequence::UnknownKey},
      {"analysisStrength", "analysisMenu", QKeySequence::UnknownKey},
      {"analysisAutoDesign", "analysisMenu", QKeySequence::UnknownKey},
      {"helpGuide", "helpMenu", QKeySequence::HelpContents}, {"helpAbout", "helpMenu", QKeySequence::UnknownKey},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    QAction* a = action(c.action);
    ASSERT_NE(a, nullptr);
    auto* menu = window.findChild<QMenu*>(q(c.menu));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(a));
    if (c.key != QKeySequence::UnknownKey) {
      // The platform's binding; where it has none (Quit, SaveAs on some),
      // the common one.
      EXPECT_FALSE(a->shortcut().isEmpty());
      if (!QKeySequence::keyBindings(c.key).isEmpty()) {
        EXPECT_EQ(a->shortcuts(), QKeySequence::keyBindings(c.key));
      }
    }
  }
  // A shortcut reaches its action: Ctrl+S on an untitled design asks for a name.
  QTest::keySequence(&window, QKeySequence(QKeySequence::Save));
  ASSERT_EQ(window.asked.size(), 1u);
  EXPECT_EQ(window.asked[0].caption, q("另存为"));
}

TEST_F(Shell, ActionsAreEnabledWhenTheyCanDoSomething) {
  // Chart actions need a drawn chart; saving needs a change or a name; the
  // recent files need one.
  auto states = [&] {
    return std::vector<bool>{action("fileExportChart")->isEnabled(), action("editCopyChart")->isEnabled(),
                             action("fileSave")->isEnabled(),
                             window.findChild<QMenu*>(q("recentMenu"))->isEnabled()};
  };
  EXPECT_EQ(states(), (std::vector<bool>{false, false, true, false}));
  window.press(Command::Command1);
  EXPECT_EQ(states(), (std::vector<bool>{true, true, true, false}));
  window.answer = dir.filePath(q("a.diaspring"));
  ASSERT_TRUE(window.save());
  EXPECT_EQ(states(), (std::vector<bool>{true, true, false, true}));
  type(TextBox::Text4, "2.3");
  EXPECT_EQ(states(), (std::vector<bool>{true, true, true, true}));
  window.press(Command::Command2);
  EXPECT_EQ(states(), (std::vector<bool>{false, false, true, true}));
}

TEST_F(Shell, SavedDesignReopensEveryBoxAndSliderToTheCharacter) {
  const std::pair<Slider, int> sliders[] = {{Slider::HScroll1, 250}, {Slider::HScroll2, 170}, {Slider::HScroll3, 900},
                                            {Slider::HScroll4, 125}, {Slider::HScroll5, 55},  {Slider::HScroll6, 120}};
  for (const auto& [slider, value] : sliders) bar(slider)->setValue(value);
  const std::pair<TextBox, const char*> texts[] = {
      {TextBox::Text1, "147 N·m"}, {TextBox::Text2, "2300"},    {TextBox::Text3, "4800"},  {TextBox::Text4, "2.20"},
      {TextBox::Text6, " 1.9"},    {TextBox::Text7, "84.70"},   {TextBox::Text9, "1.33 "}, {TextBox::Text10, "1.600"},
      {TextBox::Text11, "1.6e0"},  {TextBox::Text31, "2.1E5"},  {TextBox::Text32, "0.30"}, {TextBox::Text33, "4593.0"},
      {TextBox::Text34, "180"},    {TextBox::Text35, "125 mm"}, {TextBox::Text36, "18"},   {TextBox::Text37, "20"},
  };
  for (const auto& [b, text] : texts) box(b)->setText(q(text));
  window.setExtra("fatigueSlope", "9.5");  // an input of no box is kept too
  DesignMetadata metadata{"离合器 A", "DS-0420", "张工", "第一稿\n待审", ""};
  window.setMetadata(metadata);
  EXPECT_TRUE(window.isWindowModified());
  window.answer = dir.filePath(q("design"));  // the extension is added
  ASSERT_TRUE(window.saveAs());
  EXPECT_FALSE(window.isWindowModified());
  EXPECT_FALSE(window.metadata().savedAt.empty());
  metadata.savedAt = window.metadata().savedAt;
  window.setMetadata(metadata);  // the same again is no change
  EXPECT_FALSE(window.isWindowModified());
  EXPECT_EQ(window.filePath(), dir.filePath(q("design.diaspring")));
  EXPECT_EQ(window.windowTitle(), q("design.diaspring[*] - 膜片弹簧设计"));

  ScriptedWindow other;
  ASSERT_TRUE(other.openFile(window.filePath())) << other.warnings.size();
  for (const auto& [b, text] : texts) {
    auto* edit = other.findChild<QLineEdit*>(QString::fromStdString(textBoxName(b)));
    EXPECT_EQ(edit->text(), q(text)) << textBoxName(b);
  }
  // The saved positions did not match the typed texts: each slider sits
  // where its box's number is, so its next step starts from the design.
  const std::pair<Slider, int> placed[] = {{Slider::HScroll1, 220}, {Slider::HScroll2, 190}, {Slider::HScroll3, 847},
                                           {Slider::HScroll4, 133}, {Slider::HScroll5, 160}, {Slider::HScroll6, 160}};
  for (const auto& [slider, value] : placed)
    EXPECT_EQ(other.findChild<QScrollBar*>(QString::fromStdString(sliderName(slider)))->value(), value);
  EXPECT_EQ(other.extra("fatigueSlope"), "9.5");
  EXPECT_EQ(other.metadata(), metadata);
  EXPECT_FALSE(other.isWindowModified());
  DesignMetadata renamed = metadata;
  renamed.designer = "李工";  // the metadata alone is a change of the design
  other.setMetadata(renamed);
  EXPECT_TRUE(other.isWindowModified());
  EXPECT_EQ(other.recentFiles().value(0), window.filePath());
}

TEST_F(Shell, BadFileIsRefusedWithItsReasonAndTheWindowKeepsItsDesign) {
  const QByteArray header = R"({"format": "diaspring-design", "version": )";
  const std::pair<const char*, QByteArray> cases[] = {
      {"not-json.diaspring", "{ \"format\": "},
      {"other-format.diaspring", R"({"format": "spreadsheet", "version": "1.0"})"},
      {"newer.diaspring", header + R"("2.0"})"},
      {"wrong-type.diaspring", header + R"("1.0", "inputs": {"h": 2.2}})"},
      {"too-large.diaspring", header + R"("1.0"})" + QByteArray(1024 * 1024, ' ')},
  };
  type(TextBox::Text4, "2.5");
  const DesignInputs before = window.currentInputs();
  const QString title = window.windowTitle();
  QStringList reasons;
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    window.warnings.clear();
    EXPECT_FALSE(window.openFile(write(name, bytes)));
    ASSERT_EQ(window.warnings.size(), 1u);
    const QString& text = window.warnings[0].second;
    EXPECT_TRUE(text.contains(q(name))) << text.toStdString();
    EXPECT_TRUE(text.contains(q("保留不变"))) << text.toStdString();
    reasons << text.section(q("”"), 1);
    EXPECT_EQ(window.currentInputs(), before);
    EXPECT_EQ(window.windowTitle(), title);
    EXPECT_TRUE(window.isWindowModified());
  }
  reasons.removeDuplicates();
  EXPECT_EQ(reasons.size(), std::ssize(cases));  // each problem has its own words
  EXPECT_TRUE(window.recentFiles().isEmpty());
}

TEST_F(Shell, UnsavedChangesAreOfferedForSavingBeforeTheyGo) {
  type(TextBox::Text33, "5000");
  window.saveChanges = QMessageBox::Cancel;
  window.newDesign();
  EXPECT_EQ(box(TextBox::Text33)->text(), q("5000"));
  window.close();
  EXPECT_TRUE(window.isVisible());

  window.saveChanges = QMessageBox::Save;
  window.answer = dir.filePath(q("kept.diaspring"));
  window.newDesign();
  EXPECT_EQ(box(TextBox::Text33)->text(), q("4593"));
  EXPECT_EQ(readDesignFile(window.answer.toStdString()).document->inputs.text(TextBox::Text33), "5000");
  EXPECT_EQ(window.saveChangesAsked, 3);  // two new designs and a close

  // A file dropped on the window opens in it, here without a question.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(window.answer)});
  QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  EXPECT_TRUE(QTest::qWaitFor([&] { return box(TextBox::Text33)->text() == q("5000"); }));
  EXPECT_EQ(window.saveChangesAsked, 3);
  EXPECT_TRUE(window.windowTitle().startsWith(q("kept.diaspring")));
}

TEST_F(Shell, AutosaveKeepsTheModifiedDesignUntilANormalEnd) {
  QString copy;
  {
    ScriptedWindow edited;
    edited.findChild<QLineEdit*>(q("Text4"))->setText(q("2.45"));
    edited.press(Command::Command1);
    copy = edited.autosavePath();
    ASSERT_FALSE(copy.isEmpty());
    const DesignRead read = readDesignFile(copy.toStdString());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.document->inputs, edited.currentInputs());
    EXPECT_TRUE(edited.warnings.empty());
  }
  EXPECT_FALSE(QFile::exists(copy));  // a normal end removes it

  // A copy whose lock no running process holds was left by a crash; one a
  // running window holds is not offered.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  DesignDocument lost;
  lost.inputs.setText(TextBox::Text33, "6100");
  ASSERT_FALSE(writeDesignFile(QDir(folder).filePath(q("autosave-1-1.diaspring")).toStdString(), lost));
  QLockFile held(QDir(folder).filePath(q("autosave-2-2.lock")));
  ASSERT_TRUE(held.tryLock(0));
  DesignDocument running;
  running.inputs.setText(TextBox::Text33, "7200");
  ASSERT_FALSE(writeDesignFile(QDir(folder).filePath(q("autosave-2-2.diaspring")).toStdString(), running));

  window.restore = true;
  window.offerRestore();
  EXPECT_EQ(window.restoreAsked, 1);
  EXPECT_EQ(box(TextBox::Text33)->text(), q("6100"));
  EXPECT_TRUE(window.isWindowModified());
  EXPECT_TRUE(window.filePath().isEmpty());
  EXPECT_FALSE(QFile::exists(QDir(folder).filePath(q("autosave-1-1.diaspring"))));
  EXPECT_TRUE(QFile::exists(QDir(folder).filePath(q("autosave-2-2.diaspring"))));
}

TEST_F(Shell, ResultsTurnGreyWhenAnInputTheyComeFromIsEdited) {
  struct Case {
    TextBox edited;
    const char* text;
    bool pointsStale, checksStale;
  };
  const Case cases[] = {
      {TextBox::Text4, "2.3", true, true},     // h: the curve and the check
      {TextBox::Text33, "4600", false, true},  // F: only the check
      {TextBox::Text1, "150", false, false},   // an engine box: neither
  };
  const QColor normal = box(TextBox::Text20)->palette().color(QPalette::Text);
  for (const Case& c : cases) {
    SCOPED_TRACE(textBoxName(c.edited));
    window.newDesign();
    window.press(Command::Command1);
    window.press(Command::Command3);
    const QString load = box(TextBox::Text20)->text();
    type(c.edited, c.text);
    EXPECT_EQ(window.marks().isStale(TextBox::Text20), c.pointsStale);
    EXPECT_EQ(window.marks().isStale(TextBox::Text5), c.pointsStale);
    EXPECT_EQ(window.marks().isStale(TextBox::Text24), c.checksStale);
    EXPECT_EQ(box(TextBox::Text20)->palette().color(QPalette::Text) != normal, c.pointsStale);
    EXPECT_EQ(box(TextBox::Text20)->text(), load);  // the text stays
    window.press(Command::Command1);
    EXPECT_FALSE(window.marks().isStale(TextBox::Text20));
    EXPECT_EQ(box(TextBox::Text20)->palette().color(QPalette::Text), normal);
    EXPECT_TRUE(window.marks().isStale(TextBox::Text24));  // checked before this curve
    window.press(Command::Command3);
    EXPECT_FALSE(window.marks().isStale(TextBox::Text24));
  }
  EXPECT_TRUE(window.faults.empty());
}

TEST_F(Shell, ResultBoxesAreReadOnlyShowTheirFirstDigitAndTellTheFullValue) {
  // The width a box shows its text in: inside its frame, less the line
  // edit's own margin of 2 pixels a side.
  const auto shows = [](const QLineEdit* edit) {
    return edit->width() - 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
  };
  type(TextBox::Text31, "519000");  // a stiff material: loads above 10,000 N
  window.press(Command::Command1);
  window.press(Command::Command3);
  QLineEdit* f1a = box(TextBox::Text20);
  ASSERT_EQ(f1a->text().size(), 9) << f1a->text().toStdString();  // "11990.019"-like
  EXPECT_LE(QFontMetricsF(f1a->font()).horizontalAdvance(f1a->text()), shows(f1a));
  EXPECT_EQ(f1a->cursorPosition(), 0);
  EXPECT_EQ(box(TextBox::Text5)->font(), window.font());  // "4.18" fits as it is

  // The longest texts each kind of result box gets show whole, in a font
  // still readable.
  std::vector<TextBox> loads, deflections, rules;
  for (const PointBoxes& point : characteristicPoints()) {
    loads.push_back(point.load);
    deflections.push_back(point.deflection);
  }
  for (int i = 0; i < kRuleCount; ++i) rules.push_back(ruleInfo(i).box);
  const struct {
    std::vector<TextBox> boxes;
    std::vector<const char*> texts;
  } longest[] = {
      {loads, {"-12361.825", "12361.825"}},
      {deflections, {"-12.345", "3.995"}},
      {{TextBox::Text5}, {"3.994893", "-1.5E+20"}},
      {{TextBox::Text8}, {"-112.50"}},
      {rules, {"15.00(合格)", "0.999(合格)"}},
      {{TextBox::Text29}, {"100.00(合格)"}},
  };
  for (const auto& kind : longest) {
    for (TextBox b : kind.boxes) {
      for (const char* text : kind.texts) {
        SCOPED_TRACE(textBoxName(b) + " " + text);
        QLineEdit* edit = box(b);
        edit->setText(QString::fromUtf8(text));
        EXPECT_LE(QFontMetricsF(edit->font()).horizontalAdvance(edit->text()), shows(edit));
        EXPECT_GE(QFontInfo(edit->font()).pixelSize(), 9);
        EXPECT_TRUE(edit->toolTip().endsWith(edit->text()));
      }
    }
  }
  window.press(Command::Command1);
  window.press(Command::Command3);
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto b = static_cast<TextBox>(i);
    SCOPED_TRACE(textBoxName(b));
    EXPECT_EQ(box(b)->isReadOnly(), isResultBox(b));
    EXPECT_FALSE(box(b)->toolTip().isEmpty());
    if (isResultBox(b)) {
      EXPECT_TRUE(box(b)->toolTip().endsWith(box(b)->text()));
    }
  }
  for (int i = 1; i <= kSliderCount; ++i) EXPECT_FALSE(bar(static_cast<Slider>(i))->toolTip().isEmpty());
}

TEST_F(Shell, BoxThatIsNotWhollyANumberGetsARedFrameAndSaysWhatIsRead) {
  struct Case {
    TextBox box;
    const char* text;
    const char* readAs;  // null: no frame
  };
  const Case cases[] = {
      {TextBox::Text4, "2.2", nullptr},  {TextBox::Text4, " 2.2", nullptr}, {TextBox::Text4, "2.2 mm", "2.2"},
      {TextBox::Text33, "1,5", "1"},     {TextBox::Text9, "", "0"},         {TextBox::Text32, "1e", "1"},
      {TextBox::Text2, "2300 rpm", nullptr},  // shown for reference only: nothing is read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    type(c.box, c.text);
    EXPECT_EQ(window.marks().isFlagged(c.box), c.readAs != nullptr);
    const QString tip = box(c.box)->toolTip();
    EXPECT_EQ(tip.contains(q("读作")), c.readAs != nullptr) << tip.toStdString();
    if (c.readAs) {
      EXPECT_TRUE(tip.contains(q("读作 %1。").arg(q(c.readAs)))) << tip.toStdString();
    }
    const QImage seen = box(c.box)->grab().toImage();
    const QColor corner = seen.pixelColor(1, seen.height() / 2);
    EXPECT_EQ(corner.red() > 180 && corner.green() < 90, c.readAs != nullptr) << corner.name().toStdString();
  }
  // The number read is the same as before: the frame changes nothing.
  type(TextBox::Text4, "2.2 mm");
  window.press(Command::Command1);
  EXPECT_EQ(box(TextBox::Text5)->text(), q("4.18"));
}

TEST_F(Shell, PrintedSheetIsTheLastRunsAndWarnsAfterAnEdit) {
  window.press(Command::Command1);
  type(TextBox::Text4, "3.1");
  action("filePrintSheet")->trigger();
  EXPECT_EQ(window.previews, 1);
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(kSheetResolution);
  printer.setFullPage(true);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(q("printed.pdf")));
  ASSERT_TRUE(window.paintSheetOn(printer));
  QProcess text;
  text.start(q("pdftotext"), {q("-layout"), printer.outputFileName(), q("-")});
  ASSERT_TRUE(text.waitForFinished(60000));
  const QString page = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(page.contains(q(kInputsEditedWarning))) << page.toStdString();
  EXPECT_TRUE(page.contains(q("2.2"))) << page.toStdString();
  EXPECT_FALSE(page.contains(q("3.1"))) << page.toStdString();
}

TEST(QtInChinese, StandardButtonsSpeakChinese) {
  ASSERT_TRUE(app::installQtChinese(*QCoreApplication::instance()));
  QMessageBox box(QMessageBox::Warning, q("t"), q("x"), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), q("取消"));
  EXPECT_TRUE(box.button(QMessageBox::Save)->text().contains(q("保存")));
}

TEST_F(Shell, GuideAndAboutSayWhatTheyShould) {
  window.showGuide();
  ASSERT_NE(window.guide(), nullptr);
  EXPECT_TRUE(window.guide()->isVisible());
  const QString guide = window.guide()->browser()->toPlainText();
  for (const InputBox& in : inputFrameBoxes()) EXPECT_TRUE(guide.contains(q(in.meaningZh))) << in.symbol;
  for (const PointBoxes& p : characteristicPoints()) EXPECT_TRUE(guide.contains(q(p.roleZh))) << p.symbol;
  for (int i = 0; i < kRuleCount; ++i)
    EXPECT_TRUE(guide.contains(q(ruleInfo(i).caption).simplified())) << ruleInfo(i).key;
  const QString about = app::aboutText();
  EXPECT_TRUE(about.contains(q(kVersion)));
  EXPECT_TRUE(about.contains(q(qVersion())));
  EXPECT_TRUE(about.contains(q(kLicence)));
}

}  // namespace
