#include "form/fields.h"

namespace diaspring {

MemoryFields::MemoryFields() {
  for (int i = 1; i <= kTextBoxCount; ++i) texts_[i - 1] = std::string(defaultText(static_cast<TextBox>(i)));
  for (int i = 1; i <= kSliderCount; ++i) sliders_[i - 1] = sliderRange(static_cast<Slider>(i)).initial;
}

std::string MemoryFields::text(TextBox box) const { return texts_[static_cast<int>(box) - 1]; }

void MemoryFields::setText(TextBox box, std::string_view text) { texts_[static_cast<int>(box) - 1] = std::string(text); }

int MemoryFields::sliderValue(Slider slider) const { return sliders_[static_cast<int>(slider) - 1]; }

void MemoryFields::setSliderValue(Slider slider, int value) { sliders_[static_cast<int>(slider) - 1] = value; }

}  // namespace diaspring
