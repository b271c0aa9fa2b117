#include "render/sheet_pages.h"

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <QPainter>

#include "compare/production_yield.h"
#include "render/page_layout.h"
#include "render/page_table.h"
#include "render/sheet_style.h"

namespace diaspring {
namespace {

using namespace sheet;  // the colours

constexpr double kLeft = kPageLeft, kWidth = kPageWidth, kBottom = kPageBottom;

QString qs(const std::string& s) { return QString::fromStdString(s); }
QString u8(const char* s) { return QString::fromUtf8(s); }

// One of the page's tables: its heading, column heads, widths and
// alignments, its rows (the first `boldRows` of them bold), the size of its
// last column's texts and the space below it.
struct Section {
  const char* heading;
  std::span<const char* const> header;
  std::array<double, 4> widths;
  std::array<Qt::Alignment, 4> aligns;
  std::vector<std::array<std::string, 4>> rows;
  std::size_t boldRows;
  double lastColumnPoints, below;
};

double paintSection(PageLayout& l, double y, const Section& s) {
  constexpr double kHead = 5.6, kRow = 4.8, kPoints = 8.4;
  y = l.heading(y, u8(s.heading));
  PageTable table(l, tableColumns(s.widths, s.aligns, 1.2, 2.4));
  y = table.head(y, kHead, tableLine(s.header, kPoints, true));
  std::vector<TableLine> rows;
  for (std::size_t r = 0; r < s.rows.size(); ++r) {
    TableLine& line = rows.emplace_back();
    for (std::size_t c = 0; c < s.rows[r].size(); ++c)
      line.push_back({qs(s.rows[r][c]), c + 1 == s.rows[r].size() ? s.lastColumnPoints : kPoints, kInk,
                      r < s.boldRows});
  }
  return table.rows(y, kRow, rows) + s.below;
}

}  // namespace

void paintYieldPage(QPainter& painter, const AnalysisInput& input, const QDate& date, int page, int pages,
                    bool inputsEdited) {
  PageLayout l(painter);
  double y = l.pageHead(u8(compare::yield_sheet::kTitle), date.toString(QStringLiteral("yyyy-MM-dd")), page, pages,
                        inputsEdited);
  const std::optional<compare::ProductionYield> yield =
      compare::productionYieldOf(input, compare::kDefaultSamples, compare::kDefaultSeed);
  if (!yield) {
    l.text(kLeft, y, kWidth, 6, u8(compare::yield_sheet::kCannot), 10, kFailInk);
    return;
  }
  l.text(kLeft, y, kWidth, 6.5, qs(compare::yield_sheet::headline(*yield)), 12, kAccent, Qt::AlignLeft, true);
  y += 7.5;
  y = l.wrapped(kLeft, y, kWidth, kBottom, qs(compare::yieldBasisText(*yield, true)), 8.6, kInk) + 4;

  std::vector<std::array<std::string, 4>> requirements, tolerances;
  for (const compare::YieldRow& r : compare::yieldRows(*yield, true))
    requirements.push_back({r.requirement, r.share, r.interval, r.count});
  for (const compare::ToleranceRow& r : compare::toleranceRows(*yield, true))
    tolerances.push_back({r.symbol, r.nominal, r.tolerance, r.source});
  using namespace compare::yield_sheet;
  constexpr Qt::Alignment kL = Qt::AlignLeft, kR = Qt::AlignRight;
  const Section sections[] = {
      {kRequirementsHeading, kRequirementColumns, {82, 26, 40, 30}, {kL, kR, kR, kR}, std::move(requirements),
       1, 8.4, 6},
      {kTolerancesHeading, kToleranceColumns, {14, 30, 30, 104}, {kL, kR, kR, kL}, std::move(tolerances),
       0, 7.4, 4},
  };
  for (const Section& section : sections) y = paintSection(l, y, section);
  l.wrapped(kLeft, y, kWidth, kBottom, u8(compare::yield_sheet::kFootnote), 7.6, kMuted);
}

}  // namespace diaspring
