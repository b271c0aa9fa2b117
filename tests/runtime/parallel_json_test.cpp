// The parallel for-loop and the JSON writer of the core.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <vector>

#include <nlohmann/json.hpp>

#include "runtime/json_writer.h"
#include "runtime/thread_group.h"

namespace diaspring {
namespace {

TEST(ParallelFor, EveryIndexRunsOnceForAnyNumberOfWorkers) {
  for (std::size_t count : {0u, 1u, 7u, 1000u}) {
    for (unsigned workers : {1u, 2u, 8u}) {
      std::vector<std::atomic<int>> calls(count);
      parallelFor(count, workers, [&](std::size_t i) { ++calls[i]; });
      for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(calls[i].load(), 1) << count << " with " << workers << ": " << i;
    }
  }
}

TEST(ParallelFor, WorkersAreAtLeastOneAndAtMostOnePerJob) {
  const struct {
    unsigned requested;
    std::size_t jobs;
    unsigned expected;
  } cases[] = {{4, 10, 4}, {4, 2, 2}, {4, 0, 1}, {1, 100, 1}};
  for (const auto& c : cases) EXPECT_EQ(workerCount(c.requested, c.jobs), c.expected) << c.requested << ", " << c.jobs;
  EXPECT_GE(workerCount(0, 1000), 1u) << "0 asks for one worker a core";
  EXPECT_EQ(workerCount(0, 1), 1u);
}

// What the writer writes is JSON that reads back as what was written, in
// either layout, nested or not.
TEST(JsonWriter, ListsNestAndReadBackInBothLayouts) {
  for (const auto& [comma, colon] : {std::pair{",", ":"}, std::pair{", ", ": "}}) {
    std::string out = "{";
    JsonList top(out, comma, colon);
    top.text("name", "膜片\"弹簧\"\n\x01");
    top.number("F", 4593.25);
    top.number("inf", std::numeric_limits<double>::infinity());
    top.count("n", -18);
    top.key("list") += '[';
    JsonList items(out, comma, colon);
    for (double x : {0.1, -0.0, 1e22}) appendJsonDouble(items.next(), x);
    out += "],";
    out += colon == std::string_view(":") ? "" : " ";
    out += "\"empty\":{}}";

    const nlohmann::json back = nlohmann::json::parse(out);
    EXPECT_EQ(back["name"], "膜片\"弹簧\"\n\x01") << out;
    EXPECT_EQ(back["F"], 4593.25);
    EXPECT_TRUE(back["inf"].is_null()) << "JSON holds no infinity";
    EXPECT_EQ(back["n"], -18);
    EXPECT_EQ(back["list"], nlohmann::json::parse("[0.1, -0.0, 1e22]"));
    EXPECT_TRUE(back["empty"].empty());
    EXPECT_EQ(out.find(std::string(comma) + std::string(comma)), std::string::npos) << out;
  }
}

// A nested object or array is written with the separators of the list it
// is a member of, and an object appended to text follows that text.
TEST(JsonWriter, NestedListsTakeTheSeparatorsOfTheirList) {
  const struct {
    const char *comma, *colon, *expected;
  } cases[] = {
      {",", ":", R"(<{"a":1,"b":{"c":true,"d":null},"e":[0.5,"x",{},[]]})"},
      {", ", ": ", R"(<{"a": 1, "b": {"c": true, "d": null}, "e": [0.5, "x", {}, []]})"},
      {",\n", ": ", "<{\"a\": 1,\n\"b\": {\"c\": true,\n\"d\": null},\n\"e\": [0.5,\n\"x\",\n{},\n[]]}"},
  };
  for (const auto& c : cases) {
    std::string out = "<";
    appendJsonObject(
        out,
        [](JsonList& m) {
          m.count("a", 1);
          m.object("b", [](JsonList& b) {
            b.flag("c", true);
            b.null("d");
          });
          m.array("e", [](JsonList& e) {
            e.nextNumber(0.5);
            e.nextText("x");
            e.nextObject([](JsonList&) {});
            e.nextArray([](JsonList&) {});
          });
        },
        c.comma, c.colon);
    EXPECT_EQ(out, c.expected);
  }
  EXPECT_EQ(jsonArray([](JsonList& a) { for (double x : {1.0, 2.5}) a.nextNumber(x); }), "[1,2.5]");
  EXPECT_EQ(jsonObject([](JsonList&) {}), "{}");
}

TEST(JsonWriter, AMalformedByteBecomesTheReplacementCharacter) {
  const struct {
    std::string text, expected;
  } cases[] = {{"a\xff" "b", "\"a\xEF\xBF\xBD" "b\""}, {"\xc3(", "\"\xEF\xBF\xBD(\""}, {"\x7f", "\"\x7f\""},
               {"é", "\"é\""}, {"\t", "\"\\u0009\""}};
  for (const auto& c : cases) {
    std::string out;
    appendJsonString(out, c.text);
    EXPECT_EQ(out, c.expected);
    EXPECT_TRUE(nlohmann::json::accept(out)) << out;
  }
}

}  // namespace
}  // namespace diaspring
