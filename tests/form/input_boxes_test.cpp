#include "form/input_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "form/layout_table.h"

namespace diaspring {
namespace {

bool isInputFrame(std::string_view frame) { return frame == "Frame1" || frame == "Frame2" || frame == "Frame4"; }

// Every box of the three input frames is described, once, and no other box:
// a box added to the form without its help, or a result box given some, shows.
TEST(InputBoxes, DescribeEachBoxOfTheInputFramesOnceInTheFormsOrder) {
  std::set<std::string> inFrames, described;
  for (const ControlSpec& c : controlTable())
    if (c.kind == ControlKind::TextBox && isInputFrame(c.parent)) inFrames.emplace(c.name);
  for (const InputBox& b : inputFrameBoxes()) EXPECT_TRUE(described.insert(textBoxName(b.box)).second) << textBoxName(b.box);
  EXPECT_EQ(described, inFrames);
  const auto boxes = inputFrameBoxes();
  EXPECT_TRUE(std::is_sorted(boxes.begin(), boxes.end(), [](const InputBox& a, const InputBox& b) { return a.box < b.box; }));
  EXPECT_EQ(inputFrameBox(TextBox::Text12), nullptr);  // F1M: a result of the output frame
  EXPECT_EQ(inputFrameBox(TextBox::Text8)->symbol, std::string_view("r"));
}

// The symbol the tooltip, the sheet and the command line show is the one the
// form's caption beside the box shows ("h=", "摩擦片外径D（mm）=").
TEST(InputBoxes, TheSymbolIsTheOneTheCaptionBesideTheBoxShows) {
  const auto controls = controlTable();
  int checked = 0;
  for (std::size_t i = 1; i < controls.size(); ++i) {
    const ControlSpec& c = controls[i];
    if (c.kind != ControlKind::TextBox || (c.parent != "Frame2" && c.parent != "Frame4")) continue;
    const ControlSpec& caption = controls[i - 1];
    ASSERT_EQ(caption.kind, ControlKind::Label) << c.name;
    const InputBox* b = inputFrameBox(*textBoxFromName(c.name));
    ASSERT_NE(b, nullptr) << c.name;
    EXPECT_NE(caption.text.find(b->symbol), std::string_view::npos) << c.name << ": " << caption.text;
    ++checked;
  }
  EXPECT_EQ(checked, 15);  // eight of the geometry and travels, seven of the clutch data
}

// Each list a front end reads is the rows of the one table that it names, in
// their order, and every row says what its readers print.
TEST(InputBoxes, EachListHoldsTheRowsOfItsKindWithWhatItsReadersPrint) {
  const struct {
    const char* list;
    std::span<const InputBox> rows;
    std::size_t size;
    bool named, english, sheet;  // a name, an English meaning, the sheet's few words
  } cases[] = {
      {"all", inputFrameBoxes(), 18, false, false, false},
      {"kept", inputBoxes(), 16, true, true, false},
      {"named", namedInputs(), 13, true, true, true},
      {"engine", engineInputs(), 3, true, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.rows.size(), c.size) << c.list;
    for (const InputBox& b : c.rows) {
      const std::string at = std::string(c.list) + " " + textBoxName(b.box);
      const InputBox* row = inputFrameBox(b.box);
      ASSERT_NE(row, nullptr) << at;
      EXPECT_EQ(std::string_view(b.name), row->name) << at;
      EXPECT_NE(*b.symbol, '\0') << at;
      EXPECT_NE(*b.meaningZh, '\0') << at;
      EXPECT_NE(*b.rangeZh, '\0') << at;
      EXPECT_TRUE(!c.named || *b.name != '\0') << at;
      EXPECT_TRUE(!c.english || *b.meaning != '\0') << at;
      EXPECT_TRUE(!c.sheet || *b.shortZh != '\0') << at;
    }
  }
  for (const InputBox& b : inputFrameBoxes()) {
    const auto named = namedInputs();
    const bool listed = std::any_of(named.begin(), named.end(), [&b](const InputBox& n) { return n.box == b.box; });
    EXPECT_EQ(isNamedInputBox(b.box), listed) << textBoxName(b.box);
  }
}

}  // namespace
}  // namespace diaspring
