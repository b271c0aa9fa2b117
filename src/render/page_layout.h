#pragma once
// The painter of the design sheet's further pages (analysis, comparison,
// release): boxes, texts, rules and charts placed in millimetres on an A4
// page, on any device resolution, in the sheet's one palette.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include "render/chart_painter.h"

class QPainter;

namespace diaspring {

class DisplayList;

// The text column of those pages, in millimetres.
inline constexpr double kPageLeft = 16.0, kPageWidth = 178.0, kPageTop = 12.0, kPageBottom = 285.0;

class PageLayout {
 public:
  explicit PageLayout(QPainter& painter);

  QRectF box(double x, double y, double w, double h) const { return {x * unit_, y * unit_, w * unit_, h * unit_}; }
  QFont font(double points, bool bold = false) const;
  // One line, cut with an ellipsis when it does not fit.
  void text(double x, double y, double w, double h, const QString& s, double points, const QColor& color,
            Qt::Alignment align = Qt::AlignLeft, bool bold = false);
  // Text wrapped to the width, between words and Chinese characters, down
  // to `bottom` at most; returns the y below it.
  double wrapped(double x, double y, double w, double bottom, const QString& s, double points, const QColor& color);
  void fill(double x, double y, double w, double h, const QColor& color);
  void rule(double y, double x1, double x2, const QColor& color, double widthMm = 0.2);
  void vrule(double x, double y1, double y2, const QColor& color, double widthMm = 0.1);
  // A section heading across the text column with an accent bar; returns
  // the y below it.
  double heading(double y, const QString& title);
  // The head of a page: the title, the date (as shown) and the page mark on
  // the right, an accent rule, and the red note when the inputs were edited
  // since the run; returns the y below it.
  double pageHead(const QString& title, const QString& date, int page, int pages, bool inputsEdited);
  // A chart from its display list, framed.
  void chart(double x, double y, double w, double h, const DisplayList& list,
             const ChartStyle& style = ChartStyle::smooth());

 private:
  QPainter& p_;
  double unit_;
};

}  // namespace diaspring
