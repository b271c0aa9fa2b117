#include "search/strength_goals.h"

#include <limits>

#include "analysis/spring_analysis.h"

namespace diaspring::search {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

SpringModel modelOf(const DesignView& view, const AnalysisParams& params) {
  CurveRun run;
  run.design = springDesignOf(view);
  run.lambda1f = view.clutch.lambda1f;
  run.rf = view.clutch.rf;
  return SpringModel(run, params);
}

}  // namespace

std::string addStrengthGoals(Options& options, const DesignInputs& base) {
  const ParamsResult read = analysisParams(base);
  if (!read.error.empty()) return read.error;
  const AnalysisParams params = read.params;
  // A spring the analysis cannot take (e.g. the bearing outside the inner
  // radius) has no stress: it ranks last and fails the check.
  options.extraObjectives.push_back({kSigmaIObjective, [params](const DesignView& view) {
                                       const SpringModel model = modelOf(view, params);
                                       return model.problem().empty() ? releaseSigmaImax(model) : kInfinity;
                                     }});
  options.constraints.push_back({kSigmaIConstraint, [params](const DesignView& view) -> std::optional<double> {
                                   const SpringModel model = modelOf(view, params);
                                   if (!model.problem().empty()) return kInfinity;
                                   const double excess = staticSigmaImax(model) - params.sigmaAllow;
                                   if (excess > 0) return excess;
                                   return std::nullopt;
                                 },
                                 params.sigmaAllow, kSigmaIConstraintZh, "MPa"});
  return {};
}

}  // namespace diaspring::search
