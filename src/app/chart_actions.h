#pragma once
// The chart's context menu in the window: its captions, the file filters of
// the save dialogs, and the name a file gets from what the user chose.

#include <QFileDialog>
#include <QIdentityProxyModel>
#include <QString>

namespace diaspring::app {

inline const QString kCopyChartCaption = QStringLiteral("复制图表");
inline const QString kSaveChartCaption = QStringLiteral("保存图表…");
inline const QString kExportSheetCaption = QStringLiteral("导出设计报告…");
inline const QString kAnalysisCaption = QStringLiteral("强度与分离特性…");
inline const QString kAutoDesignCaption = QStringLiteral("自动设计…");

inline const QString kPngFilter = QStringLiteral("PNG 图像 (*.png)");
inline const QString kSvgFilter = QStringLiteral("SVG 矢量图 (*.svg)");
inline const QString kPdfFilter = QStringLiteral("PDF 文档 (*.pdf)");

// The PNG, SVG and PDF filters, in QFileDialog's ";;"-separated form.
QString chartFilters();

// The extension a filter offers ("png" for "PNG 图像 (*.png)"), empty when
// it offers none.
QString filterExtension(const QString& filter);

// The file the chart is saved to: the chosen name when its extension names
// a chart format (.png, .svg or .pdf in any letter case), else the name with
// the extension of the chosen filter added (.png when it offers none).
QString withChartExtension(const QString& path, const QString& selectedFilter);

// The folder every file dialog of the program opens in: the folder of the
// last file opened or saved in any of its windows (the documents folder
// before that, or when that folder is gone). rememberFolder() takes a file's path.
QString lastFolder();
void rememberFolder(const QString& filePath);
// `fileName` in that folder.
QString inLastFolder(const QString& fileName);

// The columns of a file dialog's list in Chinese whatever the system's
// language: a folder's type "文件夹", a file's "png 文件", sizes in Chinese
// units and dates as "2026-12-08 09:30" (Qt names types in English and
// writes dates in the system's language: "Folder", "Dec").
class ChineseFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override;
};

// A file dialog of the program (Qt's own, with those columns) starting at
// `start` (a folder, or a file to offer); the chosen file, or empty. With
// `selectedFilter`, its filter is offered first and the chosen one returned.
QString askFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& caption, const QString& start,
                    const QString& filters, QString* selectedFilter = nullptr);

// The dialog 保存图表 of a window, PNG offered first: the file chosen with
// the extension of its filter (withChartExtension), or empty.
QString askChartFileName(QWidget* parent, const QString& suggested);

// The file the design sheet is saved to: the name as chosen when it ends in
// .pdf (any letter case), else with ".pdf" added.
QString withPdfExtension(const QString& path);

}  // namespace diaspring::app
