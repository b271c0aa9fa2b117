#pragma once
// The window's controls: the core's one table (form/layout_table.h), under the
// names the window's code uses.

#include "form/layout_table.h"

namespace diaspring::app {

using diaspring::ControlKind;
using diaspring::ControlSpec;
using diaspring::controlTable;
using diaspring::findControl;
using diaspring::kTwipsPerPixel;
using diaspring::toPixels;

}  // namespace diaspring::app
