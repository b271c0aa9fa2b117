#pragma once
// The chart in the window: a sunken panel holding the display list the
// window's logic draws on. What was drawn is kept as a raster at the
// screen's pixel ratio; a repaint renders only the operations added since the
// last one and otherwise just copies the raster.

#include <cstddef>

#include <QFrame>
#include <QPixmap>

#include "chart/display_list.h"
#include "render/chart_painter.h"

namespace diaspring::app {

class ChartWidget : public QFrame {
  Q_OBJECT
 public:
  // `style`: how the list is painted; its natural size is the panel's inside
  // at which the text has the font's size (the window's chart by default).
  explicit ChartWidget(QWidget* parent = nullptr, ChartStyle style = {});

  DisplayList& displayList() { return list_; }
  const DisplayList& displayList() const { return list_; }
  const ChartPainter& painter() const { return painter_; }

  // To be called after the list has changed: forgets what a Cls erased and
  // schedules a repaint.
  void chartChanged();

  // How many times the raster was started afresh (sized, cleared and
  // replayed from the first visible operation), and how many operations have
  // been replayed into it since. For tests and diagnostics.
  int rasterRebuilds() const { return rebuilds_; }
  std::size_t replayedOps() const { return replayed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void dropErased();
  void bringRasterUpToDate();

  DisplayList list_;
  ChartPainter painter_;
  QPixmap raster_;
  ReplayState state_;
  bool rasterValid_ = false;
  int rebuilds_ = 0;
  std::size_t replayed_ = 0;
};

}  // namespace diaspring::app
