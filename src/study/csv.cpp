#include "study/csv.h"

#include <algorithm>

#include "runtime/utf8_text.h"

namespace diaspring::csv {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }
  // One line of a longer text, without its line end.
  Reader(std::string_view line, std::size_t number, char separator) : s_(line), line_(number), sep_(separator) {}

  std::vector<Record> readAll() {
    std::vector<Record> records;
    while (pos_ < s_.size()) {
      if (isLineEnd(s_[pos_])) {  // a blank line
        skipLineEnd();
        continue;
      }
      records.push_back(readRecord());
    }
    return records;
  }

 Record readRecord() {
    Record record;
    record.line = line_;
    for (;;) {
      std::string value;
      if (!readField(value, record.error)) {
        record.fields.push_back(std::move(value));
        skipRestOfLine();
        return record;
      }
      record.fields.push_back(std::move(value));
      if (pos_ >= s_.size()) return record;
      if (isLineEnd(s_[pos_])) {
        skipLineEnd();
        return record;
      }
      ++pos_;  // the separator
    }
  }

 private:
  // Reads one field up to (not past) its comma or line end. Runs of text are
  // copied whole, so a long field costs its length once.
  bool readField(std::string& value, std::string& error) {
    if (pos_ < s_.size() && s_[pos_] == '"') {
      const std::size_t startLine = line_;
      const std::size_t open = ++pos_;
      for (;;) {
        const std::size_t quote = s_.find('"', pos_);
        if (quote == std::string_view::npos) {
          // Never closed: the record ends with the line that opened the
          // quote, and reading goes on at the line after it.
          const std::size_t end = std::min(s_.find_first_of("\r\n", open), s_.size());
          value.assign(s_.substr(open, end - open));
          pos_ = end;
          line_ = startLine;
          error = "quoted field opened on line " + std::to_string(startLine) + " is not closed";
          return false;
        }
        const std::string_view run = s_.substr(pos_, quote - pos_);
        line_ += lineEnds(run);
        value += run;
        pos_ = quote + 1;
        if (pos_ < s_.size() && s_[pos_] == '"') {
          value += '"';
          ++pos_;
          continue;
        }
        if (pos_ < s_.size() && s_[pos_] != sep_ && !isLineEnd(s_[pos_])) {
          error = "unexpected text after a closing quote on line " + std::to_string(line_);
          return false;
        }
        return true;
      }
    }
    const char stops[] = {sep_, '"', '\r', '\n', '\0'};
    const std::size_t end = std::min(s_.find_first_of(std::string_view(stops, 4), pos_), s_.size());
    value.assign(s_.substr(pos_, end - pos_));
    pos_ = end;
    if (pos_ < s_.size() && s_[pos_] == '"') {
      error = "quote inside an unquoted field on line " + std::to_string(line_);
      return false;
    }
    return true;
  }

  // Line ends within quoted text: LF, CRLF or a lone CR each count once.
  static std::size_t lineEnds(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++n;
    return n;
  }

  void skipLineEnd() {
    if (s_[pos_] == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }

  void skipRestOfLine() {
    while (pos_ < s_.size() && !isLineEnd(s_[pos_])) ++pos_;
    if (pos_ < s_.size()) skipLineEnd();
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  char sep_ = ',';
};

}  // namespace

std::vector<Record> parse(std::string_view text) { return Reader(text).readAll(); }

Record parseLine(std::string_view line, std::size_t number, char separator) {
  return Reader(line, number, separator).readRecord();
}

char separatorOf(std::string_view line) {
  bool quoted = false, comma = false, tab = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == ';') return ';';
    comma = comma || c == ',';
    tab = tab || c == '\t';
  }
  return tab && !comma ? '\t' : ',';
}

std::string field(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                                        text.back() == '\t'));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string shown(std::string_view text) { return quoteText(text, 80); }

std::string line(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    out += field(fields[i]);
  }
  out += '\n';
  return out;
}

}  // namespace diaspring::csv
