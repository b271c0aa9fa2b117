// The page's handle on the core: the window (web_window.h), the comparison
// (compare_view.cpp) and the automatic design (design_worker.h) as the
// module's classes and functions. Everything runs here, in the browser;
// nothing is sent.
#include <emscripten/emscripten.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/materials.h"
#include "chart/spring_picture.h"
#include "check/box_help.h"
#include "check/guide_text.h"
#include "cli/session.h"
#include "form/layout_table.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/json_writer.h"
#include "session_press.h"
#include "web/bind_methods.h"
#include "web/design_worker.h"
#include "web/web_window.h"

namespace diaspring::web {
namespace {

std::string controlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form: return "form";
    case ControlKind::Frame: return "frame";
    case ControlKind::Label: return "label";
    case ControlKind::TextBox: return "text";
    case ControlKind::ScrollBar: return "slider";
    case ControlKind::Button: return "button";
    case ControlKind::Picture: return "picture";
    case ControlKind::Image: return "image";
  }
  return "other";
}

}  // namespace

// The window's controls as JSON: name, kind, parent, text, place in twips,
// tab index and, for a slider, its range and starting value.
std::string layoutTable() {
  std::string out = "[";
  JsonList controls(out);
  for (const ControlSpec& c : controlTable()) {
    controls.next() += '{';
    JsonList control(out);
    control.text("name", c.name);
    control.text("kind", controlKindName(c.kind));
    control.text("parent", c.parent);
    control.text("text", c.text);
    for (const auto& [key, value] : {std::pair{"left", c.left}, std::pair{"top", c.top}, std::pair{"width", c.width},
                                     std::pair{"height", c.height}, std::pair{"tabIndex", c.tabIndex},
                                     std::pair{"min", c.min}, std::pair{"max", c.max}, std::pair{"value", c.value}})
      control.count(key, value);
    // The result boxes are read-only; a slider's tooltip never changes.
    if (const std::optional<TextBox> box = textBoxFromName(c.name); box && isResultBox(*box)) control.flag("readOnly", true);
    if (const std::optional<Slider> slider = sliderFromName(c.name)) control.text("tip", sliderToolTip(*slider));
    out += '}';
  }
  return out + "]";
}

// The inputs the computation reads, by name, and their boxes, in the
// command line's order: {"h": "Text4", "HoverH": "Text6", ...}.
std::string namedInputBoxes() {
  return jsonObject([](JsonList& inputs) {
    for (const InputBox& input : namedInputs()) inputs.text(input.name, textBoxName(input.box));
  });
}

// A number as the desktop's tables write it (runtime/convert.h's format:
// "0.000", "0.0"; halves away from zero).
std::string formatNumber(double x, const std::string& pattern) { return format(Num(x), pattern); }

// 关于: the desktop's text, naming what the page runs on.
std::string aboutHtml() {
  return diaspring::aboutHtml(
      "<p>网页版：与桌面窗口相同的计算核心编译为 WebAssembly，在您的浏览器中运行；"
      "所有计算都在本机完成，设计数据不会发送到任何地方。</p>");
}

// The window's decorative spring picture, the data the desktop draws: its
// lengths in hundredths of the half width, colours as numbers (0xAARRGGBB,
// 0xRRGGBB where opaque).
std::string springPicture() {
  using namespace diaspring::picture;
  return jsonObject([](JsonList& p) {
    p.number("unit", kUnit);
    p.count("fingers", kFingers);
    p.numbers({{"outer", kOuter}, {"slotRoot", kSlotRoot}, {"window", kWindow}, {"hole", kHole},
               {"slotHalfWidth", kSlotHalfWidth}, {"slotInset", kSlotInset}});
    p.array("shadow", [](JsonList& xy) {
      appendJsonDouble(xy.next(), kShadowX);
      appendJsonDouble(xy.next(), kShadowY);
    });
    p.count("shadowArgb", kShadowArgb);
    p.object("steel", [](JsonList& steel) {
      steel.numbers({{"x", kSteelX}, {"y", kSteelY}, {"radius", kSteelRadius}});
      steel.array("stops", [](JsonList& stops) {
        for (const Stop& stop : kSteel)
          stops.nextObject([&](JsonList& s) {
            s.number("at", stop.at);
            s.count("rgb", stop.rgb);
          });
      });
    });
    p.count("rimRgb", kRimRgb);
    p.number("rimWidth", kRimWidth);
    p.count("ringArgb", kRingArgb);
    p.numbers({{"ringRadius", kRingRadius}, {"ringWidth", kRingWidth}});
  });
}

// Milliseconds per press of bench/session_press.h, the function the native
// session_bench measures: the core's own time, without the page's drawing.
double benchCore(int n) {
  cli::Session s;
  bench::pressCurve(s);
  const double started = emscripten_get_now();
  for (int i = 0; i < n; ++i) bench::pressCurve(s);
  return (emscripten_get_now() - started) / n;
}

}  // namespace diaspring::web

EMSCRIPTEN_BINDINGS(diaspring) {
  using namespace emscripten;
  using diaspring::web::WebWindow;
  class_<WebWindow>("WebWindow")
      .constructor<>()
      .DIASPRING_METHODS(WebWindow, act, state, view, chartOps, chartTexts, chartDelta, analysisCharts, openDesign,
                         saveDesign, saveDesignFile, syncSliders, metadata, analysisView, materials, chooseMaterial,
                         yieldView, setMetadata, setFileName, sheet);
  function("layoutTable", &diaspring::web::layoutTable);
  function("namedInputBoxes", &diaspring::web::namedInputBoxes);
  function("runDesign", &diaspring::web::runDesign);
  class_<diaspring::web::DesignWorker>("DesignWorker")
      .constructor<int, int>()
      .DIASPRING_METHODS(diaspring::web::DesignWorker, give, run);
  function("tradeOffChart", &diaspring::web::tradeOffChart);
  function("benchCore", &diaspring::web::benchCore);
  function("springPicture", &diaspring::web::springPicture);
  function("formatNumber", &diaspring::web::formatNumber);
  function("guideHtml", &diaspring::guideHtml);
  function("aboutHtml", &diaspring::web::aboutHtml);
}
