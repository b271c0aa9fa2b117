#pragma once
// The second page of the design sheet: the strength and release analysis of
// the curve run, with its two charts, the table of the six points, the
// release strokes and the checks.

#include <QDate>

#include "analysis/spring_analysis.h"

class QPainter;

namespace diaspring {

// Paints the page on `painter`, whose device is an A4 page (any resolution),
// marked as page `page` of the sheet's `pages`. With `inputsEdited` the page
// carries the same red warning as the first: its run's inputs were edited since.
void paintAnalysisPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                       bool inputsEdited = false);

}  // namespace diaspring
