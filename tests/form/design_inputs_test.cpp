#include "form/design_inputs.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "form/input_boxes.h"

namespace diaspring {
namespace {

TEST(DesignInputs, EveryNamedInputIsAnInputBoxUnderItsName) {
  for (const InputBox& input : namedInputs()) EXPECT_EQ(inputBoxOfKey(input.name), input.box) << input.name;
  EXPECT_EQ(inputBoxes().size(), namedInputs().size() + 3);  // and the three engine boxes
  EXPECT_EQ(inputBoxOfKey("Temax"), TextBox::Text1);
  EXPECT_FALSE(inputBoxOfKey("H"));  // derived from h and H/h, not typed
  EXPECT_EQ(inputBoxKey(TextBox::Text8), "");
  EXPECT_EQ(sliderKey(Slider::HScroll3), "R");
  EXPECT_EQ(sliderOfKey("lambda1f"), Slider::HScroll6);
  EXPECT_FALSE(sliderOfKey("E"));
}

// Both lists are found by name, and only by the exact name.
TEST(DesignInputs, NamedInputsAreFoundByTheirExactName) {
  for (const auto inputs : {namedInputs(), engineInputs()})
    for (const InputBox& input : inputs) {
      EXPECT_EQ(namedInputOf(input.name), &input) << input.name;
      EXPECT_EQ(boxOfNamedInput(input.name), input.box) << input.name;
    }
  for (const char* other : {"", "H", "r", "Text4", "dlambda", "h ", "Temax/nT"}) {
    EXPECT_EQ(namedInputOf(other), nullptr) << other;
    EXPECT_FALSE(boxOfNamedInput(other)) << other;
  }
}

TEST(DesignInputs, StartsAsTheWindowOpensAndRoundTripsThroughAForm) {
  const MemoryFields opening;
  EXPECT_EQ(DesignInputs::fromFields(opening), DesignInputs());

  DesignInputs edited;
  edited.setText(TextBox::Text4, " 2.50x");  // kept exactly as typed
  edited.setText(TextBox::Text1, "");
  edited.setSlider(Slider::HScroll2, 175);
  edited.setExtra("n", "20");

  MemoryFields form;
  for (int i = 1; i <= kSliderCount; ++i) form.setSliderValue(static_cast<Slider>(i), edited.slider(static_cast<Slider>(i)));
  form.setText(TextBox::Text12, "untouched output");
  edited.typeInto(form);
  DesignInputs back = DesignInputs::fromFields(form);
  EXPECT_NE(back, edited);  // the extras live outside the form
  back.setExtra("n", "20");
  EXPECT_EQ(back, edited);
  EXPECT_EQ(form.text(TextBox::Text12), "untouched output");
  EXPECT_EQ(edited.extra("n"), "20");
  EXPECT_FALSE(edited.extra("b"));
}

TEST(DesignInputs, RefusesBoxesThatAreNotInputs) {
  DesignInputs inputs;
  for (TextBox box : {TextBox::Text5, TextBox::Text8, TextBox::Text12, TextBox::Text42}) {
    EXPECT_THROW(inputs.setText(box, "1"), std::out_of_range) << textBoxName(box);
    EXPECT_THROW((void)inputs.text(box), std::out_of_range) << textBoxName(box);
  }
}

}  // namespace
}  // namespace diaspring
