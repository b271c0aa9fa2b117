// The page's window: opening and saving its design and the design's information.
#include "web/web_window.h"

#include <chrono>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "runtime/json_writer.h"
#include "runtime/float_text.h"

namespace diaspring::web {

using cli::Session;

std::string WebWindow::openDesign(const std::string& text, const std::string& name) {
  DesignRead read;
  try {
    read = parseDesign(text, name);
  } catch (const std::exception&) {
    return "读取设计文件“" + name + "”时发生内部错误。\n窗口中的设计保留不变。";
  }
  if (!read.ok()) return read.error->chinese() + "\n窗口中的设计保留不变。";
  session_ = std::make_unique<Session>();
  session_->loadDesign(*read.document);
  // As the window opens a file: each slider at the position nearest its
  // box's number, so that its next step starts from the design shown.
  session_->syncSliders();
  drawn_ = false;
  document_ = *read.document;
  history_.clear();
  syncs_.clear();
  extras_.clear();
  pressed_ = false;
  return {};
}

std::string WebWindow::saveDesignFile(const std::string& name) {
  DesignDocument document = session_->design();
  document.metadata.savedAt = isoUtcTimestamp(std::chrono::system_clock::now());
  DesignFileError error;
  error.path = name;
  std::string text;
  try {
    text = serialiseDesign(document);
  } catch (const std::invalid_argument& e) {
    error.problem = DesignFileProblem::InvalidText;
    error.key = e.what();
  }
  if (text.size() > kMaxDesignFileBytes) {
    error.problem = DesignFileProblem::TooLargeToSave;
    error.size = text.size();
    text.clear();
  }
  if (text.empty()) return jsonObject([&](JsonList& out) { out.text("error", error.chinese()); });
  session_->setMetadata(document.metadata);
  return jsonObject([&](JsonList& out) { out.text("text", text); });
}

std::string WebWindow::metadata() const {
  const DesignMetadata m = session_->design().metadata;
  return jsonObject([&](JsonList& out) {
    out.texts({{"project", m.project}, {"partNumber", m.partNumber}, {"designer", m.designer}, {"notes", m.notes},
               {"savedAt", m.savedAt}});
  });
}

std::string WebWindow::setMetadata(const std::string& json) {
  DesignMetadata m = session_->design().metadata;
  try {
    const nlohmann::json in = nlohmann::json::parse(json);
    m.project = in.at("project").get<std::string>();
    m.partNumber = in.at("partNumber").get<std::string>();
    m.designer = in.at("designer").get<std::string>();
    m.notes = in.at("notes").get<std::string>();
  } catch (const std::exception& e) {
    return e.what();
  }
  session_->setMetadata(m);
  return {};
}

std::string WebWindow::saveDesign() const { return serialiseDesign(session_->design()); }

}  // namespace diaspring::web
