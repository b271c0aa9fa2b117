// The design file's JSON tree: written as the JSON library writes the same
// value, except that every number keeps the text it was read with.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "design/json_tree.h"

namespace diaspring::design {
namespace {

TEST(JsonTree, WritesWhatTheLibraryWritesInBothLayouts) {
  const char* texts[] = {
      R"({"a": [1, 2, {"b": null, "c": [true, false]}], "e": {}, "f": [], "g": "x\"\\\u0001\t"})",
      R"([{"deep": [[[]]]}, "膜片", -7, 18446744073709551615])",
      R"("just a text")",
  };
  for (const char* text : texts) {
    const JsonParse parsed = parseJson(text);
    ASSERT_FALSE(parsed.problem) << text << ": " << parsed.detail;
    const auto library = nlohmann::ordered_json::parse(text);
    EXPECT_EQ(jsonText(parsed.root), library.dump()) << text;
    EXPECT_EQ(jsonText(parsed.root, 2), library.dump(2)) << text;
  }
}

TEST(JsonTree, NumbersKeepTheirTextAndTheirKind) {
  const struct {
    const char* text;
    bool whole;
  } cases[] = {{"1.50", false}, {"-0", true}, {"-0.0", false}, {"2E5", false}, {"1e400", false},
               {"-1E+999", false}, {"1e-400", false}, {"18446744073709551615", true},
               {"123456789012345678901234567890", false}, {"-9223372036854775808", true}};
  for (const auto& c : cases) {
    const JsonParse parsed = parseJson(std::string("[") + c.text + "]");
    ASSERT_FALSE(parsed.problem) << c.text << ": " << parsed.detail;
    const JsonValue& number = parsed.root.items.at(0);
    EXPECT_STREQ(number.typeName(), "number") << c.text;
    EXPECT_EQ(number.text, c.text);
    EXPECT_EQ(number.whole, c.whole) << c.text;
  }
}

TEST(JsonTree, RefusalsNameTheirPlace) {
  const struct {
    std::string text;
    DesignFileProblem problem;
    std::string key;
    int line, column;
  } cases[] = {
      {"{\"a\": {\"b\": 1, \"b\": 2}}", DesignFileProblem::DuplicateKey, "a.b", 0, 0},
      {"[1,\n 2,]", DesignFileProblem::NotJson, "", 2, 4},
      {std::string(65, '['), DesignFileProblem::TooDeep, "", 0, 0},
      {"[1]\n\n x", DesignFileProblem::NotJson, "", 3, 2},
  };
  for (const auto& c : cases) {
    const JsonParse parsed = parseJson(c.text);
    ASSERT_TRUE(parsed.problem) << c.text;
    EXPECT_EQ(*parsed.problem, c.problem) << c.text;
    EXPECT_EQ(parsed.key, c.key) << c.text;
    EXPECT_EQ(parsed.line, c.line) << c.text << ": " << parsed.detail;
    EXPECT_EQ(parsed.column, c.column) << c.text << ": " << parsed.detail;
  }
}

}  // namespace
}  // namespace diaspring::design

namespace diaspring {
namespace {

// A slider's position must be a whole number within its range (h: 200 ...
// 400); the message shows the position as the file wrote it.
TEST(DesignSliders, PositionsAreWholeNumbersInTheirRange) {
  const struct {
    const char* position;
    std::optional<DesignFileProblem> problem;  // none: read
    const char* detail;
  } cases[] = {
      {"300", std::nullopt, ""},          {"400", std::nullopt, ""},
      {"401", DesignFileProblem::OutOfRange, "401"},
      {"-0", DesignFileProblem::OutOfRange, "0"},
      {"2147483648", DesignFileProblem::OutOfRange, "2147483648"},
      {"-9223372036854775808", DesignFileProblem::OutOfRange, "-9223372036854775808"},
      {"-9223372036854775809", DesignFileProblem::WrongType, "whole number"},
      {"3e2", DesignFileProblem::WrongType, "whole number"},
      {"300.0", DesignFileProblem::WrongType, "whole number"},
  };
  for (const auto& c : cases) {
    const std::string text =
        std::string(R"({"format": "diaspring-design", "version": "1.0", "sliders": {"h": )") + c.position + "}}";
    const DesignRead read = parseDesign(text, "f");
    if (!c.problem) {
      ASSERT_TRUE(read.ok()) << c.position << ": " << read.error->english();
      EXPECT_EQ(read.document->inputs.slider(Slider::HScroll1), std::stoi(c.position));
      continue;
    }
    ASSERT_FALSE(read.ok()) << c.position;
    EXPECT_EQ(read.error->problem, *c.problem) << c.position;
    EXPECT_EQ(read.error->key, "sliders.h") << c.position;
    EXPECT_EQ(read.error->detail, c.detail) << c.position;
  }
}

}  // namespace
}  // namespace diaspring
