#pragma once
// The design sheet's last page, which makes it a release document: the
// material with the source of every number, the approval block (设计, 校核,
// 审核, 批准 with names and dates, and the revision) and the notes in full,
// wrapped. And the running head every page of the sheet carries: the part
// number and the revision.

#include <QDate>

class QPainter;

namespace diaspring {

struct SheetInfo;

// Paints the release page on the painter's current page (A4, millimetres
// by the device's resolution).
void paintReleasePage(QPainter& painter, const SheetInfo* info, const QDate& date, int page, int pages,
                      bool inputsEdited);

// Paints "零件号/图号：…    版本：…" in the top margin of the current page.
void paintRunningHead(QPainter& painter, const SheetInfo* info);

}  // namespace diaspring
