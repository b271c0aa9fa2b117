#pragma once
// A disk that fills up: a tmpfs of its own, mounted on a fresh folder for
// one test and unmounted after it. Mounting needs root (CAP_SYS_ADMIN);
// where it cannot be had, `whyNot()` says so and the test skips.

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace diaspring::testing {

class SmallDisk {
 public:
  explicit SmallDisk(const char* size = "200k") {
    dir_ = std::filesystem::temp_directory_path() /
           ("diaspring-disk-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::create_directories(dir_);
    const std::string options = std::string("size=") + size;
    if (::mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) != 0)
      whyNot_ = std::string("cannot mount a tmpfs (needs root): ") + std::strerror(errno);
  }
  ~SmallDisk() {
    if (whyNot_.empty()) ::umount2(dir_.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return whyNot_.empty(); }
  const std::string& whyNot() const { return whyNot_; }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // Takes the free space down to about `leave` bytes with a file of its own.
  void fillLeaving(std::size_t leave) const {
    struct statvfs st {};
    if (::statvfs(dir_.c_str(), &st) != 0) return;
    const std::size_t free = static_cast<std::size_t>(st.f_bavail) * st.f_frsize;
    if (free > leave) std::ofstream(path("filler"), std::ios::binary) << std::string(free - leave, 'f');
  }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path dir_;
  std::string whyNot_;
};

}  // namespace diaspring::testing
