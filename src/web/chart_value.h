#pragma once
// A chart handed to the page: its operations packed as numbers, with texts.

#include <emscripten/val.h>

#include "chart/display_list.h"

namespace diaspring::web {

// {ops: Float64Array (seven numbers an operation), texts: [...]}, copied out
// of the module; the page plays it back with chart.js's stepPacked.
emscripten::val chartValue(const DisplayList& chart);

}  // namespace diaspring::web
