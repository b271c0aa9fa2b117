#include "compare_window.h"

#include <cmath>

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "chart_actions.h"
#include "design/design_file.h"
#include "render/chart_export.h"
#include "render/comparison_page.h"
#include "runtime/convert.h"
#include "compare/comparison_texts.h"
#include "compare/curve_list.h"
#include "compare/tolerance_boxes.h"
#include "qt_text.h"
#include "runtime/fault.h"
#include "window/window_logic.h"

namespace diaspring::app {
namespace {

using namespace compare;

QString num(double v, const char* pattern) { return std::isfinite(v) ? qs(format(v, pattern)) : QStringLiteral("—"); }

QColor colorOf(Color c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

QString styleName(int style) { return QString::fromUtf8(styleNameZh(style)); }

QTableWidgetItem* item(const QString& text) {
  auto* i = new QTableWidgetItem(text);
  i->setFlags(i->flags() & ~Qt::ItemIsEditable);
  return i;
}

}  // namespace

CompareWindow::CompareWindow(std::function<DesignInputs()> current, std::function<void(const DesignInputs&)> apply,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), current_(std::move(current)), apply_(std::move(apply)) {
  setWindowTitle(QStringLiteral("特性曲线对比"));
  setObjectName(QStringLiteral("CompareWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buildButtons());
  layout->addWidget(buildStaleNote());
  layout->addWidget(buildChartAndCurves(), 1);
  layout->addWidget(buildMeasuredBox());
  layout->addWidget(buildScatterBox());

  followed_ = current_();
  input_.designs.push_back(designCurve(followed_, "当前设计"));
  shown_ = {true};
  styles_ = {0};
  kinds_ = {QStringLiteral("主窗口")};
  resetTolerances();
  resize(1280, 960);
  refresh();
}

// The row of buttons above the chart.
QHBoxLayout* CompareWindow::buildButtons() {
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const QString& caption, auto slot) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  button("pinCurrent", QStringLiteral("固定当前曲线"), [this] { pinCurrent(); });
  button("openDesign", QStringLiteral("打开设计文件…"), [this] {
    const QString path = askOpenFileName(QStringLiteral("打开要对比的设计"), QStringLiteral("设计文件 (*.diaspring);;所有文件 (*)"));
    rememberFolder(path);
    if (!path.isEmpty()) openDesignFile(path);
  });
  button("importMeasured", QStringLiteral("导入实测曲线…"), [this] {
    const QString path = askOpenFileName(QStringLiteral("导入实测曲线"),
                                         QStringLiteral("实测数据 (*.csv *.txt *.dat);;所有文件 (*)"));
    rememberFolder(path);
    if (!path.isEmpty()) importMeasured(path);
  });
  button("removeCurve", QStringLiteral("移除所选"), [this] {
    if (curves_->currentRow() > 0) removeCurve(curves_->currentRow());
  });
  button("saveChart", QStringLiteral("保存图表…"), [this] { saveChart(); });
  buttons->addStretch(1);
  return buttons;
}

// The note shown while the main window's inputs differ from the current design.
QLabel* CompareWindow::buildStaleNote() {
  staleNote_ = makeStaleNote(qs(texts::kStaleNote), this);
  return staleNote_;
}

// The chart with its readout, beside the table of curves.
QSplitter* CompareWindow::buildChartAndCurves() {
  auto* split = new QSplitter(Qt::Horizontal, this);
  auto* left = new QWidget(split);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  chart_ = new AnalysisChart(left);
  chart_->setObjectName(QStringLiteral("CompareChart"));
  chart_->setMinimumSize(560, 330);
  leftLayout->addWidget(chart_, 1);
  readout_ = new QLabel(QStringLiteral("将鼠标移到图上，读出每条曲线在该 λ1 处的 F1"), left);
  readout_->setObjectName(QStringLiteral("Readout"));
  readout_->setWordWrap(true);
  leftLayout->addWidget(readout_);
  connect(chart_, &AnalysisChart::hovered, this, [this](std::optional<QPointF> at) { showReadout(at); });
  connect(chart_, &AnalysisChart::saveRequested, this, [this] { saveChart(); });

  auto* right = new QWidget(split);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  curves_ = new QTableWidget(0, 4, right);
  curves_->setObjectName(QStringLiteral("CurveTable"));
  curves_->setHorizontalHeaderLabels({QStringLiteral("显示"), QStringLiteral("曲线"), QStringLiteral("来源"),
                                      QStringLiteral("线型")});
  curves_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  curves_->setSelectionBehavior(QAbstractItemView::SelectRows);
  curves_->setSelectionMode(QAbstractItemView::SingleSelection);
  // The table is refilled on every change, which replaces the item that
  // signals: the change is applied once the signal has returned.
  connect(curves_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* changed) {
    if (changed->column() != 0) return;
    const int row = changed->row();
    const bool shown = changed->checkState() == Qt::Checked;
    QMetaObject::invokeMethod(this, [this, row, shown] { setCurveShown(row, shown); }, Qt::QueuedConnection);
  });
  rightLayout->addWidget(curves_, 1);

  curves_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  curves_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  curves_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
  split->addWidget(left);
  split->addWidget(right);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setSizes({880, 400});
  return split;
}

// The measured curves, their deviations and calibrations.
QGroupBox* CompareWindow::buildMeasuredBox() {
  auto* measuredBox = new QGroupBox(QStringLiteral("实测曲线与标定"), this);
  auto* measuredLayout = new QVBoxLayout(measuredBox);
  auto* measuredRow = new QHBoxLayout;
  measured_ = new QTableWidget(0, 8, measuredBox);
  measured_->setObjectName(QStringLiteral("MeasuredTable"));
  measured_->setHorizontalHeaderLabels({QStringLiteral("实测曲线"), QStringLiteral("B 处偏差"),
                                        QStringLiteral("A 处偏差"), QStringLiteral("RMS/N"),
                                        QStringLiteral("拟合 h/mm"), QStringLiteral("拟合 H/mm"),
                                        QStringLiteral("拟合 H/h"), QStringLiteral("拟合 RMS/N")});
  measured_->setSelectionBehavior(QAbstractItemView::SelectRows);
  measured_->setSelectionMode(QAbstractItemView::SingleSelection);
  measured_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  measured_->verticalHeader()->setDefaultSectionSize(22);
  measured_->setMaximumHeight(measured_->horizontalHeader()->sizeHint().height() + 3 * 22 + 6);
  measuredRow->addWidget(measured_, 1);
  measuredLayout->addLayout(measuredRow);
  auto* note = new QLabel(qs(texts::kMeasuredNote), measuredBox);
  note->setWordWrap(true);
  note->setMaximumWidth(300);
  auto* side = new QVBoxLayout;
  side->addWidget(note);
  auto* applyFitButton = new QPushButton(QStringLiteral("将拟合的 h、H/h 输入主窗口"), measuredBox);
  applyFitButton->setObjectName(QStringLiteral("applyFit"));
  connect(applyFitButton, &QPushButton::clicked, this, [this] { applyFit(measured_->currentRow()); });
  side->addWidget(applyFitButton);
  measuredRow->addLayout(side);
  return measuredBox;
}

// The tolerances and the production scatter of the current design.
QGroupBox* CompareWindow::buildScatterBox() {
  auto* scatterBox = new QGroupBox(QStringLiteral("生产离散（当前设计，在名义 λ1B、λ1A、λ1C 处）"), this);
  auto* scatterLayout = new QVBoxLayout(scatterBox);
  auto* tolGrid = new QGridLayout;
  int col = 0;
  for (const ToleranceBox& t : kToleranceBoxes) {
    auto* edit = new QLineEdit(scatterBox);
    edit->setObjectName(QString::fromLatin1(t.name));
    edit->setMaximumWidth(80);
    connect(edit, &QLineEdit::editingFinished, this, [this] {
      tolerancesTyped_ = true;
      refresh();
    });
    tolerances_.push_back(edit);
    tolGrid->addWidget(new QLabel(QString::fromUtf8(t.caption), scatterBox), 0, col);
    tolGrid->addWidget(edit, 0, col + 1);
    tolGrid->addWidget(new QLabel(QString::fromUtf8(t.unit), scatterBox), 0, col + 2);
    col += 3;
  }
  auto* standard = new QPushButton(QStringLiteral("按标准公差"), scatterBox);
  standard->setObjectName(QStringLiteral("standardTolerances"));
  standard->setToolTip(QStringLiteral("h、H、R、r 取碟簧标准 DIN EN 16983（DIN 2093）的允许偏差带宽的一半，"
                                      "E 取 0 %，夹紧力取 ±5 %"));
  connect(standard, &QPushButton::clicked, this, [this] {
    tolerancesTyped_ = false;
    resetTolerances();
    refresh();
  });
  tolGrid->addWidget(standard, 0, col);
  showBand_ = new QCheckBox(QStringLiteral("显示公差带"), scatterBox);
  showBand_->setChecked(true);
  connect(showBand_, &QCheckBox::toggled, this, [this] { refresh(); });
  tolGrid->addWidget(showBand_, 0, col + 1);
  scatterLayout->addLayout(tolGrid);
  scatter_ = new QTableWidget(4, 6, scatterBox);
  scatter_->setObjectName(QStringLiteral("ScatterTable"));
  scatter_->setHorizontalHeaderLabels({QStringLiteral("极限 最小/N"), QStringLiteral("极限 最大/N"),
                                       QStringLiteral("抽样 最小/N"), QStringLiteral("抽样 最大/N"),
                                       QStringLiteral("平均/N"), QStringLiteral("σ/N")});
  scatter_->setVerticalHeaderLabels({QStringLiteral("F1B"), QStringLiteral("F1A"), QStringLiteral("F1C"),
                                     QStringLiteral("最大分离力 F2max")});
  scatter_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  scatter_->verticalHeader()->setDefaultSectionSize(22);
  scatter_->setMaximumHeight(scatter_->horizontalHeader()->sizeHint().height() + 4 * 22 + 6);
  scatterLayout->addWidget(scatter_);
  scatterNote_ = new QLabel(scatterBox);
  scatterNote_->setObjectName(QStringLiteral("ScatterNote"));
  scatterNote_->setWordWrap(true);
  scatterLayout->addWidget(scatterNote_);
  return scatterBox;
}

QLineEdit* CompareWindow::tolerance(const char* name) const {
  for (QLineEdit* e : tolerances_)
    if (e->objectName() == QLatin1String(name)) return e;
  return nullptr;
}

void CompareWindow::resetTolerances() {
  const DesignCurve& c = input_.designs.front();
  input_.tolerances = c.ok() ? defaultTolerances(c.g) : Tolerances{};
  const ToleranceTexts texts = toleranceTexts(input_);
  for (std::size_t i = 0; i < kToleranceBoxCount; ++i) tolerances_[i]->setText(qs(texts[i]));
}

void CompareWindow::readTolerances() {
  ToleranceTexts texts;
  for (std::size_t i = 0; i < kToleranceBoxCount; ++i) texts[i] = tolerances_[i]->text().trimmed().toStdString();
  const ToleranceReading reading = readToleranceTexts(texts, input_);
  for (std::size_t i = 0; i < kToleranceBoxCount; ++i)
    tolerances_[i]->setStyleSheet(reading.bad[i] ? QStringLiteral("background: #FFD6D6") : QString());
  if (!reading.refused.empty())
    scatterNote_->setText(inColor(kFailColor, qs(texts::kTolerancesRefused).arg(qs(reading.refused))));
}

void CompareWindow::followCurrent() {
  followed_ = current_();
  input_.designs.front() = designCurve(followed_, "当前设计");
  if (!tolerancesTyped_) resetTolerances();
  setStale(false);
  refresh();
}

void CompareWindow::inputsChanged(const DesignInputs& now) {
  setStale(readsDiffer(ResultGroup::Comparison, followed_, now));
}

void CompareWindow::setStale(bool stale) {
  if (stale_ == stale) return;
  stale_ = stale;
  staleNote_->setVisible(stale);
  chart_->setStale(stale);
  fillTables();
}

bool CompareWindow::roomForOneMore() {
  if (curveCount() < kMaxCompared) return true;
  showWarning(QStringLiteral("曲线已满"), qs(fullMessageZh()));
  return false;
}

int CompareWindow::curveCount() const { return compare::curveCount(input_); }

bool CompareWindow::pinCurrent() {
  const DesignInputs in = current_();
  const auto text = [&](const char* key) { return qs(in.text(*inputBoxOfKey(key))); };
  return addDesign(in, QStringLiteral("固定%1 h=%2 H/h=%3 R=%4 R/r=%5")
                           .arg(++pinned_)
                           .arg(text("h"), text("HoverH"), text("R"), text("RoverR")));
}

bool CompareWindow::addDesign(const DesignInputs& inputs, const QString& name) {
  if (!roomForOneMore()) return false;
  const auto at = static_cast<std::ptrdiff_t>(input_.designs.size());
  input_.designs.push_back(designCurve(inputs, name.toStdString()));
  const int style = freeStyle(styles_);
  shown_.insert(shown_.begin() + at, true);
  styles_.insert(styles_.begin() + at, style);
  kinds_.insert(kinds_.begin() + at, name.startsWith(QStringLiteral("固定")) ? QStringLiteral("固定")
                                                                            : QStringLiteral("设计"));
  refresh();
  return true;
}

bool CompareWindow::openDesignFile(const QString& path) {
  if (!roomForOneMore()) return false;
  const DesignRead read = readDesignFile(path.toStdString());
  if (!read.ok()) {
    showWarning(QStringLiteral("无法打开设计文件"), qs(read.error->chinese()));
    return false;
  }
  addDesign(read.document->inputs, QFileInfo(path).completeBaseName());
  kinds_[input_.designs.size() - 1] = QStringLiteral("设计文件");
  fillTables();
  return true;
}

bool CompareWindow::importMeasured(const QString& path) {
  if (!roomForOneMore()) return false;
  MeasuredRead read = readMeasuredFile(path.toStdString());
  if (!read.curve) {
    showWarning(QStringLiteral("无法导入实测曲线"), qs(measuredRefusalZh(QFileInfo(path).fileName().toStdString(), read.errorZh)));
    return false;
  }
  input_.measured.push_back(std::move(*read.curve));
  const int style = freeStyle(styles_);
  shown_.push_back(true);
  styles_.push_back(style);
  kinds_.push_back(QStringLiteral("实测"));
  refresh();
  return true;
}

void CompareWindow::removeCurve(int row) {
  if (removeCurveRow(input_, row, shown_, styles_, kinds_)) refresh();
}

void CompareWindow::setCurveShown(int row, bool shown) {
  if (row < 0 || row >= curveCount() || shown_[static_cast<std::size_t>(row)] == shown) return;
  shown_[static_cast<std::size_t>(row)] = shown;
  refresh();
}

bool CompareWindow::applyFit(int index) {
  if (index < 0 || index >= static_cast<int>(result_.measured.size())) {
    showWarning(QStringLiteral("没有选中实测曲线"), qs(texts::kNoMeasuredPicked));
    return false;
  }
  const Calibration& fit = result_.measured[static_cast<std::size_t>(index)].fit;
  if (const std::string why = fitRefusalZh(fit); !why.empty()) {
    showWarning(QStringLiteral("无法输入拟合值"), qs(why));
    return false;
  }
  DesignInputs in = current_();
  in.setText(*inputBoxOfKey("h"), format(fit.h, "0.0000"));
  in.setText(*inputBoxOfKey("HoverH"), format(fit.H / fit.h, "0.0000"));
  apply_(in);
  return true;
}

ComparisonScene CompareWindow::scene() const {
  return shownScene(input_, result_, shown_, styles_, showBand_->isChecked());
}

void CompareWindow::refresh() {
  scatterNote_->clear();
  readTolerances();
  const QString warning = scatterNote_->text();
  result_ = runComparison(input_);
  const ComparisonFrame frame = drawComparison(chart_->displayList(), scene());
  chart_->setWindow(frame.data);
  chart_->update();
  fillTables();
  if (!warning.isEmpty()) scatterNote_->setText(warning + QStringLiteral("<br>") + scatterNote_->text());
}

void CompareWindow::fillTables() {
  const QSignalBlocker block(curves_);
  curves_->setRowCount(curveCount());
  const std::size_t designs = input_.designs.size();
  for (int row = 0; row < curveCount(); ++row) {
    const auto r = static_cast<std::size_t>(row);
    auto* check = new QTableWidgetItem;
    check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    check->setCheckState(shown_[r] ? Qt::Checked : Qt::Unchecked);
    curves_->setItem(row, 0, check);
    QString name;
    if (r < designs) {
      const DesignCurve& d = input_.designs[r];
      name = qs(d.name) + (d.ok() ? QString() : QStringLiteral("（%1）").arg(qs(d.error)));
    } else {
      name = qs(input_.measured[r - designs].name);
    }
    curves_->setItem(row, 1, item(name));
    curves_->setItem(row, 2, item(kinds_[r]));
    if (row == 0 && stale_)
      for (int col : {1, 2}) curves_->item(row, col)->setForeground(QColor(0x9E, 0x9E, 0x9E));
    auto* style = item(styleName(styles_[r]));
    style->setForeground(colorOf(curveStyle(styles_[r]).color));
    QFont bold = style->font();
    bold.setBold(true);
    style->setFont(bold);
    curves_->setItem(row, 3, style);
  }

  measured_->setRowCount(static_cast<int>(result_.measured.size()));
  for (std::size_t i = 0; i < result_.measured.size(); ++i) {
    const MeasuredComparison& m = result_.measured[i];
    const int row = static_cast<int>(i);
    const auto dev = [](const Deviation& d) {
      return std::isfinite(d.newton) ? QStringLiteral("%1 N（%2 %）").arg(num(d.newton, "0"), num(d.percent, "0.0"))
                                     : qs(texts::kNotMeasured);
    };
    measured_->setItem(row, 0, item(qs(input_.measured[i].name)));
    measured_->setItem(row, 1, item(dev(m.atB)));
    measured_->setItem(row, 2, item(dev(m.atA)));
    measured_->setItem(row, 3, item(num(m.rms, "0")));
    measured_->setItem(row, 4, item(num(m.fit.h, "0.0000")));
    measured_->setItem(row, 5, item(num(m.fit.H, "0.0000")));
    measured_->setItem(row, 6, item(num(m.fit.H / m.fit.h, "0.0000")));
    measured_->setItem(row, 7, item(m.fit.converged ? num(m.fit.rms, "0") : QStringLiteral("拒绝拟合")));
    if (!m.fit.converged)
      for (int col = 4; col <= 7; ++col) measured_->item(row, col)->setToolTip(qs(m.fit.whyZh));
  }

  if (!result_.hasScatter) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 6; ++c) scatter_->setItem(r, c, item(QStringLiteral("—")));
    scatterNote_->setText(result_.impossible
                              ? inColor(kFailColor, qs(toleranceLimitZh(*result_.impossible)))
                              : qs(texts::kNoCurve).arg(qs(input_.designs.front().error)));
    return;
  }
  const WorstCase& w = result_.worst;
  const MonteCarlo& mc = result_.monteCarlo;
  const Range* ranges[] = {&w.F1B, &w.F1A, &w.F1C, &w.releaseForceMax};
  const Stats* stats[] = {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax};
  for (int r = 0; r < 4; ++r) {
    const double values[] = {ranges[r]->min, ranges[r]->max, stats[r]->min, stats[r]->max, stats[r]->mean, stats[r]->sigma};
    for (int c = 0; c < 6; ++c) scatter_->setItem(r, c, item(num(values[c], c == 5 ? "0.0" : "0")));
  }
  const Sensitivity& s = result_.sensitivity;
  scatterNote_->setText(
      qs(texts::kScatterNote)
          .arg(mc.samples)
          .arg(mc.seed)
          .arg(num(input_.designs.front().clutch.F, "0"), num(input_.tolerances.clampPercent, "0.0"),
               num(100 * mc.withinClampTolerance, "0.0"), num(100 * mc.F1AatLeastF1B, "0.0"), num(s.h, "0"),
               num(s.H, "0"), num(s.R, "0"), num(s.r, "0"), num(s.E, "0.0000")) +
      qs(texts::kYieldNote)
          .arg(qs(shareText(result_.production.overall.value)), qs(yieldRows(result_.production, true).front().interval),
               qs(yieldBasisText(result_.production, true)).toHtmlEscaped()));
}

void CompareWindow::showReadout(std::optional<QPointF> at) {
  if (!at) {
    readout_->setText(QStringLiteral("将鼠标移到图上，读出每条曲线在该 λ1 处的 F1"));
    return;
  }
  QStringList parts;
  for (const Reading& r : readoutAt(scene(), at->x()))
    parts << QStringLiteral("%1: %2 N").arg(qs(r.name), num(r.F1, "0"));
  readout_->setText(QStringLiteral("λ1 = %1 mm　").arg(num(at->x(), "0.000")) + parts.join(QStringLiteral("；")));
}

void CompareWindow::saveChart() {
  const QString chosen = askSaveFileName(inLastFolder(QStringLiteral("特性曲线对比.png")));
  if (chosen.isEmpty()) return;
  rememberFolder(chosen);
  QString error;
  if (!exportChart(chart_->displayList(), chosen, 2, &error))
    showWarning(QStringLiteral("无法保存图表"), error + QStringLiteral("\n请换一个位置或文件名后重试。"));
}

QString CompareWindow::askOpenFileName(const QString& caption, const QString& filters) {
  return askFileName(this, QFileDialog::AcceptOpen, caption, lastFolder(), filters);
}

QString CompareWindow::askSaveFileName(const QString& suggested) {
  return askChartFileName(this, suggested);
}

void CompareWindow::showWarning(const QString& title, const QString& text) { QMessageBox::warning(this, title, text); }

}  // namespace diaspring::app
