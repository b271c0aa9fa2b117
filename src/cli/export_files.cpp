#include "cli/export_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>

#include "render/chart_export.h"
#include "render/design_sheet.h"
#include "render/write_failure.h"

namespace diaspring::cli {
namespace {

// Qt's own chatter (a missing runtime directory and the like) stays off
// stderr, which carries only the front end's messages.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    const QByteArray text = message.toLocal8Bit();
    std::fprintf(stderr, "diaspring-cli: %s\n", text.constData());
  }
}

// Why the file could not be written, in the front end's words: what stands
// in the way on its path, else the reason the writer gave.
std::string reason(const QString& path, const QString& writerError) {
  if (const auto problem = findPathProblem(path)) {
    const std::string where = QFile::encodeName(problem->where).toStdString();
    switch (problem->error) {
      case ENOENT:
        return where.empty() ? "no file name" : "directory " + where + " does not exist";
      case ENOTDIR:
        return where + " is not a directory";
      case EACCES:
      case EPERM:
        return "permission denied";
      case EROFS:
        return "read-only file system";
      case EISDIR:
        return "it is a directory";
      case ENAMETOOLONG:
        return "file name too long";
      default:
        return std::strerror(problem->error);
    }
  }
  const QString prefix = writeErrorZh(path, QString());
  const QString why = writerError.startsWith(prefix) ? writerError.mid(prefix.size()) : writerError;
  return why.isEmpty() ? std::string("unknown error") : why.toStdString();
}

class FileExporter final : public Exporter {
 public:
  std::optional<std::string> writeChart(const DisplayList& chart, const std::string& path, int scale) override {
    startQt();
    const QString file = QFile::decodeName(path.c_str());
    QString error;
    if (exportChart(chart, file, scale, &error)) return std::nullopt;
    return reason(file, error);
  }

  std::optional<std::string> writeReport(const Fields& fields, const DisplayList& chart,
                                         const std::string& path) override {
    startQt();
    const QString file = QFile::decodeName(path.c_str());
    QString error;
    if (writeDesignSheet(fields, chart, file, &error)) return std::nullopt;
    return reason(file, error);
  }

  std::optional<std::string> writeReportWithAnalysis(const Fields& fields, const DisplayList& chart,
                                                     const std::string& path, const AnalysisInput& analysis) override {
    startQt();
    const QString file = QFile::decodeName(path.c_str());
    QString error;
    if (writeDesignSheet(fields, chart, file, &error, QDate::currentDate(), &analysis)) return std::nullopt;
    return reason(file, error);
  }

 private:
  // The painters need a QGuiApplication. The front end shows no window, so
  // unless a platform is chosen it runs on the offscreen one: a display is
  // neither needed nor trusted (Qt ends the process when it cannot reach one).
  void startQt() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

  char name_[14] = "diaspring-cli";
  char* argv_[2] = {name_, nullptr};
  int argc_ = 1;
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

std::unique_ptr<Exporter> makeFileExporter() { return std::make_unique<FileExporter>(); }

}  // namespace diaspring::cli
