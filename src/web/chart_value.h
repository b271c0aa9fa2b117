#pragma once
// A chart handed to the page: its operations packed as numbers, with texts.

#include <emscripten/val.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "chart/display_list.h"

namespace diaspring::web {

// {ops: Float64Array (seven numbers an operation), texts: [...]}, copied out
// of the module; the page plays it back with chart.js's stepPacked.
emscripten::val chartValue(const DisplayList& chart);

// A chart as the page draws it: what shows since its last clearing, led by
// the coordinate system and draw width then in force, as numbers (seven per
// operation: kind, x1, y1, x2, y2, colour or -1, text index or -1; kinds 0
// scale, 1 line, 2 dot, 3 text, 4 width, 5 clear) and its texts.
// From `from` on (an operation after the visible start): those operations
// alone, for a page that drew the ones before.
void packChart(const DisplayList& chart, std::vector<double>& packed, std::vector<std::string>& texts,
               std::optional<std::size_t> from = std::nullopt);

}  // namespace diaspring::web
