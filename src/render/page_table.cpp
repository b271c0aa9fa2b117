#include "render/page_table.h"

#include <algorithm>
#include <utility>

#include "render/page_layout.h"

namespace diaspring {

using namespace sheet;  // the colours

namespace {

constexpr double kRight = kPageLeft + kPageWidth;

}  // namespace

std::vector<TableColumn> tableColumns(std::span<const double> widths, std::span<const Qt::Alignment> aligns,
                                      double pad, double gap) {
  std::vector<TableColumn> columns;
  for (std::size_t c = 0; c < std::min(widths.size(), aligns.size()); ++c)
    columns.push_back({widths[c], aligns[c], pad, gap});
  return columns;
}

TableLine tableLine(std::span<const char* const> texts, double points, bool bold) {
  TableLine line;
  for (const char* text : texts) line.push_back({QString::fromUtf8(text), points, kInk, bold});
  return line;
}

PageTable::PageTable(PageLayout& page, std::vector<TableColumn> columns)
    : page_(page), columns_(std::move(columns)) {}

void PageTable::line(double y, double height, const TableLine& cells) {
  double x = kPageLeft;
  for (std::size_t c = 0; c < std::min(cells.size(), columns_.size()); ++c) {
    const TableColumn& column = columns_[c];
    const TableCell& cell = cells[c];
    if (!cell.text.isEmpty())
      page_.text(x + column.pad, y, column.width - column.gap, height, cell.text, cell.points, cell.color,
                 column.align, cell.bold);
    x += column.width;
  }
}

double PageTable::head(double y, double height, const std::vector<HeadLine>& lines) {
  page_.fill(kPageLeft, y, kPageWidth, height, kHeadFill);
  page_.rule(y, kPageLeft, kRight, kInk, 0.3);
  for (const HeadLine& l : lines) line(y + l.dy, l.height, l.cells);
  y += height;
  page_.rule(y, kPageLeft, kRight, kInk, 0.2);
  return y;
}

double PageTable::rows(double y, double height, const std::vector<TableLine>& rows) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    line(y, height, rows[r]);
    y += height;
    const bool last = r + 1 == rows.size();
    page_.rule(y, kPageLeft, kRight, last ? kInk : kHairline, last ? 0.3 : 0.1);
  }
  return y;
}

void PageTable::columnRules(double top, double bottom) {
  double x = kPageLeft;
  for (std::size_t c = 0; c + 1 < columns_.size(); ++c) {
    x += columns_[c].width;
    page_.vrule(x, top, bottom, kHairline);
  }
}

}  // namespace diaspring
