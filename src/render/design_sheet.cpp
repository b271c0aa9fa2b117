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

#include "check/constraint_check.h"
#include "model/points.h"
#include "render/analysis_page.h"
#include "render/comparison_page.h"
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

const QString kDash = QStringLiteral("—");
const QString kTick = QStringLiteral("✔");
const QString kCross = QStringLiteral("✘");
const QString kUnchecked = QStringLiteral("未验证");

QFont sheetFont(double points, bool bold = false) {
  QFont font = textFont();
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QString boxText(const Fields& fields, TextBox box) { return QString::fromStdString(fields.text(box)); }
// A box's text as a table shows it: a dash for an empty box.
QString cellText(const Fields& fields, TextBox box) {
  const QString text = boxText(fields, box).trimmed();
  return text.isEmpty() ? kDash : text;
}

// ---------------------------------------------------------------- contents

struct InputRow {
  const char* symbol;
  TextBox box;
  const char* meaning;
  const char* unit;  // empty for ratios
};

constexpr std::array<InputRow, 8> kGeometryInputs{{
    {"h", TextBox::Text4, "膜片厚度", "mm"},
    {"H/h", TextBox::Text6, "锥高与厚度之比", ""},
    {"H", TextBox::Text5, "内截锥高度（计算值）", "mm"},
    {"R", TextBox::Text7, "碟簧部分外半径", "mm"},
    {"R/r", TextBox::Text9, "外、内半径之比", ""},
    {"r", TextBox::Text8, "碟簧部分内半径（计算值）", "mm"},
    {"Δλ", TextBox::Text10, "摩擦片磨损余量", "mm"},
    {"λ1f", TextBox::Text11, "分离行程", "mm"},
}};

constexpr std::array<InputRow, 7> kClutchInputs{{
    {"E", TextBox::Text31, "弹性模量", "MPa"},
    {"μ", TextBox::Text32, "泊松比", ""},
    {"F", TextBox::Text33, "摩擦片工作压力", "N"},
    {"D", TextBox::Text34, "摩擦片外径", "mm"},
    {"d", TextBox::Text35, "摩擦片内径", "mm"},
    {"r0", TextBox::Text36, "膜片弹簧小端内半径", "mm"},
    {"rf", TextBox::Text37, "分离轴承作用半径", "mm"},
}};

// How a rule's result box reads.
enum class Verdict { Passed, Failed, Unchecked, Unknown };

Verdict verdictOf(const QString& shown) {
  const QString text = shown.trimmed();
  if (text.isEmpty()) return Verdict::Unchecked;
  if (text.contains(QString::fromUtf8(kFailed))) return Verdict::Failed;
  if (text.contains(QString::fromUtf8(kPassed))) return Verdict::Passed;
  return Verdict::Unknown;  // something typed into the box by hand
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
  page.text(QRectF(kLeft, y, kContentWidth, 10), Qt::AlignLeft, QStringLiteral("膜片弹簧设计报告"),
            sheetFont(19, true), kAccent);
  const QString day = date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : kDash;
  page.text(QRectF(kLeft, y + 0.8, kContentWidth, 5), Qt::AlignRight, QStringLiteral("日期：") + day,
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
              QStringLiteral("离合器膜片弹簧 · 设计输入、载荷—变形特性、特征点与约束条件校核"), sheetFont(9), kMuted);
  }
  y += 6.0;
  page.hrule(y, kLeft, kRight, 1.6, kAccent);
  page.hrule(y + 0.9, kLeft, kRight, 0.4, kAccent);
  if (info != nullptr && !info->empty()) {
    QStringList parts;
    const auto add = [&](const char* label, const QString& value) {
      if (!value.trimmed().isEmpty()) parts << QString::fromUtf8(label) + value.simplified();
    };
    add("项目：", info->project);
    add("零件号/图号：", info->partNumber);
    add("设计者：", info->designer);
    add("文件：", info->fileName);
    const double top = y + 2.0;
    page.text(QRectF(kLeft, top, kContentWidth, 4.4), Qt::AlignLeft, parts.join(QStringLiteral("    ")),
              sheetFont(8.5, true), kInk);
    if (!info->notes.trimmed().isEmpty())
      page.text(QRectF(kLeft, top + 4.2, kContentWidth, 4.2), Qt::AlignLeft,
                QStringLiteral("备注：") + info->notes.simplified(), sheetFont(8), kMuted);
    return top + 8.6;
  }
  return y + 4.0;
}

std::vector<Row> inputRows(const Fields& fields, const auto& inputs) {
  std::vector<Row> rows;
  for (const InputRow& in : inputs) {
    const QString value = cellText(fields, in.box);
    const QString unit = *in.unit ? QString::fromUtf8(in.unit) : kDash;
    rows.push_back(Row{{Cell{QString::fromUtf8(in.symbol)}, Cell{QString::fromUtf8(in.meaning)}, Cell{value},
                        Cell{unit, kMuted}},
                       QColor()});
  }
  return rows;
}

double drawInputs(Page& page, const Fields& fields, double y) {
  y = page.heading(kLeft, y, kContentWidth, QStringLiteral("一、设计输入"));
  const double gap = 6.0;
  const double half = (kContentWidth - gap) / 2;
  const std::vector<Column> columns{
      {QStringLiteral("符号"), 12.0, Align::Left},
      {QStringLiteral("含义"), half - 12.0 - 19.0 - 12.0, Align::Left},
      {QStringLiteral("数值"), 19.0, Align::Decimal},
      {QStringLiteral("单位"), 12.0, Align::Left},
  };
  const QFont caption = sheetFont(8.5, true);
  page.text(QRectF(kLeft, y, half, 5), Qt::AlignLeft, QStringLiteral("弹簧几何与行程"), caption, kMuted);
  page.text(QRectF(kLeft + half + gap, y, half, 5), Qt::AlignLeft, QStringLiteral("材料与离合器参数"), caption,
            kMuted);
  y += 5.5;
  const double left = page.table(kLeft, y, columns, inputRows(fields, kGeometryInputs));
  const double right = page.table(kLeft + half + gap, y, columns, inputRows(fields, kClutchInputs));
  return std::max(left, right) + 5.0;
}

double drawChart(Page& page, const DisplayList& chart, double y) {
  y = page.heading(kLeft, y, kContentWidth, QStringLiteral("二、载荷—变形特性曲线"));
  const double height = kContentWidth * kChartNaturalHeight / kChartNaturalWidth;
  const QRectF box(kLeft, y, kContentWidth, height);
  const bool empty = chart.visibleFrom() >= chart.size();
  if (empty) {
    page.fill(box, QColor(0xFA, 0xFA, 0xFA));
    page.text(QRectF(box.x(), box.center().y() - 6, box.width(), 7), Qt::AlignHCenter,
              QStringLiteral("尚未绘制特性曲线"), sheetFont(13), kUncheckedInk);
    page.text(QRectF(box.x(), box.center().y() + 1.5, box.width(), 5), Qt::AlignHCenter,
              QStringLiteral("请先按“%1”按钮绘制曲线，再导出设计报告。")
                  .arg(QString::fromUtf8(commandCaption(Command::Command1).data(),
                                         static_cast<qsizetype>(commandCaption(Command::Command1).size()))),
              sheetFont(9), kUncheckedInk);
  } else {
    QPainter& p = page.painter();
    p.save();
    ChartPainter(ChartStyle::smooth()).paint(p, QRectF(mm(box.x()), mm(box.y()), mm(box.width()), mm(box.height())), chart);
    p.restore();
  }
  page.frame(box, 0.6, kInk);
  y += height + 1.2;
  page.text(QRectF(kLeft, y, kContentWidth, 4.8), Qt::AlignHCenter,
            QStringLiteral("图 1  大端载荷 F1 (N) 随大端变形 λ1 (mm) 的变化（红线），"
                           "及特征点 M、N、H、B、A、C"),
            sheetFont(8), kMuted);
  return y + 6.0;
}

double drawPoints(Page& page, const Fields& fields, double x, double y, double width) {
  y = page.heading(x, y, width, QStringLiteral("三、特征点"));
  const std::vector<Column> columns{
      {QStringLiteral("点"), 7.0, Align::Left},
      {QStringLiteral("名称"), width - 7.0 - 19.0 - 17.0, Align::Left},
      {QStringLiteral("F1 (N)"), 19.0, Align::Decimal},
      {QStringLiteral("λ1 (mm)"), 17.0, Align::Decimal},
  };
  std::vector<Row> rows;
  for (const PointBoxes& point : characteristicPoints()) {
    rows.push_back(Row{{Cell{QString::fromUtf8(point.symbol), kAccent}, Cell{QString::fromUtf8(point.roleZh)},
                        Cell{cellText(fields, point.load)}, Cell{cellText(fields, point.deflection)}},
                       QColor()});
  }
  y = page.table(x, y, columns, rows);

  // A key to the symbols of this page.
  const QFont note = sheetFont(7.8);
  const QStringList lines{
      QStringLiteral("F1：膜片弹簧大端载荷；λ1：大端变形。"),
      QStringLiteral("B 点载荷应与工作压力 F 相符，A 点为摩擦片"),
      QStringLiteral("磨损 Δλ 后的工作点，C 点为分离行程终点。"),
  };
  y += 2.5;
  for (const QString& line : lines) {
    page.text(QRectF(x, y, width, 4.2), Qt::AlignLeft, line, note, kMuted);
    y += 4.2;
  }
  y += 1.5;
  page.text(QRectF(x, y, width, 4.2), Qt::AlignLeft, kTick + QStringLiteral(" 合格"), note, kPassInk);
  page.text(QRectF(x + 14, y, width - 14, 4.2), Qt::AlignLeft, kCross + QStringLiteral(" 不合格"), note, kFailInk);
  page.text(QRectF(x + 31, y, width - 31, 4.2), Qt::AlignLeft, kDash + QStringLiteral(" ") + kUnchecked, note,
            kUncheckedInk);
  return y + 4.2;
}

double drawRules(Page& page, const Fields& fields, double x, double y, double width) {
  y = page.heading(x, y, width, QStringLiteral("四、约束条件校核"));
  const std::vector<Column> columns{
      {QStringLiteral("序号"), 10.0, Align::Center},
      {QStringLiteral("约束条件（推荐范围）"), width - 10.0 - 31.0 - 11.0, Align::Left},
      {QStringLiteral("验证结果"), 31.0, Align::Left},
      {QStringLiteral("判定"), 11.0, Align::Center},
  };
  int passed = 0, failed = 0, unchecked = 0, unknown = 0;
  std::vector<Row> rows;
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleInfo& rule = ruleInfo(i);
    const QString caption = QString::fromUtf8(rule.caption).simplified();
    const QString shown = boxText(fields, rule.box).trimmed();
    const QString number = QString::number(i + 1);
    switch (verdictOf(shown)) {
      case Verdict::Passed:
        ++passed;
        rows.push_back(Row{{Cell{number}, Cell{caption}, Cell{shown}, Cell{kTick, kPassInk}}, QColor()});
        break;
      case Verdict::Failed:
        ++failed;
        rows.push_back(Row{{Cell{number, kFailInk}, Cell{caption, kFailInk}, Cell{shown, kFailInk},
                            Cell{kCross, kFailInk}},
                           kFailFill});
        break;
      case Verdict::Unchecked:
        ++unchecked;
        rows.push_back(Row{{Cell{number, kUncheckedInk}, Cell{caption, kUncheckedInk},
                            Cell{kUnchecked, kUncheckedInk}, Cell{kDash, kUncheckedInk}},
                           QColor()});
        break;
      case Verdict::Unknown:
        ++unknown;
        rows.push_back(Row{{Cell{number}, Cell{caption}, Cell{shown}, Cell{QStringLiteral("?"), kMuted}}, QColor()});
        break;
    }
  }
  y = page.table(x, y, columns, rows);

  QString summary = QStringLiteral("%1 项约束中 %2 项合格").arg(kRuleCount).arg(passed);
  if (failed > 0) summary += QStringLiteral("，%1 项不合格").arg(failed);
  if (unchecked > 0) summary += QStringLiteral("，%1 项未验证").arg(unchecked);
  if (unknown > 0) summary += QStringLiteral("，%1 项结果无法识别").arg(unknown);
  summary += passed == kRuleCount ? QStringLiteral("，满足全部约束条件。") : QStringLiteral("。");
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
            QStringLiteral("diaspring · 离合器膜片弹簧设计计算"), font, kMuted);
  page.text(QRectF(kLeft, y + 0.8, kContentWidth, 4.2), Qt::AlignRight,
            QStringLiteral("本页汇总设计输入、特性曲线、特征点及约束条件校核结果，供设计评审与存档。"), font, kMuted);
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

  const int pages = 1 + (analysis != nullptr ? 1 : 0) + (comparison != nullptr ? 1 : 0);
  double y = drawTitle(page, date, inputsEdited, pages, info);
  y = drawInputs(page, fields, y);
  y = drawChart(page, chart, y);
  const double gap = 5.0;
  const double pointsWidth = 67.0;
  drawPoints(page, fields, kLeft, y, pointsWidth);
  drawRules(page, fields, kLeft + pointsWidth + gap, y, kContentWidth - pointsWidth - gap);
  drawFooter(page);
  painter.restore();
  if (analysis != nullptr) {
    if (!device.newPage()) return false;
    paintAnalysisPage(painter, *analysis, date, 2, pages, inputsEdited);
  }
  if (comparison != nullptr) {
    if (!device.newPage()) return false;
    paintComparisonPage(painter, *comparison, date, pages, pages, inputsEdited);
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
    writer.setTitle(QStringLiteral("膜片弹簧设计报告"));
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
