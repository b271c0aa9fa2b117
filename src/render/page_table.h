#pragma once
// The tables of the design sheet's further pages, across the text column:
// columns of given widths and alignments, a head row on the pale fill
// between a heavy rule above and a rule below, body rows with hairlines
// between them and a heavy rule under the last; each cell's text in its own
// size, colour and weight.

#include <span>
#include <vector>

#include <QColor>
#include <QString>

#include "render/sheet_style.h"

namespace diaspring {

class PageLayout;

struct TableColumn {
  double width;  // mm; the columns fill the text column
  Qt::Alignment align = Qt::AlignLeft;
  // The cell's text stands `pad` mm in from the column's left edge, in a box
  // `gap` mm narrower than the column.
  double pad = 0, gap = 0;
};

// Columns of `widths` aligned as `aligns` (one each), all with the same pad and gap.
std::vector<TableColumn> tableColumns(std::span<const double> widths, std::span<const Qt::Alignment> aligns,
                                      double pad, double gap);

struct TableCell {
  QString text;
  double points = 0;
  QColor color = sheet::kInk;
  bool bold = false;
};

// The cells of one line, from the first column on; a shorter line leaves
// the last columns empty, a longer one loses the cells beyond them. An
// empty cell paints nothing.
using TableLine = std::vector<TableCell>;

// A line of cells of UTF-8 `texts`, each in `points`, in ink.
TableLine tableLine(std::span<const char* const> texts, double points, bool bold = false);

// A line of the head row: its cells `dy` mm below the row's top, `height` mm high.
struct HeadLine {
  TableLine cells;
  double dy = 0, height = 0;
};

class PageTable {
 public:
  PageTable(PageLayout& page, std::vector<TableColumn> columns);

  // The head row of `height` mm with its lines; returns the y below it.
  double head(double y, double height, const std::vector<HeadLine>& lines);
  // A head row of one line filling it.
  double head(double y, double height, const TableLine& cells) { return head(y, height, {{cells, 0, height}}); }
  // Body rows of `height` mm each; returns the y below the last.
  double rows(double y, double height, const std::vector<TableLine>& rows);
  // Hairlines between the columns, from `top` to `bottom`.
  void columnRules(double top, double bottom);

 private:
  void line(double y, double height, const TableLine& cells);

  PageLayout& page_;
  std::vector<TableColumn> columns_;
};

}  // namespace diaspring
