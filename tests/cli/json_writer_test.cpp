// The JSON writer: string escaping, numbers that read back to exactly the
// recorded float, each drawing operation's shape, and a whole document that
// a strict reader accepts.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "chart/display_list.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "json_check.h"
#include "form/fields.h"

namespace diaspring::cli {
namespace {

using test::JsonValue;
using test::parseJson;

std::string jsonString(std::string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

std::string jsonFloat(float value) {
  std::string out;
  appendJsonFloat(out, value);
  return out;
}

// Reads a written number back as a float, insisting the whole text is used.
float readBack(const std::string& text) {
  float value = std::numeric_limits<float>::quiet_NaN();
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_EQ(ec, std::errc()) << text;
  EXPECT_EQ(end, text.data() + text.size()) << text;
  return value;
}

TEST(JsonString, EscapesWhatJsonRequiresAndPassesUtf8Through) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"4.18", R"("4.18")"},
      {R"(say "hi")", R"("say \"hi\"")"},
      {R"(C:\spring)", R"("C:\\spring")"},
      {"a\nb\tc\rd", R"("a\u000ab\u0009c\u000dd")"},
      {std::string_view("\x00\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
      {"\x7f", "\"\x7f\""},
      {"0.442(合格)", "\"0.442(合格)\""},
      {"λ1(mm) Δλ μ ≤ ° 😀", "\"λ1(mm) Δλ μ ≤ ° 😀\""},
      {"/", R"("/")"},
  };
  for (const Case& c : cases) {
    const std::string written = jsonString(c.in);
    EXPECT_EQ(written, c.out) << "for input " << ::testing::PrintToString(std::string(c.in));
    const auto v = parseJson(written);
    ASSERT_TRUE(v.has_value()) << written;
    EXPECT_EQ(v->text, c.in);
  }
}

TEST(JsonString, MalformedBytesBecomeReplacementCharacters) {
  // They cannot reach a box from the command line; should one appear, the
  // document still stays valid UTF-8.
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"a\xff" "b", "\"a\uFFFDb\""},
      {"\xE5\x90", "\"\uFFFD\uFFFD\""},             // truncated 合
      {"\xC0\xAF", "\"\uFFFD\uFFFD\""},             // overlong '/'
      {"\xED\xA0\x80", "\"\uFFFD\uFFFD\uFFFD\""},  // a surrogate
  };
  for (const Case& c : cases) {
    const std::string written = jsonString(c.in);
    EXPECT_EQ(written, c.out);
    EXPECT_TRUE(parseJson(written).has_value()) << written;
  }
}

TEST(JsonFloat, ChartNumbersReadBackBitForBit) {
  const float special[] = {
      0.0f, -0.0f, 1.0f, -1.5f, 8.0f, 14000.0f, -1000.0f, 0.1f, 0.001f, 7.1f, 12500.0f, 2.08f, 5175.178f,
      9.999999f, 10.000999f, 1e-7f, 3.0803499f, std::numeric_limits<float>::min(),
      std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
      std::nextafter(1.0f, 2.0f), std::nextafter(0.1f, 0.0f), 16777216.0f, 16777217.0f, 1e20f, 3.4e38f,
  };
  for (const float f : special) {
    const std::string text = jsonFloat(f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(readBack(text)), std::bit_cast<std::uint32_t>(f)) << text;
  }
  // Whole numbers are written without a point or exponent, as the chart's
  // corners are expected: -1.5, 14000, 8, -1000.
  EXPECT_EQ(jsonFloat(14000.0f), "14000");
  EXPECT_EQ(jsonFloat(-1.5f), "-1.5");
  EXPECT_EQ(jsonFloat(0.1f), "0.1");

  // A spread of bit patterns over the whole finite range.
  int checked = 0;
  for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65521) {
    const float f = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (!std::isfinite(f)) continue;
    const std::string text = jsonFloat(f);
    ASSERT_EQ(std::bit_cast<std::uint32_t>(readBack(text)), static_cast<std::uint32_t>(bits)) << text;
    ++checked;
  }
  EXPECT_GT(checked, 60000);
}

TEST(JsonList, NestedMembersTakeTheirBracketsCommasAndTheOuterSeparators) {
  const std::vector<std::string> cells{"B", "1.5 mm"};
  struct Case {
    const char* what;
    std::string written;
    std::string_view expected;
  };
  const Case cases[] = {
      {"empty object and array", jsonObject([](JsonList& o) {
         o.object("a", [](JsonList&) {});
         o.array("b", [](JsonList&) {});
       }),
       R"({"a":{},"b":[]})"},
      {"members in the order given, texts escaped",
       jsonObject([](JsonList& o) {
         o.texts({{"name", "n \"1\""}, {"unit", "mm"}});
         o.numbers({{"h", 2.2}, {"H", 0.1}});
         o.null("none");
         o.json("raw", "[1]");
       }),
       R"({"name":"n \"1\"","unit":"mm","h":2.2,"H":0.1,"none":null,"raw":[1]})"},
      {"arrays of objects and of texts", jsonArray([&](JsonList& a) {
         a.nextObject([](JsonList& o) { o.count("n", 3); });
         a.nextTexts(cells);
         a.nextTexts({"—"});
         a.nextText("x");
       }),
       R"([{"n":3},["B","1.5 mm"],["—"],"x"])"},
      {"a member array of texts, nested twice", jsonObject([&](JsonList& o) {
         o.object("p", [&](JsonList& p) { p.texts("cells", cells); p.flag("ok", false); });
       }),
       R"({"p":{"cells":["B","1.5 mm"],"ok":false}})"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.written, c.expected) << c.what;
    EXPECT_TRUE(parseJson(c.written).has_value()) << c.what;
  }
  // An inner list writes with its outer list's separators.
  std::string spaced = "{";
  JsonList root(spaced, ", ", ": ");
  root.object("a", [](JsonList& a) { a.numbers({{"x", 1}, {"y", 2}}); });
  root.array("b", [](JsonList& b) { b.nextTexts({"p", "q"}); });
  EXPECT_EQ(spaced + "}", R"({"a": {"x": 1, "y": 2}, "b": [["p", "q"]]})");
}

TEST(JsonFloat, NonFiniteValuesBecomeNullSoTheDocumentStaysValid) {
  EXPECT_EQ(jsonFloat(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(jsonFloat(-std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(jsonFloat(std::numeric_limits<float>::quiet_NaN()), "null");
}

TEST(JsonOp, EachKindOfDrawingOperationHasItsShape) {
  DisplayList chart;
  chart.scale(-1.5f, 14000.0f, 8.0f, -1000.0f);
  chart.line(0, 0, 7, 0, std::nullopt);
  chart.line(0.1f, 0, 0.1f, 150, kBlue);
  chart.pset(0.001f, 5175.178f, kRed);
  chart.setCurrentX(7.1f);
  chart.setCurrentY(0);
  chart.print("λ1(mm) ");
  chart.setCurrentX(-1);
  chart.setCurrentY(1200);
  chart.print("say \"A'\"\n");
  chart.drawWidth(1);
  chart.cls();

  const char* expected[] = {
      R"({"op":"scale","x1":-1.5,"y1":14000,"x2":8,"y2":-1000})",
      R"({"op":"line","x1":0,"y1":0,"x2":7,"y2":0,"color":null})",
      R"({"op":"line","x1":0.1,"y1":0,"x2":0.1,"y2":150,"color":16711680})",
      R"({"op":"pset","x":0.001,"y":5175.178,"color":255})",
      R"({"op":"print","x":7.1,"y":0,"text":"λ1(mm) "})",
      R"({"op":"print","x":-1,"y":1200,"text":"say \"A'\"\u000a"})",
      R"({"op":"drawwidth","width":1})",
      R"({"op":"cls"})",
  };
  ASSERT_EQ(chart.size(), std::size(expected));
  for (std::size_t i = 0; i < chart.size(); ++i) {
    std::string out;
    appendJsonOp(out, chart, chart.ops()[i]);
    EXPECT_EQ(out, expected[i]);
  }
}

TEST(JsonFault, NamesTheControlTheFaultAndTheCauseWhenKnown) {
  std::string out;
  appendJsonFault(out, {Command::Command1, FaultKind::DivisionByZero, ""});
  EXPECT_EQ(out, R"({"press":"Command1","fault":"division by zero"})");
  out.clear();
  appendJsonFault(out, {Slider::HScroll4, FaultKind::Overflow, ""});
  EXPECT_EQ(out, R"({"slider":"HScroll4","fault":"overflow"})");
  out.clear();
  appendJsonFault(out, {Command::Command3, FaultKind::InvalidOperation, "尚未\"计算\""});
  EXPECT_EQ(out, R"({"press":"Command3","fault":"invalid operation","cause":"尚未\"计算\""})");
}

TEST(JsonDocument, HoldsEveryBoxSliderFaultAndOperationAndReadsBackExactly) {
  // A real session: a full curve, a faulting one, a slider move and a check.
  Session session;
  session.applyAll({SetText{TextBox::Text1, "line\nbreak \"quoted\" back\\slash"}, Press{Command::Command1},
                    SetText{TextBox::Text9, ""}, Press{Command::Command1}, MoveSlider{Slider::HScroll5, 160},
                    Press{Command::Command3}});
  const MemoryFields& fields = session.fields();
  const DisplayList& chart = session.chart();
  const std::string json = renderJson(fields, chart, session.faults());
  ASSERT_EQ(json.back(), '\n');

  std::string error;
  const auto doc = parseJson(json, &error);
  ASSERT_TRUE(doc.has_value()) << error;
  ASSERT_EQ(doc->type, JsonValue::Type::Object);
  ASSERT_EQ(doc->members.size(), 4u);
  EXPECT_EQ(doc->members[0].first, "fields");
  EXPECT_EQ(doc->members[1].first, "sliders");
  EXPECT_EQ(doc->members[2].first, "faults");
  EXPECT_EQ(doc->members[3].first, "chart");

  const JsonValue& f = doc->at("fields");
  ASSERT_EQ(f.members.size(), static_cast<std::size_t>(kTextBoxCount));
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    EXPECT_EQ(f.members[i - 1].first, textBoxName(box));
    EXPECT_EQ(f.members[i - 1].second.text, fields.text(box)) << textBoxName(box);
  }
  const JsonValue& s = doc->at("sliders");
  ASSERT_EQ(s.members.size(), static_cast<std::size_t>(kSliderCount));
  EXPECT_EQ(s.at("HScroll1").text, "200");
  EXPECT_EQ(s.at("HScroll5").text, "160");
  ASSERT_EQ(doc->at("faults").items.size(), session.faults().size());
  ASSERT_FALSE(session.faults().empty());
  EXPECT_EQ(doc->at("faults").items[0].at("press").text, "Command1");

  // Every coordinate reads back as exactly the float the chart recorded.
  const JsonValue& c = doc->at("chart");
  ASSERT_EQ(c.items.size(), chart.size());
  ASSERT_GT(chart.size(), 10001u);
  const auto same = [](const JsonValue& j, std::string_view key, float recorded) {
    return std::bit_cast<std::uint32_t>(readBack(j.at(key).text)) == std::bit_cast<std::uint32_t>(recorded);
  };
  for (std::size_t i = 0; i < chart.size(); ++i) {
    const DrawOp& op = chart.ops()[i];
    const JsonValue& j = c.items[i];
    switch (op.kind) {
      case DrawOp::Kind::Scale:
      case DrawOp::Kind::Line:
        ASSERT_TRUE(same(j, "x1", op.x1) && same(j, "y1", op.y1) && same(j, "x2", op.x2) && same(j, "y2", op.y2))
            << "op " << i;
        break;
      case DrawOp::Kind::PSet:
        ASSERT_EQ(j.at("color").text, std::to_string(op.color)) << "op " << i;
        [[fallthrough]];
      case DrawOp::Kind::Print:
        ASSERT_TRUE(same(j, "x", op.x1) && same(j, "y", op.y1)) << "op " << i;
        break;
      default: break;
    }
  }
}

TEST(JsonReader, RefusesWhatIsNotJson) {
  // The reader the other tests rely on must not accept everything.
  const char* bad[] = {
      "", "{", "{\"a\":1,}", "[1 2]", "{\"a\" 1}", "\"raw\ncontrol\"", "\"bad \\x escape\"", "01", "1.", ".5",
      "-", "1e", "NaN", "Infinity", "{\"a\":1}{", "{\"a\":1,\"a\":2}", "\"\xff\"", "\"\\ud800\"", "[1,]", "nul",
  };
  for (const char* text : bad) EXPECT_FALSE(parseJson(text).has_value()) << text;
  const char* good[] = {"0", "-0", "1e+20", "1E-05", "[]", "{}", "[null,true,false]", "\"\\u00e9\\ud83d\\ude00\"",
                        " {\"a\" : [ 1 , 2.5 ] } "};
  for (const char* text : good) EXPECT_TRUE(parseJson(text).has_value()) << text;
}

}  // namespace
}  // namespace diaspring::cli
