#include "compare/measured_curve.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/utf8_text.h"
#include "study/csv.h"

namespace diaspring::compare {
namespace {

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The cells of a line: in the study files' dialects (comma, semicolon or
// tab, quotes as a spreadsheet writes them; csv::separatorOf), or split at
// blanks when the line holds none of their separators.
std::vector<std::string> cells(std::string_view line) {
  std::vector<std::string> out;
  if (line.find_first_of(",;\t") != std::string_view::npos) {
    const char separator = csv::separatorOf(line);
    const csv::Record record = csv::parseLine(line, 0, separator);
    for (const std::string& field : record.fields)
      if (separator != '\t' || !trim(field).empty()) out.emplace_back(trim(field));  // tabs may align columns
    return out;
  }
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) out.emplace_back(line.substr(start, i - start));
  }
  return out;
}

// The cell's number when it is wholly one and finite.
std::optional<double> number(std::string_view cell) {
  if (cell.empty() || !isWholeNumber(cell) || cell.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
  try {
    const double v = val(cell).value();
    if (std::isfinite(v)) return v;
  } catch (const Fault&) {
  }
  return std::nullopt;
}

// A cell inside a message: quoted, at most 40 columns.
std::string shownCell(std::string_view s) { return quoteText(s, 40); }

MeasuredRead fault(int line, std::string message, std::string chinese) {
  MeasuredRead r;
  r.line = line;
  r.error = line > 0 ? "line " + std::to_string(line) + ": " + message : std::move(message);
  r.errorZh = line > 0 ? "第 " + std::to_string(line) + " 行：" + chinese : std::move(chinese);
  return r;
}

std::string text(double v) { return generalText(Num(v)); }

}  // namespace

double MeasuredCurve::loadingAt(double l) const {
  if (loading.empty() || l < loading.front().first || l > loading.back().first) return NAN;
  const auto it = std::lower_bound(loading.begin(), loading.end(), l,
                                   [](const XY& p, double x) { return p.first < x; });
  if (it->first == l || it == loading.begin()) return it->second;
  const XY& a = *(it - 1);
  const XY& b = *it;
  return a.second + (b.second - a.second) * (l - a.first) / (b.first - a.first);
}

MeasuredRead parseMeasured(std::string_view text_, std::string name) {
  MeasuredCurve c;
  c.name = std::move(name);
  std::vector<int> lines;  // the line of each row
  std::vector<XY> rows;
  int lineNo = 0;
  bool sawContent = false;
  std::size_t pos = 0;
  while (pos < text_.size()) {
    // Lines end at LF, CRLF or a lone CR (as older spreadsheets save them).
    const std::size_t end = text_.find_first_of("\r\n", pos);
    std::string_view line = text_.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text_.size()
          : text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? end + 2
                                                                                 : end + 1;
    ++lineNo;
    if (lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte-order mark
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> cs = cells(line);
    const bool firstContent = !sawContent;
    sawContent = true;
    const auto x = cs.empty() ? std::nullopt : number(cs[0]);
    // The header is a first row with no number at all; a first row with a
    // typo in one cell ("O.5;9999") is an error like any other.
    if (firstContent && std::none_of(cs.begin(), cs.end(), [](std::string_view cell) { return number(cell).has_value(); }))
      continue;
    // A decimal comma ("0,5;1200", or "0,5,1200" split at its commas) gets
    // the reminder that the decimal mark is ".".
    const bool commaNumber = std::any_of(cs.begin(), cs.end(), [](std::string_view cell) {
      return cell.find(',') != std::string_view::npos && number(cell.substr(0, cell.find(','))).has_value();
    });
    const bool commaSplit = cs.size() > 2 && line.find(';') == std::string_view::npos &&
                            line.find(',') != std::string_view::npos;
    const std::string hint = commaNumber || commaSplit ? "; the decimal mark is '.', not ','" : "";
    const std::string hintZh = commaNumber || commaSplit ? "；小数点须用“.”，不能用“,”" : "";
    if (cs.size() != 2)
      return fault(lineNo,
                   "expected two numbers (λ1 in mm, F1 in N), found " + std::to_string(cs.size()) +
                       (cs.size() == 1 ? " cell" : " cells") + hint,
                   "应为两个数（λ1/mm 与 F1/N），却有 " + std::to_string(cs.size()) + " 个" + hintZh);
    const auto y = number(cs[1]);
    if (!x)
      return fault(lineNo, "λ1 " + shownCell(cs[0]) + " is not a finite number" + hint,
                   "λ1 " + shownCell(cs[0]) + " 不是有限的数" + hintZh);
    if (!y)
      return fault(lineNo, "F1 " + shownCell(cs[1]) + " is not a finite number" + hint,
                   "F1 " + shownCell(cs[1]) + " 不是有限的数" + hintZh);
    if (rows.size() == kMaxMeasuredRows)
      return fault(lineNo, "more than " + std::to_string(kMaxMeasuredRows) + " rows; thin the measurement out",
                   "超过 " + std::to_string(kMaxMeasuredRows) + " 行，请先抽稀测量数据");
    rows.emplace_back(*x, *y);
    lines.push_back(lineNo);
  }
  if (rows.empty()) return fault(0, "the file holds no measured points", "文件中没有测量点");

  // The loading branch rises, the unloading branch falls from its top.
  std::size_t turn = rows.size();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double step = rows[i].first - rows[i - 1].first;
    if (step == 0)
      return fault(lines[i],
                   "λ1 = " + text(rows[i].first) + " repeats line " + std::to_string(lines[i - 1]) +
                       "; λ1 must rise on the loading branch and fall on the unloading branch",
                   "λ1 = " + text(rows[i].first) + " 与第 " + std::to_string(lines[i - 1]) +
                       " 行相同；λ1 在加载段须递增，在卸载段须递减");
    const bool falling = step < 0;
    if (turn == rows.size()) {
      if (falling) {
        if (i == 1)
          return fault(lines[i], "λ1 falls before it rises; the loading branch (λ1 rising) comes first",
                       "λ1 先递减；应先是加载段（λ1 递增）");
        turn = i - 1;
      }
    } else if (!falling) {
      return fault(lines[i],
                   "λ1 rises again after the unloading branch (rows out of order?); a file holds one "
                   "loading branch and at most one unloading branch",
                   "卸载段之后 λ1 又递增（行的顺序有误？）；一个文件只含一段加载和至多一段卸载");
    }
  }
  c.loading.assign(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(std::min(turn + 1, rows.size())));
  if (turn < rows.size()) c.unloading.assign(rows.begin() + static_cast<std::ptrdiff_t>(turn), rows.end());
  if (c.loading.size() < 3)
    return fault(0,
                 "the loading branch has " + std::to_string(c.loading.size()) +
                     (c.loading.size() == 1 ? " point" : " points") + "; at least 3 are needed",
                 "加载段只有 " + std::to_string(c.loading.size()) + " 个点，至少需要 3 个");
  MeasuredRead r;
  r.curve = std::move(c);
  return r;
}

MeasuredRead readMeasuredFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string name = fs::path(path).filename().string();
  if (!fs::is_regular_file(path, ec)) return fault(0, "'" + path + "' is not a readable file", "不是可读的文件");
  const auto size = fs::file_size(path, ec);
  if (ec) return fault(0, "cannot read '" + path + "': " + ec.message(), "无法读取：" + ec.message());
  if (size > kMaxMeasuredBytes)
    return fault(0, "'" + path + "' is larger than " + std::to_string(kMaxMeasuredBytes / (1024 * 1024)) + " MB",
                 "文件大于 " + std::to_string(kMaxMeasuredBytes / (1024 * 1024)) + " MB");
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  if (!in && !in.eof()) return fault(0, "cannot read '" + path + "'", "无法读取");
  return readMeasuredText(all.str(), name);
}

MeasuredRead readMeasuredText(std::string_view text, const std::string& name) {
  if (text.size() > kMaxMeasuredBytes)
    return fault(0, "'" + name + "' is larger than " + std::to_string(kMaxMeasuredBytes / (1024 * 1024)) + " MB",
                 "文件大于 " + std::to_string(kMaxMeasuredBytes / (1024 * 1024)) + " MB");
  MeasuredRead r = parseMeasured(text, name);
  if (!r.curve) r.error = name + ": " + r.error;
  return r;
}

}  // namespace diaspring::compare
