// Files written whole or not at all: what a write leaves on the disk in each
// situation it meets, and how two output paths are found to be one file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "runtime/file_write.h"
#include "support/scratch_test.h"

namespace diaspring {
namespace {

namespace fs = std::filesystem;

class FileWrite : public testing::ScratchTest {
 protected:
  std::string at(const std::string& name) const { return scratch_.path(name); }
  void put(const std::string& name, const std::string& text, fs::perms mode) const {
    scratch_.write(name, text);
    fs::permissions(at(name), mode);
  }
  std::string read(const std::string& path) const { return scratch_.read(path); }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }
};

TEST_F(FileWrite, WritesWholeOrLeavesTheOldFileAsItWas) {
  using P = fs::perms;
  const auto rw = P::owner_read | P::owner_write | P::group_read;
  struct Case {
    const char* what;
    std::function<void()> setup;
    std::string path;        // written to, in the folder
    int error;               // 0: written
    std::string file;        // what must then hold the text
    std::string text;        // and the text it must hold
    std::optional<P> mode;   // and its permissions
  };
  const ::mode_t mask = ::umask(0022);
  ::umask(mask);
  const auto fresh = static_cast<P>(0666 & ~mask);
  const Case cases[] = {
      {"a new file", [] {}, "new.txt", 0, "new.txt", "NEW", fresh},
      {"a file replaced keeps its mode", [&] { put("old.txt", "old", rw); }, "old.txt", 0, "old.txt", "NEW", rw},
      {"a link is written through",
       [&] {
         put("target.txt", "old", rw);
         fs::create_symlink("target.txt", at("link.txt"));
       },
       "link.txt", 0, "target.txt", "NEW", rw},
      {"a read-only file is refused", [&] { put("locked.txt", "old", P::owner_read); }, "locked.txt", EACCES,
       "locked.txt", "old", P::owner_read},
      {"a folder is refused", [&] { fs::create_directory(at("folder")); }, "folder", EISDIR, "", "", {}},
      {"a missing folder", [] {}, "missing/x.txt", ENOENT, "", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.setup();
    const std::set<std::string> before = entries();
    const std::optional<WriteError> failed = writeFileAtomically(at(c.path), "NEW");
    EXPECT_EQ(failed ? failed->errnum : 0, c.error);
    if (failed) {
      EXPECT_EQ(failed->path, at(c.path));
    }
    if (!c.file.empty()) {
      EXPECT_EQ(read(at(c.file)), c.text);
      EXPECT_EQ(fs::status(at(c.file)).permissions(), *c.mode);
    }
    // Nothing left beside it: no temporary file, the link still a link.
    std::set<std::string> after = before;
    if (c.error == 0) after.insert(c.path);
    EXPECT_EQ(entries(), after);
    if (c.path == "link.txt") {
      EXPECT_TRUE(fs::is_symlink(at(c.path)));
    }
  }
}

TEST_F(FileWrite, MessagesNameTheFileAndTheSystemsReason) {
  const WriteError full{"/mnt/a.pdf", ENOSPC};
  EXPECT_EQ(full.english(), "cannot write '/mnt/a.pdf': No space left on device");
  EXPECT_EQ(full.chinese(), "无法写入文件“/mnt/a.pdf”：磁盘空间不足");
  // A reason without its own Chinese words still says what the system said.
  EXPECT_NE(WriteError({"x", EXDEV}).chinese().find("Invalid cross-device link"), std::string::npos);
}

TEST_F(FileWrite, TwoNamesOfOneFileResolveAlike) {
  put("a.pdf", "", fs::perms::owner_all);
  fs::create_directory(at("sub"));
  fs::create_symlink("a.pdf", at("link.pdf"));
  fs::create_directory_symlink(dir_, at("sub/up"));
  const std::string a = resolvedOutputPath(at("a.pdf"));
  for (const std::string& same : {at("./a.pdf"), at("sub/../a.pdf"), at("link.pdf"), at("sub/up/a.pdf")})
    EXPECT_EQ(resolvedOutputPath(same), a) << same;
  // A file that does not exist yet is resolved by its folder.
  EXPECT_EQ(resolvedOutputPath(at("sub/up/new.pdf")), resolvedOutputPath(at("new.pdf")));
  EXPECT_NE(resolvedOutputPath(at("b.pdf")), a);
}

TEST_F(FileWrite, NamesUpToTheSystemsLimitAreWritten) {
  for (std::size_t length : {240u, 254u, 255u}) {
    const std::string name = std::string(length - 4, 'n') + ".pdf";
    EXPECT_FALSE(writeFileAtomically(at(name), "long")) << length;
    EXPECT_EQ(read(at(name)), "long") << length;
  }
  const auto tooLong = writeFileAtomically(at(std::string(256, 'n')), "x");
  ASSERT_TRUE(tooLong);
  EXPECT_EQ(tooLong->errnum, ENAMETOOLONG);
}

TEST_F(FileWrite, PartsLeftByKilledWritesAreRemovedAndOthersKept) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);  // its number now names no process
  const std::string dead = std::to_string(child), alive = std::to_string(::getpid());
  const struct {
    std::string name;
    bool kept;
  } cases[] = {
      {".a.pdf.part-" + dead + "-0", false},         // the earlier form of the name
      {".diaspring.part-" + dead + "-7", false},
      {".diaspring.part-" + alive + "-99", true},    // a write still going on
      {".notes.part-one-two", true},                 // not a part file's name
      {"a.pdf.part-" + dead + "-0", true},           // not hidden: not one of ours
  };
  for (const auto& c : cases) put(c.name, "part", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_FALSE(writeFileAtomically(at("a.pdf"), "new"));
  for (const auto& c : cases) EXPECT_EQ(fs::exists(at(c.name)), c.kept) << c.name;
}

TEST_F(FileWrite, ADeviceIsRefusedInWords) {
  const auto device = writeFileAtomically("/dev/full", "x");
  ASSERT_TRUE(device);
  EXPECT_EQ(device->english(), "cannot write '/dev/full': it is not a regular file (a device or a pipe is not replaced)");
}

TEST_F(FileWrite, AWriteInPartsReplacesTheTargetOnlyWhenCommitted) {
  put("out.csv", "old", fs::perms::owner_read | fs::perms::owner_write);
  {
    AtomicWrite abandoned(at("out.csv"));
    ASSERT_TRUE(abandoned.append("one,"));
    ASSERT_TRUE(abandoned.append("two"));
  }
  EXPECT_EQ(read(at("out.csv")), "old");
  EXPECT_EQ(entries(), std::set<std::string>{"out.csv"}) << "the abandoned part is removed";
  AtomicWrite write(at("out.csv"));
  for (const char* part : {"one,", "two", "\n"}) ASSERT_TRUE(write.append(part));
  EXPECT_FALSE(write.commit());
  EXPECT_EQ(read(at("out.csv")), "one,two\n");
  AtomicWrite nowhere(at("missing/out.csv"));
  EXPECT_FALSE(nowhere.append("x"));
  ASSERT_TRUE(nowhere.commit());
  EXPECT_EQ(nowhere.commit()->errnum, ENOENT);
}

}  // namespace
}  // namespace diaspring
