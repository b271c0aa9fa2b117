#include <gtest/gtest.h>

#include "study/csv.h"

namespace diaspring::csv {
namespace {

using Fields = std::vector<std::string>;

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
  const struct {
    const char* name;
    std::string text;
    std::vector<Fields> records;
  } cases[] = {
      {"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
      {"no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}},
      {"CRLF and CR", "a,b\r\n1,2\r3,4\r\n", {{"a", "b"}, {"1", "2"}, {"3", "4"}}},
      {"byte-order mark", "\xEF\xBB\xBFh,R\n2.2,84.7\n", {{"h", "R"}, {"2.2", "84.7"}}},
      {"blank lines skipped", "a\n\n\r\n1\n\n", {{"a"}, {"1"}}},
      {"empty fields", "a,,c\n,,\n", {{"a", "", "c"}, {"", "", ""}}},
      {"quoted comma and quote", "\"1,5\",\"say \"\"hi\"\"\"\n", {{"1,5", "say \"hi\""}}},
      {"quoted line break", "\"two\nlines\",x\ny,z\n", {{"two\nlines", "x"}, {"y", "z"}}},
      {"empty quoted", "\"\",a\n", {{"", "a"}}},
      {"blanks kept", " 2.2 , mm\n", {{" 2.2 ", " mm"}}},
      {"UTF-8 passes through", "μ,λ1f\n0.3,1.6\n", {{"μ", "λ1f"}, {"0.3", "1.6"}}},
  };
  for (const auto& c : cases) {
    const auto records = parse(c.text);
    ASSERT_EQ(records.size(), c.records.size()) << c.name;
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].fields, c.records[i]) << c.name << " record " << i;
      EXPECT_EQ(records[i].error, "") << c.name;
    }
  }
}

TEST(Csv, MalformedRecordsAreReportedAndReadingGoesOn) {
  const auto records = parse("h,R\n2.2,8\"4\n\"2.5\"x,90\n3,100\n\"open,end\n");
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[1].error, "quote inside an unquoted field on line 2");
  EXPECT_EQ(records[2].error, "unexpected text after a closing quote on line 3");
  EXPECT_EQ(records[3].fields, (Fields{"3", "100"}));
  EXPECT_EQ(records[3].error, "");
  EXPECT_EQ(records[3].line, 4u);
  EXPECT_EQ(records[4].error, "quoted field opened on line 5 is not closed");
}

TEST(Csv, AQuoteNeverClosedEndsItsOwnLineOnly) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Fields> records;
    std::vector<std::size_t> lines;
    std::size_t faulty;  // the record with the error
  };
  const Case cases[] = {
      {"first row", "h\n\"2.2\n2.5\n2.6\n", {{"h"}, {"2.2"}, {"2.5"}, {"2.6"}}, {1, 2, 3, 4}, 1},
      {"after a comma, CRLF", "h,R\r\n1,\"2\r\n3,4\r\n", {{"h", "R"}, {"1", "2"}, {"3", "4"}}, {1, 2, 3}, 1},
      {"last line", "h\n1\n\"", {{"h"}, {"1"}, {""}}, {1, 2, 3}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto records = parse(c.text);
    ASSERT_EQ(records.size(), c.records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].fields, c.records[i]) << i;
      EXPECT_EQ(records[i].line, c.lines[i]) << i;
      EXPECT_EQ(records[i].error.empty(), i != c.faulty) << i;
    }
    EXPECT_EQ(records[c.faulty].error, "quoted field opened on line " + std::to_string(c.lines[c.faulty]) + " is not closed");
  }
}

TEST(Csv, MessagesShowAtMostEightyCharacters) {
  EXPECT_EQ(shown("h"), "'h'");
  EXPECT_EQ(shown(std::string(80, 'x')), "'" + std::string(80, 'x') + "'");
  EXPECT_EQ(shown(std::string(81, 'x')), "'" + std::string(80, 'x') + "...'");
  // Counted in characters, never cut inside one.
  std::string greek;
  for (int i = 0; i < 100; ++i) greek += "λ";
  EXPECT_EQ(shown(greek), "'" + greek.substr(0, 160) + "...'");
}

TEST(Csv, LineNumbersCountBreaksInsideQuotes) {
  const auto records = parse("a\n\"x\r\ny\nz\"\nb\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2].line, 5u);
}

TEST(Csv, WritesWhatItReadsBack) {
  const Fields tricky{"plain", "1,5", "say \"hi\"", "two\nlines", " padded ", "", "λ1f", "cr\r"};
  EXPECT_EQ(line({"a", "b,c", "d\"e"}), "a,\"b,c\",\"d\"\"e\"\n");
  const auto back = parse(line(tricky) + line({"next"}));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].fields, tricky);
  EXPECT_EQ(back[1].fields, Fields{"next"});
}

}  // namespace
}  // namespace diaspring::csv
