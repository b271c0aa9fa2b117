#pragma once
// A property a fuzz target found broken: says which and on what, then aborts
// so that libFuzzer (or the corpus replay test) keeps the input and fails.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace diaspring::fuzz {

inline void require(bool holds, const char* property, std::string_view input) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %s\ninput (%zu bytes): %.*s\n", property, input.size(),
               static_cast<int>(input.size() < 200 ? input.size() : 200), input.data());
  std::abort();
}

}  // namespace diaspring::fuzz
