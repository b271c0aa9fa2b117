#include "design/design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include <nlohmann/json.hpp>

#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/file_write.h"

namespace diaspring {
namespace {

using Json = nlohmann::ordered_json;

// Deeper than any design file is nested; also bounds the recursion of
// writing kept members back.
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxShownBytes = 40;
// Far more members than any design has (some forty), few enough that no
// file takes long to read.
constexpr std::size_t kMaxMembers = 1000;
// Values in all (array elements too): an array of kept numbers may be long,
// but not endless.
constexpr std::size_t kMaxValues = 100000;

// The wanted types of WrongType, as stored in DesignFileError::detail.
constexpr const char* kText = "text";
constexpr const char* kObject = "object";
constexpr const char* kWholeNumber = "whole number";

// A text from the file inside a message: at most kMaxShownBytes, cut on a
// character boundary, control characters as '?'.
std::string shown(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (out.size() >= kMaxShownBytes && (c & 0xC0) != 0x80) {
      out += "...";
      break;
    }
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return out;
}

// The parser's words, on one line and in plain ASCII (they may quote bytes
// of the file).
std::string parserWords(const char* what) {
  std::string message(what);
  // "[json.exception.parse_error.101] parse error at line 1, column 2: syntax error ..."
  if (const std::size_t tag = message.find("] "); !message.empty() && message[0] == '[' && tag != std::string::npos)
    message.erase(0, tag + 2);
  if (message.rfind("parse error", 0) == 0) {
    const std::size_t colon = message.find(": ");
    if (colon != std::string::npos) message.erase(0, colon + 2);
  }
  for (char& c : message) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) c = '?';
  }
  return message;
}

// Line and column (in characters) of the byte at offset `byte` (from 1, as
// the parser counts).
void locate(std::string_view text, std::size_t byte, int& line, int& column) {
  line = 1;
  column = 1;
  const std::size_t end = std::min(byte > 0 ? byte - 1 : 0, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++line;
      column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++column;
    }
  }
}

// A number as the file wrote it ("3.14159265358979323846",
// "123456789012345678901234567890"), kept in a value of its own kind so
// that a kept member is written back to the digit: no JSON text ever
// parses to a binary value.
constexpr std::uint8_t kNumberText = 0x4E;

// Appends a member to an object known not to hold its key: in constant
// time, where operator[] would search the object.
void appendMember(Json& object, std::string key, Json value) {
  auto& members = static_cast<std::vector<std::pair<const std::string, Json>>&>(*object.get_ptr<Json::object_t*>());
  members.emplace_back(std::move(key), std::move(value));
}

// The number tokens of a JSON text in the order the parser meets them,
// each as written, and a copy of the text in which a number beyond the
// double range ("1e400") is written with zeros of the same length ("0e000"),
// so that the parser reads on and the kept token keeps the digits. Strings
// are stepped over; whatever else the text holds the parser judges.
struct NumberTokens {
  std::vector<std::string> texts;
  std::string parsed;  // empty when the text needs no change
};
NumberTokens numberTokens(std::string_view text) {
  NumberTokens out;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i)
        if (text[i] == '\\') ++i;
      ++i;
      continue;
    }
    if (c != '-' && (c < '0' || c > '9')) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '-' || text[i] == '+' ||
                               text[i] == '.' || text[i] == 'e' || text[i] == 'E'))
      ++i;
    const std::string_view token = text.substr(start, i - start);
    out.texts.emplace_back(token);
    bool overflows = false;
    try {
      (void)val(token);
    } catch (const Fault&) {
      overflows = true;
    }
    if (overflows) {
      if (out.parsed.empty()) out.parsed.assign(text);
      for (std::size_t k = start; k < i; ++k)
        if (std::isdigit(static_cast<unsigned char>(out.parsed[k]))) out.parsed[k] = '0';
    }
  }
  return out;
}

// Builds the document from the parser's events in time linear in the text:
// refuses a key given twice in one object (naming it), more members than
// kMaxMembers in all, nesting deeper than kMaxDepth; keeps every number
// that is not a whole number as its text.
class Builder : public nlohmann::json_sax<Json> {
 public:
  Json root;
  std::optional<DesignFileProblem> problem;
  std::string problemKey, problemDetail;
  std::size_t byte = 0;

  // The file's number tokens in order (numberTokens), so that a number
  // keeps the text the file wrote: "-0", and "1e400" read as "0e000".
  const std::vector<std::string>* tokens = nullptr;

  bool null() override { return put(Json(nullptr)); }
  bool boolean(bool v) override { return put(Json(v)); }
  bool number_integer(number_integer_t v) override {
    const std::string* text = nextToken();
    if (v == 0 && text && *text == "-0") return put(keptNumber(*text));
    return put(Json(v));
  }
  bool number_unsigned(number_unsigned_t v) override {
    nextToken();
    return put(Json(v));
  }
  bool number_float(number_float_t v, const string_t& text) override {
    const std::string* written = nextToken();
    if (!std::isfinite(v)) return refuse(DesignFileProblem::NotJson, {}, "number overflow parsing '" + text + "'");
    return put(keptNumber(written ? *written : text));
  }
  bool string(string_t& v) override { return put(Json(std::move(v))); }
  bool binary(binary_t& v) override { return put(Json::binary(std::move(v))); }
  bool start_object(std::size_t) override { return open(Json::object()); }
  bool start_array(std::size_t) override { return open(Json::array()); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool key(string_t& k) override {
    Frame& frame = stack_.back();
    if (++members_ > kMaxMembers)
      return refuse(DesignFileProblem::TooManyMembers, {}, std::to_string(kMaxMembers) + " members");
    if (!frame.keys.insert(k).second) return refuse(DesignFileProblem::DuplicateKey, pathOf(k));
    frame.key = std::move(k);
    return true;
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
    // A number beyond a double is the number's fault, not the place's.
    byte = e.id == 406 ? 0 : position;
    return refuse(DesignFileProblem::NotJson, {}, parserWords(e.what()));
  }

 private:
  struct Frame {
    Json* value;
    std::string key;  // the member being read, in an object
    std::unordered_set<std::string> keys;
  };

  const std::string* nextToken() { return tokens && next_ < tokens->size() ? &(*tokens)[next_++] : nullptr; }
  static Json keptNumber(const std::string& text) {
    return Json::binary(std::vector<std::uint8_t>(text.begin(), text.end()), kNumberText);
  }

  bool refuse(DesignFileProblem p, std::string k = {}, std::string d = {}) {
    if (!problem) {
      problem = p;
      problemKey = std::move(k);
      problemDetail = std::move(d);
    }
    return false;
  }

  // "metadata.reviewer.name" for the member `k` of the open object.
  std::string pathOf(const std::string& k) const {
    std::string path;
    for (std::size_t i = 0; i + 1 < stack_.size(); ++i)
      if (stack_[i].value->is_object()) path += stack_[i].key + ".";
    return path + k;
  }

  Json* put(Json value) {
    if (++values_ > kMaxValues) {
      refuse(DesignFileProblem::TooManyMembers, {}, std::to_string(kMaxValues) + " values");
      return nullptr;
    }
    if (stack_.empty()) {
      root = std::move(value);
      return &root;
    }
    Json& parent = *stack_.back().value;
    if (parent.is_array()) {
      parent.get_ptr<Json::array_t*>()->push_back(std::move(value));
      return &parent.get_ptr<Json::array_t*>()->back();
    }
    appendMember(parent, stack_.back().key, std::move(value));
    return &parent.get_ptr<Json::object_t*>()->back().second;
  }

  bool open(Json value) {
    if (stack_.size() + 1 > static_cast<std::size_t>(kMaxDepth)) return refuse(DesignFileProblem::TooDeep);
    Json* added = put(std::move(value));
    if (added == nullptr) return false;
    stack_.push_back(Frame{added, {}, {}});
    return true;
  }
  bool close() {
    stack_.pop_back();
    return true;
  }

  std::vector<Frame> stack_;
  std::size_t members_ = 0, values_ = 0, next_ = 0;
};

// A value as JSON text, as nlohmann's dump(indent) would write it, but with
// kept numbers as their text.
void writeJson(const Json& value, int indent, int level, std::string& out) {
  const auto newline = [&](int depth) {
    if (indent < 0) return;
    out += '\n';
    out.append(static_cast<std::size_t>(indent * depth), ' ');
  };
  if (value.is_binary() && value.get_binary().has_subtype() && value.get_binary().subtype() == kNumberText) {
    const auto& bytes = value.get_binary();
    out.append(bytes.begin(), bytes.end());
  } else if (value.is_object() && !value.empty()) {
    out += '{';
    bool first = true;
    for (const auto& [k, v] : value.items()) {
      if (!first) out += ',';
      first = false;
      newline(level + 1);
      out += Json(k).dump(-1, ' ', false, Json::error_handler_t::replace);
      out += indent < 0 ? ":" : ": ";
      writeJson(v, indent, level + 1, out);
    }
    newline(level);
    out += '}';
  } else if (value.is_array() && !value.empty()) {
    out += '[';
    bool first = true;
    for (const Json& v : value) {
      if (!first) out += ',';
      first = false;
      newline(level + 1);
      writeJson(v, indent, level + 1, out);
    }
    newline(level);
    out += ']';
  } else {
    out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
}

std::string jsonText(const Json& value, int indent = -1) {
  std::string out;
  writeJson(value, indent, 0, out);
  return out;
}

constexpr ApprovalMember kApprovalMembers[] = {
    {"revision", &DesignApproval::revision},     {"designedOn", &DesignApproval::designDate},
    {"checkedBy", &DesignApproval::checker},     {"checkedOn", &DesignApproval::checkDate},
    {"reviewedBy", &DesignApproval::reviewer},   {"reviewedOn", &DesignApproval::reviewDate},
    {"approvedBy", &DesignApproval::approver},   {"approvedOn", &DesignApproval::approveDate},
};

// The approval's text a metadata key names; nullptr for another key.
std::string* approvalField(DesignApproval& approval, std::string_view key) {
  for (const ApprovalMember& a : kApprovalMembers)
    if (key == a.key) return &(approval.*a.member);
  return nullptr;
}

class Reader {
 public:
  explicit Reader(const std::string& path) : path_(path) {}

  DesignRead fail(DesignFileProblem problem, std::string key = {}, std::string detail = {}) const {
    DesignFileError error;
    error.problem = problem;
    error.path = path_;
    error.key = std::move(key);
    error.detail = std::move(detail);
    return DesignRead{std::nullopt, std::move(error)};
  }

  DesignRead read(std::string_view text) {
    // The parser takes a NUL byte for the end of the text and would ignore
    // the rest: no JSON text holds one.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
      DesignRead result = fail(DesignFileProblem::NotJson, {}, "a NUL byte at byte " + std::to_string(nul + 1));
      locate(text, nul + 1, result.error->line, result.error->column);
      return result;
    }
    Builder builder;
    const NumberTokens numbers = numberTokens(text);
    builder.tokens = &numbers.texts;
    const std::string_view json = numbers.parsed.empty() ? text : std::string_view(numbers.parsed);
    const bool parsed = Json::sax_parse(json.begin(), json.end(), &builder);
    if (!parsed || builder.problem) {
      if (!builder.problem) return fail(DesignFileProblem::NotJson, {}, "unexpected end of input");
      DesignRead result = fail(*builder.problem, builder.problemKey, builder.problemDetail);
      if (builder.byte > 0) locate(text, builder.byte, result.error->line, result.error->column);
      return result;
    }
    Json root = std::move(builder.root);

    if (!root.is_object()) return fail(DesignFileProblem::WrongFormat, {}, root.type_name());
    const auto format = root.find("format");
    if (format == root.end()) return fail(DesignFileProblem::WrongFormat);
    if (!format->is_string() || format->get_ref<const std::string&>() != kDesignFormatName)
      return fail(DesignFileProblem::WrongFormat, {}, format->is_string() ? shown(format->get<std::string>()) : shown(jsonText(*format)));

    const auto version = root.find("version");
    if (version == root.end()) return fail(DesignFileProblem::BadVersion);
    if (!version->is_string()) return fail(DesignFileProblem::WrongType, "version", kText);
    const std::string& versionText = version->get_ref<const std::string&>();
    int major = 0, minor = 0;
    if (!parseVersion(versionText, major, minor) || major < 1)
      return fail(DesignFileProblem::BadVersion, {}, shown(versionText));
    if (major > kDesignFormatMajor) return fail(DesignFileProblem::NewerVersion, {}, shown(versionText));

    DesignDocument document;
    // The unknown members by where they stood, in one order whatever the
    // file's, so that a document saved and read again is the same.
    Json keptInputs = Json::object(), keptSliders = Json::object(), keptMetadata = Json::object(),
         keptTop = Json::object();
    for (auto& [name, value] : root.items()) {
      std::optional<DesignRead> failure;
      if (name == "format" || name == "version") continue;
      if (name == "inputs") failure = readInputs(value, document.inputs, keptInputs);
      else if (name == "sliders") failure = readSliders(value, document.inputs, keptSliders);
      else if (name == "extras") failure = readExtras(value, document.inputs);
      else if (name == "metadata") failure = readMetadata(value, document.metadata, keptMetadata);
      else appendMember(keptTop, name, std::move(value));
      if (failure) return std::move(*failure);
    }
    Json kept = Json::object();
    for (const auto& [group, members] : {std::pair{"inputs", &keptInputs}, std::pair{"sliders", &keptSliders},
                                   std::pair{"metadata", &keptMetadata}, std::pair{"members", &keptTop}})
      if (!members->empty()) kept[group] = std::move(*members);
    if (!kept.empty()) document.unknownMembers = jsonText(kept);
    return DesignRead{std::move(document), std::nullopt};
  }

 private:
  static bool parseVersion(std::string_view text, int& major, int& minor) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return false;
    auto whole = [](std::string_view part, int& out) {
      if (part.empty() || part.size() > 6) return false;
      for (char c : part)
        if (c < '0' || c > '9') return false;
      std::from_chars(part.data(), part.data() + part.size(), out);
      return true;
    };
    return whole(text.substr(0, dot), major) && whole(text.substr(dot + 1), minor);
  }

  std::optional<DesignRead> requireObject(const Json& value, const char* key) const {
    if (!value.is_object()) return fail(DesignFileProblem::WrongType, key, kObject);
    return std::nullopt;
  }

  std::optional<DesignRead> readInputs(Json& inputs, DesignInputs& out, Json& kept) const {
    if (auto failure = requireObject(inputs, "inputs")) return failure;
    for (auto& [key, value] : inputs.items()) {
      const auto box = inputBoxOfKey(key);
      if (!box) {
        kept[key] = std::move(value);
        continue;
      }
      if (!value.is_string()) return fail(DesignFileProblem::WrongType, "inputs." + key, kText);
      out.setText(*box, value.get_ref<const std::string&>());
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readSliders(Json& sliders, DesignInputs& out, Json& kept) const {
    if (auto failure = requireObject(sliders, "sliders")) return failure;
    for (auto& [key, value] : sliders.items()) {
      const auto slider = sliderOfKey(key);
      if (!slider) {
        kept[key] = std::move(value);
        continue;
      }
      const std::string member = "sliders." + key;
      if (value.is_binary() && static_cast<const std::vector<std::uint8_t>&>(value.get_binary()) == std::vector<std::uint8_t>{'-', '0'})
        value = 0;  // "-0"
      if (!value.is_number_integer()) return fail(DesignFileProblem::WrongType, member, kWholeNumber);
      const SliderRange range = sliderRange(*slider);
      const bool huge = value.is_number_unsigned() ? value.get<std::uint64_t>() > INT_MAX
                                                   : value.get<std::int64_t>() < INT_MIN;
      if (huge || value.get<std::int64_t>() < range.min || value.get<std::int64_t>() > range.max)
        return fail(DesignFileProblem::OutOfRange, member, value.dump());
      out.setSlider(*slider, value.get<int>());
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readExtras(const Json& extras, DesignInputs& out) const {
    if (auto failure = requireObject(extras, "extras")) return failure;
    for (const auto& [name, value] : extras.items()) {
      if (!value.is_string()) return fail(DesignFileProblem::WrongType, "extras." + name, kText);
      out.setExtra(name, value.get_ref<const std::string&>());
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readMetadata(Json& metadata, DesignMetadata& out, Json& kept) const {
    if (auto failure = requireObject(metadata, "metadata")) return failure;
    for (auto& [key, value] : metadata.items()) {
      std::string* field = key == "project"      ? &out.project
                           : key == "partNumber" ? &out.partNumber
                           : key == "designer"   ? &out.designer
                           : key == "notes"      ? &out.notes
                           : key == "savedAt"    ? &out.savedAt
                                                 : nullptr;
      if (field == nullptr) field = approvalField(out.approval, key);
      if (field == nullptr) {
        kept[key] = std::move(value);
        continue;
      }
      if (!value.is_string()) return fail(DesignFileProblem::WrongType, "metadata." + key, kText);
      *field = value.get_ref<const std::string&>();
    }
    return std::nullopt;
  }

  const std::string& path_;
};

// A text as a JSON string; throws std::invalid_argument naming `key` when it
// is not valid UTF-8 (which JSON cannot hold).
Json textValue(const std::string& text, const std::string& key) {
  Json value = text;
  try {
    (void)value.dump();
  } catch (const Json::type_error&) {
    throw std::invalid_argument(key);
  }
  return value;
}

// Appends the kept members of `group` in `kept` to `object`.
void appendKept(const Json& kept, const char* group, Json& object) {
  const auto members = kept.find(group);
  if (members == kept.end() || !members->is_object()) return;
  for (const auto& [key, value] : members->items())
    if (!object.contains(key)) object[key] = value;
}

// "200 ... 400" for the slider of "sliders.h".
std::string rangeText(const std::string& member, const char* to) {
  const auto slider = sliderOfKey(std::string_view(member).substr(member.find('.') + 1));
  if (!slider) return {};
  const SliderRange range = sliderRange(*slider);
  return std::to_string(range.min) + to + std::to_string(range.max);
}

std::string englishReason(const DesignFileError& e) {
  using P = DesignFileProblem;
  switch (e.problem) {
    case P::Unreadable:
      return errorReasonEnglish(e.errnum);
    case P::WriteFailed:
      return WriteError{e.path, e.errnum}.reasonEnglish();
    case P::NotAFile:
      return e.detail == "directory" ? "it is a directory" : "it is not a regular file";
    case P::TooLarge:
      return "it is larger than 1 MiB (" + std::to_string(e.size) + " bytes), too large for a design file";
    case P::NotJson:
      if (e.line == 0) return "not JSON (" + e.detail + ")";
      return "not JSON (line " + std::to_string(e.line) + ", column " + std::to_string(e.column) + ": " + e.detail +
             ")";
    case P::TooDeep:
      return "not a design file: JSON nested more than " + std::to_string(kMaxDepth) + " levels deep";
    case P::WrongFormat:
      return e.detail.empty() ? "not a diaspring design file (no \"format\" member)"
                              : "not a diaspring design file (format " + e.detail + ")";
    case P::BadVersion:
      return e.detail.empty() ? "no format version" : "unrecognised format version '" + e.detail + "'";
    case P::NewerVersion:
      return "written by a newer program (format version " + e.detail + "; this program reads " +
             std::to_string(kDesignFormatMajor) + ".x)";
    case P::WrongType:
      return "'" + e.key + "' must be " + (e.detail == kObject ? "an object" : "a " + e.detail);
    case P::OutOfRange:
      return "'" + e.key + "' is " + e.detail + ", outside the slider's range " + rangeText(e.key, " ... ");
    case P::InvalidText:
      return "the text of '" + e.key + "' is not valid UTF-8";
    case P::DuplicateKey:
      return "'" + e.key + "' is given twice";
    case P::TooManyMembers:
      return "not a design file: more than " + e.detail;
    case P::TooLargeToSave:
      return "the design would take " + std::to_string(e.size) +
             " bytes, more than the 1 MiB a design file may hold" +
             (e.key.empty() ? std::string("; most of it is members this program does not know, kept from the file it was read from")
                            : "; shorten the text of '" + e.key + "'");
  }
  return "unknown problem";
}

std::string chineseReason(const DesignFileError& e) {
  using P = DesignFileProblem;
  switch (e.problem) {
    case P::Unreadable:
      // The shared reasons speak of writing.
      if (e.errnum == ENOENT) return "文件不存在";
      if (e.errnum == EACCES || e.errnum == EPERM) return "没有读取权限";
      return errorReasonChinese(e.errnum);
    case P::WriteFailed:
      return errorReasonChinese(e.errnum);
    case P::NotAFile:
      return e.detail == "directory" ? "这是一个文件夹，不是文件" : "这不是普通文件";
    case P::TooLarge:
      return "文件大于 1 MiB（" + std::to_string(e.size) + " 字节），不是设计文件";
    case P::NotJson:
      if (e.line == 0) return "不是有效的 JSON 文件（数值超出范围）";
      return "不是有效的 JSON 文件（第 " + std::to_string(e.line) + " 行第 " + std::to_string(e.column) + " 列）";
    case P::TooDeep:
      return "JSON 嵌套层数超过 " + std::to_string(kMaxDepth) + " 层，不是设计文件";
    case P::WrongFormat:
      return e.detail.empty() ? "不是 diaspring 设计文件（缺少 format 项）"
                              : "不是 diaspring 设计文件（格式为 " + e.detail + "）";
    case P::BadVersion:
      return e.detail.empty() ? "缺少格式版本号" : "无法识别的格式版本“" + e.detail + "”";
    case P::NewerVersion:
      return "文件由更新版本的程序保存（格式版本 " + e.detail + "），本程序只能读取 " +
             std::to_string(kDesignFormatMajor) + ".x 版本";
    case P::WrongType:
      return "“" + e.key + "”的值应为" +
             (e.detail == kObject ? "对象" : e.detail == kWholeNumber ? "整数" : "文本（JSON 字符串）");
    case P::OutOfRange:
      return "滑块“" + e.key + "”的位置 " + e.detail + " 超出其范围 " + rangeText(e.key, "～");
    case P::InvalidText:
      return "“" + e.key + "”的文本不是有效的 UTF-8 编码";
    case P::DuplicateKey:
      return "“" + e.key + "”出现了两次";
    case P::TooManyMembers:
      return "成员或数值过多（多于 " + e.detail.substr(0, e.detail.find(' ')) + " 个），不是设计文件";
    case P::TooLargeToSave:
      return "设计将占 " + std::to_string(e.size) + " 字节，超过设计文件的上限 1 MiB" +
             (e.key.empty() ? std::string("；其中大部分是本程序不认识、从原文件保留下来的内容") : "；请缩短“" + e.key + "”的文本");
  }
  return "未知错误";
}

bool isWriting(DesignFileProblem problem) {
  return problem == DesignFileProblem::WriteFailed || problem == DesignFileProblem::InvalidText ||
         problem == DesignFileProblem::TooLargeToSave;
}

}  // namespace

std::string DesignFileError::english() const {
  return std::string(isWriting(problem) ? "cannot write" : "cannot read") + " design file '" + path +
         "': " + englishReason(*this);
}

std::string DesignFileError::chinese() const {
  return std::string(isWriting(problem) ? "无法保存设计文件“" : "无法打开设计文件“") + path + "”：" +
         chineseReason(*this);
}

DesignRead parseDesign(std::string_view text, const std::string& path) { return Reader(path).read(text); }

DesignRead readDesignText(std::string_view text, const std::string& path) {
  Reader reader(path);
  if (text.size() > kMaxDesignFileBytes) {
    DesignRead result = reader.fail(DesignFileProblem::TooLarge);
    result.error->size = text.size();
    return result;
  }
  return reader.read(text);
}

DesignRead readDesignFile(const std::string& path) {
  Reader reader(path);
  auto failWith = [&](DesignFileProblem problem, int errnum, std::string detail = {}) {
    DesignRead result = reader.fail(problem, {}, std::move(detail));
    result.error->errnum = errnum;
    return result;
  };
  // Not blocking: a pipe or a device opens at once and is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return failWith(DesignFileProblem::Unreadable, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};

  struct stat st {};
  if (::fstat(fd, &st) != 0) return failWith(DesignFileProblem::Unreadable, errno);
  if (S_ISDIR(st.st_mode)) return failWith(DesignFileProblem::NotAFile, 0, "directory");
  if (!S_ISREG(st.st_mode)) return failWith(DesignFileProblem::NotAFile, 0, "special");
  auto tooLarge = [&](std::uintmax_t size) {
    DesignRead result = reader.fail(DesignFileProblem::TooLarge);
    result.error->size = size;
    return result;
  };
  if (static_cast<std::uintmax_t>(st.st_size) > kMaxDesignFileBytes) return tooLarge(static_cast<std::uintmax_t>(st.st_size));

  // Read to one byte past the limit: a file that grew meanwhile is refused too.
  std::string text(kMaxDesignFileBytes + 1, '\0');
  std::size_t have = 0;
  while (have < text.size()) {
    const ssize_t n = ::read(fd, text.data() + have, text.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failWith(DesignFileProblem::Unreadable, errno);
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  if (have > kMaxDesignFileBytes) return tooLarge(have);
  text.resize(have);
  return reader.read(text);
}

std::string serialiseDesign(const DesignDocument& document) {
  Json kept = Json::object();
  if (!document.unknownMembers.empty()) {
    // Written by this program's reader, so it parses; anything else is ignored.
    Builder builder;
    const NumberTokens numbers = numberTokens(document.unknownMembers);
    builder.tokens = &numbers.texts;
    const std::string& json = numbers.parsed.empty() ? document.unknownMembers : numbers.parsed;
    if (Json::sax_parse(json, &builder) && !builder.problem && builder.root.is_object())
      kept = std::move(builder.root);
  }
  const DesignInputs& in = document.inputs;

  Json root = Json::object();
  root["format"] = kDesignFormatName;
  root["version"] = std::to_string(kDesignFormatMajor) + "." + std::to_string(kDesignFormatMinor);

  Json inputs = Json::object();
  for (const InputBox& input : inputBoxes())
    inputs[input.key] = textValue(in.text(input.box), std::string("inputs.") + input.key);
  appendKept(kept, "inputs", inputs);
  root["inputs"] = std::move(inputs);

  Json sliders = Json::object();
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    sliders[std::string(sliderKey(slider))] = in.slider(slider);
  }
  appendKept(kept, "sliders", sliders);
  root["sliders"] = std::move(sliders);

  Json extras = Json::object();
  for (const auto& [name, text] : in.extras()) extras[name] = textValue(text, "extras." + name);
  root["extras"] = std::move(extras);

  const DesignMetadata& m = document.metadata;
  Json metadata = Json::object();
  metadata["project"] = textValue(m.project, "metadata.project");
  metadata["partNumber"] = textValue(m.partNumber, "metadata.partNumber");
  metadata["designer"] = textValue(m.designer, "metadata.designer");
  metadata["notes"] = textValue(m.notes, "metadata.notes");
  metadata["savedAt"] = textValue(m.savedAt, "metadata.savedAt");
  // The release's members only when given: a design never released keeps the file it always had.
  for (const ApprovalMember& a : approvalMembers())
    if (!(m.approval.*a.member).empty()) metadata[a.key] = textValue(m.approval.*a.member, std::string("metadata.") + a.key);
  appendKept(kept, "metadata", metadata);
  root["metadata"] = std::move(metadata);

  appendKept(kept, "members", root);
  // Invalid UTF-8 among the texts has been refused above.
  return jsonText(root, 2) + "\n";
}

namespace {

// The member whose text is longest, "inputs.Temax": what to shorten when a
// design is too large to save.
std::string longestText(const DesignDocument& document) {
  std::string key;
  std::size_t longest = 0;
  const auto consider = [&](const std::string& name, const std::string& text) {
    if (text.size() > longest) {
      longest = text.size();
      key = name;
    }
  };
  for (const InputBox& input : inputBoxes()) consider(std::string("inputs.") + input.key, document.inputs.text(input.box));
  for (const auto& [name, text] : document.inputs.extras()) consider("extras." + name, text);
  const DesignMetadata& m = document.metadata;
  for (const auto& [name, text] : {std::pair{"metadata.project", &m.project}, std::pair{"metadata.partNumber", &m.partNumber},
                                   std::pair{"metadata.designer", &m.designer}, std::pair{"metadata.notes", &m.notes}})
    consider(name, *text);
  for (const ApprovalMember& a : approvalMembers()) consider(std::string("metadata.") + a.key, m.approval.*a.member);
  return key;
}

}  // namespace

std::optional<DesignFileError> writeDesignFile(const std::string& path, DesignDocument& document,
                                               std::chrono::system_clock::time_point now) {
  DesignFileError error;
  error.path = path;
  const std::string previous = document.metadata.savedAt;
  document.metadata.savedAt = isoUtcTimestamp(now);
  std::string bytes;
  try {
    bytes = serialiseDesign(document);
  } catch (const std::invalid_argument& e) {
    document.metadata.savedAt = previous;
    error.problem = DesignFileProblem::InvalidText;
    error.key = e.what();
    return error;
  }
  if (bytes.size() > kMaxDesignFileBytes) {
    // Saved, it could not be opened again.
    document.metadata.savedAt = previous;
    error.problem = DesignFileProblem::TooLargeToSave;
    error.size = bytes.size();
    error.key = longestText(document);
    // Unless what it does not know is larger still.
    if (!document.unknownMembers.empty()) {
      std::size_t longest = 0;
      for (const InputBox& input : inputBoxes()) longest = std::max(longest, document.inputs.text(input.box).size());
      for (const auto& [name, text] : document.inputs.extras()) longest = std::max(longest, text.size());
      for (const std::string* text : {&document.metadata.project, &document.metadata.partNumber,
                                      &document.metadata.designer, &document.metadata.notes})
        longest = std::max(longest, text->size());
      if (document.unknownMembers.size() > longest) error.key.clear();
    }
    return error;
  }
  if (const auto failure = writeFileAtomically(path, bytes)) {
    document.metadata.savedAt = previous;
    error.problem = DesignFileProblem::WriteFailed;
    error.errnum = failure->errnum;
    return error;
  }
  return std::nullopt;
}

std::span<const ApprovalMember> approvalMembers() { return kApprovalMembers; }

std::string isoUtcTimestamp(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, n);
}

}  // namespace diaspring
