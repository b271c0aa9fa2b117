#pragma once
// The chart as a file or an image, replayed from its display list, so the
// export shows exactly what the chart shows.

#include <optional>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "chart/display_list.h"
#include "render/write_failure.h"

namespace diaspring {

enum class ChartFormat { Png, Svg, Pdf };

// By the file's extension, in any letter case: .png, .svg, .pdf.
std::optional<ChartFormat> chartFormatForPath(const QString& path);

// The visible chart as an antialiased image `scale` times the chart's size in
// the window (scale 1 to 8).
QImage renderChartImage(const DisplayList& list, int scale);

// The visible chart as the bytes of a file in `format`: PNG at `pngScale`
// times the window's size, SVG and PDF as vectors with real text; nothing
// when it could not be painted.
std::optional<QByteArray> chartFileBytes(const DisplayList& list, ChartFormat format, int pngScale);

// Writes the visible chart to `path` in the format its extension names,
// whole or not at all: on failure an earlier file of that name stays as it
// was, and the failure names the file and the reason.
std::optional<SaveFailure> saveChart(const DisplayList& list, const QString& path, int pngScale);

// The same for the window: on failure false, with the reason in Chinese in
// `error`.
bool exportChart(const DisplayList& list, const QString& path, int pngScale, QString* error);

}  // namespace diaspring
