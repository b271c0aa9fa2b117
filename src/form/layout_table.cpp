#include "form/layout_table.h"

#include <algorithm>
#include <iterator>

namespace diaspring {
namespace {

// The rows are written from form/layout_table.csv at configure time.
constexpr ControlSpec kControls[] = {
#include "form/layout_table_rows.inc"
};

}  // namespace

std::span<const ControlSpec> controlTable() { return kControls; }

const ControlSpec* findControl(std::string_view name) {
  const auto it = std::find_if(std::begin(kControls), std::end(kControls),
                               [name](const ControlSpec& c) { return c.name == name; });
  return it == std::end(kControls) ? nullptr : &*it;
}

}  // namespace diaspring
