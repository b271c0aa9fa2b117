// The chart as a file: each format written and read back as a viewer reads
// it (the PNG's pixels, the SVG's elements, the PDF's pages and texts), and
// a write that cannot succeed says why and leaves nothing behind.
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "render/chart_export.h"
#include "render/design_sheet.h"
#include "support/small_disk.h"
#include "support/window_fixture.h"

namespace {

using namespace diaspring;
using diaspring::testing::TestWindow;

std::string str(const QString& s) { return s.toStdString(); }

// The chart of the default design after the curve button.
const DisplayList& defaultChart() {
  static TestWindow* window = [] {
    auto* w = new TestWindow;
    EXPECT_FALSE(w->curve().has_value());
    return w;
  }();
  return window->chart;
}

std::size_t redPoints(const DisplayList& list) {
  std::size_t n = 0;
  for (const DrawOp& op : list.ops()) n += op.kind == DrawOp::Kind::PSet && op.color == kRed;
  return n;
}

// Where chart coordinates land in an image `scale` times the natural size.
QPoint pixel(double x, double y, int scale) {
  return {static_cast<int>((x + 1.5) / 9.5 * 549 * scale), static_cast<int>((14000.0 - y) / 15000.0 * 293 * scale)};
}

bool isRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray runTool(const QString& tool, const QStringList& args) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) {
    ADD_FAILURE() << str(tool) << " is not installed; it comes with poppler-utils (scripts/setup.sh installs it)";
    return {};
  }
  QProcess process;
  process.start(tool, args);
  if (!process.waitForFinished(60000)) {
    ADD_FAILURE() << str(tool) << " did not finish";
    return {};
  }
  EXPECT_EQ(process.exitCode(), 0) << str(tool) << ": " << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput();
}

class ChartExport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString path(const QString& name) const { return dir_.filePath(name); }

  QString write(const QString& name, int scale = 2) {
    const QString file = path(name);
    QString error;
    EXPECT_TRUE(exportChart(defaultChart(), file, scale, &error)) << str(error);
    EXPECT_TRUE(error.isEmpty()) << str(error);
    return file;
  }

  QTemporaryDir dir_;
};

TEST(ChartFormat, IsNamedByTheExtensionInAnyLetterCase) {
  struct Case {
    const char* path;
    std::optional<ChartFormat> format;
  };
  const Case cases[] = {
      {"a.png", ChartFormat::Png},        {"/x/y/A.PNG", ChartFormat::Png}, {"chart.Svg", ChartFormat::Svg},
      {"c.pdf", ChartFormat::Pdf},        {"c.PdF", ChartFormat::Pdf},      {"c.bmp", std::nullopt},
      {"png", std::nullopt},              {"c.png.txt", std::nullopt},      {"dir.png/chart", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(chartFormatForPath(QString::fromUtf8(c.path)), c.format) << c.path;
}

TEST(ChartImage, IsTheNaturalSizeTimesTheScaleWithinOneToEight) {
  const std::pair<int, QSize> cases[] = {{1, {549, 293}}, {2, {1098, 586}}, {8, {4392, 2344}},
                                         {0, {549, 293}}, {-3, {549, 293}}, {9, {4392, 2344}}};
  for (const auto& [scale, size] : cases) {
    const QImage image = renderChartImage(defaultChart(), scale);
    EXPECT_EQ(image.size(), size) << "scale " << scale;
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
  }
}

TEST_F(ChartExport, PngReadsBackAsTheChartWithTheCurveInRedOnWhite) {
  for (int scale : {1, 2, 3}) {
    const QString file = write(QStringLiteral("chart%1.png").arg(scale), scale);
    QImage image(file, "PNG");
    ASSERT_FALSE(image.isNull()) << "scale " << scale;
    EXPECT_EQ(image.size(), QSize(549 * scale, 293 * scale));
    image = image.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image, renderChartImage(defaultChart(), scale)) << "scale " << scale;

    // The peak M at (2.08 mm, 5175.178 N) lies on the red curve.
    const QPoint peak = pixel(2.08, 5175.178, scale);
    int red = 0;
    for (int dy = -2 * scale; dy <= 2 * scale; ++dy)
      for (int dx = -2 * scale; dx <= 2 * scale; ++dx) red += isRed(image.pixelColor(peak + QPoint(dx, dy)));
    EXPECT_GE(red, scale) << "scale " << scale;

    // Above the curve's middle and right of the load axis nothing is drawn.
    const QRect empty(pixel(2.5, 11000, scale), pixel(5.0, 8000, scale));
    int nonWhite = 0;
    for (int y = empty.top(); y <= empty.bottom(); ++y)
      for (int x = empty.left(); x <= empty.right(); ++x) nonWhite += image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_EQ(nonWhite, 0) << "scale " << scale;
  }
}

// The SVG's elements with the fill and transform they inherit.
struct SvgContent {
  QString viewBox, title;
  std::vector<QString> labels;  // the texts of each printed label, joined
  int redDots = 0, lines = 0, images = 0;  // red squares: the curve's points
  QString redFillRule;
};

SvgContent readSvg(const QByteArray& data, QString* error) {
  SvgContent svg;
  QXmlStreamReader xml(data);
  std::vector<QString> fills{QStringLiteral("none")};
  std::vector<QString> label;  // text gathered in each open group
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const QString name = xml.name().toString();
      const auto attrs = xml.attributes();
      const QString fill = attrs.hasAttribute(QStringLiteral("fill")) ? attrs.value(QStringLiteral("fill")).toString()
                                                                      : fills.back();
      fills.push_back(fill);
      if (name == QLatin1String("svg")) svg.viewBox = attrs.value(QStringLiteral("viewBox")).toString();
      if (name == QLatin1String("title")) svg.title = xml.readElementText(), fills.pop_back();
      if (name == QLatin1String("g")) label.emplace_back();
      const bool red = fill.compare(QLatin1String("#ff0000"), Qt::CaseInsensitive) == 0;
      if (name == QLatin1String("rect") && red) ++svg.redDots;
      if (name == QLatin1String("path") && red) {  // a run of points as one path of squares
        svg.redDots += static_cast<int>(attrs.value(QStringLiteral("d")).count(QLatin1Char('M')));
        svg.redFillRule = attrs.value(QStringLiteral("fill-rule")).toString();
      }
      if (name == QLatin1String("polyline") || name == QLatin1String("line") || name == QLatin1String("path"))
        ++svg.lines;
      if (name == QLatin1String("image")) ++svg.images;
      if (name == QLatin1String("text")) {
        const QString text = xml.readElementText();
        fills.pop_back();
        if (!label.empty()) label.back() += text;
      }
    } else if (xml.isEndElement()) {
      fills.pop_back();
      if (xml.name() == QLatin1String("g") && !label.empty()) {
        if (!label.back().isEmpty()) svg.labels.push_back(label.back());
        label.pop_back();
      }
    }
  }
  if (xml.hasError()) *error = xml.errorString();
  return svg;
}

TEST_F(ChartExport, SvgIsVectorsWithTheLabelsAsText) {
  const QString file = write(QStringLiteral("chart.svg"));
  QString error;
  const SvgContent svg = readSvg(readAll(file), &error);
  ASSERT_TRUE(error.isEmpty()) << str(error);
  EXPECT_EQ(svg.viewBox, QStringLiteral("0 0 549 293"));
  EXPECT_EQ(svg.title, QStringLiteral("膜片弹簧特性曲线"));
  EXPECT_EQ(svg.images, 0);                                   // no embedded raster
  EXPECT_GE(svg.redDots, static_cast<int>(redPoints(defaultChart())));  // every point of the curve
  EXPECT_NE(svg.redFillRule, QStringLiteral("evenodd"));  // overlapping dots must not cancel out
  EXPECT_GE(svg.lines, 50);  // axes, arrowheads, ticks, guides
  for (const char* label : {"λ1(mm) ", "F(N)", " 1000 ", " 11000 ", " 0 ", " 6 ", "λ1M", "M", "λ1f", "Δλ", "→",
                            "←", "F1B", "C'", "A'"}) {
    const QString want = QString::fromUtf8(label);
    EXPECT_NE(std::find(svg.labels.begin(), svg.labels.end(), want), svg.labels.end()) << label;
  }
}

TEST_F(ChartExport, PdfIsOnePageTheChartsSizeWithRealText) {
  const QString file = write(QStringLiteral("chart.pdf"));
  const QByteArray data = readAll(file);
  ASSERT_TRUE(data.startsWith("%PDF-"));
  EXPECT_TRUE(data.trimmed().endsWith("%%EOF"));
  // Page objects (not the page tree): exactly one.
  EXPECT_EQ(data.count("/Type /Page\n") + data.count("/Type /Page ") + data.count("/Type /Page/"), 1);

  const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {file}));
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << str(info);
  // 549 x 293 pixels at 96 per inch are 411.75 x 219.75 points.
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+41[12](\\.\\d+)? x 2(19|20)(\\.\\d+)? pts"))))
      << str(info);
  EXPECT_TRUE(info.contains(QStringLiteral("膜片弹簧特性曲线"))) << str(info);

  const QString text = QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}));
  for (const char* label : {"F(N)", "11000", "λ1(mm)", "λ1M", "Δλ", "F1A"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(label))) << label << " in\n" << str(text);
}

TEST_F(ChartExport, WritingAgainReplacesTheFileWhole) {
  const QString file = write(QStringLiteral("again.png"), 3);
  const qint64 large = QFileInfo(file).size();
  write(QStringLiteral("again.png"), 1);
  EXPECT_LT(QFileInfo(file).size(), large);
  EXPECT_EQ(QImage(file).size(), QSize(549, 293));
  EXPECT_EQ(entries(dir_.path()), QStringList{QStringLiteral("again.png")});
}

TEST_F(ChartExport, AnUnwritablePathSaysWhyAndLeavesNothing) {
  // A regular file where a directory should be stops the write even for
  // root, whom permissions do not stop.
  QFile plain(path(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.svg")));

  struct Case {
    QString target;
    QString reason;
  };
  const Case cases[] = {
      {path(QStringLiteral("missing/deeper/c.png")), QStringLiteral("文件夹不存在")},
      {path(QStringLiteral("plain/c.svg")), QStringLiteral("路径中有一项不是文件夹")},
      {path(QStringLiteral("plain/sub/c.pdf")), QStringLiteral("路径中有一项不是文件夹")},
      {path(QStringLiteral("folder.svg")), QStringLiteral("这是一个文件夹")},
      {path(QStringLiteral("c.bmp")), QStringLiteral("文件名应以 .png、.svg 或 .pdf 结尾")},
      {QString(), QStringLiteral("文件名应以 .png、.svg 或 .pdf 结尾")},
  };
  const QStringList before = entries(dir_.path());
  for (const Case& c : cases) {
    QString error;
    EXPECT_FALSE(exportChart(defaultChart(), c.target, 2, &error)) << str(c.target);
    EXPECT_EQ(error, QStringLiteral("无法写入文件“%1”：%2").arg(c.target, c.reason));
    EXPECT_FALSE(QFileInfo(c.target).isFile()) << str(c.target);
    EXPECT_EQ(entries(dir_.path()), before) << "left behind by " << str(c.target);
  }
}

TEST_F(ChartExport, AReadOnlyDirectoryRefusesWithoutLeftovers) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  const QString locked = path(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkdir(locked));
  ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
  QString error;
  EXPECT_FALSE(exportChart(defaultChart(), locked + QStringLiteral("/c.png"), 2, &error));
  EXPECT_EQ(error, QStringLiteral("无法写入文件“%1/c.png”：没有写入权限（文件或文件夹为只读）").arg(locked));
  EXPECT_TRUE(entries(locked).isEmpty());
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(FullDisk, AFileThatDoesNotFitIsNotWrittenAndTheEarlierOneStays) {
  TestWindow window;
  ASSERT_FALSE(window.curve().has_value());
  ASSERT_FALSE(window.check().has_value());
  struct Case {
    const char* name;
    std::function<std::optional<SaveFailure>(const QString&)> save;
  };
  const Case cases[] = {
      {"sheet.pdf", [&](const QString& p) { return saveDesignSheet(window.fields, window.chart, p); }},
      {"chart.svg", [&](const QString& p) { return saveChart(window.chart, p, 1); }},
      {"chart.pdf", [&](const QString& p) { return saveChart(window.chart, p, 1); }},
      {"chart.png", [&](const QString& p) { return saveChart(window.chart, p, 1); }},
  };
  const QByteArray earlier = QByteArray("an earlier file, kept whole\n").repeated(100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    diaspring::testing::SmallDisk disk;  // 200 KB
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
    const QString target = QString::fromStdString(disk.path(c.name));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(earlier) == earlier.size());
    old.close();
    disk.fillLeaving(16 << 10);  // less than any of them takes

    const std::optional<SaveFailure> failed = c.save(target);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->english(), "cannot write '" + str(target) + "': No space left on device");
    EXPECT_EQ(failed->chinese(), QStringLiteral("无法写入文件“%1”：磁盘空间不足").arg(target));
    EXPECT_EQ(readAll(target), earlier);
    QStringList left = entries(QFileInfo(target).path());
    QStringList expected{QString::fromUtf8(c.name), QStringLiteral("filler")};
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
  }
}

}  // namespace
