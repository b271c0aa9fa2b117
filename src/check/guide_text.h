#pragma once
// The guide 使用说明, as HTML: the desktop's dialog and the page show this
// text, written from the tables of the boxes, points and rules.

#include <string>
#include <string_view>

namespace diaspring {

std::string guideHtml();

// The About box's text: the version, what the program does, `builtWith` (a
// paragraph naming what this front end runs on) and the licence.
std::string aboutHtml(std::string_view builtWith);

}  // namespace diaspring
