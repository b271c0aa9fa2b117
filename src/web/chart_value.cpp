// A chart handed to the page: its operations packed as numbers, with texts.
#include "web/chart_value.h"

namespace diaspring::web {

// A chart as the page draws it: what shows since its last clearing, led by
// the coordinate system and draw width then in force, as numbers (seven per
// operation: kind, x1, y1, x2, y2, colour or -1, text index or -1; kinds 0
// scale, 1 line, 2 dot, 3 text, 4 width, 5 clear) and its texts.
// From `from` on (an operation after the visible start): those operations
// alone, for a page that drew the ones before.
void packChart(const DisplayList& chart, std::vector<double>& packed, std::vector<std::string>& texts,
               std::optional<std::size_t> from) {
  packed.clear();
  texts.clear();
  const auto put = [&](int kind, const DrawOp& o, bool text) {
    if (text) texts.push_back(chart.text(o));
    packed.insert(packed.end(), {static_cast<double>(kind), o.x1, o.y1, o.x2, o.y2,
                                 o.hasColor || o.kind == DrawOp::Kind::PSet ? static_cast<double>(o.color) : -1.0,
                                 text ? static_cast<double>(texts.size() - 1) : -1.0});
  };
  if (!from) {
    if (const auto scale = chart.scaleBeforeVisible()) put(0, *scale, false);
    DrawOp width{};
    width.x1 = static_cast<float>(chart.drawWidthBeforeVisible());
    put(4, width, false);
  }
  const DisplayList::Ops ops = chart.packed();
  for (auto it = ops.at(from.value_or(chart.visibleFrom())); it != ops.end(); ++it) {
    const DrawOp o = *it;
    switch (o.kind) {
      case DrawOp::Kind::Scale: put(0, o, false); break;
      case DrawOp::Kind::Line: put(1, o, false); break;
      case DrawOp::Kind::PSet: put(2, o, false); break;
      case DrawOp::Kind::Print: put(3, o, true); break;
      case DrawOp::Kind::DrawWidth: put(4, o, false); break;
      case DrawOp::Kind::Cls: put(5, o, false); break;
    }
  }
}

// A chart as {ops: Float64Array, texts: [...]}, copied out of the module.
emscripten::val chartValue(const DisplayList& chart) {
  std::vector<double> packed;
  std::vector<std::string> texts;
  packChart(chart, packed, texts);
  emscripten::val out = emscripten::val::object();
  out.set("ops", emscripten::val(emscripten::typed_memory_view(packed.size(), packed.data())).call<emscripten::val>("slice"));
  emscripten::val list = emscripten::val::array();
  for (const std::string& t : texts) list.call<void>("push", t);
  out.set("texts", list);
  return out;
}

}  // namespace diaspring::web
