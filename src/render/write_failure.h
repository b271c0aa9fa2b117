#pragma once
// Saving a file the program makes: its bytes are made in memory first and
// then written whole or not at all (writeFileAtomically), so a full disk or
// a killed process never leaves a part of a file, and an earlier file of
// that name stays as it was. Why a save failed is told naming the file: in
// Chinese for the window, in English for the headless front end.

#include <optional>
#include <string>

#include <QByteArray>
#include <QString>

#include "runtime/file_write.h"

namespace diaspring {

// Why the content of a file could not be made (a painter that would not
// start, a page that could not be laid out), in both languages.
struct Unmade {
  const char* english;
  const char* chinese;
};

struct SaveFailure {
  WriteError write;         // the file, and the system's reason when it refused the write
  const Unmade* unmade = nullptr;  // set when the content could not be made: nothing was written

  std::string reasonEnglish() const;  // "No space left on device"
  std::string english() const;        // "cannot write 'PATH': No space left on device"
  QString chinese() const;            // "无法写入文件“PATH”：磁盘空间不足"
};

// Writes `bytes` to `path` whole or not at all; without bytes (the content
// could not be made) nothing is written and the failure says `unmade`.
std::optional<SaveFailure> saveFile(const QString& path, const std::optional<QByteArray>& bytes,
                                    const Unmade& unmade);

// For the window: false with the Chinese reason in `error` (when given).
bool reportedInChinese(const std::optional<SaveFailure>& failure, QString* error);

}  // namespace diaspring
