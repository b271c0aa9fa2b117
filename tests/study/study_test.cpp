#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "analysis/spring_analysis.h"
#include "form/design_inputs.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "study/study.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::TestWindow;

// The result as rows of column -> text.
std::vector<std::map<std::string, std::string>> table(const std::string& csvText) {
  const auto records = csv::parse(csvText);
  std::vector<std::map<std::string, std::string>> rows;
  for (std::size_t i = 1; i < records.size(); ++i) {
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < records[0].fields.size(); ++c) row[records[0].fields[c]] = records[i].fields.at(c);
    rows.push_back(row);
  }
  return rows;
}

TEST(NamedInputs, EachNameIsBoundToItsBox) {
  const std::pair<const char*, TextBox> expected[] = {
      {"h", TextBox::Text4},      {"HoverH", TextBox::Text6},   {"R", TextBox::Text7},  {"RoverR", TextBox::Text9},
      {"dLambda", TextBox::Text10}, {"lambda1f", TextBox::Text11}, {"E", TextBox::Text31}, {"mu", TextBox::Text32},
      {"F", TextBox::Text33},     {"D", TextBox::Text34},       {"d", TextBox::Text35}, {"r0", TextBox::Text36},
      {"rf", TextBox::Text37},
  };
  ASSERT_EQ(namedInputs().size(), std::size(expected));
  for (const auto& [name, box] : expected) EXPECT_EQ(boxOfNamedInput(name), box) << name;
  // The engine boxes, reference data only, are named as the design files name them.
  const std::pair<const char*, TextBox> engine[] = {{"Temax", TextBox::Text1}, {"nT", TextBox::Text2}, {"nmax", TextBox::Text3}};
  ASSERT_EQ(engineInputs().size(), std::size(engine));
  for (const auto& [name, box] : engine) {
    EXPECT_EQ(boxOfNamedInput(name), box) << name;
    EXPECT_EQ(inputBoxOfKey(name), box) << name;
  }
  EXPECT_FALSE(boxOfNamedInput("H"));  // derived, not an input
  EXPECT_FALSE(boxOfNamedInput("Text4"));
}

TEST(Study, HeaderProblemsStopTheStudy) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "the study file is empty"},
      {"h,thickness,R,colour\n1,2,3,4\n", "unknown columns 'thickness', 'colour'"},
      {"h,h\n1,2\n", "column 'h' is named twice"},
      {"\"h,R\n", "the header line cannot be read"},
  };
  for (const auto& [text, message] : cases) {
    try {
      readStudy(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const StudyError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
}

// Every row matches the same design typed into a window and run by hand.
TEST(Study, RowsMatchTheWindowRunOneByOne) {
  const std::string input =
      "h,HoverH,R,RoverR,F\n"
      "2.2,1.9,84.7,1.33,4593\n"       // the default design
      "2.5,1.7,90,1.25,5000\n"
      "2.2,1.3,84.7,1.33,4593\n"       // no peak: the curve stops, and the check without B
      "2.2,1.9,84.7,,4593\n"           // empty R/r: the capture faults
      "2.2,\"1.9\"x,84.7,1.33,4593\n"  // cannot be read
      "2.2,1.9,84.7\n"                 // too few fields
      "3,1.8,120,1.3,9000\n";
  const StudyInput study = readStudy(input);
  const auto rows = table(runStudy(study, {.threads = 2, .progress = {}}));
  ASSERT_EQ(rows.size(), 7u);

  const auto oneByOne = [](std::map<std::string, std::string> inputs) {
    TestWindow w;
    for (const auto& [name, text] : inputs) w.type(*boxOfNamedInput(name), text);
    std::string faults;
    // The fault with the cause the window gives, as --json has it.
    const auto described = [](const char* command, const Fault& f) {
      return command + std::string(faultName(f.kind())) + (f.cause().empty() ? "" : " — " + f.cause());
    };
    if (auto f = w.curve()) faults = described("Command1: ", *f);
    if (auto f = w.check()) faults += (faults.empty() ? "" : "; ") + described("Command3: ", *f);
    return std::make_pair(std::move(w), faults);
  };
  for (std::size_t i : {0u, 1u, 2u, 3u, 6u}) {
    const auto& row = rows[i];
    auto [w, faults] = oneByOne({{"h", row.at("h")}, {"HoverH", row.at("HoverH")}, {"R", row.at("R")},
                                 {"RoverR", row.at("RoverR")}, {"F", row.at("F")}});
    EXPECT_EQ(row.at("fault"), faults) << i;
    EXPECT_EQ(row.at("F1M"), w.text(TextBox::Text12)) << i;
    EXPECT_EQ(row.at("lambda1B"), w.text(TextBox::Text19)) << i;
    EXPECT_EQ(row.at("F1C"), w.text(TextBox::Text22)) << i;
    EXPECT_EQ(row.at("lambda1C"), w.text(TextBox::Text23)) << i;
    // A passed rule shows its number followed by the pass mark; a failed one the fail word.
    const std::string shown = w.text(TextBox::Text28);
    const std::string verdict = row.at("R_r_pass");
    EXPECT_EQ(shown, verdict == "pass" ? row.at("R_r") + "(合格)" : verdict == "fail" ? "不合格" : "") << i;
    EXPECT_EQ(row.at("F1A_gt_F1B_pass") == "pass", w.text(TextBox::Text25) == "合格") << i;
  }
  EXPECT_EQ(rows[0].at("F1M"), "5175.178");
  EXPECT_EQ(rows[0].at("dF"), "0.442");
  EXPECT_EQ(rows[0].at("H_h"), "1.9");
  EXPECT_EQ(rows[0].at("fault"), "");
  EXPECT_EQ(rows[2].at("fault").rfind("Command1: point not found — 此设计的特性曲线在 0–10 mm 内没有峰值点", 0), 0U)
      << rows[2].at("fault");
  EXPECT_NE(rows[2].at("fault").find("; Command3: point not found — "), std::string::npos);
  EXPECT_EQ(rows[2].at("F1M"), "");
  EXPECT_EQ(rows[3].at("fault").rfind("Command1: division by zero — R/r 框为空（读作 0）：内半径 r = R ÷ (R/r) 无法计算。", 0), 0U)
      << rows[3].at("fault");
  EXPECT_EQ(rows[3].at("dF_pass"), "");
  EXPECT_EQ(rows[4].at("fault"), "line 6: unexpected text after a closing quote on line 6");
  EXPECT_EQ(rows[4].at("F1M"), "");
  EXPECT_EQ(rows[5].at("fault"), "line 7: 3 fields where the header has 5");
  EXPECT_EQ(rows[5].at("R"), "84.7");  // the input columns are repeated as read
  // A failed rule still reports its value.
  EXPECT_EQ(rows[6].at("R_r0_pass"), "fail");
  EXPECT_EQ(rows[6].at("R_r0"), "6.67");
}

// A study as spreadsheets save it: with a byte-order mark, CRLF or CR line
// ends, semicolons (a spreadsheet set to decimal commas) or tabs, the same
// table as from plain commas.
TEST(Study, ReadsTheDialectsSpreadsheetsWrite) {
  const std::string plain = "h,HoverH,R\n2.2,1.9,84.7\nabc,1.7,90\n\"2.5\",1.7,90\n";
  const std::string expected = runStudy(readStudy(plain));
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"semicolons, CRLF, BOM", "\xEF\xBB\xBFh;HoverH;R\r\n2.2;1.9;84.7\r\nabc;1.7;90\r\n\"2.5\";1.7;90\r\n"},
      {"tabs, CR", "h\tHoverH\tR\r2.2\t1.9\t84.7\rabc\t1.7\t90\r\"2.5\"\t1.7\t90\r"},
      {"semicolons ending every line", "h;HoverH;R;\n2.2;1.9;84.7;\nabc;1.7;90;\n2.5;1.7;90;\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(runStudy(readStudy(c.text)), expected) << c.name;
  // The row that cannot be curved gives the window's cause, naming the box.
  EXPECT_NE(table(expected).at(1).at("fault").find("膜片厚度 h 框的“abc”读作 0"), std::string::npos) << expected;
  const std::pair<const char*, char> separators[] = {{"a;b,c", ';'}, {"a\tb", '\t'}, {"a,b\tc", ','}, {"\"x;y\",z", ','}};
  for (const auto& [line, separator] : separators) EXPECT_EQ(csv::separatorOf(line), separator) << line;
}

TEST(Study, ColumnsLeftOutKeepTheWindowDefaults) {
  const auto rows = table(runStudy(readStudy("RoverR\n1.33\n1.25\n")));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("F1M"), "5175.178");
  EXPECT_EQ(rows[0].at("lambda1A"), "1.480");
  EXPECT_NE(rows[1].at("F1M"), rows[0].at("F1M"));
}

// The engine boxes may be columns: repeated as read, and no result changes.
TEST(Study, EngineDataColumnsChangeNoResult) {
  const auto plain = table(runStudy(readStudy("h\n2.2\n2.5\n")));
  StudyTally tally;
  const auto engine =
      table(runStudy(readStudy("Temax,h,nT,nmax\n210,2.2,2500,5200\nx,2.5,,\n"), {.threads = 1, .progress = {}}, &tally));
  EXPECT_TRUE(tally.warnings.empty()) << tally.warnings.front();  // 'x' is read by nothing
  ASSERT_EQ(plain.size(), 2u);
  ASSERT_EQ(engine.size(), 2u);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    auto row = engine[i];
    for (const char* name : {"Temax", "nT", "nmax"}) EXPECT_EQ(row.erase(name), 1u) << name;
    EXPECT_EQ(row, plain[i]) << i;
  }
  EXPECT_EQ(engine[0].at("Temax"), "210");
  EXPECT_EQ(engine[1].at("Temax"), "x");
  EXPECT_EQ(engine[0].at("F1M"), "5175.178");
}

TEST(Study, SameResultForAnyNumberOfThreads) {
  std::string input = "h,HoverH,R,RoverR,dLambda,lambda1f\n";
  for (int i = 0; i < 40; ++i)
    input += std::to_string(2 + i % 5 * 0.4) + "," + std::to_string(1.5 + i % 6 * 0.1) + "," +
             std::to_string(76 + i * 1.3) + "," + std::to_string(1.2 + i % 4 * 0.05) + ",1.6,1.6\n";
  const StudyInput study = readStudy(input);
  std::size_t calls = 0, last = 0;
  const std::string one = runStudy(study, {.threads = 1, .progress = [&](std::size_t done, std::size_t total) {
                                             ++calls;
                                             EXPECT_EQ(total, 40u);
                                             EXPECT_GE(done, last);
                                             last = done;
                                           }});
  EXPECT_GE(calls, 1u);
  EXPECT_EQ(last, 40u);
  EXPECT_EQ(runStudy(study, {.threads = 2, .progress = {}}), one);
  EXPECT_EQ(runStudy(study, {.threads = 7, .progress = {}}), one);
}

// Analysis inputs are columns like the boxes; the main results of the
// analysis come out as columns of their own, matching the analysis of the
// same design run by hand.
TEST(Study, AnalysisInputsAndResultsAreColumns) {
  const StudyInput study = readStudy("h,b,sigmaAllow\n2.2,14,1500\n2.2,28,1800\n2.2,x,1500\n");
  const auto rows = table(runStudy(study, {.threads = 1, .progress = {}}));
  ASSERT_EQ(rows.size(), 3u);
  TestWindow w;
  ASSERT_FALSE(w.curve());
  AnalysisParams params;
  const SpringAnalysis a = analyseSpring(curveRunOf(w.logic, w.fields), params);
  EXPECT_EQ(rows[0].at("sigmaImax"), format(a.checks.sigmaImax, "0.000"));
  EXPECT_EQ(rows[0].at("F2maxWorn"), format(a.wornStroke.F2max, "0.000"));
  EXPECT_EQ(rows[0].at("strength_pass"), "fail");  // |σI| 1706 > [σ] = 1500
  params.b = 28;
  params.sigmaAllow = 1800;
  const SpringAnalysis wide = analyseSpring(curveRunOf(w.logic, w.fields), params);
  EXPECT_EQ(rows[1].at("sigmaFingerMax"), format(wide.checks.sigmaFingerMax, "0.000"));
  EXPECT_EQ(rows[1].at("fatigueSafetyNew"), format(wide.fatigueNew.governingPlace().safety, "0.000"));
  EXPECT_EQ(rows[2].at("analysis_error"), "b: 'x' is not a number");
  EXPECT_EQ(rows[2].at("sigmaImax"), "");
  EXPECT_EQ(rows[2].at("fault"), "");
}

// strength_pass weighs the static checks only; the fatigue verdict has its
// own column with its data source, and none on the shipped example line.
TEST(Study, FatigueVerdictStandsApartWithItsDataSource) {
  const StudyInput study = readStudy(
      "b,sigmaAllow,sigmaO0,fatigueSlope\n28,1800,700,0.6\n28,1800,2000,0.6\n28,1800,100,0\n14,1500,2000,0.6\n");
  const auto rows = table(runStudy(study, {.threads = 1, .progress = {}}));
  ASSERT_EQ(rows.size(), 4u);
  const struct {
    const char *strength, *fatigue, *data;
  } expected[] = {
      {"pass", "", "example"},  // the example line gives no verdict, and does not spoil the static one
      {"pass", "pass", "user"},
      {"pass", "fail", "user"},
      {"fail", "pass", "user"},  // |σI| 1706 > [σ] = 1500
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].at("strength_pass"), expected[i].strength) << i;
    EXPECT_EQ(rows[i].at("fatigue_pass"), expected[i].fatigue) << i;
    EXPECT_EQ(rows[i].at("fatigue_data"), expected[i].data) << i;
  }
}

TEST(Study, AStrayQuoteSpoilsItsOwnLineOnly) {
  const struct {
    const char* what;
    std::string csv;
    std::vector<std::string> faults;  // each row's fault, "" when it ran
  } cases[] = {
      {"an opening quote never closed", "h,HoverH\n2.2,1.9\n\"2.5,1.7\n2.3,1.8\n2.4,1.85\n2.6,\"1.9\"\n2.7,1.6\n",
       {"", "line 3: quoted field opened on line 3 is not closed", "", "", "", ""}},
      {"a quote opened in the last cell", "h,HoverH\n2.2,\"1.9\r\n2.3,1.8\r\n", {"line 2: quoted field opened on line 2 is not closed", ""}},
      {"quoted cells closed on their line", "h,HoverH\n\"2.2\",\"1.9\"\n\"2.3\",1.8\n", {"", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto rows = table(runStudy(readStudy(c.csv)));
    ASSERT_EQ(rows.size(), c.faults.size());
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].at("fault"), c.faults[i]) << i;
  }
}

// Reads `text` through StudyLines in parts of `part` bytes at most.
std::vector<StudyLines::Line> linesOf(const std::string& text, std::size_t part) {
  std::size_t at = 0;
  StudyLines lines([&](char* buffer, std::size_t size) {
    const std::size_t n = std::min({size, part, text.size() - at});
    std::copy_n(text.data() + at, n, buffer);
    at += n;
    return n;
  });
  std::vector<StudyLines::Line> out;
  for (StudyLines::Line line; lines.next(line);) out.push_back(line);
  return out;
}

TEST(StudyLines, LinesEndAlikeHoweverTheInputArrivesAndLongLinesAreNotKept) {
  const std::string huge(kMaxStudyLineBytes + 1, 'x');
  const struct {
    const char* what;
    std::string text;
    std::vector<std::pair<std::size_t, std::string>> lines;  // number, text ("LONG": too long)
  } cases[] = {
      {"every line end", "\xEF\xBB\xBFh\r\n2.2\r2.3\n\n2.4", {{1, "h"}, {2, "2.2"}, {3, "2.3"}, {5, "2.4"}}},
      {"a line beyond the bound", "h\n" + huge + "\n2.5\n", {{1, "h"}, {2, "LONG"}, {3, "2.5"}}},
      {"a last line beyond the bound", "h\n" + huge, {{1, "h"}, {2, "LONG"}}},
      {"a line at the bound", "h\n" + huge.substr(1) + "\r\n", {{1, "h"}, {2, huge.substr(1)}}},
  };
  for (const auto& c : cases)
    for (std::size_t part : {std::size_t{1}, std::size_t{3}, std::size_t{65536}}) {
      if (part < 3 && c.text.size() > 100) continue;  // byte by byte only for the short ones
      SCOPED_TRACE(std::string(c.what) + ", parts of " + std::to_string(part));
      const auto got = linesOf(c.text, part);
      ASSERT_EQ(got.size(), c.lines.size());
      for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].number, c.lines[i].first);
        EXPECT_EQ(got[i].tooLong, c.lines[i].second == "LONG");
        if (c.lines[i].second != "LONG") {
          EXPECT_EQ(got[i].text, c.lines[i].second);
        }
      }
    }
}

TEST(Study, StreamedInBatchesItWritesTheSameTable) {
  std::string input = "h,HoverH\n";
  for (int i = 0; i < 1100; ++i) input += i % 97 == 0 ? "2.2,1.3\n" : i % 89 == 0 ? "\"2.2,1.9\n" : "2.2 mm,1.9\n";
  const StudyInput whole = readStudy(input);
  StudyTally expected;
  const std::string table1 = runStudy(whole, {.threads = 2, .progress = {}}, &expected);

  std::size_t at = 0;
  StudyLines lines([&](char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, input.size() - at);
    std::copy_n(input.data() + at, n, buffer);
    at += n;
    return n;
  });
  const StudyInput header = readStudyHeader(lines);
  std::string streamed;
  std::size_t writes = 0, progressed = 0;
  const StudyTally tally = streamStudy(header, lines, [&](std::string_view part) {
    streamed += part;
    ++writes;
    return true;
  }, {.threads = 2, .progress = [&](std::size_t done, std::size_t) { progressed = done; }});
  EXPECT_EQ(streamed, table1);
  EXPECT_GT(writes, 2u) << "written batch by batch";
  EXPECT_EQ(progressed, 1024u) << "after each batch but the last";
  EXPECT_EQ(tally.rows, expected.rows);
  EXPECT_EQ(tally.faulted, expected.faulted);
  EXPECT_EQ(tally.unreadable, expected.unreadable);
  EXPECT_EQ(tally.warnings.size(), kMaxStudyWarnings) << "warnings kept are bounded";
  EXPECT_EQ(tally.warnings.size() + tally.warningsLeftOut, expected.warnings.size());
}

}  // namespace
}  // namespace diaspring
