#pragma once
// The chart's context menu in the window: its captions, the file filters of
// the save dialogs, and the name a file gets from what the user chose.

#include <QString>

namespace diaspring::app {

inline const QString kCopyChartCaption = QStringLiteral("复制图表");
inline const QString kSaveChartCaption = QStringLiteral("保存图表…");
inline const QString kExportSheetCaption = QStringLiteral("导出设计报告…");
inline const QString kAnalysisCaption = QStringLiteral("强度与分离特性…");

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

// The file the design sheet is saved to: the name as chosen when it ends in
// .pdf (any letter case), else with ".pdf" added.
QString withPdfExtension(const QString& path);

}  // namespace diaspring::app
