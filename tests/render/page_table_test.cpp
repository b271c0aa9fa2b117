// The table painter of the sheet's further pages, painted on an image of
// 4 pixels a millimetre: where its rows end, which columns carry ink, where
// the rules between the columns stand.
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "render/page_layout.h"
#include "render/page_table.h"

namespace {

using namespace diaspring;

constexpr int kPxPerMm = 4;

QImage page() {
  QImage image(210 * kPxPerMm, 80 * kPxPerMm, QImage::Format_RGB32);
  image.setDotsPerMeterX(kPxPerMm * 1000);
  image.setDotsPerMeterY(kPxPerMm * 1000);
  image.fill(Qt::white);
  return image;
}

// Pixels painted (not white) in the box of millimetres (x, y, w, h).
int inkIn(const QImage& image, double x, double y, double w, double h) {
  int ink = 0;
  for (int py = static_cast<int>(y * kPxPerMm); py < static_cast<int>((y + h) * kPxPerMm); ++py)
    for (int px = static_cast<int>(x * kPxPerMm); px < static_cast<int>((x + w) * kPxPerMm); ++px)
      ink += qGray(image.pixel(px, py)) < 250;
  return ink;
}

const std::vector<TableColumn> kColumns{{20}, {30}, {40}, {88}};  // 178 mm: the text column
constexpr double kColumnLeft[] = {16, 36, 66, 106};

TEST(PageTable, RowsEndWhereTheirHeightsSayAndAShortLineLeavesTheLastColumnsEmpty) {
  struct Case {
    std::size_t cells;  // of each body row, from the first column
    int rows;
  };
  for (const Case c : {Case{4, 3}, Case{2, 3}, Case{1, 1}, Case{0, 2}}) {
    QImage image = page();
    QPainter painter(&image);
    PageLayout layout(painter);
    PageTable table(layout, kColumns);
    const double below = table.head(10, 6, tableLine(std::vector<const char*>(4, "WWW"), 9, true));
    EXPECT_DOUBLE_EQ(below, 16);
    const TableLine line(c.cells, TableCell{QStringLiteral("WWWW"), 9});
    const double end = table.rows(below, 5, std::vector<TableLine>(static_cast<std::size_t>(c.rows), line));
    EXPECT_DOUBLE_EQ(end, 16 + 5.0 * c.rows);
    painter.end();
    for (std::size_t col = 0; col < kColumns.size(); ++col) {
      // The head names every column; the body only the columns of its cells
      // (between the rules: 0.6 mm in from the row's top and bottom).
      EXPECT_GT(inkIn(image, kColumnLeft[col], 10.6, 18, 4.8), 0) << col;
      const int body = inkIn(image, kColumnLeft[col], 16.6, 18, 3.8);
      EXPECT_EQ(body > 0, col < c.cells) << "cells " << c.cells << ", column " << col;
    }
    // The heavy rule under the last row, and nothing below it.
    EXPECT_GT(inkIn(image, 16, end - 0.5, 178, 1), 170 * kPxPerMm);
    EXPECT_EQ(inkIn(image, 16, end + 1, 178, 10), 0);
  }
}

TEST(PageTable, ColumnRulesStandBetweenTheColumnsOnly) {
  QImage image = page();
  QPainter painter(&image);
  PageLayout layout(painter);
  PageTable table(layout, kColumns);
  table.columnRules(20, 60);
  painter.end();
  for (const double x : kColumnLeft) {
    const bool between = x > kColumnLeft[0];
    EXPECT_EQ(inkIn(image, x - 0.5, 21, 1, 38) > 0, between) << x;
  }
  EXPECT_EQ(inkIn(image, 193.5, 0, 16, 80), 0);  // none at the right edge
  EXPECT_EQ(inkIn(image, 0, 61, 210, 19), 0);     // none below `bottom`
}

}  // namespace
