// Writing a design file: the document as JSON text, written whole or not at all.
#include <stdexcept>

#include "design/design_file.h"
#include "design/json_tree.h"
#include "runtime/file_write.h"

namespace diaspring {
namespace {

using design::JsonValue;
using design::textValue;

// Appends the kept members of `group` in `kept` to `object`.
void appendKept(const JsonValue& kept, const char* group, JsonValue& object) {
  const JsonValue* members = kept.find(group);
  if (members == nullptr || !members->is(JsonValue::Kind::Object)) return;
  for (std::size_t i = 0; i < members->items.size(); ++i)
    if (object.find(members->keys[i]) == nullptr) object.append(members->keys[i], members->items[i]);
}

JsonValue inputsOf(const DesignInputs& in) {
  JsonValue inputs = JsonValue::object();
  for (const InputBox& input : inputBoxes())
    inputs.append(input.name, textValue(in.text(input.box), std::string("inputs.") + input.name));
  return inputs;
}

JsonValue slidersOf(const DesignInputs& in) {
  JsonValue sliders = JsonValue::object();
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    sliders.append(std::string(sliderKey(slider)), JsonValue::number(std::to_string(in.slider(slider)), true));
  }
  return sliders;
}

JsonValue metadataOf(const DesignMetadata& m) {
  JsonValue metadata = JsonValue::object();
  metadata.append("project", textValue(m.project, "metadata.project"));
  metadata.append("partNumber", textValue(m.partNumber, "metadata.partNumber"));
  metadata.append("designer", textValue(m.designer, "metadata.designer"));
  metadata.append("notes", textValue(m.notes, "metadata.notes"));
  metadata.append("savedAt", textValue(m.savedAt, "metadata.savedAt"));
  // The release's members only when given: a design never released keeps the file it always had.
  for (const ApprovalMember& a : approvalMembers())
    if (!(m.approval.*a.member).empty())
      metadata.append(a.key, textValue(m.approval.*a.member, std::string("metadata.") + a.key));
  return metadata;
}

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
  for (const InputBox& input : inputBoxes()) consider(std::string("inputs.") + input.name, document.inputs.text(input.box));
  for (const auto& [name, text] : document.inputs.extras()) consider("extras." + name, text);
  const DesignMetadata& m = document.metadata;
  for (const auto& [name, text] : {std::pair{"metadata.project", &m.project}, std::pair{"metadata.partNumber", &m.partNumber},
                                   std::pair{"metadata.designer", &m.designer}, std::pair{"metadata.notes", &m.notes}})
    consider(name, *text);
  for (const ApprovalMember& a : approvalMembers()) consider(std::string("metadata.") + a.key, m.approval.*a.member);
  return key;
}

// Whether what the document does not know outweighs its longest text.
bool unknownMembersLongest(const DesignDocument& document) {
  if (document.unknownMembers.empty()) return false;
  std::size_t longest = 0;
  for (const InputBox& input : inputBoxes()) longest = std::max(longest, document.inputs.text(input.box).size());
  for (const auto& [name, text] : document.inputs.extras()) longest = std::max(longest, text.size());
  for (const std::string* text :
       {&document.metadata.project, &document.metadata.partNumber, &document.metadata.designer, &document.metadata.notes})
    longest = std::max(longest, text->size());
  return document.unknownMembers.size() > longest;
}

}  // namespace

std::string serialiseDesign(const DesignDocument& document) {
  JsonValue kept = JsonValue::object();
  if (!document.unknownMembers.empty()) {
    // Written by this program's reader, so it parses; anything else is ignored.
    design::JsonParse parsed = design::parseJson(document.unknownMembers);
    if (!parsed.problem && parsed.root.is(JsonValue::Kind::Object)) kept = std::move(parsed.root);
  }
  const DesignInputs& in = document.inputs;

  JsonValue root = JsonValue::object();
  root.append("format", JsonValue::string(std::string(kDesignFormatName)));
  root.append("version", JsonValue::string(std::to_string(kDesignFormatMajor) + "." + std::to_string(kDesignFormatMinor)));
  JsonValue inputs = inputsOf(in);
  appendKept(kept, "inputs", inputs);
  root.append("inputs", std::move(inputs));
  JsonValue sliders = slidersOf(in);
  appendKept(kept, "sliders", sliders);
  root.append("sliders", std::move(sliders));
  JsonValue extras = JsonValue::object();
  for (const auto& [name, text] : in.extras()) extras.append(name, textValue(text, "extras." + name));
  root.append("extras", std::move(extras));
  JsonValue metadata = metadataOf(document.metadata);
  appendKept(kept, "metadata", metadata);
  root.append("metadata", std::move(metadata));
  appendKept(kept, "members", root);
  // Invalid UTF-8 among the texts has been refused above.
  return jsonText(root, 2) + "\n";
}

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
    // Unless what it does not know is larger still.
    if (!unknownMembersLongest(document)) error.key = longestText(document);
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

}  // namespace diaspring
