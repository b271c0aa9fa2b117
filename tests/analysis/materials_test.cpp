// The material library, the limits a material sets, and the life in load
// cycles by the fatigue lines.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/extra_inputs.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace diaspring {
namespace {

TEST(Materials, EveryNumberHasASourceAndEveryEmptyOneNone) {
  ASSERT_GE(materials().size(), 6u);
  for (const Material& m : materials()) {
    EXPECT_EQ(materialOfName(m.name), &m);
    EXPECT_NE(std::string(m.standard), "") << m.name;
    for (const MaterialField& f : materialFields(m)) {
      if (f.value->given()) {
        EXPECT_NE(std::string(f.value->source), "") << m.name << " " << f.key;
      } else {
        EXPECT_EQ(std::string(f.value->source), "") << m.name << " " << f.key;
      }
    }
    if (m.hardnessMin.given() && m.hardnessMax.given()) {
      EXPECT_LT(m.hardnessMin.value, m.hardnessMax.value) << m.name;
    }
    if (m.Re.given() && m.Rm.given()) {
      EXPECT_LT(m.Re.value, m.Rm.value) << m.name;
    }
  }
  // Published values: the disc-spring standards' E and μ, GB/T 1222's 60Si2MnA.
  const Material* steel = materialOfName("60si2mna");  // letter case ignored
  ASSERT_NE(steel, nullptr);
  EXPECT_EQ(steel->E.value, 206000);
  EXPECT_EQ(steel->mu.value, 0.3);
  EXPECT_EQ(steel->Rm.value, 1570);
  EXPECT_EQ(steel->Re.value, 1375);
  // EN 10132-4's quenched and tempered strip: the least Rm its readers agree on; no Re.
  for (const char* strip : {"C67S", "C75S"}) {
    EXPECT_EQ(materialOfName(strip)->Rm.value, 1200) << strip;
    EXPECT_FALSE(materialOfName(strip)->Re.given()) << strip;
    EXPECT_EQ(materialOfName(strip)->hardnessMin.value, 42) << strip;
    EXPECT_EQ(materialOfName(strip)->hardnessMax.value, 52) << strip;
  }
  EXPECT_EQ(materialOfName("1.7102"), materialOfName("54SiCr6"));  // by its number
  EXPECT_EQ(materialOfName("50CrV4"), materialOfName("51CrV4"));
  EXPECT_EQ(materialOfName("MySteel"), nullptr);
  EXPECT_EQ(materialOfName(""), nullptr);
}

TEST(Materials, TheChoiceSetsTheInputsAndNamesTheBasisOfEachLimit) {
  struct Case {
    const char* material;  // "" none; else --material (library) or a user's own
    const char* retypeRm;  // typed after the choice ("" none)
    const char* E;         // the E box afterwards
    const char* Rm;        // the analysis input afterwards
    const char* sigmaAllow;
    std::string strengthBasis, limitsBasis;
  };
  const Case cases[] = {
      {"", "", "210000", "1570", "1700", kDefaultStrengthBasis, kDefaultLimitsBasis},
      {"60Si2MnA", "", "206000", "1570", "1700", materialOfName("60Si2MnA")->Rm.source, kLimitsBasis},
      {"50CrVA", "", "206000", "1275", "1381", materialOfName("50CrVA")->Rm.source, kLimitsBasis},
      {"50CrVA", "1300", "206000", "1300", "1381", kUserDataMark, kUserDataMark},
      {"C75S", "", "206000", "1200", "1299", materialOfName("C75S")->Rm.source, kLimitsBasis},
      {"MySteel", "", "210000", "1570", "1700", kUserDataMark, kUserDataMark},
  };
  for (const Case& c : cases) {
    DesignInputs inputs;
    if (const Material* m = materialOfName(c.material)) applyMaterial(inputs, *m);
    else if (*c.material != '\0') inputs.setExtra(kMaterialKey, c.material);
    if (*c.retypeRm != '\0') inputs.setExtra("Rm", c.retypeRm);
    EXPECT_EQ(inputs.text(TextBox::Text31), c.E) << c.material;
    EXPECT_EQ(extraText(inputs, *extraInputOfName("Rm")), c.Rm) << c.material;
    EXPECT_EQ(extraText(inputs, *extraInputOfName("sigmaAllow")), c.sigmaAllow) << c.material;
    const ParamsResult r = analysisParams(inputs);
    ASSERT_EQ(r.error, "") << c.material;
    EXPECT_EQ(r.params.strengthBasis, c.strengthBasis) << c.material;
    EXPECT_EQ(r.params.limitsBasis, c.limitsBasis) << c.material;
    EXPECT_EQ(designMaterial(inputs).user(), std::string(c.material) == "MySteel") << c.material;
  }
}

// Lines at the three lives: σO = 1200, 1000, 800 MPa at σu = 0 (slope 0).
AnalysisParams userLines() {
  return {.sigmaO0 = 800, .fatigueSlope = 0, .sigmaO0At1e5 = 1200, .fatigueSlopeAt1e5 = 0, .sigmaO0At5e5 = 1000,
          .fatigueSlopeAt5e5 = 0, .userFatigueData = true, .material = ""};  // no material of the table
}

TEST(FatigueLife, FallsAsTheUpperStressGrowsInterpolatedInLogN) {
  struct Case {
    double sigmaO;
    const char* text;
    double cycles;  // 0: not checked
  };
  const Case cases[] = {
      {700, "≥ 2·10⁶", 2e6},
      {800, "≥ 2·10⁶", 2e6},
      {900, "1·10⁶", 1e6},  // halfway in ln N between 5·10⁵ and 2·10⁶: their geometric mean
      {1000, "5·10⁵", 5e5},
      {1100, "2.2·10⁵", std::sqrt(1e5 * 5e5)},
      {1300, "< 1·10⁵", 1e5},
  };
  const AnalysisParams p = userLines();
  double previous = INFINITY;
  for (const Case& c : cases) {
    const FatigueLife life = fatigueLife(p, 0, c.sigmaO);
    EXPECT_EQ(life.text(), c.text) << c.sigmaO;
    EXPECT_NEAR(life.cycles, c.cycles, c.cycles * 1e-9) << c.sigmaO;
    EXPECT_LE(life.cycles, previous) << c.sigmaO;
    previous = life.cycles;
  }
  // Only the line at 2·10⁶ (the shipped default): beyond it the life is unknown, below 2·10⁶.
  EXPECT_EQ(fatigueLife(AnalysisParams{}, 0, 701).text(), "< 2·10⁶");
  EXPECT_FALSE(fatigueLife(AnalysisParams{}, 0, 701).covers(1e5));
}

struct StrokeRun {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window{fields, chart};
  explicit StrokeRun(const char* lambda1f) {
    fields.setText(TextBox::Text11, lambda1f);
    window.command1Click();
  }
};

TEST(FatigueLife, ShorterForALongerStrokeAndPassingWhenLessIsRequired) {
  // The worn lining's stroke A ... A + λ1f, with user lines bracketing its upper stress.
  AnalysisParams p = userLines();
  p.sigmaO0At1e5 = 1400;
  p.sigmaO0At5e5 = 1200;
  p.sigmaO0 = 1000;
  double previous = INFINITY;
  for (const char* stroke : {"1.0", "1.3", "1.6", "1.9"}) {
    StrokeRun run(stroke);
    const SpringAnalysis a = analyseSpring(curveRunOf(run.window, run.fields), p);
    ASSERT_EQ(a.error, "") << stroke;
    const FatigueLife life = a.fatigueWorn.shortestLifePlace().life;
    EXPECT_LT(life.cycles, previous) << stroke;
    previous = life.cycles;
  }
  // The verdict at λ1f = 1.9 for required lives around its estimate.
  StrokeRun run("1.9");
  const SpringAnalysis base = analyseSpring(curveRunOf(run.window, run.fields), p);
  const double estimate = base.fatigueWorn.shortestLifePlace().life.cycles;
  ASSERT_LT(estimate, 2e6);
  for (const auto& [required, pass] : {std::pair{estimate * 2, false}, std::pair{estimate, true}, std::pair{estimate / 2, true}}) {
    p.requiredCycles = required;
    const SpringAnalysis a = analyseSpring(curveRunOf(run.window, run.fields), p);
    const CheckLine worn = checkLines(a, p).back();
    EXPECT_EQ(worn.pass, pass) << required;
    EXPECT_EQ(worn.verdictZh(), std::string(pass ? "通过" : "不通过") + "（用户数据）") << required;
  }
}

TEST(FatigueLife, ExampleDataIsNeverAPlainVerdict) {
  StrokeRun run("1.6");
  for (const char* required : {"2000000", "1000"}) {
    DesignInputs inputs;
    inputs.setExtra("requiredCycles", required);
    const ParamsResult r = analysisParams(inputs);
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.params.userFatigueData);
    const SpringAnalysis a = analyseSpring(curveRunOf(run.window, run.fields), r.params);
    for (const CheckLine& line : checkLines(a, r.params)) {
      if (line.what.rfind("fatigue", 0) != 0) continue;
      EXPECT_EQ(line.verdictZh(), kExampleDataMark);
      EXPECT_EQ(line.verdict(), "example data, not for release");
    }
  }
  // One line of the user's own makes all of it user data; a half-given line is refused.
  DesignInputs own;
  own.setExtra("sigmaO0", "650");
  EXPECT_TRUE(analysisParams(own).params.userFatigueData);
  own.setExtra("sigmaO0At5e5", "900");
  EXPECT_EQ(analysisParams(own).error,
            "sigmaO0At5e5, fatigueSlopeAt5e5: give both numbers of the line at 5e5 cycles, or neither");
}

// The sheet's lines of a check, as both sheets print them: a plain or
// user-data verdict carries its mark, an example verdict never does.
TEST(CheckLineSheet, VerdictLimitAndBasisLines) {
  struct Case {
    bool pass;
    const char* dataMark;
    const char* verdict;
  };
  for (const Case& c : {Case{true, "", "✔ 通过"}, Case{false, "", "✘ 不通过"},
                        Case{false, kUserDataMark, "✘ 不通过（用户数据）"},
                        Case{true, kExampleDataMark, kExampleDataMark}}) {
    CheckLine line;
    line.pass = c.pass;
    line.dataMark = c.dataMark;
    line.limit = "1570.0 MPa";
    line.basis = "[σ]：用户数据";
    EXPECT_EQ(line.markedVerdictZh(), c.verdict) << c.verdict;
    EXPECT_EQ(line.limitLineZh(), "限值 1570.0 MPa");
    EXPECT_EQ(line.basisLineZh(), "依据：[σ]：用户数据");
  }
}

}  // namespace
}  // namespace diaspring
