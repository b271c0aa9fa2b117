#include "search/search.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <thread>

#include "search/front.h"
#include "search/grid.h"
#include "search/grid_memo.h"
#include "search/parallel.h"

namespace diaspring::search {
namespace {

// Options that only carry the cancel flag: for the jobs that report no
// progress of their own.
Options quietOf(const Options& options) {
  Options quiet;
  quiet.cancel = options.cancel;
  return quiet;
}

// Rows [from, to) of `rows`, in parts: each part's points taken in before
// the next runs, pruned whenever they have doubled since (linear time in
// all), so memory follows the front and not the grid. `done` hears the
// rows done since `from`.
GridSlice scanRows(const Searcher& searcher, const std::vector<std::size_t>& rows, std::size_t from, std::size_t to,
                   unsigned threads, const std::function<void(std::size_t)>& done) {
  const Options& options = searcher.options();
  GridSlice slice;
  slice.constraintMet.assign(options.constraints.size(), false);
  constexpr std::size_t kPart = 2048;
  std::size_t keptAfterPruning = 0;
  for (std::size_t start = from; start < to; start += kPart) {
    const std::size_t count = std::min(kPart, to - start);
    Options shown = quietOf(options);
    if (done) shown.progress = [&](std::size_t rowsDone, std::size_t) { done(start - from + rowsDone); };
    std::vector<RowResult> part(count);
    const bool complete =
        runParallel(count, threads, shown, [&](std::size_t i) { part[i] = searcher.runRow(rows[start + i]); });
    for (std::size_t i = 0; i < count; ++i) takeRow(slice, std::move(part[i]), rows[start + i]);
    if (options.prune && slice.feasible.size() >= 2 * keptAfterPruning + 4096) {
      keepUsable(slice.feasible);
      keptAfterPruning = slice.feasible.size();
    }
    if (!complete) {
      slice.complete = false;
      break;
    }
  }
  if (options.prune) keepUsable(slice.feasible);
  return slice;
}

// The coarse grid: first the rows whose fixed rules pass, the only ones
// that can hold a feasible design; the others only when these hold none,
// to find the nearest design; a row it skips counts as examined, none of it
// solved. Each step is examined by the options' share, else here.
GridSlice examineGrid(const Searcher& searcher, unsigned threads, Result& result) {
  const Options& options = searcher.options();
  const std::size_t rowCount = searcher.rows();
  std::vector<std::size_t> promising, others;
  for (std::size_t i = 0; i < rowCount; ++i) (searcher.rowCanPass(i) ? promising : others).push_back(i);
  const auto examine = [&](const std::vector<std::size_t>& rows, std::size_t offset) {
    GridStep step;
    step.rows = rows.size();
    step.offset = offset;
    step.total = rowCount;
    step.prune = options.prune;
    step.scan = [&](std::size_t from, std::size_t to, const std::function<void(std::size_t)>& done) {
      return scanRows(searcher, rows, from, to, threads, done);
    };
    if (options.share) return options.share->examine(step);
    std::function<void(std::size_t)> done;
    if (options.progress) done = [&](std::size_t rowsDone) { options.progress(offset + rowsDone, rowCount); };
    return step.scan(0, rows.size(), done);
  };
  GridSlice grid = examine(promising, 0);
  result.cancelled = !grid.complete;
  const bool anyFeasible = grid.feasibleSeen > 0;
  if (!result.cancelled && !anyFeasible) {
    grid.take(examine(others, promising.size()));
    result.cancelled = !grid.complete;
  }
  if (options.progress && !result.cancelled) options.progress(rowCount, rowCount);
  result.evaluated += grid.evaluated + (anyFeasible ? others.size() * searcher.columns() : 0);
  result.solved += grid.solved;
  return grid;
}

// Around the front, a grid kRefine times finer: the front's points are
// where rules meet their bounds, and a step between two points of the
// coarse grid may hold a better design. Points next to each new member of
// the front are examined in turn until the front holds no new member.
void refineAroundFront(const Searcher& searcher, unsigned threads, GridSlice& grid, Result& result) {
  std::vector<Tentative>& tentative = grid.feasible;
  std::set<std::array<long long, 3>> visited;
  std::set<std::array<std::string, 3>> expanded;
  for (int round = 0; round < kMaxRefineRounds; ++round) {
    std::vector<std::vector<double>> vectors;
    std::vector<std::size_t> meeting;
    for (std::size_t i = 0; i < tentative.size(); ++i) {
      if (tentative[i].relativeMiss > 0) continue;
      meeting.push_back(i);
      vectors.push_back({tentative[i].objectives.wearRise, tentative[i].objectives.releaseForceMax});
    }
    // None meets the further constraints yet: the point that misses them
    // by the least is the seed, so the rounds descend on the miss.
    if (meeting.empty()) {
      const auto least = std::min_element(tentative.begin(), tentative.end(), [](const Tentative& a, const Tentative& b) {
        return a.relativeMiss < b.relativeMiss;
      });
      meeting.push_back(static_cast<std::size_t>(least - tentative.begin()));
      vectors.push_back({0, 0});
    }
    std::vector<const Tentative*> seeds;
    for (std::size_t f : paretoFront(vectors)) {
      const Tentative& t = tentative[meeting[f]];
      if (expanded.insert({t.HoverH, t.R, t.RoverR}).second) seeds.push_back(&t);
    }
    if (seeds.empty()) break;
    const std::vector<std::array<std::string, 3>> points = searcher.neighbourhood(seeds, visited);
    std::vector<RowResult> found(points.size());
    if (!runParallel(points.size(), threads, quietOf(searcher.options()),
                     [&](std::size_t i) { found[i] = searcher.runFinePoint(points[i]); })) {
      result.cancelled = true;
      break;
    }
    for (RowResult& f : found) {
      result.evaluated += f.evaluated;
      result.solved += f.solved;
      takePoints(grid, std::move(f.feasible));
    }
  }
}

// Giving h its text moves F1B by less than 1.2 N and the objectives by far
// less than kNearFront: a point farther than that behind the front at the
// solved h cannot reach the front with its text, so only the points near
// it are given texts. Further objectives and constraints are unknown until
// a design is finished: then all are. The Pareto set of the finished
// designs is checked by the window. A point that finds no text, or a
// design the window does not pass, leaves the ranking, and both steps are
// taken again without it (other points may then come near the front).
// A point that misses a further constraint at its solved h by more than
// kNearFront of the constraint's scale cannot meet it with h's text.
class Finisher {
 public:
  Finisher(const Searcher& searcher, unsigned threads, const std::vector<Tentative>& tentative)
      : searcher_(searcher), options_(searcher.options()), quiet_(quietOf(options_)), threads_(threads),
        tentative_(tentative), state_(tentative.size(), State::Open), finished_(tentative.size()),
        constraintsMet_(tentative.size()), constraintMisses_(tentative.size()) {
    for (std::size_t i = 0; i < tentative.size(); ++i)
      if (tentative[i].relativeMiss > kNearFront) state_[i] = State::Dropped;
  }

  // The front, each member finished and passed by the window; empty when
  // none is left (or cancelled).
  void run(Result& result) {
    while (!result.cancelled) {
      const std::vector<std::size_t> toFinish = nearFront();
      if (!finishAll(toFinish)) {
        result.cancelled = true;
        break;
      }
      bool dropped = false;
      for (std::size_t i : toFinish) {
        state_[i] = finished_[i] ? State::Finished : State::Dropped;
        dropped = dropped || !finished_[i];
        if (finished_[i]) ++result.finished;
      }
      if (dropped) continue;
      std::vector<std::size_t> front;
      if (!verifyFront(front, result)) continue;
      for (std::size_t i : front) result.designs.push_back(*finished_[i]);
      break;
    }
  }

  // Why no design came through: the rules no examined design met, the
  // further constraints none met, and the nearest design with its misses.
  Infeasibility explain(const GridSlice& grid) {
    Infeasibility why;
    for (std::size_t i = 0; i < kRuleCount; ++i) why.neverMet[i] = !grid.met[i];
    finishLeastMissing();
    for (std::size_t c = 0; c < options_.constraints.size(); ++c) {
      const bool metAtSolvedH = c < grid.constraintMet.size() && grid.constraintMet[c];
      if (!metAtSolvedH && std::none_of(constraintsMet_.begin(), constraintsMet_.end(),
                                        [c](const std::vector<bool>& m) { return c < m.size() && m[c]; }))
        why.constraintsNeverMet.push_back(options_.constraints[c].name);
    }
    if (grid.nearest) {
      const NearestPoint& n = *grid.nearest;
      DesignInputs inputs = searcher_.base();
      const TextBox boxes[] = {TextBox::Text4, TextBox::Text6, TextBox::Text7, TextBox::Text9};
      for (std::size_t i = 0; i < 4; ++i) inputs.setText(boxes[i], n.texts[i]);
      why.nearest = std::move(inputs);
      for (int i = 0; i < kRuleCount; ++i)
        if (!n.rules[static_cast<std::size_t>(i)].passed) why.misses.push_back({i, n.rules[static_cast<std::size_t>(i)]});
    }
    // Designs passed the twelve rules but none met the further constraints:
    // the nearest is the one that misses them by the least.
    const ConstraintMiss* nearestMissed = nullptr;
    for (const std::unique_ptr<ConstraintMiss>& m : constraintMisses_)
      if (m && (!nearestMissed || m->total < nearestMissed->total)) nearestMissed = &*m;
    if (nearestMissed) {
      why.nearest = nearestMissed->inputs;
      why.misses = nearestMissed->misses;
    }
    return why;
  }

 private:
  enum class State : std::uint8_t { Open, Finished, Verified, Dropped };

  // The open points to give a text: the front at the solved h, of the
  // points that meet every constraint there; a point is given its text
  // unless a member of that front beats it by more than kNearFront on every
  // objective.
  std::vector<std::size_t> nearFront() const {
    std::vector<std::size_t> alive;
    std::vector<std::vector<double>> vectors, meetingVectors;
    for (std::size_t i = 0; i < tentative_.size(); ++i) {
      if (state_[i] == State::Dropped) continue;
      alive.push_back(i);
      vectors.push_back(tentative_[i].vector());
      if (tentative_[i].relativeMiss <= 0) meetingVectors.push_back(vectors.back());
    }
    std::vector<const std::vector<double>*> front;
    if (options_.prune)
      for (std::size_t f : paretoFront(meetingVectors)) front.push_back(&meetingVectors[f]);
    std::vector<std::size_t> toFinish;
    for (std::size_t a = 0; a < alive.size(); ++a) {
      if (state_[alive[a]] != State::Open) continue;
      const std::vector<double>& v = vectors[a];
      if (std::none_of(front.begin(), front.end(), [&](const std::vector<double>* f) { return farBehind(v, *f); }))
        toFinish.push_back(alive[a]);
    }
    return toFinish;
  }

  // Held only for the points given a text: a design is large beside a
  // point, and few points are finished.
  bool finishAll(const std::vector<std::size_t>& which) {
    return runParallel(which.size(), threads_, quiet_, [&](std::size_t k) {
      const std::size_t i = which[k];
      constraintsMet_[i].assign(options_.constraints.size(), false);
      std::optional<ConstraintMiss> missed;
      std::optional<Design> design = searcher_.finish(tentative_[i], constraintsMet_[i], missed);
      finished_[i] = design ? std::make_unique<Design>(std::move(*design)) : nullptr;
      if (missed) constraintMisses_[i] = std::make_unique<ConstraintMiss>(std::move(*missed));
    });
  }

  // The Pareto set of the finished designs, each not yet verified run
  // through the window and the final test. False when one was dropped (or
  // cancelled: then result.cancelled is set).
  bool verifyFront(std::vector<std::size_t>& exactFront, Result& result) {
    std::vector<std::size_t> done;
    std::vector<std::vector<double>> exact;
    for (std::size_t i = 0; i < tentative_.size(); ++i) {
      if (state_[i] != State::Finished && state_[i] != State::Verified) continue;
      done.push_back(i);
      exact.push_back(objectiveVector(*finished_[i]));
    }
    std::vector<std::size_t> toCheck;
    for (std::size_t f : paretoFront(exact)) {
      exactFront.push_back(done[f]);
      if (state_[done[f]] == State::Finished) toCheck.push_back(done[f]);
    }
    // 1: passed by the window; 2: passed by it but not by the final test.
    std::vector<char> passed(toCheck.size(), 0);
    if (!runParallel(toCheck.size(), threads_, quiet_, [&](std::size_t k) {
          Design& design = *finished_[toCheck[k]];
          passed[k] = windowPasses(design.inputs);
          if (!passed[k] || !options_.finalTest) return;
          const FinalFigure figure = finalFigure(design.inputs);
          design.finalFigure = figure.value;
          if (!figure.passed) passed[k] = 2;
        })) {
      result.cancelled = true;
      return false;
    }
    result.verified += toCheck.size();
    bool dropped = false;
    for (std::size_t k = 0; k < toCheck.size(); ++k) {
      state_[toCheck[k]] = passed[k] == 1 ? State::Verified : State::Dropped;
      if (passed[k] != 1) {
        ++(passed[k] ? result.rejectedByFinalTest : result.rejectedByWindow);
        dropped = true;
      }
    }
    return !dropped;
  }

  // The window's verdict and the final test's figure, from an earlier search
  // over this grid when it had them.
  bool windowPasses(const DesignInputs& design) const {
    GridMemo* memo = options_.memo.get();
    if (memo)
      if (const std::optional<bool> kept = memo->passedInWindow(design)) return *kept;
    const bool passed = checkInWindow(design).passed;
    if (memo) memo->keepWindowVerdict(design, passed);
    return passed;
  }
  FinalFigure finalFigure(const DesignInputs& design) const {
    const FinalTest& test = *options_.finalTest;
    GridMemo* memo = test.key.empty() ? nullptr : options_.memo.get();
    if (memo)
      if (const std::optional<FinalFigure> kept = memo->finalFigure(test.key, design)) return *kept;
    const FinalFigure figure = test.figure(design);
    if (memo) memo->keepFinalFigure(test.key, design, figure);
    return figure;
  }

  // No design met the further constraints: gives h its text on the points
  // that missed them by the least, until one passes the twelve rules with
  // it, for the nearest design and its misses.
  void finishLeastMissing() {
    std::vector<std::size_t> byMiss;
    for (std::size_t i = 0; i < tentative_.size(); ++i)
      if (state_[i] == State::Dropped && !finished_[i] && tentative_[i].relativeMiss > 0) byMiss.push_back(i);
    std::stable_sort(byMiss.begin(), byMiss.end(),
                     [&](std::size_t a, std::size_t b) { return tentative_[a].relativeMiss < tentative_[b].relativeMiss; });
    constexpr std::size_t kBatch = 8;
    for (std::size_t from = 0; from < byMiss.size(); from += kBatch) {
      const std::vector<std::size_t> batch(byMiss.begin() + static_cast<std::ptrdiff_t>(from),
                                           byMiss.begin() + static_cast<std::ptrdiff_t>(std::min(from + kBatch, byMiss.size())));
      if (!finishAll(batch)) break;
      if (std::any_of(batch.begin(), batch.end(), [&](std::size_t i) { return constraintMisses_[i] != nullptr; })) break;
    }
  }

  const Searcher& searcher_;
  const Options& options_;
  const Options quiet_;
  const unsigned threads_;
  const std::vector<Tentative>& tentative_;
  std::vector<State> state_;
  std::vector<std::unique_ptr<Design>> finished_;
  std::vector<std::vector<bool>> constraintsMet_;
  std::vector<std::unique_ptr<ConstraintMiss>> constraintMisses_;
};

}  // namespace

Result runSearch(const DesignInputs& base, const Options& options) {
  const auto start = std::chrono::steady_clock::now();
  const Searcher searcher(base, options);
  const unsigned threads = options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
  Result result;
  GridSlice grid = examineGrid(searcher, threads, result);
  if (options.refine && !grid.feasible.empty() && !result.cancelled) refineAroundFront(searcher, threads, grid, result);
  result.feasible = grid.feasibleSeen;

  Finisher finisher(searcher, threads, grid.feasible);
  finisher.run(result);
  std::stable_sort(result.designs.begin(), result.designs.end(),
                   [](const Design& a, const Design& b) { return a.wearRise < b.wearRise; });
  if (result.designs.empty() && !result.cancelled) result.infeasible = finisher.explain(grid);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace diaspring::search
