#pragma once
// Comma-separated values as spreadsheets write them: fields in double quotes
// may hold separators, quotes (doubled) and line breaks; records end at LF,
// CRLF or CR outside quotes; a UTF-8 byte-order mark at the start is skipped.
// The separator is a comma, or what a spreadsheet set to a decimal comma
// writes: a semicolon; or a tab (separatorOf tells them apart).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace diaspring::csv {

struct Record {
  std::vector<std::string> fields;
  std::size_t line = 0;  // where the record starts, from 1
  std::string error;     // why the record cannot be read; empty when it can
};

// Every record of the text, blank lines left out. A malformed record keeps
// its error and reading resumes at the next line, so one bad row does not
// spoil the rest.
std::vector<Record> parse(std::string_view text);

// The separator of the dialect a line is written in: ';' when it holds a
// semicolon outside quotes, else a tab when it holds one and no comma, else ','.
char separatorOf(std::string_view line);

// The record of one line (given without its line end) with that separator:
// a quote still open at its end spoils that line only, whatever follows.
Record parseLine(std::string_view line, std::size_t number, char separator = ',');

// One field, quoted when it must be (comma, quote, line break, or blanks at
// either end).
std::string field(std::string_view text);

// A field or a name as a message echoes it: quoteText() at 80 columns.
std::string shown(std::string_view text);

// A whole record with its line end ("\n").
std::string line(const std::vector<std::string>& fields);

}  // namespace diaspring::csv
