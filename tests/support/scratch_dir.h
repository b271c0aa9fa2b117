#pragma once
// A folder of its own for a test's files, removed with everything in it
// (read-only files included) when the test ends.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace diaspring::testing {

class ScratchDir {
 public:
  ScratchDir() {
    std::string name = (std::filesystem::temp_directory_path() / "diaspring-test-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) dir_ = name;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (dir_.empty()) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ec))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  bool valid() const { return !dir_.empty(); }
  const std::filesystem::path& dir() const { return dir_; }
  std::string path(std::string_view name) const { return (dir_ / name).string(); }

  // Writes the file and returns its path.
  std::string write(std::string_view name, std::string_view bytes) const {
    std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path(name);
  }
  std::string read(std::string_view name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace diaspring::testing
