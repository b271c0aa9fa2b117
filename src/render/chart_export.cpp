#include "render/chart_export.h"

#include <algorithm>

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "render/chart_painter.h"

namespace diaspring {
namespace {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 8;

const QString kTitle = QStringLiteral("膜片弹簧特性曲线");
const QString kDescription = QStringLiteral("大端载荷 F1 (N) 随大端变形 λ1 (mm) 的变化，以及特征点 M、N、H、B、A、C");

// A PDF unit (a point) is 1/72 inch; the chart's natural pixel is 1/96 inch.
constexpr double kPointsPerPixel = 72.0 / 96.0;
// The PDF is drawn at ten device units to the chart's pixel, so text and
// lines are placed finer than the chart's own raster.
constexpr int kPdfResolution = 960;

QSize naturalSize(int scale) {
  return {static_cast<int>(kChartNaturalWidth) * scale, static_cast<int>(kChartNaturalHeight) * scale};
}

void setHints(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

const Unmade kUnpainted{"the chart could not be drawn", "绘制图表失败"};
const Unmade kWrongExtension{"the file name must end in .png, .svg or .pdf", "文件名应以 .png、.svg 或 .pdf 结尾"};

// Each writer paints into memory and says whether it got through.
bool writePng(const DisplayList& list, int scale, QBuffer& out) {
  return renderChartImage(list, scale).save(&out, "PNG");
}

bool writeSvg(const DisplayList& list, QBuffer& out) {
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setResolution(96);
  svg.setSize(naturalSize(1));
  svg.setViewBox(QRectF(QPointF(0, 0), QSizeF(naturalSize(1))));
  svg.setTitle(kTitle);
  svg.setDescription(kDescription);
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  setHints(painter);
  ChartPainter(ChartStyle::smooth()).paint(painter, QRectF(QPointF(0, 0), QSizeF(naturalSize(1))), list);
  return painter.end();
}

bool writePdf(const DisplayList& list, QBuffer& out) {
  QPdfWriter pdf(&out);
  pdf.setTitle(kTitle);
  pdf.setCreator(QStringLiteral("diaspring"));
  pdf.setResolution(kPdfResolution);
  const QPageSize page(QSizeF(kChartNaturalWidth * kPointsPerPixel, kChartNaturalHeight * kPointsPerPixel),
                       QPageSize::Point, kTitle, QPageSize::ExactMatch);
  if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)))) return false;
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  setHints(painter);
  // The page's size in device units; its point size is whole, so the chart
  // fills it to within a fraction of a point.
  ChartPainter(ChartStyle::smooth()).paint(painter, QRectF(0, 0, pdf.width(), pdf.height()), list);
  return painter.end();
}

}  // namespace

std::optional<ChartFormat> chartFormatForPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return ChartFormat::Png;
  if (suffix == QLatin1String("svg")) return ChartFormat::Svg;
  if (suffix == QLatin1String("pdf")) return ChartFormat::Pdf;
  return std::nullopt;
}

QImage renderChartImage(const DisplayList& list, int scale) {
  scale = std::clamp(scale, kMinScale, kMaxScale);
  QImage image(naturalSize(scale), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  setHints(painter);
  ChartPainter(ChartStyle::smooth()).paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), list);
  painter.end();
  return image;
}

std::optional<QByteArray> chartFileBytes(const DisplayList& list, ChartFormat format, int pngScale) {
  QByteArray bytes;
  bool painted = false;
  {
    QBuffer out(&bytes);
    if (!out.open(QIODevice::WriteOnly)) return std::nullopt;
    switch (format) {
      case ChartFormat::Png:
        painted = writePng(list, pngScale, out);
        break;
      case ChartFormat::Svg:
        painted = writeSvg(list, out);
        break;
      case ChartFormat::Pdf:
        painted = writePdf(list, out);
        break;
    }
  }
  if (!painted || bytes.isEmpty()) return std::nullopt;
  return bytes;
}

std::optional<SaveFailure> saveChart(const DisplayList& list, const QString& path, int pngScale) {
  const std::optional<ChartFormat> format = chartFormatForPath(path);
  if (!format) return saveFile(path, std::nullopt, kWrongExtension);
  return saveFile(path, chartFileBytes(list, *format, pngScale), kUnpainted);
}

bool exportChart(const DisplayList& list, const QString& path, int pngScale, QString* error) {
  return reportedInChinese(saveChart(list, path, pngScale), error);
}

}  // namespace diaspring
