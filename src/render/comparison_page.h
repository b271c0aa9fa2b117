#pragma once
// The design sheet's comparison page: the comparison chart with the scatter
// band, the compared curves, the measured curves with their deviations and
// calibration, and the production scatter of the current design.

#include <QDate>

#include "compare/comparison.h"

class QPainter;

namespace diaspring {

// What the page shows: the comparison, its results and the chart's scene
// (the curves shown in the window).
struct ComparisonPage {
  compare::ComparisonInput input;
  compare::ComparisonResult result;
  compare::ComparisonScene scene;
};

// Paints the page on `painter`, whose device is an A4 page (any resolution),
// marked as page `page` of the sheet's `pages`; `inputsEdited`: the boxes
// were edited since the curve run (the page then says so at its top, as the
// sheet's other pages do).
void paintComparisonPage(QPainter& painter, const ComparisonPage& comparison, const QDate& date, int page, int pages,
                         bool inputsEdited = false);

}  // namespace diaspring
