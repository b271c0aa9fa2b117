#include "cli/arg_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/compare_command.h"
#include "cli/design_command.h"
#include "cli/disc_command.h"
#include "cli/materials_command.h"
#include "cli/study_command.h"

namespace diaspring::cli {
namespace {

TEST(ArgReader, ReadsWholeNumbersOnly) {
  struct Case {
    const char* text;
    WholeNumber asInt;
    WholeNumber asUnsigned;
  };
  constexpr auto R = WholeNumber::Read, N = WholeNumber::NotWhole, L = WholeNumber::TooLarge;
  const Case cases[] = {
      {"12", R, R},          {"0", R, R},          {"-3", R, N},  {"", N, N},   {"+1", N, N},
      {" 1", N, N},          {"1 ", N, N},         {"1.5", N, N}, {"1e3", N, N}, {"0x10", N, N},
      {"99999999999", L, L}, {"-99999999999", L, N},
  };
  for (const Case& c : cases) {
    int i = -7;
    unsigned u = 7;
    EXPECT_EQ(readWhole(c.text, i), c.asInt) << c.text;
    EXPECT_EQ(readWhole(c.text, u), c.asUnsigned) << c.text;
    if (c.asInt != R) {
      EXPECT_EQ(i, -7) << c.text << ": a number not read leaves the target";
    }
  }
  std::uint64_t seed = 0;
  EXPECT_EQ(readWhole("18446744073709551615", seed), R);
  EXPECT_EQ(seed, UINT64_MAX);
  EXPECT_EQ(readWhole("18446744073709551616", seed), L);
}

// Every subcommand's usage message shows what it quotes with its control
// bytes escaped: a terminal never receives an escape sequence from a typo.
TEST(ArgReader, EverySubcommandEscapesTheArgumentsItQuotes) {
  using Run = std::function<std::string(std::span<const std::string_view>)>;
  const Run main = [](auto args) { return parseArgs(args).error; };
  const Run design = [](auto args) { return runDesignCommand(args, {}).err; };
  const Run study = [](auto args) { return runStudyCommand(args, {}, -1).err; };
  const Run compare = [](auto args) { return runCompareCommand(args).err; };
  const Run disc = [](auto args) { return runDiscCommand(args).err; };
  const Run materials = [](auto args) { return runMaterialsCommand(args).err; };
  struct Case {
    const char* name;
    const Run* run;
    std::vector<std::string_view> args;
    const char* shown;
  };
  const Case cases[] = {
      {"main option", &main, {"--\x1B[2J"}, "'--\\x1B[2J'"},
      {"design set", &design, {"--set", "zz\x07=1"}, "'zz\\x07'"},
      {"design grid", &design, {"--grid", "\x1B"}, "'\\x1B'"},
      {"design stray", &design, {"x\ry"}, "'x\\ry'"},
      {"study two inputs", &study, {"a.csv", "b\x1B.csv"}, "'b\\x1B.csv'"},
      {"study threads", &study, {"a.csv", "--threads", "\t"}, "'\\t'"},
      {"compare stray", &compare, {"\x1B"}, "'\\x1B'"},
      {"compare samples", &compare, {"--samples", "1\n"}, "'1\\n'"},
      {"disc number", &disc, {"--De", "\x01"}, "'\\x01'"},
      {"materials", &materials, {"\x1B"}, "'\\x1B'"},
  };
  for (const Case& c : cases) {
    const std::string err = (*c.run)(c.args);
    EXPECT_NE(err.find(c.shown), std::string::npos) << c.name << ": " << err;
    EXPECT_EQ(err.find_first_of("\x01\x07\t\r\x1B"), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace diaspring::cli
