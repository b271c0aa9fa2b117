#pragma once
// What the window marks on its boxes beyond their text: every box and slider
// carries a tooltip (an input's meaning, unit and usual range; a result's
// full text); result boxes are read-only; an input box whose text is not
// wholly a number gets a red frame and says in its tooltip which number is
// read from it; results that no longer match the inputs are shown in grey.

#include <array>

#include <QObject>
#include <QString>

#include "widget_fields.h"

namespace diaspring::app {

class BoxMarks : public QObject {
  Q_OBJECT
 public:
  // Marks the boxes and sliders of `fields` and keeps their tooltips and
  // frames up to date as their texts change.
  BoxMarks(const WidgetFields& fields, QObject* parent);

  // Shows a result box's text in grey (stale) or in the normal colour.
  void setStale(TextBox box, bool stale);
  bool isStale(TextBox box) const { return stale_[index(box)]; }
  // What a result box's rule computed when it failed ("H/h = 2.31，范围
  // 1.6–2.2"), shown in its tooltip before "不合格" while the box shows
  // that; empty for none.
  void setFailure(TextBox box, const QString& failure);
  // Whether an input box shows the red frame of a text that is not wholly a number.
  bool isFlagged(TextBox box) const { return flagged_[index(box)]; }

 private:
  static std::size_t index(TextBox box) { return static_cast<std::size_t>(static_cast<int>(box) - 1); }
  void textChanged(TextBox box);

  const WidgetFields& fields_;
  std::array<bool, kTextBoxCount> stale_{};
  std::array<bool, kTextBoxCount> flagged_{};
  std::array<QWidget*, kTextBoxCount> frames_{};
  std::array<QString, kTextBoxCount> failures_{};
};

}  // namespace diaspring::app
