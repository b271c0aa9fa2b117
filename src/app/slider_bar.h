#pragma once
// A horizontal scroll bar used as a parameter slider: every step (arrow
// click, click in the track, arrow or page key) moves it by one; a dragged
// thumb reports its new value only when it is released; the keys step as on
// any horizontal scroll bar (Left and Up decrease, Right and Down increase).

#include <QScrollBar>

class QProxyStyle;

namespace diaspring::app {

class SliderBar : public QScrollBar {
  Q_OBJECT
 public:
  SliderBar(int minimum, int maximum, int value, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QProxyStyle* style_;
};

}  // namespace diaspring::app
