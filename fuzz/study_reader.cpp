// Any bytes as a study file. The CSV reader and readStudy either read them
// or reject them with a StudyError: no crash, no hang, no unbounded memory.
// What they read holds together: records come in line order, a record read
// without error is written back by csv::line and read again unchanged, and a
// study has one input box per column and its rows as the CSV reader gave them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "study/csv.h"
#include "study/study.h"

using diaspring::fuzz::require;
namespace csv = diaspring::csv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::vector<csv::Record> records = csv::parse(text);
  std::size_t lastLine = 0;
  for (const csv::Record& record : records) {
    require(record.line > lastLine, "records start on increasing lines", text);
    lastLine = record.line;
    require(!record.fields.empty(), "a record has at least one field", text);
    // A lone empty field is written as a blank line, and a byte-order mark
    // at the start of a file is not data: neither comes back.
    const bool comesBack = record.error.empty() && !(record.fields.size() == 1 && record.fields[0].empty()) &&
                           record.fields[0].rfind("\xEF\xBB\xBF", 0) != 0;
    if (!comesBack) continue;
    const std::vector<csv::Record> again = csv::parse(csv::line(record.fields));
    require(again.size() == 1 && again[0].error.empty() && again[0].fields == record.fields,
            "a record written by csv::line reads back unchanged", text);
  }

  try {
    const diaspring::StudyInput study = diaspring::readStudy(text);
    require(study.columns.size() == study.boxes.size(), "one box per column", text);
    require(!study.columns.empty(), "a study names at least one column", text);
    require(diaspring::resultColumns(study).size() > study.columns.size(), "the result adds columns", text);
    // A study reads one record per line (a quote never spans lines).
    const auto lineEnds = static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }));
    require(study.rows.size() < lineEnds + 1, "the header is not a row", text);
    std::size_t lastRow = 0;
    for (const csv::Record& row : study.rows) {
      require(row.line > lastRow, "rows come in line order, one a line", text);
      lastRow = row.line;
    }
  } catch (const diaspring::StudyError&) {
    // A file that cannot be a study: rejected with a message.
  }
  return 0;
}
