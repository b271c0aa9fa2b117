#include "render/chart_export.h"

#include <algorithm>

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "render/chart_painter.h"
#include "render/write_failure.h"

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

// Each writer paints into the open file and says whether it got through.
bool writePng(const DisplayList& list, int scale, QSaveFile& file) {
  return renderChartImage(list, scale).save(&file, "PNG");
}

bool writeSvg(const DisplayList& list, QSaveFile& file) {
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
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

bool writePdf(const DisplayList& list, QSaveFile& file) {
  QPdfWriter pdf(&file);
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

bool exportChart(const DisplayList& list, const QString& path, int pngScale, QString* error) {
  auto fail = [&](const QString& reason) {
    if (error != nullptr) *error = reason;
    return false;
  };
  const std::optional<ChartFormat> format = chartFormatForPath(path);
  if (!format) return fail(writeErrorZh(path, QStringLiteral("文件名应以 .png、.svg 或 .pdf 结尾")));

  // Written beside the target under another name and renamed over it only
  // when complete: a failure leaves any earlier file as it was.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail(describeWriteFailureZh(path, file.errorString()));

  bool painted = false;
  switch (*format) {
    case ChartFormat::Png:
      painted = writePng(list, pngScale, file);
      break;
    case ChartFormat::Svg:
      painted = writeSvg(list, file);
      break;
    case ChartFormat::Pdf:
      painted = writePdf(list, file);
      break;
  }
  if (!painted || file.error() != QFileDevice::NoError) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("绘制图表失败");
    file.cancelWriting();
    return fail(describeWriteFailureZh(path, reason));
  }
  if (!file.commit()) return fail(describeWriteFailureZh(path, file.errorString()));
  return true;
}

}  // namespace diaspring
