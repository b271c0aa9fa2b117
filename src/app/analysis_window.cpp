#include "analysis_window.h"

#include <cmath>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "chart_actions.h"
#include "compare/production_yield.h"
#include "form/extra_inputs.h"
#include "render/chart_export.h"
#include "qt_text.h"
#include "render/chart_painter.h"

namespace diaspring::app {

// ------------------------------------------------------------------ chart

AnalysisChart::AnalysisChart(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setMinimumSize(420, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  menu_ = new QMenu(this);
  menu_->addAction(kSaveChartCaption, this, [this] { emit saveRequested(); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { menu_->popup(mapToGlobal(at)); });
}

void AnalysisChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  ChartPainter(ChartStyle::smooth()).paint(p, QRectF(rect()), list_);
  if (stale_) p.fillRect(rect(), QColor(255, 255, 255, 160));
}

void AnalysisChart::setStale(bool stale) {
  if (stale_ == stale) return;
  stale_ = stale;
  update();
}

std::optional<QPointF> AnalysisChart::dataAt(const QPointF& at) const {
  std::optional<DrawOp> scale;
  for (const DrawOp& op : list_.packed())
    if (op.kind == DrawOp::Kind::Scale) scale = op;
  if (!scale) return std::nullopt;
  const ChartPainter painter;
  const QRectF target(rect());
  const QPointF p0 = painter.map(target, scale, 0, 0), p1 = painter.map(target, scale, 1, 1);
  if (p1.x() == p0.x() || p1.y() == p0.y()) return std::nullopt;
  const QPointF point((at.x() - p0.x()) / (p1.x() - p0.x()), (at.y() - p0.y()) / (p1.y() - p0.y()));
  if (point.x() < window_.x0 || point.x() > window_.x1 || point.y() < window_.y0 || point.y() > window_.y1)
    return std::nullopt;
  return point;
}

void AnalysisChart::mouseMoveEvent(QMouseEvent* event) { emit hovered(dataAt(event->position())); }

void AnalysisChart::leaveEvent(QEvent*) { emit hovered(std::nullopt); }

// ----------------------------------------------------------------- window

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("强度与分离特性"));
  setObjectName(QStringLiteral("AnalysisWindow"));
  auto* layout = new QVBoxLayout(this);

  // The material: a steel of the library, or a name of the user's own.
  auto* materialRow = new QHBoxLayout;
  materialRow->addWidget(new QLabel(QStringLiteral("材料"), this));
  material_ = new QComboBox(this);
  material_->setObjectName(QStringLiteral("material"));
  material_->setEditable(true);
  material_->setInsertPolicy(QComboBox::NoInsert);
  material_->addItem(QString());
  for (const Material& m : materials()) material_->addItem(qs(m.name));
  material_->setToolTip(qs(kMaterialBoxToolTip));
  material_->setMinimumWidth(140);
  materialRow->addWidget(material_);
  materialNote_ = new QLabel(this);
  materialNote_->setObjectName(QStringLiteral("MaterialNote"));
  materialNote_->setWordWrap(true);
  // A long note wraps or is cut; it never widens the window.
  materialNote_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  materialRow->addWidget(materialNote_, 1);
  layout->addLayout(materialRow);
  const auto choose = [this] {
    emit materialChosen(material_->currentText().trimmed().toStdString());
    refresh();
  };
  connect(material_, &QComboBox::activated, this, choose);
  connect(material_->lineEdit(), &QLineEdit::editingFinished, this, choose);

  auto* inputs = new QGridLayout;
  // Three to a row; the permissible stresses and each fatigue line start a
  // row of their own.
  int row = 0, col = 0;
  for (const ExtraInput& extra : extraInputs()) {
    const std::string_view name = extra.name;
    if (col == 9 || (col > 0 && (name == "sigmaAllow" || name == "sigmaO0" || name == "sigmaO0At5e5" ||
                                 name == "sigmaO0At1e5"))) {
      ++row;
      col = 0;
    }
    QString caption = qs(extra.symbol) + QStringLiteral("  ") + qs(extra.meaningZh);
    auto* label = new QLabel(caption, this);
    if (extra.example) {
      label->setText(caption + QStringLiteral("（示例值）"));
      label->setStyleSheet(QStringLiteral("color: #B35900"));
      label->setToolTip(QStringLiteral("示例值：请以所用材料的疲劳数据替换"));
    }
    if (extra.optional) label->setToolTip(QStringLiteral("留空：不给出这条疲劳线；给出时为用户数据"));
    auto* edit = new QLineEdit(qs(extra.defaultText), this);
    edit->setObjectName(qs(extra.name));
    edit->setMaximumWidth(90);
    connect(edit, &QLineEdit::editingFinished, this, [this] { refresh(); });
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
      emit inputEdited(edit->objectName().toStdString(), text.toStdString());
    });
    inputs_.push_back(edit);
    inputs->addWidget(label, row, col);
    inputs->addWidget(edit, row, col + 1);
    inputs->addWidget(new QLabel(std::string_view(extra.unit) == "-" ? QString() : qs(extra.unit), this), row, col + 2);
    col += 3;
  }
  layout->addLayout(inputs);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("AnalysisStatus"));
  layout->addWidget(status_);

  auto* charts = new QHBoxLayout;
  stressChart_ = new AnalysisChart(this);
  stressChart_->setObjectName(QStringLiteral("StressChart"));
  releaseChart_ = new AnalysisChart(this);
  releaseChart_->setObjectName(QStringLiteral("ReleaseChart"));
  charts->addWidget(stressChart_);
  charts->addWidget(releaseChart_);
  layout->addLayout(charts, 1);
  for (AnalysisChart* chart : {stressChart_, releaseChart_}) {
    connect(chart, &AnalysisChart::hovered, this, [this, chart](std::optional<QPointF> at) { showReadout(chart, at); });
  }
  connect(stressChart_, &AnalysisChart::saveRequested, this,
          [this] { saveChart(*stressChart_, QStringLiteral("膜片弹簧应力曲线.png")); });
  connect(releaseChart_, &AnalysisChart::saveRequested, this,
          [this] { saveChart(*releaseChart_, QStringLiteral("膜片弹簧分离特性.png")); });

  readout_ = new QLabel(QStringLiteral("将鼠标移到图上查看数值"), this);
  readout_->setObjectName(QStringLiteral("Readout"));
  layout->addWidget(readout_);

  const auto columns = pointColumns();
  table_ = new QTableWidget(static_cast<int>(kPointSymbols.size()), static_cast<int>(columns.size()), this);
  QStringList headers, rows;
  for (const PointColumn& c : columns) headers << qs(c.symbol) + QLatin1Char('\n') + qs(c.unit);
  for (const char* symbol : kPointSymbols) rows << qs(symbol);
  table_->setHorizontalHeaderLabels(headers);
  table_->setVerticalHeaderLabels(rows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() + 6 * 24 + 4);
  table_->verticalHeader()->setDefaultSectionSize(24);
  layout->addWidget(table_);

  checks_ = new QLabel(this);
  checks_->setObjectName(QStringLiteral("Checks"));
  checks_->setTextFormat(Qt::RichText);
  layout->addWidget(checks_);
  yield_ = new QLabel(this);
  yield_->setObjectName(QStringLiteral("ProductionYield"));
  yield_->setTextFormat(Qt::RichText);
  yield_->setWordWrap(true);
  layout->addWidget(yield_);
  resize(1080, 900);
  refresh();
}

AnalysisWindow::~AnalysisWindow() {
  for (QLineEdit* edit : inputs_) edit->disconnect(this);
  material_->lineEdit()->disconnect(this);
  material_->disconnect(this);
}

QLineEdit* AnalysisWindow::input(const char* name) const {
  for (QLineEdit* edit : inputs_)
    if (edit->objectName() == QLatin1String(name)) return edit;
  return nullptr;
}

void AnalysisWindow::setCurveRun(const std::optional<CurveRun>& run) {
  run_ = run;
  stale_ = false;  // a new run is fresh; no run shows nothing stale
  refresh();
}

void AnalysisWindow::setStale(bool stale) {
  if (!run_) stale = false;
  if (stale_ == stale) return;
  stale_ = stale;
  refresh();
}

DesignInputs AnalysisWindow::extras() const {
  DesignInputs inputs;
  for (QLineEdit* edit : inputs_) inputs.setExtra(edit->objectName().toStdString(), edit->text().toStdString());
  const QString material = material_->currentText().trimmed();
  if (!material.isEmpty()) inputs.setExtra(kMaterialKey, material.toStdString());
  return inputs;
}

void AnalysisWindow::setExtras(const DesignInputs& inputs) {
  for (QLineEdit* edit : inputs_) {
    const ExtraInput* extra = extraInputOfName(edit->objectName().toStdString());
    if (extra != nullptr) edit->setText(qs(extraText(inputs, *extra)));
  }
  {
    const QSignalBlocker blocker(material_);
    const auto name = inputs.extra(kMaterialKey);
    material_->setCurrentText(name ? qs(std::string(*name)) : QString());
  }
  refresh();
}

std::optional<AnalysisInput> AnalysisWindow::analysisInput() const {
  if (!run_) return std::nullopt;
  const ParamsResult params = analysisParams(extras());
  if (!params.error.empty()) return std::nullopt;
  return AnalysisInput{*run_, params.params};
}

void AnalysisWindow::refresh() {
  analysis_.reset();
  model_.reset();
  stressChart_->displayList().cls();
  releaseChart_->displayList().cls();
  stressChart_->displayList().discardErased();
  releaseChart_->displayList().discardErased();
  table_->clearContents();
  checks_->clear();
  yield_->clear();
  const ParamsResult params = analysisParams(extras());
  {
    const QString note = qs(materialNoteZh(designMaterial(extras())));
    materialNote_->setText(note);
    materialNote_->setToolTip(note);
  }
  if (!run_) {
    status_->setText(QStringLiteral("尚未绘制特性曲线：请在主窗口中按“输出膜片弹簧曲线及描点”。"));
  } else if (!params.error.empty()) {
    status_->setText(inColor(kFailColor, QStringLiteral("输入有误：%1").arg(qs(params.error))));
    SpringAnalysis refused;
    refused.error = params.error;
    analysis_ = refused;
  } else {
    analysis_ = analyseSpring(*run_, params.params);
    if (!analysis_->error.empty()) {
      status_->setText(inColor(kFailColor, QStringLiteral("无法分析：%1").arg(qs(analysis_->error))));
    } else {
      status_->setText(stale_ ? inColor(kFailColor, QStringLiteral("输入已修改：以下为上次计算的设计的分析，"
                                                               "请按“输出膜片弹簧曲线及描点”重新计算。"))
                              : QStringLiteral("最近一次曲线计算的分析（压应力为负）。"));
      model_.emplace(*run_, params.params);
      stressChart_->setWindow(drawStressChart(stressChart_->displayList(), *model_, *analysis_));
      releaseChart_->setWindow(drawReleaseChart(releaseChart_->displayList(), *model_, *analysis_));
      const auto columns = pointColumns();
      for (std::size_t r = 0; r < analysis_->points.size(); ++r)
        for (std::size_t c = 0; c < columns.size(); ++c) {
          auto* item = new QTableWidgetItem(qs(analysisNumber(analysis_->points[r].*columns[c].member, columns[c].pattern)));
          item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
          if (stale_) item->setForeground(QColor(kStaleColor));
          table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
      QString html = QStringLiteral("<table cellspacing='2'>");
      for (const CheckLine& line : checkLines(*analysis_, params.params)) {
        // The basis below its verdict, so the window keeps its width.
        html += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td><td>&nbsp;&nbsp;限值 %3</td>"
                               "<td>&nbsp;&nbsp;<b style='color:%4'>%5</b></td></tr>"
                               "<tr><td colspan='4' style='color:#666; font-size:small'>&nbsp;&nbsp;&nbsp;&nbsp;依据：%6</td></tr>")
                    .arg(qs(line.whatZh).toHtmlEscaped(), qs(line.value).toHtmlEscaped(), qs(line.limit).toHtmlEscaped(),
                         stale_ ? kStaleColor : line.example() ? kExampleColor : line.pass ? kPassColor : kFailColor,
                         qs(line.verdictZh()).toHtmlEscaped(), qs(line.basis).toHtmlEscaped());
      }
      const auto stroke = [](const QString& name, const ReleaseStroke& s) {
        return QStringLiteral("<tr><td>%1：最大分离力 F2max</td><td>&nbsp;&nbsp;%2 N（λ1 = %3 mm）</td>"
                              "<td>&nbsp;&nbsp;行程终点 λ2 = %4 mm</td><td></td></tr>")
            .arg(name, qs(analysisNumber(s.F2max, "0.0")), qs(analysisNumber(s.lambda1AtF2max, "0.000")),
                 qs(analysisNumber(s.lambda2End, "0.000")));
      };
      html += stroke(QStringLiteral("新摩擦片"), analysis_->newStroke);
      html += stroke(QStringLiteral("磨损后"), analysis_->wornStroke);
      checks_->setText(html + QStringLiteral("</table>"));
      checks_->setStyleSheet(stale_ ? QStringLiteral("color: %1").arg(kStaleColor) : QString());
      showYield(params.params);
    }
  }
  stressChart_->setStale(stale_);
  releaseChart_->setStale(stale_);
  stressChart_->update();
  releaseChart_->update();
}

void AnalysisWindow::showYield(const AnalysisParams& params) {
  const auto y = compare::productionYieldOf({*run_, params}, compare::kDefaultSamples, compare::kDefaultSeed);
  if (!y) {
    yield_->setText(QStringLiteral("生产合格率：离合器数据不是数，无法计算。"));
    return;
  }
  // Each requirement's share of the springs made: two columns side by side.
  const std::vector<compare::YieldRow> rows = compare::yieldRows(*y, true);
  const QString color = stale_ ? kStaleColor : QStringLiteral("#000");
  QString html = QStringLiteral("<b>生产合格率 %1</b>（95 % 区间 %2）<br><small>%3</small>"
                                "<table cellspacing='1'>")
                     .arg(qs(rows.front().share).toHtmlEscaped(), qs(rows.front().interval).toHtmlEscaped(),
                          qs(compare::yieldBasisText(*y, true)).toHtmlEscaped());
  const std::size_t half = (rows.size() - 1 + 1) / 2;
  for (std::size_t i = 0; i < half; ++i) {
    html += QStringLiteral("<tr>");
    for (std::size_t j : {1 + i, 1 + half + i}) {
      if (j >= rows.size()) continue;
      html += QStringLiteral("<td>%1</td><td align='right'>&nbsp;&nbsp;%2</td><td>&nbsp;&nbsp;(%3)&nbsp;&nbsp;&nbsp;&nbsp;</td>")
                  .arg(qs(rows[j].requirement).toHtmlEscaped(), qs(rows[j].share).toHtmlEscaped(),
                       qs(rows[j].interval).toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
  }
  yield_->setText(html + QStringLiteral("</table>"));
  yield_->setStyleSheet(QStringLiteral("color: %1").arg(color));
}

void AnalysisWindow::showReadout(const AnalysisChart* chart, std::optional<QPointF> at) {
  if (!at || !model_ || !analysis_) {
    readout_->setText(QStringLiteral("将鼠标移到图上查看数值"));
    return;
  }
  const auto n = [](double v, const char* pattern) { return qs(analysisNumber(v, pattern)); };
  if (chart == stressChart_) {
    const PointState p = model_->at(at->x());
    readout_->setText(QStringLiteral("λ1 = %1 mm   s = %2 mm   F1 = %3 N   σI = %4   σII = %5   σIII = %6   σIV = %7   "
                                     "σOM = %8 MPa   σf = %9 MPa")
                          .arg(n(p.lambda1, "0.000"), n(p.s, "0.000"), n(p.F1, "0.0"), n(p.sigmaI, "0.0"),
                               n(p.sigmaII, "0.0"), n(p.sigmaIII, "0.0"), n(p.sigmaIV, "0.0"), n(p.sigmaOM, "0.0"),
                               n(p.sigmaFinger, "0.0")));
    return;
  }
  // The release chart: the force of each stroke at the travel under the mouse.
  QString text = QStringLiteral("λ2 = %1 mm").arg(n(at->x(), "0.000"));
  const std::pair<QString, const ReleaseStroke*> strokes[] = {{QStringLiteral("新摩擦片"), &analysis_->newStroke},
                                                              {QStringLiteral("磨损后"), &analysis_->wornStroke}};
  for (const auto& [name, s] : strokes) {
    constexpr int kSteps = 400;
    double best = kNoValue, bestGap = INFINITY;
    for (int i = 0; i <= kSteps; ++i) {
      const double l = s->lambda1Start + (s->lambda1End - s->lambda1Start) * i / kSteps;
      const double gap = std::fabs(model_->releaseTravel(l, s->lambda1Start) - at->x());
      if (gap < bestGap) bestGap = gap, best = l;
    }
    const bool onStroke = bestGap < 0.01 * (analysis_->newStroke.lambda2End + analysis_->wornStroke.lambda2End);
    text += QStringLiteral("   %1 F2 = %2 N").arg(name, onStroke ? n(model_->releaseForce(model_->load(best)), "0.0")
                                                              : QStringLiteral("—"));
  }
  text += QStringLiteral("   （光标处 F2 = %1 N）").arg(n(at->y(), "0.0"));
  readout_->setText(text);
}

bool AnalysisWindow::exportChart(const AnalysisChart& chart, const QString& path, QString* error) const {
  return ::diaspring::exportChart(chart.displayList(), path, 2, error);
}

void AnalysisWindow::saveChart(const AnalysisChart& chart, const QString& name) {
  const QString chosen = askSaveFileName(inLastFolder(name));
  if (chosen.isEmpty()) return;
  rememberFolder(chosen);
  QString error;
  if (!exportChart(chart, chosen, &error))
    showWarning(QStringLiteral("无法保存图表"), error + QStringLiteral("\n请换一个位置或文件名后重试。"));
}

QString AnalysisWindow::askSaveFileName(const QString& suggested) {
  return askChartFileName(this, suggested);
}

void AnalysisWindow::showWarning(const QString& title, const QString& text) { QMessageBox::warning(this, title, text); }

}  // namespace diaspring::app
