// The chart's context menu of the main window: copy, save, design sheet.
#include <exception>

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>

#include "chart_actions.h"
#include "chart_widget.h"
#include "main_window.h"
#include "render/chart_export.h"
#include "render/design_sheet.h"

namespace diaspring::app {
namespace {

// Files are written at twice the chart's size on screen, so they stay sharp
// when printed or shown on a high-density display.
constexpr int kExportScale = 2;

const QString kSaveChartTitle = QStringLiteral("保存图表");
const QString kExportSheetTitle = QStringLiteral("导出设计报告");

// Runs a write with the wait cursor; an exception is a failure like any
// other and leaves the window as it was.
template <class Write>
bool guardedWrite(Write&& write, QString* error) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  bool ok = false;
  try {
    ok = write();
  } catch (const std::exception&) {
    *error = QStringLiteral("写入文件时发生内部错误。");
  }
  QGuiApplication::restoreOverrideCursor();
  return ok;
}

}  // namespace

void MainWindow::buildChartMenu() {
  chartMenu_ = new QMenu(this);
  chartMenu_->setObjectName(QStringLiteral("ChartMenu"));
  chartMenu_->addAction(kCopyChartCaption, this, [this] { copyChart(); });
  chartMenu_->addAction(kSaveChartCaption, this, [this] { saveChart(); });
  chartMenu_->addSeparator();
  chartMenu_->addAction(kExportSheetCaption, this, [this] { exportDesignSheet(); });
  chartMenu_->addSeparator();
  chartMenu_->addAction(kAnalysisCaption, this, [this] { showAnalysisWindow(); });
  chartMenu_->addAction(kAutoDesignCaption, this, [this] { openAutoDesign(); });
  // The right mouse button and the menu key both ask for it.
  chart_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(chart_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { chartMenu_->popup(chart_->mapToGlobal(at)); });
}

void MainWindow::copyChart() {
  QImage image;
  QString error;
  const bool ok = guardedWrite(
      [&] {
        image = renderChartImage(chart_->displayList(), kExportScale);
        return !image.isNull();
      },
      &error);
  if (!ok) {
    showWriteFailure(QStringLiteral("复制图表"), error.isEmpty() ? QStringLiteral("无法生成图表的图像。") : error);
    return;
  }
  QGuiApplication::clipboard()->setImage(image);
}

void MainWindow::saveChart() {
  QString filter = kPngFilter;
  const QString chosen =
      askSaveFileName(kSaveChartTitle, suggestedPath(QStringLiteral("膜片弹簧特性曲线.png")), chartFilters(), &filter);
  const QString path = confirmedPath(chosen, withChartExtension(chosen, filter));
  if (path.isEmpty()) return;
  QString error;
  if (!guardedWrite([&] { return exportChart(chart_->displayList(), path, kExportScale, &error); }, &error))
    showWriteFailure(QStringLiteral("无法保存图表"), error);
}

void MainWindow::exportDesignSheet() {
  QString filter = kPdfFilter;
  const QString chosen =
      askSaveFileName(kExportSheetTitle, suggestedPath(sheetFileName()), kPdfFilter, &filter);
  const QString path = confirmedPath(chosen, withPdfExtension(chosen));
  if (path.isEmpty()) return;
  QString error;
  const std::optional<AnalysisInput> analysis = analysisInput();
  const std::optional<ComparisonPage> comparison = comparisonPage();
  // The sheet of the last run, marked when the boxes were edited since.
  const MemoryFields run = logic_->lastRunFields();
  const SheetInfo info = sheetInfo();
  if (!guardedWrite(
          [&] {
            return writeDesignSheet(run, chart_->displayList(), path, &error, QDate::currentDate(),
                                    analysis ? &*analysis : nullptr, sheetInputsEdited(), &info,
                                    comparison ? &*comparison : nullptr);
          },
          &error))
    showWriteFailure(QStringLiteral("无法导出设计报告"), error);
}

QString MainWindow::suggestedPath(const QString& fileName) const { return inLastFolder(fileName); }

QString MainWindow::confirmedPath(const QString& chosen, const QString& path) {
  if (chosen.isEmpty()) return {};
  if (path != chosen && QFileInfo::exists(path) && !confirmReplace(path)) return {};
  rememberFolder(path);
  return path;
}

void MainWindow::showWriteFailure(const QString& title, const QString& error) {
  showWarning(title, error + QStringLiteral("\n请换一个位置或文件名后重试；窗口中的内容保留不变。"));
}

QString MainWindow::askSaveFileName(const QString& caption, const QString& suggested, const QString& filters,
                                    QString* selectedFilter) {
  return askFileName(this, QFileDialog::AcceptSave, caption, suggested, filters, selectedFilter);
}

bool MainWindow::confirmReplace(const QString& path) {
  return QMessageBox::question(this, QStringLiteral("替换文件"),
                               QStringLiteral("文件 %1 已经存在。要替换它吗？").arg(QDir::toNativeSeparators(path)),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void MainWindow::showWarning(const QString& title, const QString& text) { QMessageBox::warning(this, title, text); }

}  // namespace diaspring::app
