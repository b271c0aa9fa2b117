// The design sheet as the reader gets it: the PDF is opened with poppler's
// tools (pdfinfo, pdftotext, pdftoppm), so the tests see the page size, the
// texts and the picture that a viewer or a printer sees.
#include <functional>
#include <string>
#include <vector>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "check/constraint_check.h"
#include "compare/production_yield.h"
#include "analysis/spring_analysis.h"
#include "render/design_sheet.h"
#include "runtime/convert.h"
#include "support/window_fixture.h"

namespace {

using namespace diaspring;
using diaspring::testing::TestWindow;

const QDate kDate(2024, 3, 15);

std::string str(const QString& s) { return s.toStdString(); }

// Runs a poppler tool and returns what it printed.
QByteArray runTool(const QString& tool, const QStringList& args) {
  QProcess process;
  process.start(tool, args);
  if (!process.waitForFinished(120000)) {
    ADD_FAILURE() << str(tool) << " did not finish";
    process.kill();
    return {};
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << str(tool);
  EXPECT_EQ(process.exitCode(), 0) << str(tool) << ": " << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput();
}

// A pixel region of the page given in millimetres.
QRect region(const QImage& page, double left, double top, double right, double bottom) {
  const double x = page.width() / 210.0, y = page.height() / 297.0;
  return QRect(QPoint(int(left * x), int(top * y)), QPoint(int(right * x), int(bottom * y))).intersected(page.rect());
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(image.pixelColor(x, y))) ++n;
  return n;
}

bool dark(QColor c) { return c.red() + c.green() + c.blue() < 3 * 128; }
bool white(QColor c) { return c.red() > 245 && c.green() > 245 && c.blue() > 245; }
// The curve and the failed rules' ink: red clearly above green and blue.
bool red(QColor c) { return c.red() > 150 && c.red() - c.green() > 80 && c.red() - c.blue() > 80; }

class DesignSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm"})
      ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
          << tool << " is not installed; it comes with poppler-utils (scripts/setup.sh installs it)";
    ASSERT_TRUE(dir_.isValid());
  }

  // Writes the window's sheet and checks that exactly that file appeared.
  QString write(const TestWindow& window, const QString& name = QStringLiteral("sheet.pdf")) {
    const QString path = dir_.filePath(name);
    QString error;
    EXPECT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, kDate)) << str(error);
    EXPECT_TRUE(error.isEmpty()) << str(error);
    return path;
  }

  static QString text(const QString& pdf) {
    return QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
  }

  QImage picture(const QString& pdf, int dpi) {
    const QString stem = dir_.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    QImage image(stem + QStringLiteral(".png"));
    EXPECT_FALSE(image.isNull()) << "pdftoppm gave no image";
    return image.convertToFormat(QImage::Format_RGB32);
  }

  // The line of the layout text that shows rule `index`, found by its caption.
  static QString ruleLine(const QString& layout, int index) {
    const QString caption = QString::fromUtf8(ruleInfo(index).caption).simplified();
    for (const QString& line : layout.split(QLatin1Char('\n')))
      if (line.contains(caption)) return line;
    ADD_FAILURE() << "no line shows rule " << index + 1 << " (" << str(caption) << ")";
    return {};
  }

  QTemporaryDir dir_;
};

TEST_F(DesignSheet, DefaultDesignIsOneA4PageWithTheWindowsTexts) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  ASSERT_FALSE(window.check());
  const QString path = write(window);

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(5), QByteArray("%PDF-"));
  file.close();
  // Nothing else is left beside it.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sheet.pdf")});

  const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {path}));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("(?m)^Pages:\\s+1$")).match(info).hasMatch()) << str(info);
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
  ASSERT_TRUE(size.hasMatch()) << str(info);
  EXPECT_NEAR(size.captured(1).toDouble(), 595.28, 1.0);
  EXPECT_NEAR(size.captured(2).toDouble(), 841.89, 1.0);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("(?m)^Page rot:\\s+0$")).match(info).hasMatch()) << str(info);

  const QString layout = text(path);
  for (const char* expected :
       {"膜片弹簧设计报告", "2024-03-15", "diaspring",
        // inputs as typed, the derived H and r as the capture wrote them
        "膜片厚度", "2.2", "84.7", "1.33", "210000", "4593", "4.18", "63.68", "Δλ", "λ1f", "μ", "MPa",
        // the six points with their loads and deflections
        "峰值点", "谷值点", "拐点", "工作点", "磨损后工作点", "分离点", "5175.178", "2.080", "4592.558", "3.080",
        "4851.586", "1.480", "3400.73", "4.68",
        // the verdicts and the summary
        "0.442(合格)", "11.39(合格)", "2.68(合格)", "12 项约束中 12 项合格"})
    EXPECT_TRUE(layout.contains(QString::fromUtf8(expected))) << "missing: " << expected;
  for (int i = 0; i < kRuleCount; ++i) {
    const QString line = ruleLine(layout, i);
    EXPECT_TRUE(line.contains(QString::fromStdString(window.text(ruleInfo(i).box)))) << str(line);
    EXPECT_TRUE(line.contains(QStringLiteral("✔"))) << str(line);
    EXPECT_FALSE(line.contains(QStringLiteral("✘"))) << str(line);
  }
  EXPECT_FALSE(layout.contains(QStringLiteral("尚未绘制特性曲线")));
}

TEST_F(DesignSheet, ShowsTheLastRunAndWarnsWhenTheInputsWereEditedSince) {
  const QString warning = QString::fromUtf8(kInputsEditedWarning);
  // The line of the layout text that shows an input, found by its meaning.
  const auto inputLine = [](const QString& layout, const QString& meaning) {
    for (const QString& line : layout.split(QLatin1Char('\n')))
      if (line.contains(meaning)) return line;
    return QString();
  };
  struct Case {
    const char* name;
    std::function<void(TestWindow&)> after;  // after the curve and the check
    bool warned;
    const char* h;        // on the sheet
    const char* F;
    const char* summary;  // of the rules
  };
  const Case cases[] = {
      {"h and F edited", [](TestWindow& w) {
         w.type(TextBox::Text4, "2.6");
         w.type(TextBox::Text33, "4800");
       }, true,
       "2.2", "4593", "12 项约束中 12 项合格"},
      {"a slider moved", [](TestWindow& w) { ASSERT_FALSE(w.moveSlider(Slider::HScroll1, 260)); }, true, "2.2",
       "4593", "12 项约束中 12 项合格"},
      {"the curve again: the check was of the run before",
       [](TestWindow& w) {
         w.type(TextBox::Text4, "2.6");
         ASSERT_FALSE(w.curve());
       }, false, "2.6", "4593",
       "12 项未验证"},
  };
  for (const Case& c : cases) {
    TestWindow window;
    ASSERT_FALSE(window.curve());
    ASSERT_FALSE(window.check());
    c.after(window);
    const QString path = dir_.filePath(QStringLiteral("edited.pdf"));
    QString error;
    ASSERT_TRUE(writeDesignSheet(window.logic.lastRunFields(), window.chart, path, &error, kDate, nullptr,
                                 window.logic.inputsEditedSinceRun()))
        << str(error);
    const QString layout = text(path);
    EXPECT_EQ(layout.contains(warning), c.warned) << c.name;
    if (c.warned) {
      EXPECT_LT(layout.indexOf(warning), layout.indexOf(QStringLiteral("一、设计输入"))) << "at the top";
    }
    const QString h = inputLine(layout, QStringLiteral("膜片厚度"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\\s%1\\s").arg(QRegularExpression::escape(c.h))).match(h).hasMatch())
        << c.name << ": " << str(h);
    EXPECT_TRUE(inputLine(layout, QStringLiteral("摩擦片工作压力")).contains(QString::fromUtf8(c.F))) << c.name;
    EXPECT_TRUE(layout.contains(QString::fromUtf8(c.summary))) << c.name << "\n" << str(layout);
    if (c.warned) {
      const QImage page = picture(path, 50);
      EXPECT_GT(countPixels(page, region(page, 16, 20, 194, 30), red), 50) << c.name << ": the warning is red";
    }
  }
}

TEST_F(DesignSheet, PageIsMostlyWhiteWithTextTablesAndTheRedCurveWhereTheyBelong) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  ASSERT_FALSE(window.check());
  const QImage page = picture(write(window), 50);
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width(), 413, 2);
  EXPECT_NEAR(page.height(), 585, 2);

  const QRect all = page.rect();
  EXPECT_GT(countPixels(page, all, white), all.width() * all.height() * 3 / 4);
  // Margins stay blank.
  EXPECT_EQ(countPixels(page, region(page, 0, 0, 210, 8), dark), 0);
  EXPECT_EQ(countPixels(page, region(page, 0, 0, 10, 297), dark), 0);
  EXPECT_EQ(countPixels(page, region(page, 200, 0, 210, 297), dark), 0);

  const QRect title = region(page, 16, 12, 100, 24);
  const QRect inputsLeft = region(page, 16, 45, 100, 86);
  const QRect inputsRight = region(page, 110, 45, 194, 80);
  const QRect chart = region(page, 17, 100, 193, 192);
  const QRect points = region(page, 16, 208, 82, 245);
  const QRect rules = region(page, 88, 208, 194, 268);
  for (const QRect& area : {title, inputsLeft, inputsRight, chart, points, rules})
    EXPECT_GT(countPixels(page, area, dark), 20) << "nothing printed in " << area.x() << "," << area.y();
  EXPECT_GT(countPixels(page, chart, red), 100) << "the curve is missing";
  // Every rule passed: nothing in the rules table is red.
  EXPECT_EQ(countPixels(page, rules, red), 0);
}

TEST_F(DesignSheet, FailedRulesAreMarkedInWordsSymbolAndColour) {
  TestWindow window;
  window.type(TextBox::Text33, "4000");  // the clamp load misses F1B by far: rule 1 fails
  ASSERT_FALSE(window.curve());
  ASSERT_FALSE(window.check());
  ASSERT_EQ(window.text(TextBox::Text24), kFailed);
  const QString path = write(window);

  const QString layout = text(path);
  const QString first = ruleLine(layout, 0);
  EXPECT_TRUE(first.contains(QString::fromUtf8(kFailed))) << str(first);
  EXPECT_TRUE(first.contains(QStringLiteral("✘"))) << str(first);
  EXPECT_FALSE(first.contains(QStringLiteral("✔"))) << str(first);
  for (int i = 1; i < kRuleCount; ++i) {
    const QString line = ruleLine(layout, i);
    EXPECT_TRUE(line.contains(QStringLiteral("✔"))) << str(line);
    EXPECT_FALSE(line.contains(QString::fromUtf8(kFailed))) << str(line);
  }
  EXPECT_TRUE(layout.contains(QStringLiteral("12 项约束中 11 项合格，1 项不合格"))) << str(layout);
  // The typed load shows as typed.
  EXPECT_TRUE(layout.contains(QStringLiteral("4000")));

  // Red ink and a reddened row in the rules table, in the first row only.
  const QImage page = picture(path, 100);
  const QRect rules = region(page, 88, 207, 194, 270);
  EXPECT_GT(countPixels(page, rules, red), 20);
  const auto pink = [](QColor c) { return c.red() > 240 && c.green() < 240 && c.green() > 200 && c.blue() < 240; };
  const int pinkPixels = countPixels(page, rules, pink);
  EXPECT_GT(pinkPixels, 500);
  const QRect lowerRows = region(page, 88, 225, 194, 270);
  EXPECT_EQ(countPixels(page, lowerRows, pink), 0);
  EXPECT_EQ(countPixels(page, lowerRows, red), 0);
}

// Sheets of windows in other states, by what they must and must not show.
struct StateCase {
  const char* name;
  std::function<void(TestWindow&)> prepare;
  std::vector<const char*> shown;
  std::vector<const char*> absent;
  bool curve;  // the red curve is on the page
};

TEST_F(DesignSheet, WindowStatesShowWhatIsMissing) {
  const std::vector<StateCase> cases{
      {"fresh window", [](TestWindow&) {},
       {"尚未绘制特性曲线", "12 项约束中 0 项合格，12 项未验证", "2.2", "210000"},
       {"5175.178", "(合格)"},
       false},
      {"curve drawn, never checked",
       [](TestWindow& w) { ASSERT_FALSE(w.curve()); },
       {"5175.178", "4.18", "12 项约束中 0 项合格，12 项未验证"},
       {"尚未绘制特性曲线", "(合格)"},
       true},
      {"checked, then cleared",
       [](TestWindow& w) {
         ASSERT_FALSE(w.curve());
         ASSERT_FALSE(w.check());
         ASSERT_FALSE(w.clear());
       },
       {"尚未绘制特性曲线", "12 项未验证", "4.18"},
       {"5175.178", "(合格)"},
       false},
      {"text too long for its cell is cut short",
       [](TestWindow& w) {
         w.type(TextBox::Text4, std::string("2.2") + std::string(300, 'x'));
         ASSERT_FALSE(w.curve());
         ASSERT_FALSE(w.check());
       },
       {"2.2x", "…", "0.442(合格)"},
       {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
       true},
  };
  for (const StateCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestWindow window;
    c.prepare(window);
    const QString path = write(window);
    const QString layout = text(path);
    for (const char* s : c.shown) EXPECT_TRUE(layout.contains(QString::fromUtf8(s))) << "missing: " << s;
    for (const char* s : c.absent) EXPECT_FALSE(layout.contains(QString::fromUtf8(s))) << "present: " << s;

    const bool checked = !window.text(ruleInfo(0).box).empty();
    for (int i = 0; i < kRuleCount; ++i) {
      const QString line = ruleLine(layout, i);
      EXPECT_EQ(line.contains(QStringLiteral("未验证")), !checked) << str(line);
    }
    // Points never found show a dash in both columns.
    if (window.text(TextBox::Text12).empty()) {
      for (const char* name : {"峰值点", "谷值点", "拐点", "工作点", "磨损后工作点", "分离点"}) {
        const QRegularExpression row(QString::fromUtf8(name) + QStringLiteral("\\s+—\\s+—"));
        EXPECT_TRUE(row.match(layout).hasMatch()) << name;
      }
    }

    const QImage page = picture(path, 50);
    EXPECT_EQ(countPixels(page, region(page, 17, 100, 193, 192), red) > 100, c.curve);
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {path}));
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1"))) << str(info);
  }
}

TEST_F(DesignSheet, ReplacesAnEarlierFileWhole) {
  const QString path = dir_.filePath(QStringLiteral("sheet.pdf"));
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(2'000'000, 'x'));  // longer than the sheet
  }
  TestWindow window;
  ASSERT_FALSE(window.curve());
  write(window);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_FALSE(bytes.contains(QByteArray(64, 'x')));
  EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sheet.pdf")});
}

// A path that cannot be written gives false, a Chinese message naming the
// file, and leaves nothing behind.
TEST(DesignSheetErrors, UnwritablePathsFailWithAMessageAndLeaveNoFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString plain = dir.filePath(QStringLiteral("plain"));
  {
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a directory");
  }
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
  TestWindow window;
  ASSERT_FALSE(window.curve());
  ASSERT_FALSE(window.check());

  struct Case {
    QString path;
    QString reason;  // a word of the reason the message must give
  };
  const std::vector<Case> cases{
      {plain + QStringLiteral("/x.pdf"), QStringLiteral("不是文件夹")},                          // under a file
      {dir.filePath(QStringLiteral("missing/x.pdf")), QStringLiteral("不存在")},                  // no such folder
      {dir.filePath(QStringLiteral("folder")), QStringLiteral("这是一个文件夹")},                // a folder itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(str(c.path));
    QString error;
    EXPECT_FALSE(writeDesignSheet(window.fields, window.chart, c.path, &error, kDate));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(c.path))) << str(error);
    EXPECT_TRUE(error.contains(c.reason)) << str(error);
    EXPECT_TRUE(error.contains(QStringLiteral("无法写入"))) << str(error);
  }
  // Nothing new appeared anywhere: the folder is as it was, and empty.
  QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  entries.sort();
  EXPECT_EQ(entries, (QStringList{QStringLiteral("folder"), QStringLiteral("plain")}));
  EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
  QFile f(plain);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("not a directory"));

  // No path at all, and no place for the message: still a clean false.
  QString error;
  EXPECT_FALSE(writeDesignSheet(window.fields, window.chart, QString(), &error, kDate));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(writeDesignSheet(window.fields, window.chart, plain + QStringLiteral("/y.pdf"), nullptr, kDate));
}

// With the analysis of the curve run the sheet has a second page: its
// title, the table of the points and the release strokes' largest forces;
// and a third with the production yield.
TEST_F(DesignSheet, AnalysisMakesASecondPage) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  const AnalysisInput input{curveRunOf(window.logic, window.fields), AnalysisParams{}};
  const QString path = dir_.filePath(QStringLiteral("two.pdf"));
  QString error;
  ASSERT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, kDate, &input)) << str(error);
  const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {path}));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("(?m)^Pages:\\s+3$")).match(info).hasMatch()) << str(info);
  const QString second = QString::fromUtf8(runTool(
      QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("2"), path, QStringLiteral("-")}));
  const SpringAnalysis a = analyseSpring(input.run, input.params);
  for (const QString& expected :
       {QStringLiteral("膜片弹簧强度与分离特性"), QStringLiteral("4592.6"),
        QString::fromStdString(format(a.wornStroke.F2max, "0.0")), QStringLiteral("内上缘最大应力")})
    EXPECT_TRUE(second.contains(expected)) << str(expected) << "\n" << str(second);
  // The first page is unchanged by it.
  EXPECT_FALSE(text(path).section(QLatin1Char('\f'), 0, 0).contains(QStringLiteral("膜片弹簧强度与分离特性")));
}

// The yield page, after the analysis's: the same figures as the core's
// yield of that run, every requirement's row, and each tolerance with its
// source; stale with the rest of the sheet.
TEST_F(DesignSheet, YieldPageHasTheRunsYieldItsRequirementsAndTheTolerancesUsed) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  const AnalysisInput input{curveRunOf(window.logic, window.fields), analysisParams(DesignInputs()).params};
  const auto yield = compare::productionYieldOf(input, compare::kDefaultSamples, compare::kDefaultSeed);
  ASSERT_TRUE(yield && yield->strengthChecked);
  for (const bool edited : {false, true}) {
    const QString path = dir_.filePath(QStringLiteral("yield%1.pdf").arg(edited));
    QString error;
    ASSERT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, kDate, &input, edited)) << str(error);
    const QString third = text(path).section(QLatin1Char('\f'), 2, 2).simplified().remove(QLatin1Char(' '));
    const auto has = [&](const std::string& s) {
      EXPECT_TRUE(third.contains(QString::fromStdString(s).remove(QLatin1Char(' ')))) << s << "\n" << str(third);
    };
    has(compare::yield_sheet::kTitle);
    has(compare::yield_sheet::headline(*yield));
    const auto rows = compare::yieldRows(*yield, true);
    EXPECT_EQ(rows.size(), 1U + compare::kRequirementCount);
    for (const compare::YieldRow& r : rows) has(r.requirement + r.share + r.interval + r.count);
    for (const compare::ToleranceRow& r : compare::toleranceRows(*yield, true)) has(r.symbol + r.nominal + r.tolerance);
    has("DIN2093厚度t偏差+0.04/−0.12mm");
    EXPECT_EQ(third.contains(QString::fromUtf8(kInputsEditedWarning).remove(QLatin1Char(' '))), edited);
  }
}

// Each page says which it is and how many the sheet has, with and without
// the analysis page.
TEST_F(DesignSheet, PagesAreNumberedOutOfTheSheetsCount) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  const AnalysisInput input{curveRunOf(window.logic, window.fields), AnalysisParams{}};
  const struct {
    const AnalysisInput* analysis;
    QStringList marks;
  } cases[] = {
      {nullptr, {QStringLiteral("第1页共1页")}},
      {&input, {QStringLiteral("第1页共3页"), QStringLiteral("第2页共3页"), QStringLiteral("第3页共3页")}},
  };
  for (const auto& c : cases) {
    const QString path = dir_.filePath(QStringLiteral("pages%1.pdf").arg(c.marks.size()));
    QString error;
    ASSERT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, kDate, c.analysis)) << str(error);
    const QStringList pages = text(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), c.marks.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
      // pdftotext drops the spaces between Chinese characters and digits.
      const QString page = pages[i].simplified().remove(QLatin1Char(' '));
      if (i >= c.marks.size()) {
        EXPECT_TRUE(page.isEmpty()) << "page " << i + 1 << " beyond the sheet: " << str(page);
        continue;
      }
      EXPECT_TRUE(page.contains(c.marks[i])) << str(c.marks[i]) << "\n" << str(page);
      EXPECT_EQ(page.count(QStringLiteral("页共")), 1) << str(page);
    }
  }
}

// With the design's information the sheet is a release document: the part
// number and revision on every page, and a last page with the material and
// its sources, the four signatures and the notes in full.
TEST_F(DesignSheet, ReleasePageCarriesTheApprovalTheMaterialAndTheNotesInFull) {
  TestWindow window;
  ASSERT_FALSE(window.curve());
  const AnalysisInput input{curveRunOf(window.logic, window.fields), AnalysisParams{}};
  SheetInfo info;
  info.partNumber = QStringLiteral("DS-1601-02");
  info.revision = QStringLiteral("C");
  info.signers = {QStringLiteral("张工"), QStringLiteral("李工"), QStringLiteral("王工"), QStringLiteral("赵总")};
  info.signDates = {QStringLiteral("2026-12-01"), QStringLiteral("2026-12-03"), QString(), QString()};
  info.material = {QStringLiteral("60Si2MnA（GB/T 1222）"), QStringLiteral("抗拉强度（最小） Rm = 1570 MPa：GB/T 1222 力学性能表")};
  // Longer than a line: the first page points to the release page, which has it all.
  info.notes = QStringLiteral("喷丸强化后预压处理，硬度与残余应力按工艺卡检验。") .repeated(6) + QStringLiteral("末尾标记ZZ");
  for (const bool withAnalysis : {false, true}) {
    const QString path = dir_.filePath(withAnalysis ? QStringLiteral("r2.pdf") : QStringLiteral("r1.pdf"));
    QString error;
    ASSERT_TRUE(writeDesignSheet(window.fields, window.chart, path, &error, kDate, withAnalysis ? &input : nullptr, false,
                                 &info))
        << str(error);
    const QStringList pages = text(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    const int count = withAnalysis ? 4 : 2;
    ASSERT_EQ(pages.size(), count);
    for (const QString& page : pages) {
      EXPECT_TRUE(page.contains(QStringLiteral("DS-1601-02"))) << str(page.left(200));
      EXPECT_TRUE(page.simplified().contains(QStringLiteral("版本：C"))) << str(page.left(200));
    }
    EXPECT_TRUE(pages.front().simplified().remove(QLatin1Char(' ')).contains(QStringLiteral("全文见第%1页").arg(count)));
    const QString release = pages.back().simplified().remove(QLatin1Char(' '));
    for (const char* expected : {"签署页", "设计", "校核", "审核", "批准", "张工", "李工", "王工", "赵总", "2026-12-03",
                                 "60Si2MnA（GB/T1222）", "GB/T1222力学性能表"})
      EXPECT_TRUE(release.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(release.contains(QString(info.notes).remove(QLatin1Char(' ')))) << "the notes in full, wrapped";
  }
}

}  // namespace
