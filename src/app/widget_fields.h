#pragma once
// The window's text boxes and sliders as the logic sees them.

#include <array>

#include "form/fields.h"

class QLineEdit;
class QScrollBar;

namespace diaspring::app {

class WidgetFields final : public Fields {
 public:
  void attach(TextBox box, QLineEdit* edit);
  void attach(Slider slider, QScrollBar* bar);

  QLineEdit* edit(TextBox box) const { return edits_[index(box)]; }
  QScrollBar* bar(Slider slider) const { return bars_[index(slider)]; }

  std::string text(TextBox box) const override;
  void setText(TextBox box, std::string_view text) override;
  int sliderValue(Slider slider) const override;

 private:
  static std::size_t index(TextBox box) { return static_cast<std::size_t>(static_cast<int>(box) - 1); }
  static std::size_t index(Slider slider) { return static_cast<std::size_t>(static_cast<int>(slider) - 1); }

  std::array<QLineEdit*, kTextBoxCount> edits_{};
  std::array<QScrollBar*, kSliderCount> bars_{};
};

}  // namespace diaspring::app
