// The inputs beyond the form: defaults, reading, and the checks of the
// analysis on them.

#include <gtest/gtest.h>

#include "analysis/spring_analysis.h"
#include "form/extra_inputs.h"

namespace diaspring {
namespace {

TEST(ExtraInputs, DefaultsReadAsTheAnalysisDefaults) {
  const ParamsResult r = analysisParams(DesignInputs());
  ASSERT_EQ(r.error, "");
  const AnalysisParams defaults;
  EXPECT_EQ(r.params.n, defaults.n);
  EXPECT_EQ(r.params.b, defaults.b);
  EXPECT_EQ(r.params.Rm, defaults.Rm);
  EXPECT_EQ(r.params.sigmaAllow, defaults.sigmaAllow);
  EXPECT_EQ(r.params.sigmaAllowF, defaults.sigmaAllowF);
  EXPECT_EQ(r.params.sigmaO0, defaults.sigmaO0);
  EXPECT_EQ(r.params.fatigueSlope, defaults.fatigueSlope);
  for (const ExtraInput& input : extraInputs()) EXPECT_EQ(extraInputOfName(input.name), &input);
  EXPECT_EQ(extraInputOfName("h"), nullptr);  // a box, not an extra
}

TEST(ExtraInputs, BadTextsAreRefusedWithTheirName) {
  struct Case {
    const char* name;
    const char* text;
    const char* error;  // "" when it reads
  };
  const Case cases[] = {
      {"n", "20", ""},
      {"b", " 12.5", ""},
      {"fatigueSlope", "-0.1", ""},
      {"n", "0", "n: the number of fingers must be a whole number of at least 1"},
      {"n", "2.5", "n: the number of fingers must be a whole number of at least 1"},
      {"b", "abc", "b: 'abc' is not a number"},
      {"b", "", "b: '' is not a number"},
      {"b", "-3", "b: the finger width must be above 0"},
      {"Rm", "12 MPa", "Rm: '12 MPa' is not a number"},
      {"sigmaAllow", "1E999", "sigmaAllow: '1E999' is out of range"},
      {"sigmaAllow", "0", "sigmaAllow: the permissible stress must be above 0"},
      {"sigmaAllowF", "-1500", "sigmaAllowF: the permissible stress must be above 0"},
      {"sigmaAllowF", "1400", ""},
  };
  for (const Case& c : cases) {
    DesignInputs inputs;
    inputs.setExtra(c.name, c.text);
    const ParamsResult r = analysisParams(inputs);
    EXPECT_EQ(r.error, c.error) << c.name << "=" << c.text;
  }
  DesignInputs inputs;
  inputs.setExtra("n", "20");
  inputs.setExtra("sigmaAllowF", "1400");
  const ParamsResult read = analysisParams(inputs);
  EXPECT_EQ(read.params.n, 20);
  EXPECT_EQ(read.params.sigmaAllowF, 1400);
  EXPECT_EQ(read.params.sigmaAllow, AnalysisParams{}.sigmaAllow);  // each read into its own place
}

}  // namespace
}  // namespace diaspring
