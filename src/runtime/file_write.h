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

// The path a write to `path` lands on: absolute, with ".", ".." and every
// symbolic link resolved (a file that does not exist yet is resolved by its
// folder). Two output paths name the same file when these are equal.
std::string resolvedOutputPath(const std::string& path);

// The reason for a system error number, in English (not translated by the
// locale) and in Chinese.
std::string errorReasonEnglish(int errnum);
std::string errorReasonChinese(int errnum);

}  // namespace diaspring
