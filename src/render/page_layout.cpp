#include "render/page_layout.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "check/sheet_contents.h"
#include "chart/display_list.h"
#include "render/sheet_style.h"

namespace diaspring {

using namespace sheet;  // the colours

PageLayout::PageLayout(QPainter& painter) : p_(painter), unit_(painter.device()->logicalDpiX() / 25.4) {}

QFont PageLayout::font(double points, bool bold) const {
  QFont f(ChartStyle::defaultChartFont().family());
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

void PageLayout::text(double x, double y, double w, double h, const QString& s, double points, const QColor& color,
                      Qt::Alignment align, bool bold) {
  p_.setFont(font(points, bold));
  p_.setPen(color);
  const QRectF r = box(x, y, w, h);
  const QString shown = QFontMetricsF(p_.font(), p_.device()).elidedText(s, Qt::ElideRight, r.width());
  p_.drawText(r, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

double PageLayout::wrapped(double x, double y, double w, double bottom, const QString& s, double points,
                           const QColor& color) {
  p_.setFont(font(points));
  p_.setPen(color);
  const int flags = static_cast<int>(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  const QRectF area = box(x, y, w, bottom - y);
  const QRectF needed = p_.boundingRect(area, flags, s);
  p_.drawText(area, flags, s);
  return y + std::min(needed.height(), area.height()) / unit_;
}

void PageLayout::fill(double x, double y, double w, double h, const QColor& color) {
  p_.fillRect(box(x, y, w, h), color);
}

void PageLayout::rule(double y, double x1, double x2, const QColor& color, double widthMm) {
  p_.setPen(QPen(color, widthMm * unit_));
  p_.drawLine(QPointF(x1 * unit_, y * unit_), QPointF(x2 * unit_, y * unit_));
}

void PageLayout::vrule(double x, double y1, double y2, const QColor& color, double widthMm) {
  p_.setPen(QPen(color, widthMm * unit_));
  p_.drawLine(QPointF(x * unit_, y1 * unit_), QPointF(x * unit_, y2 * unit_));
}

double PageLayout::heading(double y, const QString& title) {
  fill(kPageLeft, y + 0.9, 1.1, 3.8, kAccent);
  text(kPageLeft + 2.6, y, kPageWidth - 2.6, 5.6, title, 10.5, kAccent, Qt::AlignLeft, true);
  return y + 6.6;
}

void PageLayout::chart(double x, double y, double w, double h, const DisplayList& list, const ChartStyle& style) {
  p_.save();
  ChartPainter(style).paint(p_, box(x, y, w, h), list);
  p_.restore();
  p_.setPen(QPen(kInk, 0.15 * unit_));
  p_.setBrush(Qt::NoBrush);
  p_.drawRect(box(x, y, w, h));
}

double PageLayout::pageHead(const QString& title, const QString& date, int page, int pages, bool inputsEdited) {
  double y = kPageTop;
  text(kPageLeft, y, kPageWidth, 8, title, 15, kInk, Qt::AlignLeft, true);
  text(kPageLeft, y, kPageWidth, 4.6, date, 9, kMuted, Qt::AlignRight);
  text(kPageLeft, y + 4.4, kPageWidth, 4.0, pageMark(page, pages), 8, kMuted, Qt::AlignRight);
  y += 9;
  rule(y, kPageLeft, kPageLeft + kPageWidth, kAccent, 0.5);
  y += 3;
  if (inputsEdited) {
    fill(kPageLeft, y, kPageWidth * 0.72, 5.6, kFailFill);
    text(kPageLeft, y, kPageWidth * 0.72, 5.6, QString::fromUtf8(sheet_text::kInputsEdited), 10, kFailInk,
         Qt::AlignHCenter, true);
    y += 8;
  }
  return y;
}

}  // namespace diaspring
