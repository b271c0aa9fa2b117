#include "render/write_failure.h"

#include <string_view>

#include <QFile>

namespace diaspring {

std::string SaveFailure::reasonEnglish() const {
  return unmade != nullptr ? unmade->english : write.reasonEnglish();
}

std::string SaveFailure::english() const { return "cannot write '" + write.path + "': " + reasonEnglish(); }

QString SaveFailure::chinese() const {
  const std::string text = unmade != nullptr ? "无法写入文件“" + write.path + "”：" + unmade->chinese : write.chinese();
  return QString::fromStdString(text);
}

std::optional<SaveFailure> saveFile(const QString& path, const std::optional<QByteArray>& bytes,
                                    const Unmade& unmade) {
  const std::string target = QFile::encodeName(path).toStdString();
  if (!bytes) return SaveFailure{WriteError{target, 0}, &unmade};
  if (auto failed = writeFileAtomically(target, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size()))))
    return SaveFailure{*failed, nullptr};
  return std::nullopt;
}

bool reportedInChinese(const std::optional<SaveFailure>& failure, QString* error) {
  if (!failure) return true;
  if (error != nullptr) *error = failure->chinese();
  return false;
}

}  // namespace diaspring
