#pragma once
// The window's small decorative picture and icon: a diaphragm spring seen
// from the front, drawn in code.

#include <QPixmap>

namespace diaspring::app {

// A `size` x `size` picture (logical pixels) at the given pixel ratio.
QPixmap springPicture(int size = 150, qreal devicePixelRatio = 1.0);

}  // namespace diaspring::app
