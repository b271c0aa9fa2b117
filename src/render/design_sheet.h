#pragma once
// The design sheet: one A4 page in Chinese for a design report, with the
// inputs (symbols, values, units), the chart, the six characteristic points,
// the twelve rules with their captions, values and verdicts (failed rules
// stand out), and the date.

#include <QDate>
#include <QString>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/fields.h"

namespace diaspring {

// Writes the sheet as a PDF from what the window shows: the texts of its
// boxes and its chart. Rules not yet checked are shown as such. On failure
// returns false and says why in `error` (in Chinese, naming the file).
// With `analysis`, a second page shows the strength and release analysis
// of that curve run (render/analysis_page.h).
bool writeDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path, QString* error,
                      const QDate& date = QDate::currentDate(), const AnalysisInput* analysis = nullptr);

}  // namespace diaspring
