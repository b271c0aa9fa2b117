#pragma once
// The design sheet's pages after the first, each painted on the painter's
// current page, whose device is an A4 page (any resolution), marked as page
// `page` of the sheet's `pages`; with `inputsEdited` a page carries the same
// red warning as the first: its run's inputs were edited since. The
// comparison page, with what it shows, is in render/comparison_page.h.

#include <QDate>

#include "analysis/spring_analysis.h"

class QPainter;

namespace diaspring {

struct SheetInfo;

// The strength and release analysis of the curve run, with its two charts,
// the table of the six points, the release strokes and the checks.
void paintAnalysisPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                       bool inputsEdited = false);

// The production yield, after the analysis's page: the share of the springs
// made to the tolerances that meet every requirement, each requirement's
// share with its Wilson interval, and the tolerance band and clamp-load band
// used with their sources.
void paintYieldPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                    bool inputsEdited = false);

// The last page, which makes the sheet a release document: the material
// with the source of every number, the approval block (设计, 校核, 审核,
// 批准 with names and dates, and the revision) and the notes in full,
// wrapped.
void paintReleasePage(QPainter& painter, const SheetInfo* info, const QDate& date, int page, int pages,
                      bool inputsEdited);

// The running head every page of the sheet carries: "零件号/图号：…    版本：…"
// in the top margin of the current page.
void paintRunningHead(QPainter& painter, const SheetInfo* info);

}  // namespace diaspring
