#include "render/yield_page.h"

#include <QPainter>

#include "compare/production_yield.h"
#include "render/page_layout.h"
#include "render/sheet_style.h"

namespace diaspring {
namespace {

using namespace sheet;  // the colours

constexpr double kLeft = kPageLeft, kWidth = kPageWidth, kBottom = kPageBottom;

QString qs(const std::string& s) { return QString::fromStdString(s); }
QString u8(const char* s) { return QString::fromUtf8(s); }

// A table of text: a header row, then one row each, columns of `widths` mm.
template <std::size_t N>
double table(PageLayout& l, double y, const double (&widths)[N], const char* const (&header)[N],
             const std::vector<std::array<std::string, N>>& rows, const std::array<Qt::Alignment, N>& align,
             std::size_t boldRows, double lastColumnPoints) {
  constexpr double kHead = 5.6, kRow = 4.8;
  l.fill(kLeft, y, kWidth, kHead, kHeadFill);
  l.rule(y, kLeft, kLeft + kWidth, kInk, 0.3);
  double x = kLeft;
  for (std::size_t c = 0; c < N; ++c) {
    l.text(x + 1.2, y, widths[c] - 2.4, kHead, u8(header[c]), 8.4, kInk, align[c], true);
    x += widths[c];
  }
  y += kHead;
  l.rule(y, kLeft, kLeft + kWidth, kInk, 0.2);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    x = kLeft;
    for (std::size_t c = 0; c < N; ++c) {
      l.text(x + 1.2, y, widths[c] - 2.4, kRow, qs(rows[r][c]), c + 1 == N ? lastColumnPoints : 8.4,
             kInk, align[c], r < boldRows);
      x += widths[c];
    }
    y += kRow;
    l.rule(y, kLeft, kLeft + kWidth, r + 1 < rows.size() ? kHairline : kInk, r + 1 < rows.size() ? 0.1 : 0.3);
  }
  return y;
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

  y = l.heading(y, u8(compare::yield_sheet::kRequirementsHeading));
  std::vector<std::array<std::string, 4>> requirements;
  for (const compare::YieldRow& r : compare::yieldRows(*yield, true))
    requirements.push_back({r.requirement, r.share, r.interval, r.count});
  constexpr double kRequirementWidths[] = {82, 26, 40, 30};
  y = table(l, y, kRequirementWidths, compare::yield_sheet::kRequirementColumns, requirements,
            {Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight}, 1, 8.4);
  y += 6;

  y = l.heading(y, u8(compare::yield_sheet::kTolerancesHeading));
  std::vector<std::array<std::string, 4>> tolerances;
  for (const compare::ToleranceRow& r : compare::toleranceRows(*yield, true))
    tolerances.push_back({r.symbol, r.nominal, r.tolerance, r.source});
  constexpr double kToleranceWidths[] = {14, 30, 30, 104};
  y = table(l, y, kToleranceWidths, compare::yield_sheet::kToleranceColumns, tolerances,
            {Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft}, 0, 7.4);
  y += 4;
  l.wrapped(kLeft, y, kWidth, kBottom, u8(compare::yield_sheet::kFootnote), 7.6, kMuted);
}

}  // namespace diaspring
