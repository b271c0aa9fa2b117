#include <gtest/gtest.h>

#include "check/box_help.h"

namespace diaspring {
namespace {

// The marks both front ends show: an input read as a number framed red when
// its text is not wholly one (naming the number read) or beyond the range of
// numbers; an engine box never (it is read by no computation); a result box
// never, its tooltip ending in its text.
TEST(BoxHelp, MarksEachKindOfBox) {
  const struct {
    TextBox box;
    const char* text;
    bool flagged;
    const char* tip;
  } cases[] = {
      {TextBox::Text4, "2.3", false, "h：膜片弹簧厚度（mm）\n常用范围：2–4 mm（滑块 2.00–4.00）"},
      {TextBox::Text4, "2,3", true, "h：膜片弹簧厚度（mm）\n常用范围：2–4 mm（滑块 2.00–4.00）\n此框的内容不全是数字，计算时读作 2。"},
      {TextBox::Text6, "１．５", true, "H/h：内截锥高度与厚度之比\n常用范围：1.6–2.2（约束 3）\n此框的内容不全是数字，计算时读作 1.5。"},
      {TextBox::Text33, "1e999", true,
       "F：摩擦片工作压力（所需压紧力）（N）\n常用范围：按离合器需传递的转矩确定，轿车一般为数千牛\n此框的数超出数值范围，计算将报溢出。"},
      {TextBox::Text1, "abc", false, "Temax：发动机最大转矩（N·m）\n常用范围：仅供参考，不参与计算"},
      {TextBox::Text18, "", false, "F1B：工作点B 的大端载荷（N）\n（尚无结果）"},
      {TextBox::Text26, "1.9(合格)", false, "约束 3：H/h= (1.6-2.2)\n1.9(合格)"},
      {TextBox::Text8, "67.67", false, "r：碟簧部分内半径 r = R ÷ R/r（按曲线按钮时算出，取两位小数）（mm）\n67.67"},
  };
  for (const auto& c : cases) {
    const BoxMark mark = boxMark(c.box, c.text);
    EXPECT_EQ(mark.flagged, c.flagged) << textBoxName(c.box) << " " << c.text;
    EXPECT_EQ(mark.toolTip, c.tip) << textBoxName(c.box) << " " << c.text;
  }
}

// Exactly H, r, the twelve point boxes and the twelve rule boxes are
// results (read-only in both front ends); every slider has its tooltip.
TEST(BoxHelp, ResultBoxesAndSliders) {
  int results = 0;
  for (int i = 1; i <= kTextBoxCount; ++i) results += isResultBox(static_cast<TextBox>(i)) ? 1 : 0;
  EXPECT_EQ(results, 26);
  EXPECT_TRUE(isResultBox(TextBox::Text5));
  EXPECT_FALSE(isResultBox(TextBox::Text4));
  EXPECT_FALSE(isResultBox(TextBox::Text33));
  for (int i = 1; i <= kSliderCount; ++i) EXPECT_EQ(sliderToolTip(static_cast<Slider>(i)).rfind("调节 ", 0), 0u);
}

// A rule's box that shows its failure tells what the check computed before
// the verdict; once it shows anything else, the failure is not told.
TEST(BoxHelp, AFailedRulesBoxTellsWhatItsFailureRestsOn) {
  const char* failure = "R/r = 1.40，范围 1.2–1.35";
  EXPECT_EQ(boxMark(TextBox::Text28, "不合格", failure).toolTip, "约束 5：R/r= (1.2-1.35)\nR/r = 1.40，范围 1.2–1.35\n不合格");
  EXPECT_EQ(boxMark(TextBox::Text28, "1.33(合格)", failure).toolTip, "约束 5：R/r= (1.2-1.35)\n1.33(合格)");
  EXPECT_EQ(boxMark(TextBox::Text28, "", failure).toolTip, "约束 5：R/r= (1.2-1.35)\n（尚无结果）");
  EXPECT_EQ(boxMark(TextBox::Text28, "不合格").toolTip, "约束 5：R/r= (1.2-1.35)\n不合格");
}

}  // namespace
}  // namespace diaspring
