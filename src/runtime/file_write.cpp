#include "runtime/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace diaspring {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own limit on a chain of links

// Follows a chain of symbolic links, the last one possibly dangling.
fs::path followLinks(fs::path path, int& err) {
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec || !fs::is_symlink(st)) return path;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) {
      err = ec.value();
      return path;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  err = ELOOP;
  return path;
}

int closeChecked(int fd) { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }

bool writeAll(int fd, std::string_view bytes, int& err) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    if (n == 0) {  // no progress and no reason: treat as an I/O error
      err = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string tempNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return "." + target.filename().string() + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view bytes) {
  auto fail = [&](int err) { return std::optional<WriteError>(WriteError{path, err}); };
  if (path.empty()) return fail(ENOENT);

  int err = 0;
  const fs::path target = followLinks(fs::path(path), err);
  if (err != 0) return fail(err);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return fail(errno);
  if (exists) {
    if (S_ISDIR(old.st_mode)) return fail(EISDIR);
    if (!S_ISREG(old.st_mode)) return fail(EINVAL);  // a device or a pipe is not replaced
    // A file nobody may write is kept, even for root, who the kernel would let.
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return fail(EACCES);
  }

  // The new file is made in the target's folder, so the rename stays on one
  // file system. 0666 less the umask, as any new file; an old file's mode wins.
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder / tempNameFor(target);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return fail(errno);
  }
  if (fd < 0) return fail(EEXIST);

  auto abandon = [&](int e) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(e);
  };
  if (exists) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) return abandon(errno);
    if (::geteuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);  // keep the owner when root saves
  }
  if (!writeAll(fd, bytes, err)) return abandon(err);
  if (::fsync(fd) != 0) return abandon(errno);
  if (const int e = closeChecked(fd); e != 0) {
    ::unlink(temp.c_str());
    return fail(e);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int e = errno;
    ::unlink(temp.c_str());
    return fail(e);
  }
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

std::string resolvedOutputPath(const std::string& path) {
  int err = 0;
  fs::path target = followLinks(fs::path(path), err);
  std::error_code ec;
  fs::path absolute = fs::absolute(target, ec);
  if (ec) absolute = target;
  const fs::path resolved = fs::weakly_canonical(absolute, ec);
  return (ec ? absolute.lexically_normal() : resolved).string();
}

std::string errorReasonEnglish(int errnum) {
#if defined(__GLIBC__)
  const char* text = ::strerrordesc_np(errnum);  // untranslated, unlike strerror
#else
  const char* text = std::strerror(errnum);  // other C libraries do not translate it
#endif
  return text ? text : "error " + std::to_string(errnum);
}

std::string errorReasonChinese(int errnum) {
  switch (errnum) {
    case ENOSPC: return "磁盘空间不足";
    case EDQUOT: return "超出磁盘配额";
    case EACCES:
    case EPERM: return "没有写入权限（文件或文件夹为只读）";
    case EROFS: return "文件系统为只读";
    case ENOENT: return "文件夹不存在";
    case ENOTDIR: return "路径中有一项不是文件夹";
    case EISDIR: return "这是一个文件夹";
    case ENAMETOOLONG: return "文件名太长";
    case ELOOP: return "符号链接层次太多";
    case EIO: return "读写错误";
    case EFBIG: return "文件太大";
    case EINVAL: return "不是普通文件";
    case EMFILE:
    case ENFILE: return "打开的文件太多";
    case ENOMEM: return "内存不足";
    default: return "系统错误 " + std::to_string(errnum) + "（" + errorReasonEnglish(errnum) + "）";
  }
}

std::string WriteError::reasonEnglish() const { return errorReasonEnglish(errnum); }
std::string WriteError::reasonChinese() const { return errorReasonChinese(errnum); }
std::string WriteError::english() const { return "cannot write '" + path + "': " + reasonEnglish(); }
std::string WriteError::chinese() const { return "无法写入文件“" + path + "”：" + reasonChinese(); }

}  // namespace diaspring
