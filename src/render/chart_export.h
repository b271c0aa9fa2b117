#pragma once
// The chart as a file or an image, replayed from its display list, so the
// export shows exactly what the chart shows.

#include <optional>

#include <QImage>
#include <QString>

#include "chart/display_list.h"

namespace diaspring {

enum class ChartFormat { Png, Svg, Pdf };

// By the file's extension, in any letter case: .png, .svg, .pdf.
std::optional<ChartFormat> chartFormatForPath(const QString& path);

// The visible chart as an antialiased image `scale` times the chart's size in
// the window (scale 1 to 8).
QImage renderChartImage(const DisplayList& list, int scale);

// Writes the visible chart to `path` in the format its extension names: PNG
// at `pngScale` times the window's size, SVG and PDF as vectors with real
// text. On failure returns false and says why in `error` (in Chinese, naming
// the file); nothing is left half-written under `path`.
bool exportChart(const DisplayList& list, const QString& path, int pngScale, QString* error);

}  // namespace diaspring
