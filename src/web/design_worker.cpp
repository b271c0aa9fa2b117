// The automatic design as the page runs it, as `diaspring-cli design` does.
#include "web/design_worker.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "chart/display_list.h"
#include "cli/design_command.h"
#include "search/grid_memo.h"
#include "search/grid_slice.h"
#include "search/tradeoff_chart.h"
#include "web/chart_value.h"

namespace diaspring::web {
namespace {

// The automatic design, as `diaspring-cli design` with these arguments (a
// JSON array of texts) on one thread, its grids examined by `share`.
std::string designOutcome(const std::string& argsJson, const cli::ProgressSink& sink, search::GridShare* share,
                          std::shared_ptr<search::GridMemo> memo = nullptr) {
  std::vector<std::string> args;
  try {
    for (const auto& a : nlohmann::json::parse(argsJson)) args.push_back(a.get<std::string>());
  } catch (const std::exception&) {
    return R"({"status":2,"out":"","err":"the arguments are not a JSON array of texts"})";
  }
  const std::vector<std::string_view> views(args.begin(), args.end());
  const cli::Outcome outcome = cli::runDesignCommand(views, sink, share, std::move(memo));
  return jsonObject([&](JsonList& out) { outcomeMembers(out, outcome); });
}

}  // namespace

void outcomeMembers(JsonList& out, const cli::Outcome& outcome) {
  out.count("status", outcome.status);
  out.texts({{"out", outcome.out}, {"err", outcome.err}});
}

std::string runDesign(const std::string& argsJson, emscripten::val progress) {
  return designOutcome(argsJson, [&progress](std::string_view line) { progress(std::string(line)); }, nullptr);
}

void DesignWorker::give(int number, const emscripten::val& slices) {
  std::vector<std::string> texts;
  const auto count = slices["length"].as<unsigned>();
  for (unsigned i = 0; i < count; ++i) texts.push_back(slices[i].as<std::string>());
  given_.emplace_back(static_cast<std::size_t>(number), std::move(texts));
}

std::string DesignWorker::run(const std::string& argsJson, emscripten::val progress) {
  search::SlicedShare share(part_, parts_, [&progress](std::size_t number, std::size_t done, const search::GridStep& step) {
    progress(static_cast<double>(number), static_cast<double>(done), static_cast<double>(step.offset),
             static_cast<double>(step.total));
  });
  for (const auto& [number, texts] : given_) share.give(number, texts);
  try {
    const std::string done = designOutcome(argsJson, {}, &share, memo_);
    return jsonObject([&](JsonList& out) { out.json("done", done); });
  } catch (const search::SlicedShare::Stopped& stopped) {
    return jsonObject([&](JsonList& out) {
      out.count("stopped", static_cast<std::int64_t>(stopped.step));
      out.text("slice", stopped.slice);
    });
  }
}

emscripten::val tradeOffChart(const std::string& pointsJson, int picked) {
  std::vector<search::TradeOffPoint> points;
  try {
    for (const auto& p : nlohmann::json::parse(pointsJson)) {
      search::TradeOffPoint point{p.at(0).get<double>(), p.at(1).get<double>(), std::nullopt};
      if (p.size() > 2 && p.at(2).is_number()) point.stress = p.at(2).get<double>();
      points.push_back(point);
    }
  } catch (const std::exception&) {
    points.clear();
  }
  DisplayList chart;
  std::optional<std::size_t> pick;
  if (picked >= 0 && static_cast<std::size_t>(picked) < points.size()) pick = static_cast<std::size_t>(picked);
  search::drawTradeOff(chart, points, pick);
  return chartValue(chart);
}

}  // namespace diaspring::web
