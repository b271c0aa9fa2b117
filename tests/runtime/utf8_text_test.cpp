#include "runtime/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace diaspring {
namespace {

TEST(QuoteText, EscapesControlBytesAndCutsBetweenCharacters) {
  const std::string longAscii(61, 'x');
  std::string wide;  // 31 CJK characters: 62 columns
  for (int i = 0; i < 31; ++i) wide += "合";
  struct Case {
    const char* name;
    std::string text;
    std::size_t columns;
    std::string expected;
  };
  const Case cases[] = {
      {"plain", "Text4=1", 60, "'Text4=1'"},
      {"empty", "", 60, "''"},
      {"control bytes", "a\x01\tb\n\x7F", 60, "'a\\x01\\tb\\n\\x7F'"},
      {"terminal escape", "\x1B[31m", 60, "'\\x1B[31m'"},
      {"not UTF-8", "\xC3(", 60, "'\\xC3('"},
      {"exactly the columns", std::string(60, 'x'), 60, "'" + std::string(60, 'x') + "'"},
      {"one column too many", longAscii, 60, "'" + std::string(60, 'x') + "...'"},
      {"wide characters", wide, 60, "'" + wide.substr(0, 30 * 3) + "...'"},
  };
  for (const Case& c : cases) {
    const std::string q = quoteText(c.text, c.columns);
    EXPECT_EQ(q, c.expected) << c.name;
  }
}

TEST(QuoteText, NeverSplitsAMultiByteCharacter) {
  // 'x' then two-byte characters: a cut after 40 bytes would fall inside one.
  std::string text = "x";
  for (int i = 0; i < 50; ++i) text += "é";
  std::string expected = "'x";
  for (int i = 0; i < 39; ++i) expected += "é";
  const std::string q = quoteText(text, 40);
  EXPECT_EQ(q, expected + "...'");
  EXPECT_TRUE(isValidUtf8(q));
}

}  // namespace
}  // namespace diaspring
