#include "slider_bar.h"

#include <QKeyEvent>
#include <QProxyStyle>

namespace diaspring::app {
namespace {

// A click in the track steps by one instead of jumping to the clicked place,
// whatever the platform style would do; no "scroll here" menu.
class SliderStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ScrollBar_LeftClickAbsolutePosition ||
        hint == QStyle::SH_ScrollBar_MiddleClickAbsolutePosition || hint == QStyle::SH_ScrollBar_ContextMenu)
      return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

SliderBar::SliderBar(int minimum, int maximum, int value, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), style_(new SliderStyle) {
  style_->setParent(this);
  setStyle(style_);
  setRange(minimum, maximum);
  setValue(value);
  setSingleStep(1);
  setPageStep(1);
  setTracking(false);
  setFocusPolicy(Qt::StrongFocus);
  setContextMenuPolicy(Qt::NoContextMenu);
}

void SliderBar::keyPressEvent(QKeyEvent* event) {
  SliderAction action = SliderNoAction;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: action = SliderSingleStepSub; break;
    case Qt::Key_Right:
    case Qt::Key_Down: action = SliderSingleStepAdd; break;
    case Qt::Key_PageUp: action = SliderPageStepSub; break;
    case Qt::Key_PageDown: action = SliderPageStepAdd; break;
    case Qt::Key_Home: action = SliderToMinimum; break;
    case Qt::Key_End: action = SliderToMaximum; break;
    default: QScrollBar::keyPressEvent(event); return;
  }
  triggerAction(action);
  event->accept();
}

}  // namespace diaspring::app
