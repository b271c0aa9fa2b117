#include "label_fit.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QLabel>
#include <QTextLayout>
#include <QTextOption>

namespace diaspring::app {

bool captionFits(const QString& text, const QFont& font, QSize box) {
  constexpr double kDescentAllowance = 1.5;
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  double height = 0;
  bool fits = true;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(box.width());
    if (line.naturalTextWidth() > box.width() + 0.01) fits = false;
    height += line.height();
  }
  layout.endLayout();
  return fits && height <= box.height() + kDescentAllowance;
}

namespace {

// `base` where `fits` accepts it; otherwise the largest narrower or smaller
// variant it accepts (the smallest tried when it accepts none).
template <class Fits>
QFont firstFitting(const QFont& base, Fits&& fits) {
  if (fits(base)) return base;
  const int basePixels = QFontInfo(base).pixelSize();
  QFont font = base;
  for (int pixels = basePixels; pixels >= basePixels - 3 && pixels > 0; --pixels) {
    for (int stretch : {100, 95, 90}) {
      font.setPixelSize(pixels);
      font.setStretch(stretch);
      if (fits(font)) return font;
    }
  }
  return font;
}

}  // namespace

QFont fittingFont(const QString& text, const QFont& base, QSize box) {
  return firstFitting(base, [&](const QFont& font) { return captionFits(text, font, box); });
}

int lineTextWidth(const QLineEdit& edit) {
  // As the line edit lays out its text: the style's contents rectangle
  // inside the frame, less the text margins and its own fixed margin of
  // two pixels a side.
  constexpr int kLineEditMargin = 2;
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
  const QMargins margins = edit.textMargins();
  return contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin;
}

QFont fittingLineFont(const QString& text, const QFont& base, int width) {
  return firstFitting(base, [&](const QFont& font) { return QFontMetricsF(font).horizontalAdvance(text) <= width; });
}

void fitBoxText(QLineEdit& edit) {
  edit.setFont(fittingLineFont(edit.text(), edit.parentWidget()->font(), lineTextWidth(edit)));
}

int coveredWidth(const QLabel& label) {
  const QWidget* parent = label.parentWidget();
  if (parent == nullptr) return 0;
  const QRect own = label.geometry();
  int visibleRight = own.right() + 1;
  bool after = false;
  for (const QObject* child : parent->children()) {
    if (child == &label) {
      after = true;
      continue;
    }
    const auto* w = qobject_cast<const QWidget*>(child);
    // Labels draw no background: only controls stacked above hide the caption.
    if (!after || w == nullptr || qobject_cast<const QLabel*>(w) != nullptr) continue;
    const QRect other = w->geometry();
    if (other.intersects(own) && other.left() > own.left()) visibleRight = std::min(visibleRight, other.left());
  }
  return own.right() + 1 - visibleRight;
}

int crowdedLeft(const QLabel& label) {
  constexpr int kClearance = 2;
  const QWidget* parent = label.parentWidget();
  if (parent == nullptr) return 0;
  const QRect own = label.geometry();
  int margin = 0;
  for (const QObject* child : parent->children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (w == nullptr || w == &label || qobject_cast<const QLabel*>(w) != nullptr) continue;
    const QRect other = w->geometry();
    const bool beside = other.top() <= own.bottom() && other.bottom() >= own.top();
    const int end = other.right() + 1;  // the first column right of the control
    if (beside && other.left() < own.left() && end >= own.left() && end < own.right())
      margin = std::max(margin, end + kClearance - own.left());
  }
  return margin;
}

void fitCaption(QLabel& label) {
  const int covered = coveredWidth(label);
  const int crowded = crowdedLeft(label);
  label.setContentsMargins(crowded, 0, covered, 0);
  const QSize visible(label.width() - covered - crowded, label.height());
  label.setFont(fittingFont(label.text(), label.parentWidget()->font(), visible));
}

}  // namespace diaspring::app
