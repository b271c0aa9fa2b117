#pragma once
// What the boxes show after the curve and the check buttons on the default
// design: the derived cone height H and inner radius r, the twelve point
// coordinates and the twelve verdicts.

#include <array>
#include <utility>

#include "form/controls.h"

namespace diaspring::testing {

using BoxText = std::pair<TextBox, const char*>;

inline constexpr std::array<BoxText, 2> kDefaultDerived{{{TextBox::Text5, "4.18"}, {TextBox::Text8, "63.68"}}};

// M, N, H, B, A and C: load, then deflection.
inline constexpr std::array<BoxText, 12> kDefaultPoints{{
    {TextBox::Text12, "5175.178"}, {TextBox::Text13, "2.080"}, {TextBox::Text14, "3400.662"},
    {TextBox::Text15, "4.690"},    {TextBox::Text16, "4287.478"}, {TextBox::Text17, "3.385"},
    {TextBox::Text18, "4592.558"}, {TextBox::Text19, "3.080"}, {TextBox::Text20, "4851.586"},
    {TextBox::Text21, "1.480"},    {TextBox::Text22, "3400.73"},  {TextBox::Text23, "4.68"},
}};

inline constexpr std::array<BoxText, 12> kDefaultVerdicts{{
    {TextBox::Text24, "0.442(合格)"}, {TextBox::Text25, "合格"},       {TextBox::Text26, "1.9(合格)"},
    {TextBox::Text27, "11.39(合格)"}, {TextBox::Text28, "1.33(合格)"}, {TextBox::Text29, "77.00(合格)"},
    {TextBox::Text30, "4.71(合格)"},  {TextBox::Text38, "(合格)"},     {TextBox::Text39, "2.00(合格)"},
    {TextBox::Text40, "2.00(合格)"},  {TextBox::Text41, "2.00(合格)"}, {TextBox::Text42, "2.68(合格)"},
}};

// All of them, in the boxes' order.
inline constexpr auto kDefaultRun = [] {
  std::array<BoxText, kDefaultDerived.size() + kDefaultPoints.size() + kDefaultVerdicts.size()> all{};
  auto at = all.begin();
  for (const BoxText& b : kDefaultDerived) *at++ = b;
  for (const BoxText& b : kDefaultPoints) *at++ = b;
  for (const BoxText& b : kDefaultVerdicts) *at++ = b;
  return all;
}();

}  // namespace diaspring::testing
