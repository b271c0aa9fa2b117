#pragma once
// A design's inputs with some texts typed over the defaults, each named by
// its input key ("h", "RoverR", "F", ...) or, for the extra inputs, by its
// name ("sigmaAllow", "n", ...).

#include <initializer_list>
#include <utility>

#include "form/design_inputs.h"

namespace diaspring::testing {

inline DesignInputs inputsWith(std::initializer_list<std::pair<const char*, const char*>> texts) {
  DesignInputs in;
  for (const auto& [key, text] : texts) {
    if (const auto box = inputBoxOfKey(key)) in.setText(*box, text);
    else in.setExtra(key, text);
  }
  return in;
}

}  // namespace diaspring::testing
