#include "search/grid_memo.h"

namespace diaspring::search {
namespace {

bool sameRanges(const Ranges& a, const Ranges& b) {
  return a.h == b.h && a.HoverH == b.HoverH && a.R == b.R && a.RoverR == b.RoverR;
}

// A design as the memo knows it: every input's text, slider and further
// input, each text behind its length.
std::string designKey(const DesignInputs& d) {
  std::string key;
  const auto add = [&key](std::string_view t) { key.append(std::to_string(t.size())).append(1, ':').append(t); };
  for (const InputBox& box : inputBoxes()) add(d.text(box.box));
  for (int i = 1; i <= kSliderCount; ++i) add(std::to_string(d.slider(static_cast<Slider>(i))));
  for (const auto& [name, text] : d.extras()) {
    add(name);
    add(text);
  }
  return key;
}

}  // namespace

std::optional<bool> GridMemo::passedInWindow(const DesignInputs& design) const {
  const std::lock_guard lock(designMutex_);
  const auto it = windowVerdicts_.find(designKey(design));
  if (it == windowVerdicts_.end()) return std::nullopt;
  return it->second;
}

void GridMemo::keepWindowVerdict(const DesignInputs& design, bool passed) {
  const std::lock_guard lock(designMutex_);
  windowVerdicts_.emplace(designKey(design), passed);
}

std::optional<FinalFigure> GridMemo::finalFigure(const std::string& key, const DesignInputs& design) const {
  const std::lock_guard lock(designMutex_);
  const auto it = finalFigures_.find({key, designKey(design)});
  if (it == finalFigures_.end()) return std::nullopt;
  return it->second;
}

void GridMemo::keepFinalFigure(const std::string& key, const DesignInputs& design, const FinalFigure& figure) {
  const std::lock_guard lock(designMutex_);
  finalFigures_.emplace(std::pair{key, designKey(design)}, figure);
}

bool GridMemo::bind(const DesignInputs& base, const Options& options, std::size_t rows) {
  if (!base_) {
    base_ = base;
    ranges_ = options.ranges;
    divisions_ = options.gridDivisions;
    rows_.resize(rows);
    return true;
  }
  return *base_ == base && sameRanges(ranges_, options.ranges) && divisions_ == options.gridDivisions &&
         rows_.size() == rows;
}

GridMemo::Row* GridMemo::finePoint(const std::array<std::string, 3>& texts) {
  const std::lock_guard lock(fineMutex_);
  const auto it = fine_.find(texts);
  return it == fine_.end() ? nullptr : &it->second;
}

void GridMemo::keep(const std::array<std::string, 3>& texts, Row&& row) {
  const std::lock_guard lock(fineMutex_);
  fine_.emplace(texts, std::move(row));
}

}  // namespace diaspring::search
