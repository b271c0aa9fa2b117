#include <gtest/gtest.h>

#include <string>

#include "compare/measured_curve.h"
#include "runtime/utf8_text.h"

namespace diaspring::compare {
namespace {

TEST(MeasuredCurve, ReadsTheFormsARigWrites) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t loading, unloading;
  };
  const Case cases[] = {
      {"csv with header", "lambda1/mm,F1/N\n0,0\n0.5,2000\n1.0,3500\n", 3, 0},
      {"semicolons, CRLF", "0;0\r\n0.5;2000\r\n1.0;3500\r\n", 3, 0},
      {"blanks and tabs, comments", "# rig 4\n\n0 0\n0.5\t 2000\n  1.0   3500\n", 3, 0},
      {"loading then unloading", "l F\n0 0\n1 3000\n2 4000\n1.5 3500\n0.2 300\n", 3, 3},
      {"byte-order mark", "\xEF\xBB\xBFx,y\n0,0\n1,1\n2,2\n", 3, 0},
      // As a spreadsheet saves it: quoted cells, CR line ends, tab-aligned columns.
      {"quoted cells", "\"lambda1\";\"F1\"\n\"0\";\"0\"\n\"0.5\";\"2000\"\n\"1.0\";\"3500\"\n", 3, 0},
      {"CR only", "0,0\r0.5,2000\r1.0,3500\r", 3, 0},
      {"tabs aligning columns", "l\t\tF\n0\t\t0\n0.5\t\t2000\n1.0\t\t3500\n", 3, 0},
  };
  for (const Case& c : cases) {
    const MeasuredRead r = parseMeasured(c.text, "m");
    ASSERT_TRUE(r.curve) << c.name << ": " << r.error;
    EXPECT_EQ(r.curve->loading.size(), c.loading) << c.name;
    EXPECT_EQ(r.curve->unloading.size(), c.unloading) << c.name;
  }
  // The unloading branch starts at the turning point, so the hysteresis loop closes.
  const MeasuredRead loop = parseMeasured(cases[3].text, "m");
  EXPECT_EQ(loop.curve->unloading.front(), loop.curve->loading.back());
  EXPECT_DOUBLE_EQ(loop.curve->loadingAt(1.5), 3500);
  EXPECT_TRUE(std::isnan(loop.curve->loadingAt(2.5)));
}

TEST(MeasuredCurve, RefusesMalformedFilesNamingTheLine) {
  std::string huge = "l,F\n";
  for (int i = 0; i < 1000000; ++i) huge += std::to_string(i) + ",1\n";
  std::string longCell = "x";  // 61 bytes: the 40th is inside a character
  for (int i = 0; i < 30; ++i) longCell += "é";
  struct Case {
    const char* name;
    std::string text;
    int line;
    const char* words;
  };
  const Case cases[] = {
      {"text", "l,F\n0,0\n1,abc\n2,3\n", 3, "'abc' is not a finite number"},
      {"one column", "0\n1\n2\n", 1, "found 1 cell"},
      {"three columns", "0,0\n1,1,1\n", 2, "found 3 cells"},
      {"NaN", "0,0\n1,nan\n2,3\n3,4\n", 2, "not a finite number"},
      {"infinite", "0,0\n1e999,1\n", 2, "not a finite number"},
      {"empty cell", "0,0\n,1\n", 2, "λ1 '' is not"},
      {"empty", "", 0, "no measured points"},
      {"header only", "l,F\n\n", 0, "no measured points"},
      {"10^6 rows", huge, 100002, "more than 100000 rows"},
      {"unsorted", "0,0\n2,2\n1,1\n3,3\n", 4, "rises again"},
      {"duplicate λ1", "0,0\n1,1\n1,2\n2,3\n", 3, "repeats line 2"},
      {"falls first", "2,0\n1,1\n0,2\n", 2, "falls before it rises"},
      {"too few to fit", "0,0\n1,1\n", 0, "at least 3"},
      {"decimal comma", "0,0\n0,5;1\n", 2, "'0,5' is not a finite number"},
      // A long cell is cut between two characters, and its control bytes are escaped.
      {"long UTF-8 cell", "0,0\n1," + longCell + "\n", 2, "'xééé"},
      {"control byte", "0,0\n1,a\x1B[31m\n", 2, "'a\\x1B[31m'"},
  };
  for (const Case& c : cases) {
    const MeasuredRead r = parseMeasured(c.text, "m");
    EXPECT_FALSE(r.curve) << c.name;
    EXPECT_EQ(r.line, c.line) << c.name << ": " << r.error;
    EXPECT_NE(r.error.find(c.words), std::string::npos) << c.name << ": " << r.error;
    EXPECT_TRUE(isValidUtf8(r.error) && isValidUtf8(r.errorZh)) << c.name;
    if (c.line > 0) {
      EXPECT_EQ(r.error.rfind("line " + std::to_string(c.line) + ":", 0), 0U) << r.error;
    }
  }
}

}  // namespace
}  // namespace diaspring::compare
