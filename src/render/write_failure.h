#pragma once
// Why a file could not be written, found by looking at its path once the
// write has failed, so the user learns what to change: a missing directory,
// a file standing where a directory should be, a directory that refuses
// writing.

#include <optional>

#include <QString>

namespace diaspring {

struct PathProblem {
  // ENOENT: a directory on the way does not exist; ENOTDIR: a component on
  // the way is not a directory; EACCES or EPERM: writing is not permitted;
  // EROFS: the file system is read-only; EISDIR: the path names a directory.
  int error = 0;
  QString where;  // the path component at fault, as an absolute path
};

// What stands in the way of creating or replacing the file at `path`; none
// when the path looks writable (the failure then lies elsewhere, such as a
// full disk).
std::optional<PathProblem> findPathProblem(const QString& path);

// The problem in a few Chinese words: "目录 /x 不存在", "权限不足" ...
QString problemTextZh(const PathProblem& problem);

// "无法写入文件 <path>：<reason>"
QString writeErrorZh(const QString& path, const QString& reason);

// The Chinese message for a failed write of `path`: the problem found on the
// path, else `fallbackReason` (the system's own words).
QString describeWriteFailureZh(const QString& path, const QString& fallbackReason);

}  // namespace diaspring
