#pragma once
// The design sheet's page of the production yield, after the analysis's:
// the share of the springs made to the tolerances that meet every
// requirement, each requirement's share with its Wilson interval, and the
// tolerance band and clamp-load band used with their sources.

#include <QDate>

#include "analysis/spring_analysis.h"

class QPainter;

namespace diaspring {

// Paints the page for the curve run and analysis inputs of `input`, as page
// `page` of `pages`; with `inputsEdited` it carries the sheet's red warning.
void paintYieldPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                    bool inputsEdited = false);

}  // namespace diaspring
