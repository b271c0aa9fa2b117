#pragma once
// The colours of the design sheet's pages, one palette for all of them, and
// the mark that numbers them.

#include <QColor>
#include <QString>

#include "check/sheet_contents.h"

namespace diaspring::sheet {

inline const QColor kInk(0x1A, 0x1A, 0x1A);
inline const QColor kAccent(0x1F, 0x3A, 0x5F);
inline const QColor kMuted(0x6B, 0x6B, 0x6B);
inline const QColor kHairline(0xCF, 0xCF, 0xCF);
inline const QColor kHeadFill(0xEC, 0xF0, 0xF5);
inline const QColor kFailInk(0xC6, 0x28, 0x28);
inline const QColor kFailFill(0xFD, 0xE8, 0xE8);
inline const QColor kPassInk(0x2E, 0x7D, 0x32);
inline const QColor kUncheckedInk(0x8C, 0x8C, 0x8C);
// A verdict on example data: neither a pass nor a fail.
inline const QColor kExampleInk(0xB3, 0x59, 0x00);

// "第 1 页 共 2 页": the page's number and how many the sheet has.
inline QString pageMark(int page, int pages) {
  return QString::fromUtf8(sheet_text::kPageMark).arg(page).arg(pages);
}

}  // namespace diaspring::sheet
