// Printing the design sheet from the window, through a print preview.
#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "chart_widget.h"
#include "main_window.h"
#include "render/design_sheet.h"
#include "analysis/materials.h"

namespace diaspring::app {

SheetInfo MainWindow::sheetInfo() const {
  const auto qs = [](const std::string& s) { return QString::fromStdString(s); };
  SheetInfo info{qs(metadata_.project), qs(metadata_.partNumber), qs(metadata_.designer), qs(metadata_.notes),
                 filePath_.isEmpty() ? QString() : QFileInfo(filePath_).fileName()};
  // The release page: the approval from 设计信息, the material of the design.
  const DesignApproval& a = metadata_.approval;
  info.revision = qs(a.revision);
  info.signers = {qs(metadata_.designer), qs(a.checker), qs(a.reviewer), qs(a.approver)};
  info.signDates = {qs(a.designDate), qs(a.checkDate), qs(a.reviewDate), qs(a.approveDate)};
  const DesignInputs inputs = currentInputs();
  for (const std::string& line : materialSheetLines(designMaterial(inputs), &inputs)) info.material << qs(line);
  return info;
}

QString MainWindow::sheetFileName() const {
  // The part number names the sheet best, then the project, then the design file.
  QString stem = QString::fromStdString(metadata_.partNumber).simplified();
  if (stem.isEmpty()) stem = QString::fromStdString(metadata_.project).simplified();
  if (stem.isEmpty() && !filePath_.isEmpty()) stem = QFileInfo(filePath_).completeBaseName();
  static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|]"));
  stem.replace(unsafe, QStringLiteral("_"));
  return stem.isEmpty() ? QStringLiteral("膜片弹簧设计报告.pdf") : stem + QStringLiteral(" 膜片弹簧设计报告.pdf");
}

void MainWindow::printDesignSheet() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(kSheetResolution);
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  printer.setDocName(QStringLiteral("膜片弹簧设计报告"));
  printer.setCreator(QStringLiteral("diaspring"));
  previewSheet(printer);
}

void MainWindow::previewSheet(QPrinter& printer) {
  QPrintPreviewDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("打印设计报告"));
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    if (!paintSheetOn(*target))
      showWarning(QStringLiteral("无法打印设计报告"), QStringLiteral("打印机没有接受这一页。"));
  });
  dialog.exec();
}

bool MainWindow::paintSheetOn(QPrinter& printer) {
  // The sheet of the last curve run, warning when the inputs changed since.
  // The page is laid out for this resolution and the paper's corner,
  // whatever the print dialog chose.
  printer.setResolution(kSheetResolution);
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const std::optional<AnalysisInput> analysis = analysisInput();
  const SheetInfo info = sheetInfo();
  const std::optional<ComparisonPage> comparison = comparisonPage();
  const bool painted = paintDesignSheet(painter, printer, logic_->lastRunFields(), chart_->displayList(),
                                        QDate::currentDate(), analysis ? &*analysis : nullptr,
                                        sheetInputsEdited(), &info, comparison ? &*comparison : nullptr);
  return painter.end() && painted;
}

}  // namespace diaspring::app
