#pragma once
// The strength and release analysis as a section of the readable report.

#include <string>

#include "analysis/spring_analysis.h"

namespace diaspring::cli {

// "Strength and release (强度与分离特性)" with the table of the six points,
// the two release strokes and the checks with pass/fail; the analysis's
// error on one line when it could not be made. Ends in a line end.
std::string renderAnalysisReport(const SpringAnalysis& analysis, const AnalysisParams& params);

}  // namespace diaspring::cli
