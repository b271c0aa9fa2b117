// The material library and the sign-off data on the command line: the
// materials command, --material and --own-material, and the fatigue
// verdict's data source in --json.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "cli/materials_command.h"
#include "json_check.h"

namespace diaspring::cli {
namespace {

using Args = std::vector<std::string_view>;
using test::JsonValue;
using test::parsed;

TEST(CliMaterials, JsonListsTheLibraryWithASourceForEveryNumber) {
  const Outcome o = runMaterialsCommand(Args{"--json"});
  ASSERT_EQ(o.status, kExitOk) << o.err;
  const JsonValue doc = parsed(o.out);
  const JsonValue& list = doc.at("materials");
  ASSERT_GE(list.items.size(), 6u);
  int numbers = 0;
  for (const JsonValue& m : list.items) {
    for (const auto& [key, value] : m.members) {
      if (value.type != JsonValue::Type::Object) continue;
      ++numbers;
      EXPECT_EQ(value.at("value").type, JsonValue::Type::Number) << key;
      EXPECT_FALSE(value.at("source").text.empty()) << m.at("name").text << " " << key;
    }
  }
  EXPECT_GE(numbers, 6 * 2);  // at least E and μ of each
  EXPECT_EQ(runMaterialsCommand(Args{"--xml"}).status, kExitUsage);
  EXPECT_NE(runMaterialsCommand(Args{}).out.find("empty: no source gives it"), std::string::npos);
}

TEST(CliMaterials, ChoosingASteelTypesItsNumbersAndNamesTheirSources) {
  struct Case {
    Args args;
    int status;
    const char* E;         // Text31 afterwards ("" when the run is refused)
    const char* material;  // the JSON's material name ("" none)
    const char* rm;        // the analysis's Rm
    bool userBasis;        // Rm's basis is 用户数据
  };
  const Case cases[] = {
      {{"--json"}, kExitOk, "210000", "", "1570", false},
      {{"--material", "60Si2MnA", "--json"}, kExitOk, "206000", "60Si2MnA", "1570", false},
      {{"--material", "50crva", "--json"}, kExitOk, "206000", "50CrVA", "1275", false},
      {{"--material", "50CrVA", "--set", "Rm=1300", "--json"}, kExitOk, "206000", "50CrVA", "1300", true},
      {{"--own-material", "厂标钢 A", "--set", "E=205000", "--json"}, kExitOk, "205000", "厂标钢 A", "1570", true},
      {{"--material", "NoSuchSteel"}, kExitUsage, "", "", "", false},
      {{"--own-material", "C75S"}, kExitUsage, "", "", "", false},
      {{"--material", "C75S", "--material", "C67S"}, kExitUsage, "", "", "", false},
  };
  for (const Case& c : cases) {
    const Outcome o = runCli(c.args);
    ASSERT_EQ(o.status, c.status) << c.args[1] << o.err;
    if (c.status != kExitOk) {
      EXPECT_NE(o.err.find("material"), std::string::npos) << o.err;
      continue;
    }
    const JsonValue doc = parsed(o.out);
    EXPECT_EQ(doc.at("fields").at("Text31").text, c.E);
    const JsonValue* material = doc.find("material");
    EXPECT_EQ(material != nullptr ? material->at("name").text : std::string(), c.material);
    const JsonValue& checks = doc.at("analysis").at("checks");
    EXPECT_EQ(checks.at("Rm").text, c.rm);
    EXPECT_EQ(checks.at("RmBasis").text == "用户数据", c.userBasis) << checks.at("RmBasis").text;
    if (material != nullptr && material->find("Rm") != nullptr && !c.userBasis) {
      EXPECT_EQ(checks.at("RmBasis").text, material->at("Rm").at("source").text);
    }
  }
}

TEST(CliMaterials, TheFatigueVerdictNamesItsData) {
  struct Case {
    Args args;
    const char* data;
    JsonValue::Type pass;  // null on example data: neither a pass nor a fail
  };
  const Case cases[] = {
      {{"--json"}, "example", JsonValue::Type::Null},
      {{"--set", "requiredCycles=100000", "--json"}, "example", JsonValue::Type::Null},
      {{"--set", "sigmaO0=650", "--json"}, "user", JsonValue::Type::Bool},
  };
  for (const Case& c : cases) {
    const Outcome o = runCli(c.args);
    ASSERT_EQ(o.status, kExitOk) << o.err;
    const JsonValue doc = parsed(o.out);
    const JsonValue& checks = doc.at("analysis").at("checks");
    for (const char* stroke : {"fatigueNew", "fatigueWorn"}) {
      const JsonValue& f = checks.at(stroke);
      EXPECT_EQ(f.at("data").text, c.data) << stroke;
      EXPECT_EQ(f.at("pass").type, c.pass) << stroke;
      EXPECT_FALSE(f.at("basis").text.empty());
      EXPECT_FALSE(f.at(f.at("shortestLife").text).at("life").text.empty());
    }
  }
  // The report says so beside the verdict.
  const Outcome report = runCli(Args{});
  EXPECT_NE(report.out.find("example data, not for release"), std::string::npos) << report.out;
}

}  // namespace
}  // namespace diaspring::cli
