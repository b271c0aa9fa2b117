#pragma once
// The design sheet: one A4 page in Chinese for a design report, with the
// inputs (symbols, values, units), the chart, the six characteristic points,
// the twelve rules with their captions, values and verdicts (failed rules
// stand out), and the date.

#include <QDate>
#include <QString>

#include "chart/display_list.h"
#include "form/fields.h"

class QPainter;

namespace diaspring {

// The sheet is laid out for a page of this many dots per inch.
inline constexpr int kSheetResolution = 300;

// The warning at the top of a sheet whose inputs were edited after its run.
inline constexpr const char* kInputsEditedWarning = "输入已修改，本报告基于上次计算的输入";

// Writes the sheet as a PDF from the texts of `fields` and the chart. Rules
// not yet checked are shown as such. A window passes the boxes of its last
// run (WindowLogic::lastRunFields()) and, when its boxes were edited since
// (WindowLogic::inputsEditedSinceRun()), `inputsEdited`: the sheet then
// carries kInputsEditedWarning in red at its top. On failure returns false
// and says why in `error` (in Chinese, naming the file).
bool writeDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path, QString* error,
                      const QDate& date = QDate::currentDate(), bool inputsEdited = false);

// Paints the same sheet with `painter` on a device showing an A4 page at
// kSheetResolution dots per inch from the paper's corner: a printer set to
// that resolution and to full-page printing, for example.
void paintDesignSheet(QPainter& painter, const Fields& fields, const DisplayList& chart, const QDate& date,
                      bool inputsEdited);

}  // namespace diaspring
