// Reading a design file, and the messages of every way a design file can
// fail to be read or written.
#include "design/design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "design/design_validation.h"
#include "design/json_tree.h"
#include "runtime/file_write.h"

namespace diaspring {
namespace {

using design::kMaxJsonDepth;
using design::kObject;
using design::kWholeNumber;

constexpr ApprovalMember kApprovalMembers[] = {
    {"revision", &DesignApproval::revision},     {"designedOn", &DesignApproval::designDate},
    {"checkedBy", &DesignApproval::checker},     {"checkedOn", &DesignApproval::checkDate},
    {"reviewedBy", &DesignApproval::reviewer},   {"reviewedOn", &DesignApproval::reviewDate},
    {"approvedBy", &DesignApproval::approver},   {"approvedOn", &DesignApproval::approveDate},
};

// "200 ... 400" for the slider of "sliders.h".
std::string rangeText(const std::string& member, const char* to) {
  const auto slider = sliderOfKey(std::string_view(member).substr(member.find('.') + 1));
  if (!slider) return {};
  const SliderRange range = sliderRange(*slider);
  return std::to_string(range.min) + to + std::to_string(range.max);
}

// Why a design file cannot be read or written, in English and in Chinese.
struct Reason {
  std::string english, chinese;
};

// The Chinese reason a file cannot be opened; the shared reasons speak of
// writing.
std::string readingReasonChinese(int errnum) {
  if (errnum == ENOENT) return "文件不存在";
  if (errnum == EACCES || errnum == EPERM) return "没有读取权限";
  return errorReasonChinese(errnum);
}

Reason reasonOf(const DesignFileError& e) {
  using P = DesignFileProblem;
  const std::string line = std::to_string(e.line), column = std::to_string(e.column), size = std::to_string(e.size);
  const std::string depth = std::to_string(kMaxJsonDepth), major = std::to_string(kDesignFormatMajor);
  switch (e.problem) {
    case P::Unreadable:
      return {errorReasonEnglish(e.errnum), readingReasonChinese(e.errnum)};
    case P::WriteFailed:
      return {WriteError{e.path, e.errnum}.reasonEnglish(), errorReasonChinese(e.errnum)};
    case P::NotAFile:
      if (e.detail == "directory") return {"it is a directory", "这是一个文件夹，不是文件"};
      return {"it is not a regular file", "这不是普通文件"};
    case P::TooLarge:
      return {"it is larger than 1 MiB (" + size + " bytes), too large for a design file",
              "文件大于 1 MiB（" + size + " 字节），不是设计文件"};
    case P::NotJson:
      if (e.line == 0) return {"not JSON (" + e.detail + ")", "不是有效的 JSON 文件（数值超出范围）"};
      return {"not JSON (line " + line + ", column " + column + ": " + e.detail + ")",
              "不是有效的 JSON 文件（第 " + line + " 行第 " + column + " 列）"};
    case P::TooDeep:
      return {"not a design file: JSON nested more than " + depth + " levels deep",
              "JSON 嵌套层数超过 " + depth + " 层，不是设计文件"};
    case P::WrongFormat:
      if (e.detail.empty()) return {"not a diaspring design file (no \"format\" member)", "不是 diaspring 设计文件（缺少 format 项）"};
      return {"not a diaspring design file (format " + e.detail + ")", "不是 diaspring 设计文件（格式为 " + e.detail + "）"};
    case P::BadVersion:
      if (e.detail.empty()) return {"no format version", "缺少格式版本号"};
      return {"unrecognised format version '" + e.detail + "'", "无法识别的格式版本“" + e.detail + "”"};
    case P::NewerVersion:
      return {"written by a newer program (format version " + e.detail + "; this program reads " + major + ".x)",
              "文件由更新版本的程序保存（格式版本 " + e.detail + "），本程序只能读取 " + major + ".x 版本"};
    case P::WrongType:
      return {"'" + e.key + "' must be " + (e.detail == kObject ? "an object" : "a " + e.detail),
              "“" + e.key + "”的值应为" +
                  (e.detail == kObject ? "对象" : e.detail == kWholeNumber ? "整数" : "文本（JSON 字符串）")};
    case P::OutOfRange:
      return {"'" + e.key + "' is " + e.detail + ", outside the slider's range " + rangeText(e.key, " ... "),
              "滑块“" + e.key + "”的位置 " + e.detail + " 超出其范围 " + rangeText(e.key, "～")};
    case P::InvalidText:
      return {"the text of '" + e.key + "' is not valid UTF-8", "“" + e.key + "”的文本不是有效的 UTF-8 编码"};
    case P::DuplicateKey:
      return {"'" + e.key + "' is given twice", "“" + e.key + "”出现了两次"};
    case P::TooManyMembers:
      return {"not a design file: more than " + e.detail,
              "成员或数值过多（多于 " + e.detail.substr(0, e.detail.find(' ')) + " 个），不是设计文件"};
    case P::TooLargeToSave: {
      const std::string english = "the design would take " + size + " bytes, more than the 1 MiB a design file may hold";
      const std::string chinese = "设计将占 " + size + " 字节，超过设计文件的上限 1 MiB";
      if (e.key.empty())
        return {english + "; most of it is members this program does not know, kept from the file it was read from",
                chinese + "；其中大部分是本程序不认识、从原文件保留下来的内容"};
      return {english + "; shorten the text of '" + e.key + "'", chinese + "；请缩短“" + e.key + "”的文本"};
    }
  }
  return {"unknown problem", "未知错误"};
}

bool isWriting(DesignFileProblem problem) {
  return problem == DesignFileProblem::WriteFailed || problem == DesignFileProblem::InvalidText ||
         problem == DesignFileProblem::TooLargeToSave;
}

}  // namespace

std::string DesignFileError::english() const {
  return std::string(isWriting(problem) ? "cannot write" : "cannot read") + " design file '" + path +
         "': " + reasonOf(*this).english;
}

std::string DesignFileError::chinese() const {
  return std::string(isWriting(problem) ? "无法保存设计文件“" : "无法打开设计文件“") + path + "”：" +
         reasonOf(*this).chinese;
}

DesignRead parseDesign(std::string_view text, const std::string& path) {
  design::JsonParse parsed = design::parseJson(text);
  if (parsed.problem) {
    DesignRead result = design::readFailure(path, *parsed.problem, parsed.key, parsed.detail);
    result.error->line = parsed.line;
    result.error->column = parsed.column;
    return result;
  }
  return design::designFromJson(std::move(parsed.root), path);
}

DesignRead readDesignText(std::string_view text, const std::string& path) {
  if (text.size() > kMaxDesignFileBytes) {
    DesignRead result = design::readFailure(path, DesignFileProblem::TooLarge);
    result.error->size = text.size();
    return result;
  }
  return parseDesign(text, path);
}

DesignRead readDesignFile(const std::string& path) {
  auto failWith = [&](DesignFileProblem problem, int errnum, std::string detail = {}) {
    DesignRead result = design::readFailure(path, problem, {}, std::move(detail));
    result.error->errnum = errnum;
    return result;
  };
  // Not blocking: a pipe or a device opens at once and is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return failWith(DesignFileProblem::Unreadable, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};

  struct stat st {};
  if (::fstat(fd, &st) != 0) return failWith(DesignFileProblem::Unreadable, errno);
  if (S_ISDIR(st.st_mode)) return failWith(DesignFileProblem::NotAFile, 0, "directory");
  if (!S_ISREG(st.st_mode)) return failWith(DesignFileProblem::NotAFile, 0, "special");
  auto tooLarge = [&](std::uintmax_t size) {
    DesignRead result = design::readFailure(path, DesignFileProblem::TooLarge);
    result.error->size = size;
    return result;
  };
  if (static_cast<std::uintmax_t>(st.st_size) > kMaxDesignFileBytes) return tooLarge(static_cast<std::uintmax_t>(st.st_size));

  // Read to one byte past the limit: a file that grew meanwhile is refused too.
  std::string text(kMaxDesignFileBytes + 1, '\0');
  std::size_t have = 0;
  while (have < text.size()) {
    const ssize_t n = ::read(fd, text.data() + have, text.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failWith(DesignFileProblem::Unreadable, errno);
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  if (have > kMaxDesignFileBytes) return tooLarge(have);
  text.resize(have);
  return parseDesign(text, path);
}

std::span<const ApprovalMember> approvalMembers() { return kApprovalMembers; }

std::string isoUtcTimestamp(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, n);
}

}  // namespace diaspring
