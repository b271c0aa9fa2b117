// The chart painter against hand-made display lists: where things land, in
// which colour, at which size, and that painting in pieces gives the same
// picture as painting at once.
#include <algorithm>
#include <optional>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "qt_print.h"

#include "chart/display_list.h"
#include "render/chart_painter.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace {

using namespace diaspring;

constexpr int kW = 549, kH = 293;  // the chart's natural size

QImage canvas(int scale = 1) {
  QImage image(kW * scale, kH * scale, QImage::Format_RGB32);
  image.fill(Qt::magenta);  // anything the painter leaves shows
  return image;
}

QImage paintAll(const DisplayList& list, int scale = 1) {
  QImage image = canvas(scale);
  QPainter p(&image);
  ChartPainter().paint(p, QRectF(0, 0, image.width(), image.height()), list);
  return image;
}

// Chart coordinates of the window's chart, and where a point lands in pixels.
void chartFrame(DisplayList& list) { list.scale(-1.5f, 14000.f, 8.f, -1000.f); }
QPoint pixel(double x, double y, int scale = 1) {
  return {static_cast<int>((x + 1.5) / 9.5 * kW * scale), static_cast<int>((14000.0 - y) / 15000.0 * kH * scale)};
}

// The box around all pixels that are not the background, within `area`.
QRect inked(const QImage& image, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) != QColor(Qt::white)) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(ChartPainter, MapsScaleCornersOntoTheTarget) {
  const ChartPainter painter;
  DisplayList list;
  chartFrame(list);
  const std::optional<DrawOp> scale = list.ops().front();
  const QRectF target(10, 20, 549, 293);
  EXPECT_EQ(painter.map(target, scale, -1.5f, 14000.f), QPointF(10, 20));
  EXPECT_EQ(painter.map(target, scale, 8.f, -1000.f), QPointF(559, 313));
  const QPointF origin = painter.map(target, scale, 0.f, 0.f);
  EXPECT_NEAR(origin.x(), 10 + 1.5 / 9.5 * 549, 1e-9);
  EXPECT_NEAR(origin.y(), 20 + 14000.0 / 15000.0 * 293, 1e-9);
  // Without a coordinate system a unit is a twip: 15 to the pixel.
  EXPECT_EQ(painter.map(target, std::nullopt, 150.f, 300.f), QPointF(20, 40));
}

TEST(ChartPainter, PointsLinesAndColoursLandWhereTheScaleMapsThem) {
  DisplayList list;
  chartFrame(list);
  list.pset(2.f, 5000.f, kRed);
  list.line(0.f, 0.f, 7.f, 0.f, kBlue);
  list.line(-1.f, 0.f, -1.f, 13000.f, std::nullopt);  // foreground
  list.line(1.f, 2000.f, 6.f, 2000.f, kGreen);
  list.pset(9.f, 5000.f, kRed);  // beyond the right edge: not drawn
  const QImage image = paintAll(list);

  EXPECT_EQ(image.pixelColor(pixel(2, 5000)), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(pixel(2, 5000) + QPoint(2, 0)), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(pixel(2, 5000) + QPoint(0, 2)), QColor(Qt::white));

  const QPoint onBlue = pixel(3.5, 0);
  const bool blue = image.pixelColor(onBlue) == QColor(Qt::blue) ||
                    image.pixelColor(onBlue - QPoint(0, 1)) == QColor(Qt::blue);
  EXPECT_TRUE(blue);
  EXPECT_EQ(image.pixelColor(onBlue + QPoint(0, 4)), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(pixel(-1, 6000) + QPoint(0, 0)).rgb() & 0xFFFFFF, 0u);  // black
  const QPoint onGreen = pixel(3, 2000);
  EXPECT_TRUE(image.pixelColor(onGreen) == QColor(Qt::green) ||
              image.pixelColor(onGreen - QPoint(0, 1)) == QColor(Qt::green));
  // Everything was painted on the background; nothing outside the target.
  for (int x = 0; x < kW; x += 7) EXPECT_NE(image.pixelColor(x, 1), QColor(Qt::magenta));
}

TEST(ChartPainter, PrintedTextHangsBelowAndRightOfItsAnchor) {
  DisplayList list;
  chartFrame(list);
  list.setCurrentX(2.f);
  list.setCurrentY(6000.f);
  list.print("λ1(mm) ");
  const QImage image = paintAll(list);
  const QPoint anchor = pixel(2, 6000);
  const QRect ink = inked(image, QRect(anchor - QPoint(30, 30), QSize(120, 60)));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), anchor.x() - 1);
  EXPECT_LE(ink.left(), anchor.x() + 3);
  EXPECT_GE(ink.top(), anchor.y());
  EXPECT_LE(ink.bottom(), anchor.y() + 16);
  EXPECT_GE(ink.width(), 25);  // six glyphs, not one box
}

TEST(ChartPainter, TwiceTheDeviceDrawsTwiceAsLarge) {
  DisplayList list;
  chartFrame(list);
  list.pset(2.f, 5000.f, kRed);
  list.setCurrentX(4.f);
  list.setCurrentY(8000.f);
  list.print("F(N)");
  list.line(0.f, 0.f, 7.f, 0.f, kBlue);
  const QImage one = paintAll(list, 1), two = paintAll(list, 2);

  auto redPixels = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(Qt::red);
    return n;
  };
  EXPECT_EQ(redPixels(one), 1);
  EXPECT_EQ(redPixels(two), 4);

  const QRect text1 = inked(one, QRect(pixel(4, 8000) - QPoint(5, 5), QSize(80, 40)));
  const QRect text2 = inked(two, QRect(pixel(4, 8000, 2) - QPoint(10, 10), QSize(160, 80)));
  EXPECT_NEAR(text2.width(), 2.0 * text1.width(), 3.0);
  EXPECT_NEAR(text2.height(), 2.0 * text1.height(), 3.0);

  auto blueRows = [](const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += image.pixelColor(x, y) == QColor(Qt::blue);
    return n;
  };
  EXPECT_EQ(blueRows(one, pixel(3, 0).x()), 1);
  EXPECT_EQ(blueRows(two, pixel(3, 0, 2).x()), 2);
}

TEST(ChartPainter, DrawWidthWidensLinesAndPoints) {
  DisplayList list;
  chartFrame(list);
  list.drawWidth(3);
  list.pset(2.f, 5000.f, kRed);
  const QImage image = paintAll(list);
  const QRect dot = inked(image, QRect(pixel(2, 5000) - QPoint(6, 6), QSize(13, 13)));
  EXPECT_EQ(dot.size(), QSize(3, 3));
}

// The whole chart of the default design, as the curve button draws it.
DisplayList defaultChart(int presses) {
  MemoryFields fields;
  DisplayList list;
  WindowLogic logic(fields, list);
  for (int i = 0; i < presses; ++i) EXPECT_FALSE(logic.press(Command::Command1).has_value());
  return list;
}

TEST(ChartPainter, PaintingInPiecesEqualsPaintingAtOnce) {
  const DisplayList list = defaultChart(1);
  ASSERT_GT(list.size(), 10001u);
  const QImage whole = paintAll(list);

  QImage pieces = canvas();
  const ChartPainter painter;
  const QRectF target(0, 0, kW, kH);
  {
    QPainter p(&pieces);
    p.fillRect(target, Qt::white);
    ReplayState state = ChartPainter::start(list);
    for (std::size_t to : {std::size_t{1}, std::size_t{9}, std::size_t{40}, std::size_t{5000}, list.size()})
      painter.paintRange(p, target, list, state, to);
    EXPECT_EQ(state.next, list.size());
  }
  // Separate painters, as successive repaints use.
  QImage repaints = canvas();
  {
    QPainter(&repaints).fillRect(target, Qt::white);
    ReplayState state = ChartPainter::start(list);
    for (std::size_t to = 0; to < list.size(); to += 997) {
      QPainter p(&repaints);
      painter.paintRange(p, target, list, state, to);
    }
    QPainter p(&repaints);
    painter.paintRange(p, target, list, state, list.size());
  }
  EXPECT_EQ(pieces, whole);
  EXPECT_EQ(repaints, whole);
}

TEST(ChartPainter, ClsMetOnTheWayErasesAndKeepsTheCoordinates) {
  DisplayList list;
  chartFrame(list);
  list.pset(2.f, 5000.f, kRed);
  list.cls();
  list.pset(3.f, 5000.f, kRed);
  const QImage whole = paintAll(list);  // from the Cls on
  EXPECT_EQ(whole.pixelColor(pixel(2, 5000)), QColor(Qt::white));
  EXPECT_EQ(whole.pixelColor(pixel(3, 5000)), QColor(Qt::red));

  QImage stepwise = canvas();
  QPainter p(&stepwise);
  ReplayState state;  // from the very first operation
  ChartPainter().paintRange(p, QRectF(0, 0, kW, kH), list, state, list.size());
  p.end();
  EXPECT_EQ(stepwise, whole);
}

TEST(ChartPainter, ColoursAreBlueGreenRedFromLowToHighByte) {
  EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(toQColor(0x123456), QColor(0x56, 0x34, 0x12));
}

}  // namespace
