#include "design/design_validation.h"

#include <charconv>
#include <climits>
#include <cstdint>

#include "runtime/utf8_text.h"

namespace diaspring::design {
namespace {

using Kind = JsonValue::Kind;

// A text from the file inside a message: the one rule for messages
// (control characters escaped, cut on a character boundary).
constexpr std::size_t kMaxShownColumns = 40;
std::string shown(std::string_view text) { return shortText(text, kMaxShownColumns); }

bool parseVersion(std::string_view text, int& major, int& minor) {
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

// The approval's text a metadata key names; nullptr for another key.
std::string* approvalField(DesignApproval& approval, std::string_view key) {
  for (const ApprovalMember& a : approvalMembers())
    if (key == a.key) return &(approval.*a.member);
  return nullptr;
}

// A slider's position as written ("-0" is 0), or nothing when it does not
// fit an int.
std::optional<int> sliderPosition(const std::string& written) {
  if (written == "-0") return 0;
  long long v = 0;
  const auto [end, ec] = std::from_chars(written.data(), written.data() + written.size(), v);
  if (ec != std::errc{} || end != written.data() + written.size() || v < INT_MIN || v > INT_MAX) return std::nullopt;
  return static_cast<int>(v);
}

class Reader {
 public:
  explicit Reader(const std::string& path) : path_(path) {}

  DesignRead fail(DesignFileProblem problem, std::string key = {}, std::string detail = {}) const {
    return readFailure(path_, problem, std::move(key), std::move(detail));
  }

  DesignRead read(JsonValue root) {
    if (!root.is(Kind::Object)) return fail(DesignFileProblem::WrongFormat, {}, root.typeName());
    const JsonValue* format = root.find("format");
    if (format == nullptr) return fail(DesignFileProblem::WrongFormat);
    if (!format->is(Kind::Text) || format->text != kDesignFormatName)
      return fail(DesignFileProblem::WrongFormat, {}, format->is(Kind::Text) ? shown(format->text) : shown(jsonText(*format)));

    const JsonValue* version = root.find("version");
    if (version == nullptr) return fail(DesignFileProblem::BadVersion);
    if (!version->is(Kind::Text)) return fail(DesignFileProblem::WrongType, "version", kText);
    int major = 0, minor = 0;
    if (!parseVersion(version->text, major, minor) || major < 1)
      return fail(DesignFileProblem::BadVersion, {}, shown(version->text));
    if (major > kDesignFormatMajor) return fail(DesignFileProblem::NewerVersion, {}, shown(version->text));

    DesignDocument document;
    // The unknown members by where they stood, in one order whatever the
    // file's, so that a document saved and read again is the same.
    JsonValue keptInputs = JsonValue::object(), keptSliders = JsonValue::object(),
              keptMetadata = JsonValue::object(), keptTop = JsonValue::object();
    for (std::size_t i = 0; i < root.items.size(); ++i) {
      const std::string& name = root.keys[i];
      JsonValue& value = root.items[i];
      std::optional<DesignRead> failure;
      if (name == "format" || name == "version") continue;
      if (name == "inputs") failure = readInputs(value, document.inputs, keptInputs);
      else if (name == "sliders") failure = readSliders(value, document.inputs, keptSliders);
      else if (name == "extras") failure = readExtras(value, document.inputs);
      else if (name == "metadata") failure = readMetadata(value, document.metadata, keptMetadata);
      else keptTop.append(name, std::move(value));
      if (failure) return std::move(*failure);
    }
    JsonValue kept = JsonValue::object();
    for (const auto& [group, members] : {std::pair{"inputs", &keptInputs}, std::pair{"sliders", &keptSliders},
                                         std::pair{"metadata", &keptMetadata}, std::pair{"members", &keptTop}})
      if (!members->empty()) kept.append(group, std::move(*members));
    if (!kept.empty()) document.unknownMembers = jsonText(kept);
    return DesignRead{std::move(document), std::nullopt};
  }

 private:
  std::optional<DesignRead> requireObject(const JsonValue& value, const char* key) const {
    if (!value.is(Kind::Object)) return fail(DesignFileProblem::WrongType, key, kObject);
    return std::nullopt;
  }

  std::optional<DesignRead> readInputs(JsonValue& inputs, DesignInputs& out, JsonValue& kept) const {
    if (auto failure = requireObject(inputs, "inputs")) return failure;
    for (std::size_t i = 0; i < inputs.items.size(); ++i) {
      const std::string& key = inputs.keys[i];
      const auto box = inputBoxOfKey(key);
      if (!box) {
        kept.append(key, std::move(inputs.items[i]));
        continue;
      }
      if (!inputs.items[i].is(Kind::Text)) return fail(DesignFileProblem::WrongType, "inputs." + key, kText);
      out.setText(*box, inputs.items[i].text);
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readSliders(JsonValue& sliders, DesignInputs& out, JsonValue& kept) const {
    if (auto failure = requireObject(sliders, "sliders")) return failure;
    for (std::size_t i = 0; i < sliders.items.size(); ++i) {
      const std::string& key = sliders.keys[i];
      const JsonValue& value = sliders.items[i];
      const auto slider = sliderOfKey(key);
      if (!slider) {
        kept.append(key, std::move(sliders.items[i]));
        continue;
      }
      const std::string member = "sliders." + key;
      if (!value.is(Kind::Number) || !value.whole) return fail(DesignFileProblem::WrongType, member, kWholeNumber);
      const SliderRange range = sliderRange(*slider);
      const std::optional<int> position = sliderPosition(value.text);
      if (!position || *position < range.min || *position > range.max)
        return fail(DesignFileProblem::OutOfRange, member, value.text == "-0" ? "0" : value.text);
      out.setSlider(*slider, *position);
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readExtras(const JsonValue& extras, DesignInputs& out) const {
    if (auto failure = requireObject(extras, "extras")) return failure;
    for (std::size_t i = 0; i < extras.items.size(); ++i) {
      if (!extras.items[i].is(Kind::Text)) return fail(DesignFileProblem::WrongType, "extras." + extras.keys[i], kText);
      out.setExtra(extras.keys[i], extras.items[i].text);
    }
    return std::nullopt;
  }

  std::optional<DesignRead> readMetadata(JsonValue& metadata, DesignMetadata& out, JsonValue& kept) const {
    if (auto failure = requireObject(metadata, "metadata")) return failure;
    for (std::size_t i = 0; i < metadata.items.size(); ++i) {
      const std::string& key = metadata.keys[i];
      std::string* field = key == "project"      ? &out.project
                           : key == "partNumber" ? &out.partNumber
                           : key == "designer"   ? &out.designer
                           : key == "notes"      ? &out.notes
                           : key == "savedAt"    ? &out.savedAt
                                                 : nullptr;
      if (field == nullptr) field = approvalField(out.approval, key);
      if (field == nullptr) {
        kept.append(key, std::move(metadata.items[i]));
        continue;
      }
      if (!metadata.items[i].is(Kind::Text)) return fail(DesignFileProblem::WrongType, "metadata." + key, kText);
      *field = metadata.items[i].text;
    }
    return std::nullopt;
  }

  const std::string& path_;
};

}  // namespace

DesignRead readFailure(const std::string& path, DesignFileProblem problem, std::string key, std::string detail) {
  DesignFileError error;
  error.problem = problem;
  error.path = path;
  error.key = std::move(key);
  error.detail = std::move(detail);
  return DesignRead{std::nullopt, std::move(error)};
}

DesignRead designFromJson(JsonValue root, const std::string& path) { return Reader(path).read(std::move(root)); }

}  // namespace diaspring::design
