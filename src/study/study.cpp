#include "study/study.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "analysis/analysis_table.h"
#include "analysis/spring_analysis.h"
#include "check/constraint_check.h"
#include "form/extra_inputs.h"
#include "model/points.h"
#include "runtime/convert.h"
#include "runtime/thread_group.h"
#include "form/named_inputs.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace diaspring {
namespace {

// A chart nobody looks at: the handlers still round every coordinate for
// it, so a design whose curve cannot be drawn faults as in the window.
class UnseenChart final : public Surface {
 public:
  void scale(float, float, float, float) override {}
  void line(float, float, float, float, std::optional<Color>) override {}
  void pset(float, float, Color) override {}
  void setCurrentX(float) override {}
  void setCurrentY(float) override {}
  void print(std::string_view) override {}
  void drawWidth(int) override {}
  void cls() override {}
};

// The rules that show a number, and the pattern they show it with.
const char* valuePattern(int rule) {
  switch (rule) {
    case 0: return "0.000";
    case 1: case 7: return nullptr;  // verdict only
    case 2: return "";               // the general number form
    default: return "0.00";
  }
}

std::string describe(Command command, const Fault& fault) {
  return commandName(command) + ": " + std::string(faultName(fault.kind()));
}

}  // namespace

std::optional<std::string> partialNumberNote(std::string_view text) {
  // An empty box shows it holds nothing; only a number read from part of a
  // text can mislead.
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos || isWholeNumber(text)) return std::nullopt;
  std::string number;
  try {
    number = generalText(val(text));
  } catch (const Fault&) {
    return csv::shown(text) + " is not wholly a number, and its leading number is too large";
  }
  return csv::shown(text) + " is read as " + number;
}

StudyInput readStudy(std::string_view csvText) {
  std::vector<csv::Record> records = csv::parse(csvText);
  if (records.empty()) throw StudyError("the study file is empty: its first line must name the input columns");
  csv::Record& header = records.front();
  if (!header.error.empty()) throw StudyError("the header line cannot be read: " + header.error);

  // A header or row ending in a comma (as spreadsheets may write them) has
  // empty fields at its end: they name no column and hold nothing.
  std::vector<std::string> names = std::move(header.fields);
  while (names.size() > 1 && names.back().empty()) names.pop_back();
  StudyInput study;
  std::vector<std::string> unknown;
  for (const std::string& name : names) {
    const auto box = boxOfNamedInput(name);
    const bool extra = extraInputOfName(name) != nullptr;
    if (!box && !extra) {
      unknown.push_back(csv::shown(name));
      continue;
    }
    if (std::find(study.columns.begin(), study.columns.end(), name) != study.columns.end())
      throw StudyError("column " + csv::shown(name) + " is named twice");
    study.columns.push_back(name);
    study.boxes.push_back(box.value_or(TextBox::Text1));
    study.extras.push_back(extra ? name : std::string());
  }
  if (!unknown.empty()) {
    std::string list;
    for (const std::string& name : unknown) list += (list.empty() ? "" : ", ") + name;
    std::string known;
    for (const NamedInput& input : namedInputs()) known += (known.empty() ? "" : " ") + std::string(input.name);
    for (const NamedInput& input : engineInputs()) known += " " + std::string(input.name);
    for (const ExtraInput& input : extraInputs()) known += " " + std::string(input.name);
    throw StudyError("unknown column" + std::string(unknown.size() > 1 ? "s " : " ") + list + " (known: " + known + ")");
  }
  records.erase(records.begin());
  for (csv::Record& row : records)
    while (row.fields.size() > study.columns.size() && row.fields.back().empty()) row.fields.pop_back();
  study.rows = std::move(records);
  return study;
}

std::vector<std::string> resultColumns(const StudyInput& study) {
  std::vector<std::string> columns = study.columns;
  for (const PointBoxes& point : characteristicPoints()) {
    columns.push_back(std::string("F1") + point.symbol);
    columns.push_back(std::string("lambda1") + point.symbol);
  }
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const std::string key = ruleInfo(rule).key;
    if (valuePattern(rule)) columns.push_back(key);
    columns.push_back(key + "_pass");
  }
  for (std::string& column : analysisColumns()) columns.push_back(std::move(column));
  columns.emplace_back("fault");
  return columns;
}

std::vector<std::string> analysisColumns() {
  return {"sigmaOMmax", "sigmaImax", "sigmaFingerMax", "F2maxNew", "F2maxWorn", "lambda2EndNew",
          "lambda2EndWorn", "fatigueSafetyNew", "fatigueSafetyWorn", "strength_pass", "analysis_error"};
}

DesignInputs rowInputs(const StudyInput& study, const csv::Record& row) {
  DesignInputs inputs;
  for (std::size_t i = 0; i < study.columns.size() && i < row.fields.size(); ++i) {
    if (i < study.extras.size() && !study.extras[i].empty()) inputs.setExtra(study.extras[i], row.fields[i]);
    else inputs.setText(study.boxes[i], row.fields[i]);
  }
  return inputs;
}

std::vector<std::string> evaluateRow(const StudyInput& study, const csv::Record& row, RowOutcome* outcome) {
  RowOutcome ignored;
  RowOutcome& how = outcome != nullptr ? *outcome : ignored;
  how = {};
  std::vector<std::string> out(resultColumns(study).size());
  for (std::size_t i = 0; i < study.columns.size() && i < row.fields.size(); ++i) out[i] = row.fields[i];
  std::string& fault = out.back();
  const std::string line = "line " + std::to_string(row.line);
  if (!row.error.empty() || row.fields.size() != study.columns.size()) {
    how.kind = RowOutcome::Kind::Unreadable;
    fault = line + ": " +
            (!row.error.empty() ? row.error
                                : std::to_string(row.fields.size()) + " fields where the header has " +
                                      std::to_string(study.columns.size()));
    return out;
  }

  MemoryFields fields;
  UnseenChart chart;
  WindowLogic window(fields, chart);
  const DesignInputs inputs = rowInputs(study, row);
  inputs.typeInto(fields);
  for (std::size_t i = 0; i < study.columns.size(); ++i) {
    const bool read = !study.extras[i].empty() || isNamedInputBox(study.boxes[i]);  // not the engine data
    if (!read) continue;
    if (auto note = partialNumberNote(row.fields[i]))
      how.warnings.push_back(line + ", column " + study.columns[i] + ": " + *note);
  }
  RuleResults rules;
  std::vector<std::string> faults;
  const auto curveFault = window.press(Command::Command1);
  if (curveFault) faults.push_back(describe(Command::Command1, *curveFault));
  try {
    window.command3Click(&rules);
  } catch (const Fault& f) {
    faults.push_back(describe(Command::Command3, f));
  }

  std::size_t column = study.columns.size();
  for (const PointBoxes& point : characteristicPoints()) {
    out[column++] = fields.text(point.load);
    out[column++] = fields.text(point.deflection);
  }
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const RuleResult& result = rules[static_cast<std::size_t>(rule)];
    if (const char* pattern = valuePattern(rule)) {
      if (result.evaluated) out[column] = *pattern ? format(result.value, pattern) : generalText(result.value);
      ++column;
    }
    out[column++] = result.evaluated ? (result.passed ? "pass" : "fail") : "";
  }
  if (!curveFault) {
    const ParamsResult params = analysisParams(inputs);
    SpringAnalysis a;
    if (params.error.empty()) a = analyseSpring(curveRunOf(window, fields), params.params);
    else a.error = params.error;
    if (a.error.empty()) {
      const auto number = [](double v) { return std::isinf(v) ? std::string("inf") : analysisNumber(v, "0.000"); };
      const StaticChecks& c = a.checks;
      for (double v : {c.sigmaOMmax, c.sigmaImax, c.sigmaFingerMax, a.newStroke.F2max, a.wornStroke.F2max,
                       a.newStroke.lambda2End, a.wornStroke.lambda2End, a.fatigueNew.governingPlace().safety,
                       a.fatigueWorn.governingPlace().safety})
        out[column++] = number(v);
      const bool pass = c.omPass && c.iPass && c.fingerPass && a.fatigueNew.governingPlace().safety >= 1 &&
                        a.fatigueWorn.governingPlace().safety >= 1;
      out[column] = pass ? "pass" : "fail";
    } else {
      out[column + analysisColumns().size() - 1] = a.error;
    }
  }
  for (const std::string& f : faults) fault += (fault.empty() ? "" : "; ") + f;
  if (!faults.empty()) how.kind = RowOutcome::Kind::Faulted;
  return out;
}

std::string runStudy(const StudyInput& study, const StudyOptions& options, StudyTally* tally) {
  const std::size_t total = study.rows.size();
  std::vector<std::string> lines(total);
  std::vector<RowOutcome> outcomes(total);
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};

  unsigned threads = options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(total, 1)));

  std::mutex mutex;
  std::condition_variable finished;
  const auto work = [&] {
    for (std::size_t i = next++; i < total; i = next++) {
      lines[i] = csv::line(evaluateRow(study, study.rows[i], &outcomes[i]));
      if (++done == total) {
        std::lock_guard lock(mutex);
        finished.notify_all();
      }
    }
  };
  ThreadGroup pool;
  pool.start(threads, work);

  if (options.progress) {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(200), [&] { return done.load() == total; }))
      options.progress(done.load(), total);
    options.progress(total, total);
  }
  pool.join();

  if (tally != nullptr) {
    *tally = StudyTally{};
    tally->rows = total;
    for (RowOutcome& row : outcomes) {
      tally->faulted += row.kind == RowOutcome::Kind::Faulted;
      tally->unreadable += row.kind == RowOutcome::Kind::Unreadable;
      for (std::string& warning : row.warnings) tally->warnings.push_back(std::move(warning));
    }
  }

  std::string out = csv::line(resultColumns(study));
  for (const std::string& l : lines) out += l;
  return out;
}

}  // namespace diaspring
