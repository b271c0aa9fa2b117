#pragma once
// Parameter studies: many designs, each evaluated on a fresh window by the
// curve command and then the check, exactly as the window would, the
// results gathered into one table.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "study/csv.h"
#include "form/controls.h"
#include "form/design_inputs.h"

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
  char separator = ',';  // of the file's dialect, as its header shows it (csv::separatorOf)
};

// The whole study from its text: the header, then one record per line.
// A design input never holds a line break, so a quoted cell never spans
// lines: a quote left open spoils its own line only.
StudyInput readStudy(std::string_view csvText);

// A line longer than this is not kept: its row is reported unreadable.
inline constexpr std::size_t kMaxStudyLineBytes = std::size_t{1} << 20;

// The lines of a study file, read in parts of 64 KiB through `read` (which
// fills a buffer and returns the bytes it put there, 0 at the end; it may
// throw): LF, CRLF or a lone CR end a line, a UTF-8 byte-order mark at the
// start is skipped, blank lines are left out. Memory stays within a part
// and kMaxStudyLineBytes, however long the input or a line.
class StudyLines {
 public:
  using Read = std::function<std::size_t(char* buffer, std::size_t size)>;
  explicit StudyLines(Read read) : read_(std::move(read)) {}

  struct Line {
    std::string text;
    std::size_t number = 0;  // from 1, blank lines counted
    bool tooLong = false;    // longer than kMaxStudyLineBytes; text empty
  };
  bool next(Line& line);
  std::uintmax_t bytesRead() const { return bytesRead_; }

 private:
  void fill();
  Read read_;
  std::string buffer_;
  std::size_t pos_ = 0, scan_ = 0, line_ = 0;
  bool eof_ = false, discarding_ = false;
  std::uintmax_t bytesRead_ = 0;
};

// The study's header, from its first line that is not blank; its dialect
// (comma, semicolon or tab) holds for the rows.
StudyInput readStudyHeader(StudyLines& lines);

// A row of `study` from a line.
csv::Record studyRow(const StudyInput& study, const StudyLines::Line& line);

// The header of the result: the input columns, the twelve point values, for
// each rule its value (where it shows one) and a pass/fail column, the main
// results of the strength and release analysis (analysisColumns()), then
// `fault`.
std::vector<std::string> resultColumns(const StudyInput& study);
std::vector<std::string> analysisColumns();

// The design of one row: the window's defaults with the row's texts typed
// over them, and its analysis columns as extras.
DesignInputs rowInputs(const StudyInput& study, const csv::Record& row);

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
  std::size_t warningsLeftOut = 0;  // streamStudy: beyond kMaxStudyWarnings
};
inline constexpr std::size_t kMaxStudyWarnings = 1000;

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

// The same table for the rows still in `lines` (after readStudyHeader), in
// batches: each batch's rows run on the threads, and its results go to
// `write` in the input's order, the header line first. So memory holds a
// batch, not the study. progress(rows done, 0) after each batch but the
// last. Stops
// after the batch whose write returned false; the tally then counts the
// rows that ran. At most kMaxStudyWarnings warnings are kept.
StudyTally streamStudy(const StudyInput& study, StudyLines& lines,
                       const std::function<bool(std::string_view)>& write, const StudyOptions& options = {});

}  // namespace diaspring
