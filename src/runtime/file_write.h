#pragma once
// Files written whole or not at all. The bytes go to a new file beside the
// target, are flushed to the disk, and only then replace the target by a
// rename, so a full disk, a killed process or a power cut leaves either the
// old file or the new one, never a part. The old file keeps its
// permissions; a symbolic link is written through to its target; a
// read-only file is refused rather than replaced.

#include <optional>
#include <string>
#include <string_view>

namespace diaspring {

struct WriteError {
  std::string path;  // as the user named it
  int errnum = 0;    // the system's error number (errno)

  std::string reasonEnglish() const;  // "No space left on device"
  std::string reasonChinese() const;  // "磁盘空间不足"
  std::string english() const;        // "cannot write 'PATH': No space left on device"
  std::string chinese() const;        // "无法写入文件“PATH”：磁盘空间不足"
};

std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view bytes);

// The same for bytes that come in parts (a study's rows as they are
// computed): the new file is opened beside the target at construction,
// takes the parts, and replaces the target at commit(). Destroyed without a
// commit, or after a failure, it removes the new file and leaves the target
// as it was.
class AtomicWrite {
 public:
  explicit AtomicWrite(const std::string& path);
  ~AtomicWrite();
  AtomicWrite(const AtomicWrite&) = delete;
  AtomicWrite& operator=(const AtomicWrite&) = delete;

  // False once anything failed; error() says why.
  bool append(std::string_view bytes);
  std::optional<WriteError> commit();
  const std::optional<WriteError>& error() const { return error_; }

 private:
  bool fail(int errnum);
  void abandon();

  std::string path_;
  std::string target_, folder_, temp_;
  int fd_ = -1;
  std::optional<WriteError> error_;
};

// The new files of writes that were killed before they finished
// (".NAME.part-PID-N", ".diaspring.part-PID-N") in `folder`, whose process
// has ended, are removed; a write does this in its target's folder.
void removeLeftoverParts(const std::string& folder);

// The path a write to `path` lands on: absolute, with ".", ".." and every
// symbolic link resolved (a file that does not exist yet is resolved by its
// folder). Two output paths name the same file when these are equal.
std::string resolvedOutputPath(const std::string& path);

// The reason for a system error number, in English (not translated by the
// locale) and in Chinese.
std::string errorReasonEnglish(int errnum);
std::string errorReasonChinese(int errnum);

}  // namespace diaspring
