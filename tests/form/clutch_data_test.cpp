// The clutch data read from its boxes: each member from the box its input
// name gives, in order, stopping at a box that cannot be read.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "form/clutch_data.h"
#include "form/input_boxes.h"

namespace diaspring {
namespace {

TEST(ClutchData, EachMemberComesFromTheBoxOfItsNamedInput) {
  const struct {
    const char* name;
    double ClutchData::*member;
  } cases[] = {{"E", &ClutchData::E},   {"mu", &ClutchData::mu}, {"F", &ClutchData::F},
               {"D", &ClutchData::D},   {"d", &ClutchData::d},   {"r0", &ClutchData::r0},
               {"rf", &ClutchData::rf}, {"dLambda", &ClutchData::dLambda}, {"lambda1f", &ClutchData::lambda1f}};
  const ClutchData c = readClutchData([](TextBox box) { return static_cast<double>(box); });
  for (const auto& k : cases) {
    const InputBox* input = namedInputOf(k.name);
    ASSERT_NE(input, nullptr) << k.name;
    EXPECT_EQ(c.*k.member, static_cast<double>(input->box)) << k.name;
  }
}

TEST(ClutchData, AFailingBoxStopsTheReading) {
  for (const TextBox bad : {TextBox::Text31, TextBox::Text36, TextBox::Text11}) {
    std::vector<TextBox> read;
    EXPECT_THROW(readClutchData([&](TextBox box) {
                   read.push_back(box);
                   if (box == bad) throw std::runtime_error("unreadable");
                   return 1.0;
                 }),
                 std::runtime_error);
    EXPECT_EQ(read.back(), bad) << "no box is read after the failing one";
  }
}

}  // namespace
}  // namespace diaspring
