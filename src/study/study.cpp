#include "study/study.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "analysis/analysis_table.h"
#include "analysis/spring_analysis.h"
#include "check/constraint_check.h"
#include "form/extra_inputs.h"
#include "model/points.h"
#include "runtime/convert.h"
#include "runtime/thread_group.h"
#include "form/input_boxes.h"
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

// "Command1: point not found — 膜片厚度 h 框的“abc”读作 0…": the fault with
// the cause the window gives, as the headless front end's report and --json.
std::string describe(Command command, const Fault& fault) {
  return commandName(command) + ": " + std::string(faultName(fault.kind())) +
         (fault.cause().empty() ? "" : " — " + fault.cause());
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

namespace {

// The columns named by a header record.
StudyInput studyOfHeader(csv::Record header) {
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
    for (const InputBox& input : namedInputs()) known += (known.empty() ? "" : " ") + std::string(input.name);
    for (const InputBox& input : engineInputs()) known += " " + std::string(input.name);
    for (const ExtraInput& input : extraInputs()) known += " " + std::string(input.name);
    throw StudyError("unknown column" + std::string(unknown.size() > 1 ? "s " : " ") + list + " (known: " + known + ")");
  }
  return study;
}

const std::string& tooLongText() {
  static const std::string text = "the line is longer than " + std::to_string(kMaxStudyLineBytes) + " bytes";
  return text;
}

}  // namespace

bool StudyLines::next(Line& line) {
  for (;;) {
    std::size_t end = buffer_.find_first_of("\r\n", scan_);
    if (end == std::string::npos && !eof_) {
      if (buffer_.size() - pos_ > kMaxStudyLineBytes) {
        discarding_ = true;  // keep none of it; find where it ends
        buffer_.clear();
        pos_ = scan_ = 0;
      } else {
        scan_ = buffer_.size();
      }
      fill();
      continue;
    }
    // A CR at the end of what has been read may be the first half of a CRLF.
    if (end != std::string::npos && buffer_[end] == '\r' && end + 1 == buffer_.size() && !eof_) {
      scan_ = end;
      fill();
      continue;
    }
    if (end == std::string::npos) {  // the end of the input
      end = buffer_.size();
      if (pos_ == end && !discarding_) return false;
    }
    line.number = ++line_;
    line.tooLong = discarding_ || end - pos_ > kMaxStudyLineBytes;
    if (line.tooLong) line.text.clear();
    else line.text.assign(buffer_, pos_, end - pos_);
    std::size_t after = end < buffer_.size() ? end + 1 : end;
    if (end < buffer_.size() && buffer_[end] == '\r' && after < buffer_.size() && buffer_[after] == '\n') ++after;
    pos_ = scan_ = after;
    discarding_ = false;
    if (line.number == 1 && line.text.rfind("\xEF\xBB\xBF", 0) == 0) line.text.erase(0, 3);
    if (!line.tooLong && line.text.empty()) continue;  // a blank line
    return true;
  }
}

void StudyLines::fill() {
  buffer_.erase(0, pos_);
  scan_ -= pos_;
  pos_ = 0;
  constexpr std::size_t kPart = 64 << 10;
  const std::size_t have = buffer_.size();
  buffer_.resize(have + kPart);
  const std::size_t n = read_(buffer_.data() + have, kPart);
  buffer_.resize(have + n);
  bytesRead_ += n;
  if (n == 0) eof_ = true;
}

StudyInput readStudyHeader(StudyLines& lines) {
  StudyLines::Line line;
  if (!lines.next(line)) throw StudyError("the study file is empty: its first line must name the input columns");
  if (line.tooLong) throw StudyError("the header line cannot be read: " + tooLongText());
  const char separator = csv::separatorOf(line.text);
  StudyInput study = studyOfHeader(csv::parseLine(line.text, line.number, separator));
  study.separator = separator;
  return study;
}

csv::Record studyRow(const StudyInput& study, const StudyLines::Line& line) {
  if (line.tooLong) {
    csv::Record row;
    row.line = line.number;
    row.error = tooLongText();
    return row;
  }
  csv::Record row = csv::parseLine(line.text, line.number, study.separator);
  while (row.fields.size() > study.columns.size() && row.fields.back().empty()) row.fields.pop_back();
  return row;
}

StudyInput readStudy(std::string_view csvText) {
  StudyLines lines([text = csvText](char* buffer, std::size_t size) mutable {
    const std::size_t n = std::min(size, text.size());
    std::copy_n(text.data(), n, buffer);
    text.remove_prefix(n);
    return n;
  });
  StudyInput study = readStudyHeader(lines);
  for (StudyLines::Line line; lines.next(line);) study.rows.push_back(studyRow(study, line));
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
          "lambda2EndWorn", "fatigueSafetyNew", "fatigueSafetyWorn", "strength_pass", "fatigue_pass",
          "fatigue_data", "analysis_error"};
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
      // strength_pass: the static checks only (σOM against Rm, |σI| against
      // [σ], σf against [σf]). The fatigue verdict stands apart with its data
      // source: the required life on both strokes, by the user's lines; with
      // the shipped example line there is no verdict (empty), as the window
      // prints none.
      out[column++] = c.omPass && c.iPass && c.fingerPass ? "pass" : "fail";
      const AnalysisParams& p = params.params;
      const bool lives = a.fatigueNew.shortestLifePlace().life.covers(p.requiredCycles) &&
                         a.fatigueWorn.shortestLifePlace().life.covers(p.requiredCycles);
      out[column++] = p.userFatigueData ? (lives ? "pass" : "fail") : "";
      out[column] = p.userFatigueData ? "user" : "example";
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

  const unsigned threads = workerCount(options.threads, total);

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

namespace diaspring {

StudyTally streamStudy(const StudyInput& study, StudyLines& lines, const std::function<bool(std::string_view)>& write,
                       const StudyOptions& options) {
  // Rows in flight: enough to keep the threads busy between writes, few
  // enough that memory does not grow with the study.
  constexpr std::size_t kBatch = 512;
  StudyTally tally;
  if (!write(csv::line(resultColumns(study)))) return tally;

  std::vector<csv::Record> rows;
  std::vector<std::string> out;
  std::vector<RowOutcome> outcomes;
  bool more = true;
  while (more) {
    rows.clear();
    for (StudyLines::Line line; rows.size() < kBatch && (more = lines.next(line));)
      rows.push_back(studyRow(study, line));
    if (rows.empty()) break;
    out.assign(rows.size(), {});
    outcomes.assign(rows.size(), {});
    parallelFor(rows.size(), workerCount(options.threads, rows.size()),
                [&](std::size_t i) { out[i] = csv::line(evaluateRow(study, rows[i], &outcomes[i])); });

    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      text += out[i];
      ++tally.rows;
      tally.faulted += outcomes[i].kind == RowOutcome::Kind::Faulted;
      tally.unreadable += outcomes[i].kind == RowOutcome::Kind::Unreadable;
      for (std::string& warning : outcomes[i].warnings) {
        if (tally.warnings.size() < kMaxStudyWarnings) tally.warnings.push_back(std::move(warning));
        else ++tally.warningsLeftOut;
      }
    }
    if (!write(text)) break;
    if (options.progress && more) options.progress(tally.rows, 0);
  }
  return tally;
}

}  // namespace diaspring
