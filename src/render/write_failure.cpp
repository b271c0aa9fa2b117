#include "render/write_failure.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace diaspring {
namespace {

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

std::optional<PathProblem> findPathProblem(const QString& path) {
  if (path.isEmpty()) return PathProblem{ENOENT, path};
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());

  // Every directory on the way must exist and be a directory. Walk them from
  // the root so the first one at fault is named.
  const QString dir = QFileInfo(absolute).path();
  const QStringList parts = dir.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString prefix;
  struct stat st {};
  for (const QString& part : parts) {
    prefix += QLatin1Char('/') + part;
    if (::stat(native(prefix).c_str(), &st) != 0) {
      const int e = errno;
      return PathProblem{e == ENOTDIR ? ENOTDIR : e, prefix};
    }
    if (!S_ISDIR(st.st_mode)) return PathProblem{ENOTDIR, prefix};
  }

  // The file itself: a directory cannot be replaced by a file, and an
  // existing file that refuses writing is not silently replaced.
  if (::stat(native(absolute).c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return PathProblem{EISDIR, absolute};
    if (::access(native(absolute).c_str(), W_OK) != 0) return PathProblem{errno, absolute};
  }
  // A new file is created in the directory, then renamed over the old one.
  if (::access(native(dir.isEmpty() ? QStringLiteral("/") : dir).c_str(), W_OK | X_OK) != 0)
    return PathProblem{errno, dir};
  return std::nullopt;
}

QString problemTextZh(const PathProblem& problem) {
  switch (problem.error) {
    case ENOENT:
      return problem.where.isEmpty() ? QStringLiteral("没有给出文件名")
                                     : QStringLiteral("目录 %1 不存在").arg(problem.where);
    case ENOTDIR:
      return QStringLiteral("%1 不是目录").arg(problem.where);
    case EACCES:
    case EPERM:
      return QStringLiteral("权限不足");
    case EROFS:
      return QStringLiteral("文件系统是只读的");
    case EISDIR:
      return QStringLiteral("这是一个目录，不是文件");
    case ENAMETOOLONG:
      return QStringLiteral("文件名太长");
    default:
      return QString::fromLocal8Bit(std::strerror(problem.error));
  }
}

QString writeErrorZh(const QString& path, const QString& reason) {
  return QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString describeWriteFailureZh(const QString& path, const QString& fallbackReason) {
  if (const auto problem = findPathProblem(path)) return writeErrorZh(path, problemTextZh(*problem));
  return writeErrorZh(path, fallbackReason);
}

}  // namespace diaspring
