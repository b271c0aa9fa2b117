#include "runtime/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
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

// Short, whatever the target's name, so a name of 255 bytes can be written:
// ".diaspring.part-PID-N".
constexpr std::string_view kPartPrefix = ".diaspring.part-";

std::string tempName() {
  static std::atomic<unsigned> counter{0};
  return std::string(kPartPrefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The process id of a part file's name, ".diaspring.part-PID-N" or the
// earlier ".NAME.part-PID-N"; 0 when the name is no part file's.
pid_t partOwner(std::string_view name) {
  if (name.size() < 2 || name[0] != '.') return 0;
  const std::size_t part = name.rfind(".part-");
  if (part == std::string_view::npos || part == 0) return 0;
  std::string_view rest = name.substr(part + 6);
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size()) return 0;
  const auto digits = [](std::string_view t) { return t.find_first_not_of("0123456789") == std::string_view::npos; };
  if (!digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1)) || dash > 9) return 0;
  return static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
}

// A test can stop the writer at the moment the new file is complete but not
// yet in place, to kill it there.
void stopIfAskedBeforeRename() {
  if (const char* at = std::getenv("DIASPRING_TEST_STOP"); at != nullptr && std::string_view(at) == "rename")
    ::raise(SIGSTOP);
}

}  // namespace

void removeLeftoverParts(const std::string& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const pid_t owner = partOwner(name);
    if (owner <= 0) continue;
    // A process that still runs may be writing it (or, its number reused, be
    // another program: the file is then kept, which is the safe way).
    if (owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    ::unlink(it->path().c_str());
  }
}

AtomicWrite::AtomicWrite(const std::string& path) : path_(path) {
  if (path.empty()) {
    fail(ENOENT);
    return;
  }
  int err = 0;
  const fs::path target = followLinks(fs::path(path), err);
  if (err != 0) {
    fail(err);
    return;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  target_ = target.string();
  folder_ = folder.string();

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) {
    fail(errno);
    return;
  }
  if (exists) {
    if (S_ISDIR(old.st_mode)) {
      fail(EISDIR);
      return;
    }
    if (!S_ISREG(old.st_mode)) {  // a device or a pipe is not replaced
      fail(EINVAL);
      return;
    }
    // A file nobody may write is kept, even for root, who the kernel would let.
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      fail(EACCES);
      return;
    }
  }

  // The new file is made in the target's folder, so the rename stays on one
  // file system. 0666 less the umask, as any new file; an old file's mode wins.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = (folder / tempName()).string();
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) {
      temp_.clear();
      fail(errno);
      return;
    }
  }
  if (fd_ < 0) {
    temp_.clear();
    fail(EEXIST);
    return;
  }
  if (exists) {
    if (::fchmod(fd_, old.st_mode & 07777) != 0) {
      fail(errno);
      return;
    }
    if (::geteuid() == 0) (void)!::fchown(fd_, old.st_uid, old.st_gid);  // keep the owner when root saves
  }
}

AtomicWrite::~AtomicWrite() { abandon(); }

void AtomicWrite::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicWrite::fail(int errnum) {
  if (!error_) error_ = WriteError{path_, errnum};
  abandon();
  return false;
}

bool AtomicWrite::append(std::string_view bytes) {
  if (error_) return false;
  int err = 0;
  if (!writeAll(fd_, bytes, err)) return fail(err);
  return true;
}

std::optional<WriteError> AtomicWrite::commit() {
  if (error_) return error_;
  if (::fsync(fd_) != 0) {
    fail(errno);
    return error_;
  }
  const int fd = fd_;
  fd_ = -1;
  if (const int e = closeChecked(fd); e != 0) {
    fail(e);
    return error_;
  }
  stopIfAskedBeforeRename();
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    fail(errno);
    return error_;
  }
  temp_.clear();
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  removeLeftoverParts(folder_);
  return std::nullopt;
}

std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicWrite write(path);
  write.append(bytes);
  return write.commit();
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
  const char* text = ::strerrordesc_np(errnum);  // untranslated, unlike strerror
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

std::string WriteError::reasonEnglish() const {
  // The writer's own refusal of a device or a pipe (EINVAL), in words.
  return errnum == EINVAL ? "it is not a regular file (a device or a pipe is not replaced)" : errorReasonEnglish(errnum);
}
std::string WriteError::reasonChinese() const { return errorReasonChinese(errnum); }
std::string WriteError::english() const { return "cannot write '" + path + "': " + reasonEnglish(); }
std::string WriteError::chinese() const { return "无法写入文件“" + path + "”：" + reasonChinese(); }

}  // namespace diaspring
