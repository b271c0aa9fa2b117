#include "render/sheet_pages.h"

#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "check/sheet_contents.h"
#include "render/chart_painter.h"
#include "render/design_sheet.h"
#include "render/page_layout.h"
#include "render/page_table.h"
#include "render/sheet_style.h"

namespace diaspring {
namespace {

using namespace sheet;  // the colours

constexpr double kLeft = kPageLeft, kWidth = kPageWidth, kBottom = kPageBottom;

QString u8(const char* s) { return QString::fromUtf8(s); }
QString u8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void paintRunningHead(QPainter& painter, const SheetInfo* info) {
  if (info == nullptr) return;
  const std::string head = sheet_text::runningHead(info->partNumber.toStdString(), info->revision.toStdString());
  if (head.empty()) return;
  PageLayout layout(painter);
  layout.text(kLeft, 5.0, kWidth, 4.4, u8(head), 8, kMuted, Qt::AlignRight, true);
}

void paintReleasePage(QPainter& painter, const SheetInfo* info, const QDate& date, int page, int pages,
                      bool inputsEdited) {
  PageLayout l(painter);
  double y = l.pageHead(u8(sheet_text::kTitle) + QStringLiteral(" · ") + u8(sheet_text::kReleaseTitle),
                        date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : u8(sheet_text::kDash), page,
                        pages, inputsEdited);
  const auto labelled = [&](const char* label, const QString& value) {
    l.text(kLeft, y, 32, 5, u8(label), 9, kMuted);
    l.text(kLeft + 32, y, kWidth - 32, 5, value.simplified().isEmpty() ? u8(sheet_text::kDash) : value.simplified(), 9,
           kInk, Qt::AlignLeft, true);
    y += 5.4;
  };
  labelled(sheet_text::kProjectLabel, info != nullptr ? info->project : QString());
  labelled(sheet_text::kPartLabel, info != nullptr ? info->partNumber : QString());
  labelled(sheet_text::kRevisionLabel, info != nullptr ? info->revision : QString());
  if (info != nullptr && !info->fileName.isEmpty()) labelled(sheet_text::kFileLabel, info->fileName);
  y += 3;

  y = l.heading(y, u8(sheet_text::kMaterialHeading));
  const QStringList material = info != nullptr ? info->material : QStringList();
  for (qsizetype i = 0; i < material.size(); ++i)
    y = l.wrapped(kLeft + 2, y, kWidth - 2, kBottom, material[i], i == 0 ? 9.5 : 8.4, i == 0 ? kInk : kMuted) + 0.8;
  y += 4;

  // The approval block: one row a role, with room to sign.
  y = l.heading(y, u8(sheet_text::kApprovalHeading));
  constexpr double widths[] = {24, 56, 40, 58};
  constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft};
  PageTable table(l, tableColumns(widths, aligns, 1.6, 3.2));
  const double top = y;
  y = table.head(y, 6, tableLine(sheet_text::kApprovalColumns, 9, true));
  std::vector<TableLine> rows;
  for (std::size_t r = 0; r < sheet_text::kApprovalRoles.size(); ++r) {
    const QString name = info != nullptr ? info->signers[r].simplified() : QString();
    const QString when = info != nullptr ? info->signDates[r].simplified() : QString();
    rows.push_back({{u8(sheet_text::kApprovalRoles[r]), 9.5, kInk, true}, {name, 9.5}, {when, 9.5}});
  }
  y = table.rows(y, 9, rows);
  table.columnRules(top, y);
  y += 6;

  // The notes in full.
  y = l.heading(y, u8(sheet_text::kNotesHeading));
  const QString notes = info != nullptr ? info->notes.trimmed() : QString();
  l.wrapped(kLeft + 2, y, kWidth - 2, kBottom, notes.isEmpty() ? u8(sheet_text::kNoNotes) : notes, 9, kInk);
}

}  // namespace diaspring
