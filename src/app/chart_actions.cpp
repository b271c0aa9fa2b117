// The file dialogs of the program and the names of the files they choose.
#include "chart_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>
#include <QHeaderView>
#include <QTreeView>
#include <QRegularExpression>
#include <QStandardPaths>

#include "render/chart_export.h"

namespace diaspring::app {
namespace {
QString& rememberedFolder() {
  static QString folder;
  return folder;
}
}  // namespace

QString lastFolder() {
  const QString& folder = rememberedFolder();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

void rememberFolder(const QString& filePath) {
  if (!filePath.isEmpty()) rememberedFolder() = QFileInfo(filePath).absolutePath();
}

QString inLastFolder(const QString& fileName) { return QDir(lastFolder()).filePath(fileName); }

QVariant ChineseFileColumns::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (role != Qt::DisplayRole || files == nullptr || index.column() < 1 || index.column() > 3)
    return QIdentityProxyModel::data(index, role);
  const QModelIndex source = mapToSource(index);
  const QFileInfo info = files->fileInfo(source);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  switch (index.column()) {
    case 1: return info.isDir() ? QString() : chinese.formattedDataSize(info.size());
    case 2:
      return info.isDir()              ? QStringLiteral("文件夹")
             : info.suffix().isEmpty() ? QStringLiteral("文件")
                                       : info.suffix() + QStringLiteral(" 文件");
    default: return chinese.toString(files->lastModified(source), QStringLiteral("yyyy-MM-dd HH:mm"));
  }
}

QString askFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& caption, const QString& start,
                    const QString& filters, QString* selectedFilter) {
  QFileDialog dialog(parent, caption, QString(), filters);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new ChineseFileColumns(&dialog));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QFileInfo at(start);
  if (at.isDir()) {
    dialog.setDirectory(at.absoluteFilePath());
  } else {
    dialog.setDirectory(at.absolutePath());
    if (mode == QFileDialog::AcceptSave) dialog.selectFile(at.fileName());
  }
  if (selectedFilter != nullptr && !selectedFilter->isEmpty()) dialog.selectNameFilter(*selectedFilter);
  // The detail list's date column as wide as its dates.
  if (auto* list = dialog.findChild<QTreeView*>())
    list->header()->resizeSection(3, list->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-08 00:00")) + 24);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  if (selectedFilter != nullptr) *selectedFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().front();
}

QString chartFilters() { return kPngFilter + QStringLiteral(";;") + kSvgFilter + QStringLiteral(";;") + kPdfFilter; }

QString filterExtension(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  const QRegularExpressionMatch match = pattern.match(filter);
  return match.hasMatch() ? match.captured(1).toLower() : QString();
}

QString withChartExtension(const QString& path, const QString& selectedFilter) {
  if (chartFormatForPath(path)) return path;
  QString extension = filterExtension(selectedFilter);
  if (!chartFormatForPath(QStringLiteral("x.") + extension)) extension = QStringLiteral("png");
  return path + QLatin1Char('.') + extension;
}

QString askChartFileName(QWidget* parent, const QString& suggested) {
  QString filter = kPngFilter;
  const QString chosen =
      askFileName(parent, QFileDialog::AcceptSave, QStringLiteral("保存图表"), suggested, chartFilters(), &filter);
  return chosen.isEmpty() ? chosen : withChartExtension(chosen, filter);
}

QString withPdfExtension(const QString& path) {
  return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf");
}

}  // namespace diaspring::app
