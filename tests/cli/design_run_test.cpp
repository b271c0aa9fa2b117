// --design and --save in whole runs: a design saved and loaded again gives
// the same boxes, a bad file stops the run with its reason, a failed save
// leaves the old file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "design/design_file.h"
#include "json_check.h"
#include "support/scratch_test.h"

namespace diaspring::cli {
namespace {
namespace fs = std::filesystem;
using Args = std::vector<std::string_view>;

class CliDesign : public diaspring::testing::ScratchTest {
 protected:
  std::string path(const char* name) const { return scratch_.path(name); }
  void spit(const char* name, std::string_view bytes) const { scratch_.write(name, bytes); }
  std::string slurp(const char* name) const { return scratch_.read(name); }
};

TEST_F(CliDesign, ASavedDesignLoadsBackIntoTheSameBoxes) {
  const std::string a = path("a.diaspring"), b = path("b.json");
  const Outcome saved = runCli(Args{"--slider", "HScroll3=900", "--set", "h= 2.50x", "--set", "F=", "--set",
                                    "Text1=膜片", "--set", "n=20", "--press", "Command1", "--save", a});
  ASSERT_EQ(saved.status, kExitOk) << saved.err;

  // Loaded, and saved again under any name: the same design.
  const Outcome again = runCli(Args{"--design", a, "--press", "Command2", "--json", "--save", b});
  ASSERT_EQ(again.status, kExitOk) << again.err;
  const auto json = test::parseJson(again.out);
  ASSERT_TRUE(json);
  const auto& fields = json->at("fields");
  EXPECT_EQ(fields.at("Text4").text, " 2.50x");
  EXPECT_EQ(fields.at("Text33").text, "");
  EXPECT_EQ(fields.at("Text1").text, "膜片");
  EXPECT_EQ(fields.at("Text7").text, "90");  // the slider's text
  EXPECT_EQ(json->at("sliders").at("HScroll3").text, "900");

  const DesignRead first = readDesignFile(a), second = readDesignFile(b);
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_EQ(first.document->inputs, second.document->inputs);
  EXPECT_EQ(second.document->inputs.text(TextBox::Text4), " 2.50x");
  EXPECT_EQ(second.document->inputs.slider(Slider::HScroll3), 900);
  EXPECT_EQ(second.document->inputs.extra("n"), "20") << "an analysis input travels with the design";
}

TEST_F(CliDesign, SavingOverTheLoadedFileKeepsWhatTheRunDidNotChange) {
  spit("d.diaspring", R"({"format": "diaspring-design", "version": "1.0",
    "extras": {"n": "3000"}, "metadata": {"project": "离合器", "reviewer": "王"}, "later": [1]})");
  const std::string d = path("d.diaspring");
  ASSERT_EQ(runCli(Args{"--design", d, "--set", "R=90", "--save", d}).status, kExitOk);
  const DesignRead read = readDesignFile(d);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.document->inputs.text(TextBox::Text7), "90");
  EXPECT_EQ(read.document->inputs.extra("n"), "3000");
  EXPECT_EQ(read.document->metadata.project, "离合器");
  EXPECT_FALSE(read.document->metadata.savedAt.empty());
  const std::string text = slurp("d.diaspring");
  EXPECT_NE(text.find(R"("reviewer": "王")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"("later": [)"), std::string::npos) << text;
}

TEST_F(CliDesign, ABadDesignFileStopsTheRunWithItsReason) {
  spit("text.diaspring", "h = 2.2\n");
  spit("other.diaspring", R"({"format": "other", "version": "1.0"})");
  spit("newer.diaspring", R"({"format": "diaspring-design", "version": "3.1"})");
  spit("typed.diaspring", R"({"format": "diaspring-design", "version": "1.0", "inputs": {"F": 4593}})");
  spit("big.diaspring", std::string(kMaxDesignFileBytes + 10, '\n'));
  fs::create_directory(dir_ / "folder");
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"text.diaspring", "not JSON (line 1, column 1: "},
      {"other.diaspring", "not a diaspring design file (format other)"},
      {"newer.diaspring", "written by a newer program (format version 3.1; this program reads 1.x)"},
      {"typed.diaspring", "'inputs.F' must be a text"},
      {"big.diaspring", "it is larger than 1 MiB (1048586 bytes)"},
      {"folder", "it is a directory"},
      {"missing.diaspring", "No such file or directory"},
  };
  for (const auto& c : cases) {
    const std::string file = path(c.file);
    const Outcome o = runCli(Args{"--design", file, "--save", path("out.diaspring")});
    EXPECT_EQ(o.status, kExitFault) << c.file;
    EXPECT_EQ(o.out, "") << "nothing runs: " << c.file;
    EXPECT_EQ(o.err.rfind("diaspring-cli: cannot read design file '" + file + "': " + c.reason, 0), 0u) << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line: " << o.err;
    EXPECT_FALSE(fs::exists(path("out.diaspring"))) << c.file;
  }
}

TEST_F(CliDesign, AFailedSaveIsReportedAndLeavesTheOldFile) {
  spit("locked.diaspring", "old");
  fs::permissions(dir_ / "locked.diaspring", fs::perms::owner_read);
  const Outcome plain = runCli(Args{});
  for (const std::string& target : {path("locked.diaspring"), path("no/such/dir.diaspring")}) {
    const Outcome o = runCli(Args{"--save", target});
    EXPECT_EQ(o.status, kExitFault) << target;
    EXPECT_EQ(o.out, plain.out) << "the output is complete";
    EXPECT_EQ(o.err.rfind("diaspring-cli: cannot write design file '" + target + "': ", 0), 0u) << o.err;
  }
  EXPECT_EQ(slurp("locked.diaspring"), "old");
}

}  // namespace
}  // namespace diaspring::cli
