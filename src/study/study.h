#pragma once
// Parameter studies: many designs, each evaluated on a fresh window by the
// curve command and then the check, exactly as the window would, the
// results gathered into one table.

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "study/csv.h"
#include "form/controls.h"

namespace diaspring {

// A study file that cannot be run at all (no header, unknown or repeated
// columns). Rows that cannot be read are not errors: they are reported in
// their own row of the result.
class StudyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct StudyInput {
  std::vector<std::string> columns;  // as named in the file's header
  std::vector<TextBox> boxes;        // the box each column is typed into
  // For each column, the name of the analysis input it sets (n, b, Rm, ...),
  // or empty for a column typed into a box; an extra's box is unused.
  std::vector<std::string> extras;
  std::vector<csv::Record> rows;
};

StudyInput readStudy(std::string_view csvText);

// The header of the result: the input columns, the twelve point values, for
// each rule its value (where it shows one) and a pass/fail column, the main
// results of the strength and release analysis (analysisColumns()), then
// `fault`.
std::vector<std::string> resultColumns(const StudyInput& study);
std::vector<std::string> analysisColumns();

// One row of the result for one design.
std::vector<std::string> evaluateRow(const StudyInput& study, const csv::Record& row);

struct StudyOptions {
  unsigned threads = 0;  // 0: one per core
  // Called now and then from the thread that runs the study, with the rows
  // done so far.
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// The whole result as CSV text, rows in the input's order; the same text
// for any number of threads.
std::string runStudy(const StudyInput& study, const StudyOptions& options = {});

}  // namespace diaspring
