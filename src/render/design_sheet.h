#pragma once
// The design sheet: one A4 page in Chinese for a design report, with the
// inputs (symbols, values, units), the chart, the six characteristic points,
// the twelve rules with their captions, values and verdicts (failed rules
// stand out), and the date.

#include <array>
#include <optional>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "check/sheet_contents.h"
#include "form/fields.h"
#include "render/write_failure.h"

namespace diaspring {
struct ComparisonPage;
}

class QPagedPaintDevice;
class QPainter;

namespace diaspring {

// The sheet is laid out for a page of this many dots per inch.
inline constexpr int kSheetResolution = 300;

// The warning at the top of a sheet whose inputs were edited after its run.
inline constexpr const char* kInputsEditedWarning = sheet_text::kInputsEdited;

// What the title block says about the design besides the date: its
// project, part or drawing number, designer and notes, and the design
// file's name. Nothing is shown for an empty member.
struct SheetInfo {
  QString project, partNumber, designer, notes, fileName;
  bool empty() const {
    return project.isEmpty() && partNumber.isEmpty() && designer.isEmpty() && notes.isEmpty() && fileName.isEmpty();
  }
  // The release (the sheet's last page and the running head of every page):
  // the revision, the names and dates of 设计 (the designer), 校核, 审核 and
  // 批准, and the material's lines (materialSheetLines).
  QString revision{};
  std::array<QString, 4> signers{}, signDates{};
  QStringList material{};
};

// The sheet as the bytes of a PDF, from the texts of `fields` and the chart.
// With `info`, its last page is the release page (render/sheet_pages.h)
// and every page carries the part number and revision at its head.
// Rules not yet checked are shown as such. A window passes the boxes of its
// last run (WindowLogic::lastRunFields()) and, when its boxes were edited
// since (WindowLogic::inputsEditedSinceRun()), `inputsEdited`: the sheet
// then carries kInputsEditedWarning in red at its top. With `analysis`, a
// second page shows the strength and release analysis of that curve run
// and a third its production yield (render/sheet_pages.h); with
// `comparison`, a last page shows the
// comparison of curves (render/comparison_page.h). Nothing when the pages
// could not be made.
std::optional<QByteArray> designSheetPdf(const Fields& fields, const DisplayList& chart,
                                         const QDate& date = QDate::currentDate(),
                                         const AnalysisInput* analysis = nullptr, bool inputsEdited = false,
                                           const SheetInfo* info = nullptr,
                                         const ComparisonPage* comparison = nullptr);

// Writes that PDF to `path` whole or not at all; the failure names the file
// and the reason.
std::optional<SaveFailure> saveDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path,
                                           const QDate& date = QDate::currentDate(),
                                           const AnalysisInput* analysis = nullptr, bool inputsEdited = false,
                                           const SheetInfo* info = nullptr,
                                           const ComparisonPage* comparison = nullptr);

// The same for the window: on failure false, with the reason in Chinese in
// `error`.
bool writeDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path, QString* error,
                      const QDate& date = QDate::currentDate(), const AnalysisInput* analysis = nullptr,
                      bool inputsEdited = false, const SheetInfo* info = nullptr,
                      const ComparisonPage* comparison = nullptr);

// Paints the same sheet with `painter` on `device`, whose pages are A4 at
// kSheetResolution dots per inch from the paper's corner: a printer set to
// that resolution and to full-page printing, for example. False when the
// device refused the second page.
bool paintDesignSheet(QPainter& painter, QPagedPaintDevice& device, const Fields& fields, const DisplayList& chart,
                      const QDate& date, const AnalysisInput* analysis, bool inputsEdited,
                      const SheetInfo* info = nullptr,
                      const ComparisonPage* comparison = nullptr);

}  // namespace diaspring
