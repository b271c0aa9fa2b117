#include "cli/export_files.h"

#include <cstdio>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>

#include "render/chart_export.h"
#include "render/comparison_page.h"
#include "render/design_sheet.h"

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

// The reason alone: the run names the file.
std::optional<std::string> reasonOf(const std::optional<SaveFailure>& failure) {
  if (!failure) return std::nullopt;
  return failure->reasonEnglish();
}

class FileExporter final : public Exporter {
 public:
  std::optional<std::string> writeChart(const DisplayList& chart, const std::string& path, int scale) override {
    startQt();
    return reasonOf(saveChart(chart, QFile::decodeName(path.c_str()), scale));
  }

  std::optional<std::string> writeReport(const Fields& fields, const DisplayList& chart, const std::string& path,
                                         bool inputsEdited) override {
    startQt();
    return reasonOf(saveDesignSheet(fields, chart, QFile::decodeName(path.c_str()), QDate::currentDate(), nullptr,
                                    inputsEdited, &info_));
  }

  void setReportHeading(const ReportHeading& heading) override {
    const auto qs = [](const std::string& s) { return QString::fromStdString(s); };
    info_ = SheetInfo{qs(heading.project), qs(heading.partNumber), qs(heading.designer), qs(heading.notes),
                      QFile::decodeName(heading.fileName.c_str())};
    info_.revision = qs(heading.revision);
    for (std::size_t i = 0; i < heading.signers.size(); ++i) {
      info_.signers[i] = qs(heading.signers[i]);
      info_.signDates[i] = qs(heading.signDates[i]);
    }
    for (const std::string& line : heading.material) info_.material << qs(line);
  }

  std::optional<std::string> writeReportWithAnalysis(const Fields& fields, const DisplayList& chart,
                                                     const std::string& path, const AnalysisInput& analysis,
                                                     bool inputsEdited) override {
    startQt();
    return reasonOf(saveDesignSheet(fields, chart, QFile::decodeName(path.c_str()), QDate::currentDate(), &analysis,
                                    inputsEdited, &info_));
  }

  std::optional<std::string> writeReportWithComparison(const Fields& fields, const DisplayList& chart,
                                                       const std::string& path, const AnalysisInput* analysis,
                                                       const compare::ComparisonInput& input,
                                                       const compare::ComparisonResult& result,
                                                       const compare::ComparisonScene& scene,
                                                       bool inputsEdited) override {
    startQt();
    const ComparisonPage page{input, result, scene};
    return reasonOf(saveDesignSheet(fields, chart, QFile::decodeName(path.c_str()), QDate::currentDate(), analysis,
                                    inputsEdited, &info_, &page));
  }

 private:
  SheetInfo info_;
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
