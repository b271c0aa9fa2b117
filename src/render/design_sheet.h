#pragma once
// The design sheet: one A4 page in Chinese for a design report, with the
// inputs (symbols, values, units), the chart, the six characteristic points,
// the twelve rules with their captions, values and verdicts (failed rules
// stand out), and the date.

#include <optional>

#include <QByteArray>
#include <QDate>
#include <QString>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/fields.h"
#include "render/write_failure.h"

namespace diaspring {

// The sheet as the bytes of a PDF, from what the window shows: the texts of
// its boxes and its chart. Rules not yet checked are shown as such. With
// `analysis`, a second page shows the strength and release analysis of that
// curve run (render/analysis_page.h). Nothing when the pages could not be
// made.
std::optional<QByteArray> designSheetPdf(const Fields& fields, const DisplayList& chart,
                                         const QDate& date = QDate::currentDate(),
                                         const AnalysisInput* analysis = nullptr);

// Writes that PDF to `path` whole or not at all; the failure names the file
// and the reason.
std::optional<SaveFailure> saveDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path,
                                           const QDate& date = QDate::currentDate(),
                                           const AnalysisInput* analysis = nullptr);

// The same for the window: on failure false, with the reason in Chinese in
// `error`.
bool writeDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path, QString* error,
                      const QDate& date = QDate::currentDate(), const AnalysisInput* analysis = nullptr);

}  // namespace diaspring
