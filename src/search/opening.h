#pragma once
// When a search finds no design: the single change of the clutch data that
// opens the space, found by running the search again with it. Each of F, D,
// d, r0, rf, Δλ and λ1f is moved by 5 %, 10 %, 20 % and 40 % either way
// (the smaller moves of all inputs first); the first move that lets a
// design through is narrowed by halving the step three times, rounded to
// three significant digits on the opening side, and the full search is run
// once more with it for the number of designs.

#include <optional>
#include <string>

#include "search/search.h"

namespace diaspring::search {

struct Opening {
  std::string input;  // "r0"
  std::string inputZh;  // its name in the window's messages ("r0", "最低生产合格率")
  std::string unit;   // "mm"
  std::string from, to;
  std::size_t designs = 0;
  // A tolerance of the input (from and to its ±), not the input itself.
  bool tolerance = false;
};

// None when no single change within 40 % opens the space (or the search
// was cancelled).
std::optional<Opening> findOpening(const DesignInputs& base, const Options& options);

// "With r0 = 20 mm instead of 18 mm, 140 designs pass." and in Chinese;
// for a tolerance "With the tolerance of h ±0.05 mm instead of ±0.08 mm, …".
std::string openingEnglish(const Opening& o);
std::string openingChinese(const Opening& o);

}  // namespace diaspring::search
