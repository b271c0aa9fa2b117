#include "design/design_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "support/scratch_test.h"

namespace diaspring {
namespace {
namespace fs = std::filesystem;

class DesignFile : public testing::ScratchTest {
 protected:
  std::string path(const char* name) const { return scratch_.path(name); }
  std::string slurp(const char* name) const { return scratch_.read(name); }
  void spit(const char* name, std::string_view bytes) const { scratch_.write(name, bytes); }
};

// A design with every kind of text a box can hold, and sliders at both ends.
DesignDocument oddDesign() {
  DesignDocument doc;
  const std::pair<TextBox, const char*> texts[] = {
      {TextBox::Text4, " 2.50x"}, {TextBox::Text6, ""},        {TextBox::Text7, "膜片弹簧"},
      {TextBox::Text9, "1e3"},    {TextBox::Text10, "0,5"},    {TextBox::Text11, "\"q\"\\/\t"},
      {TextBox::Text1, "  "},     {TextBox::Text33, "11990.019"}, {TextBox::Text37, "٣"},
  };
  for (const auto& [box, text] : texts) doc.inputs.setText(box, text);
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    doc.inputs.setSlider(slider, i % 2 ? sliderRange(slider).min : sliderRange(slider).max);
  }
  doc.inputs.setExtra("n", "3000");
  doc.inputs.setExtra("sigmaAllow", "");
  doc.metadata = {"离合器 430", "DS-0042/B", "张工", "第一行\n第二行", ""};
  return doc;
}

TEST_F(DesignFile, SavedDesignReadsBackToTheCharacter) {
  DesignDocument doc = oddDesign();
  const auto when = std::chrono::sys_days{std::chrono::year{2026} / 12 / 7} + std::chrono::hours{11} +
                    std::chrono::minutes{30};
  ASSERT_FALSE(writeDesignFile(path("a.diaspring"), doc, when));
  EXPECT_EQ(doc.metadata.savedAt, "2026-12-07T11:30:00Z");

  const std::string text = slurp("a.diaspring");
  EXPECT_EQ(text.rfind("{\n  \"format\": \"diaspring-design\",\n  \"version\": \"1.0\",", 0), 0u) << text;
  EXPECT_NE(text.find("\"膜片弹簧\""), std::string::npos) << "CJK is written as UTF-8, not escaped";

  const DesignRead back = readDesignFile(path("a.diaspring"));
  ASSERT_TRUE(back.ok()) << back.error->english();
  EXPECT_EQ(*back.document, doc);
  EXPECT_EQ(back.document->inputs.text(TextBox::Text4), " 2.50x");

  // The documented sample is the design the window opens with.
  const DesignRead sample = readDesignFile(DIASPRING_SAMPLE_DESIGN);
  ASSERT_TRUE(sample.ok()) << sample.error->english();
  EXPECT_EQ(sample.document->inputs, DesignInputs());

  // A newer minor version is read; missing members take the window's defaults.
  const DesignRead minimal = parseDesign(R"({"format": "diaspring-design", "version": "1.7"})", "m");
  ASSERT_TRUE(minimal.ok()) << minimal.error->english();
  EXPECT_EQ(minimal.document->inputs, DesignInputs());
  EXPECT_EQ(minimal.document->metadata, DesignMetadata());
}

// The release (revision and the four signatures) and the material are kept;
// a design never released writes none of the release's members.
TEST_F(DesignFile, ReleaseAndMaterialReadBack) {
  DesignDocument doc;
  doc.inputs.setExtra("material", "60Si2MnA");
  doc.metadata.designer = "张工";
  doc.metadata.approval = {"B", "2026-12-01", "李工", "2026-12-03", "王工", "", "赵总", "2026-12-08"};
  ASSERT_FALSE(writeDesignFile(path("r.diaspring"), doc));
  const DesignRead back = readDesignFile(path("r.diaspring"));
  ASSERT_TRUE(back.ok()) << back.error->english();
  EXPECT_EQ(*back.document, doc);
  EXPECT_EQ(back.document->inputs.extra("material"), "60Si2MnA");
  EXPECT_EQ(slurp("r.diaspring").find("\"reviewedOn\""), std::string::npos) << "an empty member is not written";

  DesignDocument plain;
  const std::string text = serialiseDesign(plain);
  for (const ApprovalMember& a : approvalMembers()) EXPECT_EQ(text.find(a.key), std::string::npos) << a.key;

  const DesignRead wrong = parseDesign(R"({"format": "diaspring-design", "version": "1.0", "metadata": {"checkedBy": 7}})", "w");
  ASSERT_FALSE(wrong.ok());
  EXPECT_EQ(wrong.error->problem, DesignFileProblem::WrongType);
  EXPECT_EQ(wrong.error->key, "metadata.checkedBy");
}

TEST_F(DesignFile, UnknownMembersSurviveASave) {
  const std::string original = R"({
    "format": "diaspring-design", "version": "1.2",
    "inputs": {"h": "2.6", "futureBox": "7"},
    "sliders": {"h": 260, "tilt": [1, 2]},
    "metadata": {"designer": "李", "reviewer": {"name": "王", "ok": true}},
    "analysis": {"mesh": [1, 2, {"x": null}]},
    "zeta": 1.5
  })";
  const DesignRead read = parseDesign(original, "f");
  ASSERT_TRUE(read.ok()) << read.error->english();
  DesignDocument doc = *read.document;
  doc.inputs.setText(TextBox::Text4, "2.7");
  ASSERT_FALSE(writeDesignFile(path("b.diaspring"), doc));

  const std::string saved = slurp("b.diaspring");
  for (const char* kept : {R"("futureBox": "7")", R"("tilt": [)", R"("reviewer": {)", R"("analysis": {)",
                           R"("zeta": 1.5)", R"("h": "2.7")"})
    EXPECT_NE(saved.find(kept), std::string::npos) << kept << " in\n" << saved;
  EXPECT_LT(saved.find("\"metadata\""), saved.find("\"analysis\"")) << "unknown members come after the known ones";
  const DesignRead again = readDesignFile(path("b.diaspring"));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.document->unknownMembers, doc.unknownMembers);
  EXPECT_EQ(again.document->metadata.designer, "李");
}

struct BadText {
  const char* name;
  std::string text;
  DesignFileProblem problem;
  const char* key;
  const char* english;  // a part of the English message
  const char* chinese;  // a part of the Chinese message
};

TEST_F(DesignFile, BadTextsAreRefusedWithTheirReason) {
  const std::string head = R"({"format": "diaspring-design", "version": "1.0", )";
  const BadText cases[] = {
      {"not JSON", "{\"format\": \"diaspring-design\",\n \"version\": \"1.0\",\n \"inputs\": {\"h\": \"2\",}}",
       DesignFileProblem::NotJson, "", "not JSON (line 3, column 22: syntax error", "不是有效的 JSON 文件（第 3 行第 22 列）"},
      {"empty", "", DesignFileProblem::NotJson, "", "not JSON (line 1, column 1", "第 1 行第 1 列"},
      {"not UTF-8", head + "\"inputs\": {\"h\": \"\xff\"}}", DesignFileProblem::NotJson, "", "not JSON", "JSON"},
      {"other format", R"({"format": "other-design", "version": "1.0"})", DesignFileProblem::WrongFormat, "",
       "not a diaspring design file (format other-design)", "不是 diaspring 设计文件"},
      {"no format", R"({"version": "1.0"})", DesignFileProblem::WrongFormat, "", "no \"format\" member",
       "缺少 format"},
      {"an array", "[1, 2]", DesignFileProblem::WrongFormat, "", "not a diaspring design file", "设计文件"},
      {"newer major", R"({"format": "diaspring-design", "version": "2.0"})", DesignFileProblem::NewerVersion, "",
       "newer program (format version 2.0", "更新版本"},
      {"version as number", R"({"format": "diaspring-design", "version": 1.0})", DesignFileProblem::WrongType,
       "version", "'version' must be a text", "“version”的值应为文本"},
      {"odd version", R"({"format": "diaspring-design", "version": "1"})", DesignFileProblem::BadVersion, "",
       "unrecognised format version '1'", "无法识别的格式版本"},
      {"number for a text", head + R"("inputs": {"h": 2.5}})", DesignFileProblem::WrongType, "inputs.h",
       "'inputs.h' must be a text", "“inputs.h”的值应为文本"},
      {"inputs not an object", head + R"("inputs": ["2.5"]})", DesignFileProblem::WrongType, "inputs",
       "'inputs' must be an object", "对象"},
      {"text for a slider", head + R"("sliders": {"R": "900"}})", DesignFileProblem::WrongType, "sliders.R",
       "'sliders.R' must be a whole number", "整数"},
      {"fraction for a slider", head + R"("sliders": {"R": 900.5}})", DesignFileProblem::WrongType, "sliders.R",
       "whole number", "整数"},
      {"slider beyond its range", head + R"("sliders": {"h": 100000}})", DesignFileProblem::OutOfRange,
       "sliders.h", "'sliders.h' is 100000, outside the slider's range 200 ... 400", "超出其范围 200～400"},
      {"slider beyond int", head + R"("sliders": {"h": 18446744073709551615}})", DesignFileProblem::OutOfRange,
       "sliders.h", "outside", "超出"},
      {"extra not a text", head + R"("extras": {"n": 3000}})", DesignFileProblem::WrongType, "extras.n",
       "'extras.n' must be a text", "文本"},
      {"metadata not a text", head + R"("metadata": {"notes": ["a"]}})", DesignFileProblem::WrongType,
       "metadata.notes", "'metadata.notes' must be a text", "文本"},
      // A text of the file inside a message: control characters escaped, cut
      // after 40 columns between two characters (a Chinese character takes two).
      {"control character in the version", R"({"format": "diaspring-design", "version": "1\u0007.0"})",
       DesignFileProblem::BadVersion, "", "unrecognised format version '1\\x07.0'", "无法识别的格式版本“1\\x07.0”"},
      {"long format name", R"({"format": ")" + std::string(30, 'x') + "膜片弹簧设计文件格式名称" + R"(", "version": "1.0"})",
       DesignFileProblem::WrongFormat, "", "(format xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx膜片弹簧设...)", "格式为 xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx膜片弹簧设...）"},
      {"too deep", head + "\"x\": " + std::string(100, '[') + std::string(100, ']') + "}",
       DesignFileProblem::TooDeep, "", "nested more than 64 levels", "嵌套"},
  };
  for (const BadText& c : cases) {
    const DesignRead read = parseDesign(c.text, "dir/x.diaspring");
    ASSERT_FALSE(read.ok()) << c.name;
    ASSERT_TRUE(read.error) << c.name;
    const DesignFileError& e = *read.error;
    EXPECT_EQ(e.problem, c.problem) << c.name << ": " << e.english();
    EXPECT_EQ(e.key, c.key) << c.name;
    EXPECT_EQ(e.english().rfind("cannot read design file 'dir/x.diaspring': ", 0), 0u) << c.name << ": " << e.english();
    EXPECT_NE(e.english().find(c.english), std::string::npos) << c.name << ": " << e.english();
    EXPECT_EQ(e.chinese().rfind("无法打开设计文件“dir/x.diaspring”：", 0), 0u) << c.name << ": " << e.chinese();
    EXPECT_NE(e.chinese().find(c.chinese), std::string::npos) << c.name << ": " << e.chinese();
    for (char ch : e.english()) EXPECT_FALSE(static_cast<unsigned char>(ch) < 0x20) << c.name << ": one line";
  }
}

TEST_F(DesignFile, FilesThatAreNoDesignAreRefusedBeforeReading) {
  spit("big.diaspring", std::string(kMaxDesignFileBytes + 1, ' '));
  spit("limit.diaspring",
       R"({"format": "diaspring-design", "version": "1.0"})" + std::string(kMaxDesignFileBytes - 48, ' '));
  fs::create_directory(dir_ / "folder.diaspring");
  ASSERT_EQ(::mkfifo(path("pipe.diaspring").c_str(), 0600), 0);

  const struct {
    const char* name;
    DesignFileProblem problem;
    const char* english;
    const char* chinese;
  } cases[] = {
      {"big.diaspring", DesignFileProblem::TooLarge, "larger than 1 MiB (1048577 bytes)", "大于 1 MiB"},
      {"folder.diaspring", DesignFileProblem::NotAFile, "it is a directory", "文件夹"},
      {"pipe.diaspring", DesignFileProblem::NotAFile, "not a regular file", "不是普通文件"},
      {"missing.diaspring", DesignFileProblem::Unreadable, "No such file or directory", "不存在"},
  };
  for (const auto& c : cases) {
    const DesignRead read = readDesignFile(path(c.name));
    ASSERT_FALSE(read.ok()) << c.name;
    EXPECT_EQ(read.error->problem, c.problem) << c.name;
    EXPECT_NE(read.error->english().find(c.english), std::string::npos) << read.error->english();
    EXPECT_NE(read.error->chinese().find(c.chinese), std::string::npos) << read.error->chinese();
    EXPECT_NE(read.error->english().find(path(c.name)), std::string::npos) << "names the file";
  }
  const DesignRead limit = readDesignFile(path("limit.diaspring"));
  EXPECT_TRUE(limit.ok()) << "exactly 1 MiB is read: " << (limit.error ? limit.error->english() : "");
}

TEST_F(DesignFile, FailedSaveLeavesTheOldFileAndTheDocument) {
  DesignDocument old = oddDesign();
  ASSERT_FALSE(writeDesignFile(path("locked.diaspring"), old));
  const std::string before = slurp("locked.diaspring");
  fs::permissions(path("locked.diaspring"), fs::perms::owner_read | fs::perms::group_read);

  DesignDocument changed = oddDesign();
  changed.inputs.setText(TextBox::Text4, "3.0");
  changed.metadata.savedAt = "2020-01-01T00:00:00Z";
  const auto error = writeDesignFile(path("locked.diaspring"), changed);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->problem, DesignFileProblem::WriteFailed);
  EXPECT_EQ(error->english().rfind("cannot write design file '" + path("locked.diaspring") + "': ", 0), 0u)
      << error->english();
  EXPECT_NE(error->chinese().find("无法保存设计文件"), std::string::npos);
  EXPECT_EQ(slurp("locked.diaspring"), before);
  EXPECT_EQ(changed.metadata.savedAt, "2020-01-01T00:00:00Z") << "a failed save does not mark the design saved";

  const auto noFolder = writeDesignFile(path("none/x.diaspring"), changed);
  ASSERT_TRUE(noFolder);
  EXPECT_NE(noFolder->english().find("No such file or directory"), std::string::npos) << noFolder->english();

  changed.inputs.setText(TextBox::Text7, "\xc3(");
  const auto invalid = writeDesignFile(path("new.diaspring"), changed);
  ASSERT_TRUE(invalid);
  EXPECT_EQ(invalid->problem, DesignFileProblem::InvalidText);
  EXPECT_EQ(invalid->key, "inputs.R");
  EXPECT_FALSE(fs::exists(path("new.diaspring")));
}

TEST_F(DesignFile, StructuresNoDesignHasAreRefusedWithTheMemberNamed) {
  const std::string head = R"({"format": "diaspring-design", "version": "1.0", )";
  std::string manyMembers = head + R"("x": {)";
  for (int i = 0; i < 1000; ++i) manyMembers += "\"" + std::to_string(i) + "\": 0, ";
  manyMembers += R"("last": 0}})";
  const auto nested = [&](int levels) {  // the top-level object is the first level
    return head + "\"x\": " + std::string(static_cast<std::size_t>(levels - 1), '[') +
           std::string(static_cast<std::size_t>(levels - 1), ']') + "}";
  };
  const struct {
    const char* name;
    std::string text;
    std::optional<DesignFileProblem> problem;  // none: read
    const char* key;
    const char* english;
  } cases[] = {
      {"a box given twice", head + R"("inputs": {"h": "2.2", "h": "3.3"}})", DesignFileProblem::DuplicateKey,
       "inputs.h", "'inputs.h' is given twice"},
      {"a kept member given twice", head + R"("metadata": {"review": {"by": "a", "by": "b"}}})",
       DesignFileProblem::DuplicateKey, "metadata.review.by", "'metadata.review.by' is given twice"},
      {"a top-level member given twice", head + R"("version": "1.0"})", DesignFileProblem::DuplicateKey, "version",
       "'version' is given twice"},
      {"the same key in two objects", head + R"("inputs": {"h": "2.2"}, "sliders": {"h": 220}})", std::nullopt, "", ""},
      {"more than 1000 members", manyMembers, DesignFileProblem::TooManyMembers, "", "more than 1000 members"},
      {"64 levels", nested(64), std::nullopt, "", ""},
      {"65 levels", nested(65), DesignFileProblem::TooDeep, "", "nested more than 64 levels"},
      // The parser would end the text at a NUL byte and take what came before.
      {"a NUL byte after the object", head + "\"x\": 1}" + std::string(1, '\0') + "garbage", DesignFileProblem::NotJson,
       "", "line 1, column 57: a NUL byte at byte 57"},
      {"a NUL byte inside it", head + "\n\"x\": " + std::string(1, '\0') + "1}", DesignFileProblem::NotJson, "",
       "line 2, column 6: a NUL byte at byte 56"},
      {"a slider at -0", head + R"("sliders": {"HScroll1": -0}})", std::nullopt, "", ""},
  };
  for (const auto& c : cases) {
    const DesignRead read = parseDesign(c.text, "x");
    if (!c.problem) {
      EXPECT_TRUE(read.ok()) << c.name << ": " << read.error->english();
      continue;
    }
    ASSERT_FALSE(read.ok()) << c.name;
    EXPECT_EQ(read.error->problem, *c.problem) << c.name;
    EXPECT_EQ(read.error->key, c.key) << c.name;
    EXPECT_NE(read.error->english().find(c.english), std::string::npos) << c.name << ": " << read.error->english();
    EXPECT_FALSE(read.error->chinese().empty());
  }
}

TEST_F(DesignFile, UnknownNumbersComeBackToTheDigit) {
  const char* numbers[] = {"123456789012345678901234567890", "-9223372036854775809", "3.14159265358979323846",
                           "1.50",  "2E5", "18446744073709551615", "-0.0", "-0", "1e400", "-1E+999", "1e-400"};
  std::string text = R"({"format": "diaspring-design", "version": "1.0", "inputs": {"future": [)";
  for (const char* n : numbers) text += std::string(n) + (n == numbers[std::size(numbers) - 1] ? "" : ", ");
  text += "]}, \"big\": 123456789012345678901234567890}";
  const DesignRead read = parseDesign(text, "f");
  ASSERT_TRUE(read.ok()) << read.error->english();
  DesignDocument doc = *read.document;
  ASSERT_FALSE(writeDesignFile(path("n.diaspring"), doc));
  const std::string saved = slurp("n.diaspring");
  for (const char* n : numbers) EXPECT_NE(saved.find(std::string(n) + (std::string_view(n) == "1e-400" ? "\n" : ",")), std::string::npos) << n << " in\n" << saved;
  EXPECT_NE(saved.find("\"big\": 123456789012345678901234567890\n"), std::string::npos) << saved;
  const DesignRead again = readDesignFile(path("n.diaspring"));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.document->unknownMembers, doc.unknownMembers);
}

TEST_F(DesignFile, WhatIsSavedCanBeOpenedAtTheLimitAndBeyondItTheSaveIsRefused) {
  const auto when = std::chrono::sys_days{std::chrono::year{2026} / 12 / 7};
  DesignDocument doc = oddDesign();
  doc.metadata.savedAt = isoUtcTimestamp(when);
  doc.metadata.notes.clear();
  const std::size_t base = serialiseDesign(doc).size();
  // Control characters take six bytes each in the file.
  doc.metadata.notes = std::string((kMaxDesignFileBytes - base) / 6, '\x01');
  doc.metadata.notes += std::string(kMaxDesignFileBytes - serialiseDesign(doc).size(), 'n');
  ASSERT_EQ(serialiseDesign(doc).size(), kMaxDesignFileBytes);
  ASSERT_FALSE(writeDesignFile(path("limit.diaspring"), doc, when));
  const DesignRead back = readDesignFile(path("limit.diaspring"));
  ASSERT_TRUE(back.ok()) << back.error->english();
  EXPECT_EQ(*back.document, doc);

  doc.metadata.notes += 'n';
  const auto refused = writeDesignFile(path("over.diaspring"), doc, when);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->problem, DesignFileProblem::TooLargeToSave);
  EXPECT_EQ(refused->key, "metadata.notes");
  EXPECT_NE(refused->english().find("cannot write design file"), std::string::npos) << refused->english();
  EXPECT_NE(refused->english().find("1048577 bytes"), std::string::npos) << refused->english();
  EXPECT_FALSE(fs::exists(path("over.diaspring")));
}

}  // namespace
}  // namespace diaspring
