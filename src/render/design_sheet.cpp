#include "render/design_sheet.h"
#include "render/fonts.h"

#include <algorithm>
#include <array>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QRegularExpression>
#include <QBuffer>

#include "analysis/analysis_table.h"
#include "check/constraint_check.h"
#include "check/sheet_contents.h"
#include "model/points.h"
#include "render/comparison_page.h"
#include "render/sheet_pages.h"
#include "render/chart_painter.h"
#include "render/sheet_style.h"
#include "form/controls.h"

namespace diaspring {
namespace {

// The page is laid out in millimetres and drawn in device units of 1/300 inch.
constexpr int kResolution = kSheetResolution;
constexpr double kUnitsPerMm = kResolution / 25.4;
constexpr double kUnitsPerPt = kResolution / 72.0;

double mm(double v) { return v * kUnitsPerMm; }
double pt(double v) { return v * kUnitsPerPt; }

constexpr double kPageWidth = 210.0;
constexpr double kPageHeight = 297.0;
constexpr double kMarginX = 16.0;
constexpr double kTop = 12.0;
constexpr double kBottom = 9.0;
constexpr double kContentWidth = kPageWidth - 2 * kMarginX;
constexpr double kLeft = kMarginX;
constexpr double kRight = kPageWidth - kMarginX;

constexpr double kCellPad = 1.6;     // text to cell edge, mm
constexpr double kRowHeight = 4.7;   // a body row, mm
constexpr double kHeadHeight = 5.4;  // a header row, mm
constexpr double kBodyPt = 8.8;

using namespace sheet;  // the colours

QString u8(const char* text) { return QString::fromUtf8(text); }
QString u8(const std::string& text) { return QString::fromStdString(text); }
const QString kDash = u8(sheet_text::kDash);
const QString kTick = u8(sheet_text::kTick);
const QString kCross = u8(sheet_text::kCross);
const QString kUnchecked = u8(sheet_text::kUnchecked);

QFont sheetFont(double points, bool bold = false) {
  QFont font = textFont();
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// ------------------------------------------------------------------ tables

enum class Align { Left, Center, Decimal };

struct Column {
  QString header;
  double width;  // mm
  Align align;
};

struct Cell {
  QString text;
  QColor color = kInk;
};

struct Row {
  std::vector<Cell> cells;
  QColor fill;  // invalid: no fill
};

class Page {
 public:
  explicit Page(QPainter& painter) : p_(painter) {}

  QPainter& painter() { return p_; }

  QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, p_.device()); }

  // Text within a box (mm), cut short with an ellipsis when it does not fit.
  void text(const QRectF& box, Qt::Alignment align, const QString& s, const QFont& font, const QColor& color) {
    const QRectF r(mm(box.x()), mm(box.y()), mm(box.width()), mm(box.height()));
    const QString shown = metrics(font).elidedText(s, Qt::ElideRight, r.width());
    p_.setFont(font);
    p_.setPen(QPen(color));
    p_.drawText(r, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
  }

  double textWidth(const QString& s, const QFont& font) const {
    return metrics(font).horizontalAdvance(s) / kUnitsPerMm;
  }

  void hrule(double y, double x1, double x2, double widthPt, const QColor& color) {
    QPen pen(color, pt(widthPt));
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
    p_.drawLine(QPointF(mm(x1), mm(y)), QPointF(mm(x2), mm(y)));
  }

  void fill(const QRectF& box, const QColor& color) {
    p_.fillRect(QRectF(mm(box.x()), mm(box.y()), mm(box.width()), mm(box.height())), color);
  }

  void frame(const QRectF& box, double widthPt, const QColor& color) {
    QPen pen(color, pt(widthPt));
    pen.setJoinStyle(Qt::MiterJoin);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRectF(mm(box.x()), mm(box.y()), mm(box.width()), mm(box.height())));
  }

  // A section heading with an accent bar; returns the y below it.
  double heading(double x, double y, double width, const QString& title) {
    fill(QRectF(x, y + 0.9, 1.1, 3.8), kAccent);
    text(QRectF(x + 2.6, y, width - 2.6, 5.6), Qt::AlignLeft, title, sheetFont(10.5, true), kAccent);
    return y + 6.6;
  }

  // A table with a header row, rules above, below the header and below the
  // last row, and hairlines between rows; returns the y below it.
  double table(double x, double y, const std::vector<Column>& columns, const std::vector<Row>& rows) {
    const QFont headFont = sheetFont(kBodyPt, true);
    const QFont bodyFont = sheetFont(kBodyPt);
    double width = 0;
    for (const Column& c : columns) width += c.width;

    fill(QRectF(x, y, width, kHeadHeight), kHeadFill);
    double cx = x;
    for (const Column& c : columns) {
      const Qt::Alignment a = c.align == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
      text(QRectF(cx + kCellPad, y, c.width - 2 * kCellPad, kHeadHeight), a, c.header, headFont, kInk);
      cx += c.width;
    }
    hrule(y, x, x + width, 0.9, kInk);
    y += kHeadHeight;
    hrule(y, x, x + width, 0.5, kInk);

    // Decimal columns line their points up: the widest whole part and the
    // widest fraction make one block, centred in the column.
    std::vector<double> anchor(columns.size(), 0.0);
    cx = x;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].align == Align::Decimal) {
        double whole = 0, fraction = 0;
        for (const Row& row : rows) {
          const QString& s = row.cells[i].text;
          if (!isDecimal(s)) continue;
          const qsizetype point = pointIndex(s);
          whole = std::max(whole, textWidth(s.left(point), bodyFont));
          fraction = std::max(fraction, textWidth(s.mid(point), bodyFont));
        }
        const double block = std::min(whole + fraction, columns[i].width - 2 * kCellPad);
        anchor[i] = cx + (columns[i].width - block) / 2 + std::min(whole, block);
      }
      cx += columns[i].width;
    }

    for (std::size_t r = 0; r < rows.size(); ++r) {
      const Row& row = rows[r];
      if (row.fill.isValid()) fill(QRectF(x, y, width, kRowHeight), row.fill);
      cx = x;
      for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        const Cell& cell = row.cells[i];
        const QRectF inner(cx + kCellPad, y, c.width - 2 * kCellPad, kRowHeight);
        if (c.align == Align::Decimal && isDecimal(cell.text)) {
          const qsizetype point = pointIndex(cell.text);
          const double a = std::clamp(anchor[i], inner.left(), inner.right());
          text(QRectF(inner.left(), y, a - inner.left(), kRowHeight), Qt::AlignRight, cell.text.left(point),
               bodyFont, cell.color);
          text(QRectF(a, y, inner.right() - a, kRowHeight), Qt::AlignLeft, cell.text.mid(point), bodyFont,
               cell.color);
        } else {
          const Qt::Alignment a = c.align == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
          text(inner, a, cell.text, bodyFont, cell.color);
        }
        cx += c.width;
      }
      y += kRowHeight;
      if (r + 1 < rows.size()) hrule(y, x, x + width, 0.25, kHairline);
    }
    hrule(y, x, x + width, 0.9, kInk);
    return y;
  }

 private:
  static bool isDecimal(const QString& s) {
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+(\\.\\d*)?$"));
    return number.match(s).hasMatch();
  }
  static qsizetype pointIndex(const QString& s) {
    const qsizetype point = s.indexOf(QLatin1Char('.'));
    return point < 0 ? s.size() : point;
  }

  QPainter& p_;
};

// ---------------------------------------------------------------- sections

// The title block. A sheet whose inputs were edited after its run carries,
// in place of the subtitle, a red band saying so.
double drawTitle(Page& page, const QDate& date, bool inputsEdited, int pages, const SheetInfo* info) {
  double y = kTop;
  page.text(QRectF(kLeft, y, kContentWidth, 10), Qt::AlignLeft, u8(sheet_text::kTitle),
            sheetFont(19, true), kAccent);
  const QString day = date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : kDash;
  page.text(QRectF(kLeft, y + 0.8, kContentWidth, 5), Qt::AlignRight, u8(sheet_text::kDateLabel) + day,
            sheetFont(9.5), kInk);
  page.text(QRectF(kLeft, y + 5.2, kContentWidth, 5), Qt::AlignRight, pageMark(1, pages), sheetFont(8),
            kMuted);
  y += 10.0;
  if (inputsEdited) {
    const QRectF band(kLeft, y - 0.3, kContentWidth * 0.72, 5.6);
    page.fill(band, kFailFill);
    page.frame(band, 0.8, kFailInk);
    page.text(band, Qt::AlignHCenter, QString::fromUtf8(kInputsEditedWarning), sheetFont(10, true), kFailInk);
  } else {
    page.text(QRectF(kLeft, y, kContentWidth, 5), Qt::AlignLeft,
              u8(sheet_text::kSubtitle), sheetFont(9), kMuted);
  }
  y += 6.0;
  page.hrule(y, kLeft, kRight, 1.6, kAccent);
  page.hrule(y + 0.9, kLeft, kRight, 0.4, kAccent);
  if (info != nullptr && !info->empty()) {
    QStringList parts;
    const auto add = [&](const char* label, const QString& value) {
      if (!value.trimmed().isEmpty()) parts << QString::fromUtf8(label) + value.simplified();
    };
    add(sheet_text::kProjectLabel, info->project);
    add(sheet_text::kPartLabel, info->partNumber);
    add(sheet_text::kDesignerLabel, info->designer);
    add(sheet_text::kFileLabel, info->fileName);
    const double top = y + 2.0;
    page.text(QRectF(kLeft, top, kContentWidth, 4.4), Qt::AlignLeft, parts.join(QStringLiteral("    ")),
              sheetFont(8.5, true), kInk);
    if (!info->notes.trimmed().isEmpty()) {
      // One line here; when the notes are longer, where they stand in full.
      const QFont font = sheetFont(8);
      const QString line = u8(sheet_text::kNotesLabel) + info->notes.simplified();
      QString shown = line;
      if (page.textWidth(line, font) > kContentWidth) {
        const QString more = u8(sheet_text::kNotesContinued).arg(pages);
        const double room = (kContentWidth - page.textWidth(more, font)) * kUnitsPerMm;
        shown = page.metrics(font).elidedText(line, Qt::ElideRight, room) + more;
      }
      page.text(QRectF(kLeft, top + 4.2, kContentWidth, 4.2), Qt::AlignLeft, shown, font, kMuted);
    }
    return top + 8.6;
  }
  return y + 4.0;
}

std::vector<Row> inputRows(const std::vector<sheet_text::InputRow>& inputs) {
  std::vector<Row> rows;
  for (const sheet_text::InputRow& in : inputs)
    rows.push_back(Row{{Cell{u8(in.symbol)}, Cell{u8(in.meaning)}, Cell{u8(in.value)}, Cell{u8(in.unit), kMuted}},
                       QColor()});
  return rows;
}

double drawInputs(Page& page, const Fields& fields, double y) {
  y = page.heading(kLeft, y, kContentWidth, u8(sheet_text::kInputsHeading));
  const double gap = 6.0;
  const double half = (kContentWidth - gap) / 2;
  const std::vector<Column> columns{
      {u8(sheet_text::kInputColumns[0]), 12.0, Align::Left},
      {u8(sheet_text::kInputColumns[1]), half - 12.0 - 19.0 - 12.0, Align::Left},
      {u8(sheet_text::kInputColumns[2]), 19.0, Align::Decimal},
      {u8(sheet_text::kInputColumns[3]), 12.0, Align::Left},
  };
  const QFont caption = sheetFont(8.5, true);
  page.text(QRectF(kLeft, y, half, 5), Qt::AlignLeft, u8(sheet_text::kGeometryCaption), caption, kMuted);
  page.text(QRectF(kLeft + half + gap, y, half, 5), Qt::AlignLeft, u8(sheet_text::kClutchCaption), caption,
            kMuted);
  y += 5.5;
  const sheet_text::Contents contents = sheet_text::contents(fields);
  const double left = page.table(kLeft, y, columns, inputRows(contents.geometry));
  const double right = page.table(kLeft + half + gap, y, columns, inputRows(contents.clutch));
  return std::max(left, right) + 5.0;
}

double drawChart(Page& page, const DisplayList& chart, double y) {
  y = page.heading(kLeft, y, kContentWidth, u8(sheet_text::kChartHeading));
  const double height = kContentWidth * kChartNaturalHeight / kChartNaturalWidth;
  const QRectF box(kLeft, y, kContentWidth, height);
  const bool empty = chart.visibleFrom() >= chart.size();
  if (empty) {
    page.fill(box, QColor(0xFA, 0xFA, 0xFA));
    page.text(QRectF(box.x(), box.center().y() - 6, box.width(), 7), Qt::AlignHCenter,
              u8(sheet_text::kNoChart), sheetFont(13), kUncheckedInk);
    page.text(QRectF(box.x(), box.center().y() + 1.5, box.width(), 5), Qt::AlignHCenter,
              u8(sheet_text::noChartHint()), sheetFont(9), kUncheckedInk);
  } else {
    QPainter& p = page.painter();
    p.save();
    ChartPainter(ChartStyle::smooth()).paint(p, QRectF(mm(box.x()), mm(box.y()), mm(box.width()), mm(box.height())), chart);
    p.restore();
  }
  page.frame(box, 0.6, kInk);
  y += height + 1.2;
  page.text(QRectF(kLeft, y, kContentWidth, 4.8), Qt::AlignHCenter,
            u8(sheet_text::kChartCaption),
            sheetFont(8), kMuted);
  return y + 6.0;
}

double drawPoints(Page& page, const Fields& fields, double x, double y, double width) {
  y = page.heading(x, y, width, u8(sheet_text::kPointsHeading));
  const std::vector<Column> columns{
      {u8(sheet_text::kPointColumns[0]), 7.0, Align::Left},
      {u8(sheet_text::kPointColumns[1]), width - 7.0 - 19.0 - 17.0, Align::Left},
      {u8(sheet_text::kPointColumns[2]), 19.0, Align::Decimal},
      {u8(sheet_text::kPointColumns[3]), 17.0, Align::Decimal},
  };
  std::vector<Row> rows;
  for (const sheet_text::PointRow& point : sheet_text::contents(fields).points) {
    rows.push_back(Row{{Cell{u8(point.symbol), kAccent}, Cell{u8(point.role)}, Cell{u8(point.load)},
                        Cell{u8(point.deflection)}},
                       QColor()});
  }
  y = page.table(x, y, columns, rows);

  // A key to the symbols of this page.
  const QFont note = sheetFont(7.8);
  y += 2.5;
  for (const char* line : sheet_text::kPointNotes) {
    page.text(QRectF(x, y, width, 4.2), Qt::AlignLeft, u8(line), note, kMuted);
    y += 4.2;
  }
  y += 1.5;
  page.text(QRectF(x, y, width, 4.2), Qt::AlignLeft, kTick + u8(sheet_text::kLegendPassed), note, kPassInk);
  page.text(QRectF(x + 14, y, width - 14, 4.2), Qt::AlignLeft, kCross + u8(sheet_text::kLegendFailed), note, kFailInk);
  page.text(QRectF(x + 31, y, width - 31, 4.2), Qt::AlignLeft, kDash + QStringLiteral(" ") + kUnchecked, note,
            kUncheckedInk);
  return y + 4.2;
}

double drawRules(Page& page, const Fields& fields, double x, double y, double width) {
  y = page.heading(x, y, width, u8(sheet_text::kRulesHeading));
  const std::vector<Column> columns{
      {u8(sheet_text::kRuleColumns[0]), 10.0, Align::Center},
      {u8(sheet_text::kRuleColumns[1]), width - 10.0 - 27.0 - 10.0 - 16.5, Align::Left},
      {u8(sheet_text::kRuleColumns[2]), 27.0, Align::Left},
      {u8(sheet_text::kRuleColumns[3]), 10.0, Align::Center},
      {u8(analysis_sheet::kBasisColumn), 16.5, Align::Left},
  };
  const sheet_text::Contents contents = sheet_text::contents(fields);
  std::vector<Row> rows;
  const QString basis = u8(sheet_text::kRuleBasis);
  for (const sheet_text::RuleRow& rule : contents.rules) {
    const QString number = QString::number(rule.number), caption = u8(rule.caption), shown = u8(rule.shown),
                  mark = u8(rule.mark);
    switch (rule.verdict) {
      case sheet_text::Verdict::Passed:
        rows.push_back(Row{{Cell{number}, Cell{caption}, Cell{shown}, Cell{mark, kPassInk}, Cell{basis, kMuted}}, QColor()});
        break;
      case sheet_text::Verdict::Failed:
        rows.push_back(Row{{Cell{number, kFailInk}, Cell{caption, kFailInk}, Cell{shown, kFailInk},
                            Cell{mark, kFailInk}, Cell{basis, kFailInk}},
                           kFailFill});
        break;
      case sheet_text::Verdict::Unchecked:
        rows.push_back(Row{{Cell{number, kUncheckedInk}, Cell{caption, kUncheckedInk}, Cell{shown, kUncheckedInk},
                            Cell{mark, kUncheckedInk}, Cell{basis, kUncheckedInk}},
                           QColor()});
        break;
      case sheet_text::Verdict::Unknown:
        rows.push_back(Row{{Cell{number}, Cell{caption}, Cell{shown}, Cell{mark, kMuted}, Cell{basis, kMuted}}, QColor()});
        break;
    }
  }
  y = page.table(x, y, columns, rows);

  const QString summary = u8(contents.summary);
  const int failed = contents.failed, passed = contents.passed;
  const QColor color = failed > 0 ? kFailInk : passed == kRuleCount ? kPassInk : kMuted;
  y += 1.8;
  page.text(QRectF(x, y, width, 5.2), Qt::AlignLeft, summary, sheetFont(9, true), color);
  return y + 5.2;
}

void drawFooter(Page& page) {
  const double y = kPageHeight - kBottom - 5.0;
  page.hrule(y, kLeft, kRight, 0.4, kMuted);
  const QFont font = sheetFont(7.5);
  page.text(QRectF(kLeft, y + 0.8, kContentWidth, 4.2), Qt::AlignLeft,
            u8(sheet_text::kFooterLeft), font, kMuted);
  page.text(QRectF(kLeft, y + 0.8, kContentWidth, 4.2), Qt::AlignRight,
            u8(sheet_text::kFooterRight), font, kMuted);
}

bool paintSheet(QPdfWriter& writer, const Fields& fields, const DisplayList& chart, const QDate& date,
                const AnalysisInput* analysis, bool inputsEdited, const SheetInfo* info,
                const ComparisonPage* comparison) {
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  const bool painted =
      paintDesignSheet(painter, writer, fields, chart, date, analysis, inputsEdited, info, comparison);
  return painter.end() && painted;
}

}  // namespace

bool paintDesignSheet(QPainter& painter, QPagedPaintDevice& device, const Fields& fields, const DisplayList& chart,
                      const QDate& date, const AnalysisInput* analysis, bool inputsEdited, const SheetInfo* info,
                      const ComparisonPage* comparison) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  Page page(painter);

  // The first page, the analysis and its production yield, the comparison, and last the release page
  // of a sheet with its design's information (the window's and the command
  // line's always have it).
  const bool release = info != nullptr;
  // The analysis comes with its page of the production yield.
  const int pages = 1 + (analysis != nullptr ? 2 : 0) + (comparison != nullptr ? 1 : 0) + (release ? 1 : 0);
  paintRunningHead(painter, info);
  double y = drawTitle(page, date, inputsEdited, pages, info);
  y = drawInputs(page, fields, y);
  y = drawChart(page, chart, y);
  const double gap = 5.0;
  const double pointsWidth = 67.0;
  drawPoints(page, fields, kLeft, y, pointsWidth);
  drawRules(page, fields, kLeft + pointsWidth + gap, y, kContentWidth - pointsWidth - gap);
  drawFooter(page);
  painter.restore();
  int number = 1;
  if (analysis != nullptr) {
    if (!device.newPage()) return false;
    paintAnalysisPage(painter, *analysis, date, ++number, pages, inputsEdited);
    paintRunningHead(painter, info);
    if (!device.newPage()) return false;
    paintYieldPage(painter, *analysis, date, ++number, pages, inputsEdited);
    paintRunningHead(painter, info);
  }
  if (comparison != nullptr) {
    if (!device.newPage()) return false;
    paintComparisonPage(painter, *comparison, date, ++number, pages, inputsEdited);
    paintRunningHead(painter, info);
  }
  if (release) {
    if (!device.newPage()) return false;
    paintReleasePage(painter, info, date, ++number, pages, inputsEdited);
    paintRunningHead(painter, info);
  }
  return true;
}

std::optional<QByteArray> designSheetPdf(const Fields& fields, const DisplayList& chart, const QDate& date,
                                         const AnalysisInput* analysis, bool inputsEdited, const SheetInfo* info,
                                         const ComparisonPage* comparison) {
  QByteArray bytes;
  bool painted = false;
  {
    QBuffer out(&bytes);
    if (!out.open(QIODevice::WriteOnly)) return std::nullopt;
    QPdfWriter writer(&out);
    writer.setTitle(u8(sheet_text::kTitle));
    writer.setCreator(QStringLiteral("diaspring"));
    writer.setResolution(kResolution);
    painted = writer.setPageLayout(
                  QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0))) &&
              paintSheet(writer, fields, chart, date, analysis, inputsEdited, info, comparison);
  }  // the writer finishes the file as it goes out of scope
  if (!painted || bytes.isEmpty()) return std::nullopt;
  return bytes;
}

std::optional<SaveFailure> saveDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path,
                                           const QDate& date, const AnalysisInput* analysis, bool inputsEdited,
                                           const SheetInfo* info, const ComparisonPage* comparison) {
  static const Unmade kNoPage{"the PDF page could not be made", "生成 PDF 页面失败"};
  return saveFile(path, designSheetPdf(fields, chart, date, analysis, inputsEdited, info, comparison), kNoPage);
}

bool writeDesignSheet(const Fields& fields, const DisplayList& chart, const QString& path, QString* error,
                      const QDate& date, const AnalysisInput* analysis, bool inputsEdited, const SheetInfo* info,
                      const ComparisonPage* comparison) {
  return reportedInChinese(saveDesignSheet(fields, chart, path, date, analysis, inputsEdited, info, comparison),
                           error);
}

}  // namespace diaspring
