#pragma once

#include <QFont>

namespace diaspring {

// The face of every text the program shows or prints: a narrow sans serif
// with the Chinese glyphs, Greek letters, arrows and math signs, DejaVu Sans
// filling in any glyph it lacks. The caller sets the size.
QFont textFont();

}  // namespace diaspring
