#include "caption_button.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <QTextOption>

namespace diaspring::app {

QString wrapCaption(const QString& text, const QFont& font, double width) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength());
  }
  layout.endLayout();
  return lines.join(QLatin1Char('\n'));
}

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(parent), caption_(caption) {
  rewrap();
}

void CaptionButton::setCaption(const QString& caption) {
  caption_ = caption;
  rewrap();
}

void CaptionButton::resizeEvent(QResizeEvent* event) {
  QPushButton::resizeEvent(event);
  rewrap();
}

void CaptionButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) rewrap();
}

void CaptionButton::rewrap() {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  const double available = std::max(1, width() - margin - 2 * frame);
  setText(wrapCaption(caption_, font(), available));
}

}  // namespace diaspring::app
