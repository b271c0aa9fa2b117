#include "search/grid_slice.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "runtime/bit_cast.h"
#include "search/front.h"
#include "search/grid.h"

namespace diaspring::search {
namespace {

void takeNearest(GridSlice& slice, std::unique_ptr<NearestPoint>&& nearest, std::size_t row) {
  const double best = slice.nearest ? slice.nearest->miss : kInf;
  if (nearest && (nearest->miss < best || (nearest->miss == best && best < kInf && row < slice.nearestRow))) {
    slice.nearest = std::move(nearest);
    slice.nearestRow = row;
  }
}

// The text: tokens after a space each; a number as the 16 hex digits of
// its bits, a count in decimal, a text as its length, ':' and its bytes.
class Writer {
 public:
  void count(std::size_t n) { out_ += ' ' + std::to_string(n); }
  void flag(bool b) { out_ += b ? " 1" : " 0"; }
  void number(double x) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto bits = bitCast<std::uint64_t>(x);
    out_ += ' ';
    for (int shift = 60; shift >= 0; shift -= 4) out_ += kHex[(bits >> shift) & 0xf];
  }
  void text(const std::string& s) {
    count(s.size());
    out_ += ':' + s;
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_ = "slice1";
};

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {
    if (text_.substr(0, 6) != "slice1") fail();
    at_ = 6;
  }
  std::size_t count() {
    space();
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text_.data() + at_, text_.data() + text_.size(), n);
    if (ec != std::errc() || end == text_.data() + at_) fail();
    at_ = static_cast<std::size_t>(end - text_.data());
    return n;
  }
  // A count that cannot exceed what is left of the text (each item takes
  // at least two characters), so a damaged text reserves no huge vector.
  std::size_t items() {
    const std::size_t n = count();
    if (n > (text_.size() - at_) / 2) fail();
    return n;
  }
  bool flag() {
    const std::size_t n = count();
    if (n > 1) fail();
    return n == 1;
  }
  double number() {
    space();
    if (text_.size() - at_ < 16) fail();
    std::uint64_t bits = 0;
    const auto [end, ec] = std::from_chars(text_.data() + at_, text_.data() + at_ + 16, bits, 16);
    if (ec != std::errc() || end != text_.data() + at_ + 16) fail();
    at_ += 16;
    return bitCast<double>(bits);
  }
  std::string text() {
    const std::size_t n = count();
    if (at_ >= text_.size() || text_[at_] != ':' || text_.size() - at_ - 1 < n) fail();
    std::string s(text_.substr(at_ + 1, n));
    at_ += 1 + n;
    return s;
  }
  void end() const {
    if (at_ != text_.size()) fail();
  }

 private:
  void space() {
    if (at_ >= text_.size() || text_[at_] != ' ') fail();
    ++at_;
  }
  [[noreturn]] static void fail() { throw SliceTextError("not the text of a grid slice"); }
  std::string_view text_;
  std::size_t at_ = 0;
};

void writeNumbers(Writer& w, const std::vector<double>& xs) {
  w.count(xs.size());
  for (double x : xs) w.number(x);
}

std::vector<double> readNumbers(Reader& r) {
  std::vector<double> xs(r.items());
  for (double& x : xs) x = r.number();
  return xs;
}

}  // namespace

void takePoints(GridSlice& slice, std::vector<Tentative>&& points) {
  slice.feasibleSeen += points.size();
  for (Tentative& t : points) {
    for (std::size_t c = 0; c < t.constraintMiss.size() && c < slice.constraintMet.size(); ++c)
      if (t.constraintMiss[c] <= 0) slice.constraintMet[c] = true;
    slice.feasible.push_back(std::move(t));
  }
}

void takeRow(GridSlice& slice, RowResult&& row, std::size_t index) {
  slice.evaluated += row.evaluated;
  slice.solved += row.solved;
  for (std::size_t i = 0; i < kRuleCount; ++i) slice.met[i] = slice.met[i] || row.met[i];
  takeNearest(slice, std::move(row.nearest), index);
  takePoints(slice, std::move(row.feasible));
}

void GridSlice::take(GridSlice&& later) {
  evaluated += later.evaluated;
  solved += later.solved;
  feasibleSeen += later.feasibleSeen;
  for (std::size_t i = 0; i < kRuleCount; ++i) met[i] = met[i] || later.met[i];
  if (constraintMet.size() < later.constraintMet.size()) constraintMet.resize(later.constraintMet.size(), false);
  for (std::size_t c = 0; c < later.constraintMet.size(); ++c) constraintMet[c] = constraintMet[c] || later.constraintMet[c];
  takeNearest(*this, std::move(later.nearest), later.nearestRow);
  feasible.insert(feasible.end(), std::make_move_iterator(later.feasible.begin()),
                  std::make_move_iterator(later.feasible.end()));
  complete = complete && later.complete;
}

GridSlice mergeSlices(std::vector<GridSlice> slices, bool prune) {
  GridSlice merged;
  for (GridSlice& s : slices) merged.take(std::move(s));
  if (prune) keepUsable(merged.feasible);
  return merged;
}

std::string sliceText(const GridSlice& slice) {
  Writer w;
  w.flag(slice.complete);
  w.count(slice.feasibleSeen);
  w.count(slice.evaluated);
  w.count(slice.solved);
  for (bool m : slice.met) w.flag(m);
  w.count(slice.constraintMet.size());
  for (bool m : slice.constraintMet) w.flag(m);
  w.flag(slice.nearest != nullptr);
  if (slice.nearest) {
    const NearestPoint& n = *slice.nearest;
    w.count(slice.nearestRow);
    w.number(n.miss);
    for (const std::string& t : n.texts) w.text(t);
    for (const RuleOutcome& o : n.rules) {
      w.flag(o.passed);
      for (double x : {o.value, o.low, o.high, o.miss, o.scale}) w.number(x);
    }
  }
  w.count(slice.feasible.size());
  for (const Tentative& t : slice.feasible) {
    w.text(t.HoverH);
    w.text(t.R);
    w.text(t.RoverR);
    w.number(t.h);
    w.number(t.objectives.wearRise);
    w.number(t.objectives.releaseForceMax);
    writeNumbers(w, t.extra);
    writeNumbers(w, t.constraintMiss);
    w.number(t.relativeMiss);
  }
  return w.take();
}

GridSlice sliceFromText(std::string_view text) {
  Reader r(text);
  GridSlice slice;
  slice.complete = r.flag();
  slice.feasibleSeen = r.count();
  slice.evaluated = r.count();
  slice.solved = r.count();
  for (std::size_t i = 0; i < kRuleCount; ++i) slice.met[i] = r.flag();
  slice.constraintMet.resize(r.items());
  for (std::size_t c = 0; c < slice.constraintMet.size(); ++c) slice.constraintMet[c] = r.flag();
  if (r.flag()) {
    slice.nearestRow = r.count();
    auto n = std::make_unique<NearestPoint>();
    n->miss = r.number();
    for (std::string& t : n->texts) t = r.text();
    for (RuleOutcome& o : n->rules) {
      o.passed = r.flag();
      for (double* x : {&o.value, &o.low, &o.high, &o.miss, &o.scale}) *x = r.number();
    }
    slice.nearest = std::move(n);
  }
  slice.feasible.resize(r.items());
  for (Tentative& t : slice.feasible) {
    t.HoverH = r.text();
    t.R = r.text();
    t.RoverR = r.text();
    t.h = r.number();
    t.objectives.wearRise = r.number();
    t.objectives.releaseForceMax = r.number();
    t.extra = readNumbers(r);
    t.constraintMiss = readNumbers(r);
    t.relativeMiss = r.number();
  }
  r.end();
  return slice;
}

std::pair<std::size_t, std::size_t> partOf(std::size_t rows, unsigned part, unsigned parts) {
  const auto at = [&](std::size_t k) { return rows / parts * k + std::min<std::size_t>(k, rows % parts); };
  return {at(part), at(part + 1)};
}

SlicedShare::SlicedShare(unsigned part, unsigned parts, Progress progress)
    : part_(part), parts_(std::max(parts, 1u)), progress_(std::move(progress)) {}

void SlicedShare::give(std::size_t step, std::vector<std::string> slices) { given_[step] = std::move(slices); }

// A search's steps: its promising rows from offset 0, then perhaps its
// other rows, from where the promising rows end. So step 1 belongs to the
// first search when it starts where step 0 ended (with no promising rows,
// both start at 0; then step 1 is the other rows, as a search without
// promising rows always examines them).
bool SlicedShare::shared(std::size_t number, const GridStep& step) {
  if (number == 0) firstRows_ = step.rows;
  return number == 0 || (number == 1 && step.offset == firstRows_);
}

GridSlice SlicedShare::examine(const GridStep& step) {
  const std::size_t number = next_++;
  const bool isShared = shared(number, step);
  if (const auto given = given_.find(number); isShared && given != given_.end()) {
    std::vector<GridSlice> slices;
    for (const std::string& text : given->second) slices.push_back(sliceFromText(text));
    return mergeSlices(std::move(slices), step.prune);
  }
  if (!isShared && part_ != 0) throw Stopped{number, {}};
  const auto [from, to] = isShared ? partOf(step.rows, part_, parts_) : std::pair<std::size_t, std::size_t>{0, step.rows};
  std::function<void(std::size_t)> done;
  if (progress_) done = [&](std::size_t rowsDone) { progress_(number, rowsDone, step); };
  GridSlice mine = step.scan(from, to, done);
  if (parts_ == 1 || !isShared) return mine;
  throw Stopped{number, sliceText(mine)};
}

}  // namespace diaspring::search
