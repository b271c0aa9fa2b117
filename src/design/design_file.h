#pragma once
// Design files: a design's inputs and its metadata as a JSON document of
// its own format ("diaspring-design", version 1.0; docs/design-file.md).
// The input texts are stored exactly as typed, so a file reproduces the
// form to the character. Reading never trusts the file: whatever is wrong
// with it comes back as a DesignFileError naming the file and the problem,
// and nothing of the caller's design is touched. Members this program does
// not know are kept and written back when the design is saved again.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "form/design_inputs.h"

namespace diaspring {

inline constexpr std::string_view kDesignFormatName = "diaspring-design";
inline constexpr int kDesignFormatMajor = 1;
inline constexpr int kDesignFormatMinor = 0;
inline constexpr std::string_view kDesignFileExtension = ".diaspring";
inline constexpr std::string_view kDesignMimeType = "application/x-diaspring-design";
// A larger file is refused before it is read.
inline constexpr std::uintmax_t kMaxDesignFileBytes = 1024 * 1024;

// The release of a drawing: its revision and who designed (the designer of
// DesignMetadata), checked (校核), reviewed (审核) and approved (批准) it, and
// when, as the user typed them.
struct DesignApproval {
  std::string revision;
  std::string designDate;
  std::string checker, checkDate;
  std::string reviewer, reviewDate;
  std::string approver, approveDate;
  bool operator==(const DesignApproval&) const = default;
};
// Its members by the keys of the file's "metadata" ("revision", "designedOn",
// "checkedBy", "checkedOn", "reviewedBy", "reviewedOn", "approvedBy", "approvedOn").
struct ApprovalMember {
  const char* key;
  std::string DesignApproval::*member;
};
std::span<const ApprovalMember> approvalMembers();

struct DesignMetadata {
  std::string project;
  std::string partNumber;  // part or drawing number
  std::string designer;
  std::string notes;
  std::string savedAt;  // ISO 8601 in UTC ("2026-12-07T11:30:00Z"), set when written
  DesignApproval approval{};
  bool operator==(const DesignMetadata&) const = default;
};

struct DesignDocument {
  DesignInputs inputs;
  DesignMetadata metadata;
  // The members of the file this program does not read, as JSON text
  // (empty: none). Opaque to callers: keep it with the document so that a
  // design opened and saved again keeps them.
  std::string unknownMembers;
  bool operator==(const DesignDocument&) const = default;
};

enum class DesignFileProblem {
  Unreadable,    // the file cannot be opened or read (errnum)
  NotAFile,      // a directory, a device, a pipe (detail: what it is)
  TooLarge,      // larger than kMaxDesignFileBytes (size)
  NotJson,       // not JSON (line, column; detail: the parser's words)
  TooDeep,       // JSON nested deeper than a design file ever is
  WrongFormat,   // not an object whose "format" is "diaspring-design" (detail: the format found)
  BadVersion,    // "version" missing or not "MAJOR.MINOR" (detail: as found)
  NewerVersion,  // a newer major version (detail: the version)
  WrongType,     // a value of the wrong type (key: "inputs.h"; detail: the type wanted)
  OutOfRange,    // a slider position outside its range (key; detail: the value)
  DuplicateKey,  // a member given twice in one object (key: "inputs.h")
  TooManyMembers,  // more members than any design has (detail: the limit)
  InvalidText,   // writing: a text that is not valid UTF-8 (key)
  WriteFailed,   // writing: the system refused (errnum)
  TooLargeToSave,  // writing: larger than kMaxDesignFileBytes, so it could not be read back (size; key: the longest text)
};

struct DesignFileError {
  DesignFileProblem problem = DesignFileProblem::Unreadable;
  std::string path;    // as the user named it
  std::string key;     // the member at fault, "inputs.h"; else empty
  std::string detail;  // see DesignFileProblem
  int line = 0;        // NotJson: where the parser stopped, from 1
  int column = 0;      // in characters, from 1
  int errnum = 0;      // Unreadable, WriteFailed: the system's error number
  std::uintmax_t size = 0;  // TooLarge, TooLargeToSave: the file's size in bytes

  // One line naming the file and the problem, for the headless front end
  // ("cannot read design file 'a.diaspring': not JSON (line 3, column 7: ...)")
  // and for the window ("无法打开设计文件“a.diaspring”：不是有效的 JSON 文件（第 3 行第 7 列）").
  std::string english() const;
  std::string chinese() const;
};

// Either a document or why there is none.
struct DesignRead {
  std::optional<DesignDocument> document;
  std::optional<DesignFileError> error;
  bool ok() const { return document.has_value(); }
};

// Reads a design from the text of a file; `path` only names it in errors.
DesignRead parseDesign(std::string_view text, const std::string& path);

// A design file's text already in memory (a file the page was given), read
// as readDesignFile reads the file: refused whole when larger than
// kMaxDesignFileBytes.
DesignRead readDesignText(std::string_view text, const std::string& path);

// Reads the design file at `path`: refuses what is not a regular file, and
// a file larger than kMaxDesignFileBytes before reading it.
DesignRead readDesignFile(const std::string& path);

// The file's text: "format" first, then "version", "inputs", "sliders",
// "extras", "metadata" and the kept unknown members; two-space indents, a
// final line end. Throws std::invalid_argument naming the key when a text
// is not valid UTF-8.
std::string serialiseDesign(const DesignDocument& document);

// Writes the document whole or not at all (an earlier file stays as it was
// on failure). A document whose file would be larger than
// kMaxDesignFileBytes is refused (TooLargeToSave): it could not be read back. On success sets document.metadata.savedAt to `now`.
std::optional<DesignFileError> writeDesignFile(const std::string& path, DesignDocument& document,
                                               std::chrono::system_clock::time_point now =
                                                   std::chrono::system_clock::now());

// "2026-12-07T11:30:00Z"
std::string isoUtcTimestamp(std::chrono::system_clock::time_point time);

}  // namespace diaspring
