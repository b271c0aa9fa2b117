#pragma once
// Parameter studies: many designs, each evaluated on a fresh window by the
// curve command and then the check, exactly as the window would, the
// results gathered into one table.

#include <cstddef>
#include <functional>
#include <optional>
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

// How a row went, besides its row of the result.
struct RowOutcome {
  enum class Kind { Ran, Faulted, Unreadable } kind = Kind::Ran;
  // Cells that are not wholly a number, read as the window reads them (by
  // their leading number): "line 3, column h: '2.2 mm' is read as 2.2".
  std::vector<std::string> warnings;
};

// One row of the result for one design.
std::vector<std::string> evaluateRow(const StudyInput& study, const csv::Record& row, RowOutcome* outcome = nullptr);

// The rows of a whole study: how many there were, how many faulted in a
// handler, how many could not be read, and every row's warnings in order.
struct StudyTally {
  std::size_t rows = 0;
  std::size_t faulted = 0;
  std::size_t unreadable = 0;
  std::vector<std::string> warnings;
};

// What a text typed into a box that holds a number reads as, when it is not
// wholly a number: "'2.2 mm' is read as 2.2"; nothing when it is, or when it
// is empty (blanks only).
std::optional<std::string> partialNumberNote(std::string_view text);

struct StudyOptions {
  unsigned threads = 0;  // 0: one per core
  // Called now and then from the thread that runs the study, with the rows
  // done so far.
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// The whole result as CSV text, rows in the input's order; the same text
// for any number of threads.
// With `tally`, also how the rows went.
std::string runStudy(const StudyInput& study, const StudyOptions& options = {}, StudyTally* tally = nullptr);

}  // namespace diaspring
