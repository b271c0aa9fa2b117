#include "label_fit.h"

#include <QFontInfo>
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

QFont fittingFont(const QString& text, const QFont& base, QSize box) {
  if (captionFits(text, base, box)) return base;
  const int basePixels = QFontInfo(base).pixelSize();
  QFont font = base;
  for (int pixels = basePixels; pixels >= basePixels - 3 && pixels > 0; --pixels) {
    for (int stretch : {100, 95, 90}) {
      font.setPixelSize(pixels);
      font.setStretch(stretch);
      if (captionFits(text, font, box)) return font;
    }
  }
  return font;
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

void fitCaption(QLabel& label) {
  const int covered = coveredWidth(label);
  label.setContentsMargins(0, 0, covered, 0);
  const QSize visible(label.width() - covered, label.height());
  label.setFont(fittingFont(label.text(), label.parentWidget()->font(), visible));
}

}  // namespace diaspring::app
