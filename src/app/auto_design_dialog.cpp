#include "auto_design_dialog.h"

#include <algorithm>
#include <cmath>

#include <QCloseEvent>
#include <QShowEvent>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "chart_widget.h"
#include "compare/production_yield.h"
#include "compare/yield_openings.h"
#include "qt_text.h"
#include "form/extra_inputs.h"
#include "runtime/convert.h"
#include "search/grid_memo.h"
#include "search/opening.h"
#include "search/strength_goals.h"
#include "search/tradeoff_chart.h"
#include "window/window_logic.h"

namespace diaspring::app {
namespace {

constexpr int kDesignRole = Qt::UserRole + 1;
constexpr int kSortRole = Qt::UserRole;

struct FreeInput {
  const char* caption;
  TextBox box;
};
constexpr FreeInput kFree[] = {
    {"h (mm)", TextBox::Text4}, {"H/h", TextBox::Text6}, {"R (mm)", TextBox::Text7}, {"R/r", TextBox::Text9}};

// A cell that sorts by its number rather than its text.
class NumberItem : public QTableWidgetItem {
 public:
  NumberItem(const QString& text, double value) : QTableWidgetItem(text) {
    setData(kSortRole, value);
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    return data(kSortRole).toDouble() < other.data(kSortRole).toDouble();
  }
};

std::string rangeText(double x) { return generalText(Num(x)); }

}  // namespace

AutoDesignDialog::AutoDesignDialog(std::function<DesignInputs()> current,
                                   std::function<void(const DesignInputs&)> apply, QWidget* parent)
    : QDialog(parent), current_(std::move(current)), apply_(std::move(apply)) {
  setWindowTitle(QStringLiteral("自动设计"));
  setObjectName(QStringLiteral("AutoDesignDialog"));

  auto* rangeBox = new QGridLayout;
  rangeBox->addWidget(new QLabel(QStringLiteral("变量")), 0, 0);
  rangeBox->addWidget(new QLabel(QStringLiteral("下限")), 0, 1);
  rangeBox->addWidget(new QLabel(QStringLiteral("上限")), 0, 2);
  search::Ranges defaults;
  const search::Range defaultRanges[] = {defaults.h, defaults.HoverH, defaults.R, defaults.RoverR};
  for (int i = 0; i < 4; ++i) {
    rangeBox->addWidget(new QLabel(QString::fromUtf8(kFree[i].caption)), i + 1, 0);
    for (int end = 0; end < 2; ++end) {
      auto* edit = new QLineEdit(qs(rangeText(end ? defaultRanges[i].high : defaultRanges[i].low)));
      edit->setObjectName(QStringLiteral("Range_%1_%2").arg(search::kFreeInputs[static_cast<std::size_t>(i)]).arg(end ? "high" : "low"));
      edit->setMaximumWidth(80);
      rangeBox->addWidget(edit, i + 1, end + 1);
      connect(edit, &QLineEdit::textChanged, this, [this] { updateStale(); });
      ranges_.push_back(edit);
    }
  }
  rangeBox->addWidget(new QLabel(QStringLiteral("最低生产合格率 (%)")), 5, 0);
  minYield_ = new QLineEdit(qs(generalText(Num(100 * compare::kDefaultMinYield))));
  minYield_->setObjectName(QStringLiteral("MinYield"));
  minYield_->setToolTip(QStringLiteral("只提出按默认公差制造时至少有这么多膜片弹簧满足夹紧力公差带、F1A ≥ F1B、"
                                       "条件 3–12 和强度校核的设计（蒙特卡洛确认）；0 表示不要求。"));
  minYield_->setMaximumWidth(80);
  rangeBox->addWidget(minYield_, 5, 1);
  note_ = new QLabel;
  note_->setObjectName(QStringLiteral("ConstraintNote"));
  note_->setWordWrap(true);
  rangeBox->addWidget(note_, 6, 0, 1, 3);
  for (QLineEdit* edit : ranges_) edit->setMinimumWidth(64);

  run_ = new QPushButton(QStringLiteral("开始搜索"));
  cancel_ = new QPushButton(QStringLiteral("取消"));
  apply_button_ = new QPushButton(QStringLiteral("应用到主窗口"));
  progress_ = new QProgressBar;
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  status_ = new QLabel;
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  staleNote_ = makeStaleNote(QStringLiteral("主窗口的输入或搜索范围已修改：下表为上次搜索的结果"
                                       "（应用时连同搜索时的其余输入一起放入主窗口），请重新搜索。"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run_);
  buttons->addWidget(cancel_);
  buttons->addWidget(progress_, 1);
  buttons->addWidget(apply_button_);
  compare_button_ = new QPushButton(QStringLiteral("加入曲线对比"));
  compare_button_->setObjectName(QStringLiteral("compareDesign"));
  buttons->addWidget(compare_button_);

  table_ = new QTableWidget(0, 9);
  table_->setHorizontalHeaderLabels({QStringLiteral("h (mm)"), QStringLiteral("H/h"), QStringLiteral("R (mm)"),
                                     QStringLiteral("R/r"), QStringLiteral("磨损增量 (%)"),
                                     QStringLiteral("最大分离力 (N)"), QStringLiteral("σImax (MPa)"),
                                     QStringLiteral("F1B (N)"), QStringLiteral("生产合格率 (%)")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setSortingEnabled(true);

  // The chart's text at the size of the window's chart (or larger as the
  // dialog grows), not shrunk with the smaller panel.
  constexpr QSize kChartMinimum(440, 260);
  ChartStyle chartStyle;
  chartStyle.naturalSize = QSizeF(kChartMinimum.width() - 4, kChartMinimum.height() - 4);  // inside the frame
  chart_ = new ChartWidget(nullptr, chartStyle);
  chart_->setMinimumSize(kChartMinimum);

  auto* left = new QVBoxLayout;
  left->addLayout(rangeBox);
  left->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(chart_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(staleNote_);
  layout->addWidget(table_, 1);
  resize(820, 640);

  poll_ = new QTimer(this);
  poll_->setInterval(100);
  connect(poll_, &QTimer::timeout, this, [this] {
    const std::size_t total = std::max<std::size_t>(total_.load(), 1);
    progress_->setValue(static_cast<int>(1000 * std::min(done_.load(), total) / total));
  });
  connect(run_, &QPushButton::clicked, this, [this] { start(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
  connect(apply_button_, &QPushButton::clicked, this, [this] { applyCurrent(); });
  connect(compare_button_, &QPushButton::clicked, this, [this] {
    const int design = designOfRow(table_->currentRow());
    if (design >= 0 && static_cast<std::size_t>(design) < designs_.size())
      emit compareRequested(designs_[static_cast<std::size_t>(design)].inputs,
                            QStringLiteral("自动设计 #%1").arg(design + 1));
  });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { applyCurrent(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    drawChart();
    updateButtons();
  });
  connect(table_, &QTableWidget::currentCellChanged, this, [this] { updateButtons(); });
  setRunning(false);
  drawChart();
  now_ = current_();
  showConstraints(now_);
}

QStringList AutoDesignDialog::rangeTexts() const {
  QStringList texts;
  for (const QLineEdit* edit : ranges_) texts << edit->text();
  return texts;
}

void AutoDesignDialog::inputsChanged(const DesignInputs& now) {
  now_ = now;
  updateStale();
}

void AutoDesignDialog::updateStale() {
  const bool stale = !designs_.empty() &&
                     (readsDiffer(ResultGroup::Search, searchedFrom_, now_) || rangeTexts() != searchedRanges_);
  if (stale == stale_) return;
  stale_ = stale;
  staleNote_->setVisible(stale);
  table_->setStyleSheet(stale ? QStringLiteral("QTableWidget { color: #9E9E9E; }") : QString());
  auto* faded = stale ? new QGraphicsOpacityEffect(chart_) : nullptr;
  if (faded) faded->setOpacity(0.4);
  chart_->setGraphicsEffect(faded);
}

void AutoDesignDialog::updateButtons() {
  const bool picked = run_->isEnabled() && designOfRow(table_->currentRow()) >= 0;
  apply_button_->setEnabled(picked);
  compare_button_->setEnabled(picked);
}

void AutoDesignDialog::showConstraints(const DesignInputs& base) {
  const ExtraInput* allow = extraInputOfName("sigmaAllow");
  note_->setText(QStringLiteral("其余输入取主窗口中的数值。h 按 |F−F1B|<1 求解；H/h、R/r 步长 0.01，"
                                "R 步长 0.1，最优设计附近再以 1/4 步长细化。\n"
                                "约束：十二项条件全部合格，且 |σI|max ≤ [σ] = %1 MPa（在“强度与分离特性”中修改）。")
                     .arg(qs(extraText(base, *allow))));
}

void AutoDesignDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!running()) showConstraints(current_());
}

AutoDesignDialog::~AutoDesignDialog() { stopWorker(); }

void AutoDesignDialog::stopWorker() {
  cancelRequested_ = true;
  if (worker_.joinable()) worker_.join();
}

bool AutoDesignDialog::start() {
  if (running()) return false;
  search::Options options;
  search::Range* targets[] = {&options.ranges.h, &options.ranges.HoverH, &options.ranges.R, &options.ranges.RoverR};
  for (int i = 0; i < 4; ++i) {
    const std::string low = ranges_[static_cast<std::size_t>(2 * i)]->text().toStdString();
    const std::string high = ranges_[static_cast<std::size_t>(2 * i + 1)]->text().toStdString();
    const QString name = QString::fromUtf8(kFree[i].caption);
    if (!isWholeNumber(low) || !isWholeNumber(high)) {
      status_->setText(inColor(kFailColor, QStringLiteral("%1 的范围不是两个数。").arg(name)));
      return false;
    }
    try {
      *targets[i] = {val(low).value(), val(high).value()};
    } catch (const Fault&) {
      status_->setText(inColor(kFailColor, QStringLiteral("%1 的范围超出数值范围。").arg(name)));
      return false;
    }
    if (!(targets[i]->low > 0) || targets[i]->low > targets[i]->high) {
      status_->setText(inColor(kFailColor, QStringLiteral("%1 的下限应大于 0 且不大于上限。").arg(name)));
      return false;
    }
  }
  const std::string minYieldText = minYield_->text().toStdString();
  double minYield = NAN;
  try {
    if (isWholeNumber(minYieldText)) minYield = val(minYieldText).value() / 100;
  } catch (const Fault&) {
  }
  if (!(minYield >= 0 && minYield < 1)) {
    status_->setText(inColor(kFailColor, QStringLiteral("最低生产合格率应是 0 到 100 以下的数（%），例如 99。")));
    return false;
  }
  const DesignInputs base = current_();
  showConstraints(base);
  searching_ = base;
  now_ = base;
  searchingRanges_ = rangeTexts();
  // The analysis inputs are the window's (their defaults where never set).
  if (const std::string error = search::addStrengthGoals(options, base); !error.empty()) {
    status_->setText(inColor(kFailColor, QStringLiteral("强度分析的输入有误：%1").arg(qs(error))));
    return false;
  }
  compare::addYieldGoals(options, base, minYield);
  cancelRequested_ = false;
  done_ = 0;
  total_ = 1;
  options.cancel = &cancelRequested_;
  options.progress = [this](std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
  };
  lastOptions_ = options;
  lastOptions_.progress = nullptr;
  lastOptions_.cancel = nullptr;
  status_->setText(QStringLiteral("正在搜索…"));
  setRunning(true);
  opening_ = std::make_shared<std::string>();
  worker_ = std::thread([this, base, options, minYield, opening_ = opening_] {
    auto result = std::make_shared<search::Result>();
    auto error = std::make_shared<std::string>();
    try {
      // The search and the openings after it share their grid.
      search::Options shared = options;
      shared.memo = std::make_shared<search::GridMemo>();
      *result = search::runSearch(base, shared);
      // Nothing passes: the single change that would let designs through.
      if (result->infeasible && !result->cancelled) {
        search::Options quiet = shared;
        quiet.progress = nullptr;
        const compare::Openings found = compare::openingsOf(base, quiet, minYield, *result->infeasible);
        for (const search::Opening& o : found.found) *opening_ += search::openingChinese(o);
        if (found.found.empty()) *opening_ = found.noneChinese;
      }
    } catch (const search::SearchError& e) {
      *error = e.what();
    } catch (const std::exception& e) {
      *error = e.what();
    }
    QMetaObject::invokeMethod(this, [this, result, error] { finish(result, error); }, Qt::QueuedConnection);
  });
  return true;
}

void AutoDesignDialog::cancel() {
  if (!running()) return;
  cancelRequested_ = true;
  status_->setText(QStringLiteral("正在取消…"));
}

void AutoDesignDialog::finish(std::shared_ptr<search::Result> result, std::shared_ptr<std::string> error) {
  if (worker_.joinable()) worker_.join();
  setRunning(false);
  if (error->empty()) {
    searchedFrom_ = searching_;
    searchedRanges_ = searchingRanges_;
  }
  if (!error->empty()) {
    status_->setText(inColor(kFailColor, QStringLiteral("无法搜索：%1").arg(qs(*error))));
  } else if (result->cancelled) {
    // Nothing of the cancelled search, nor of the one before, stays shown as its result.
    designs_.clear();
    showDesigns();
    status_->setText(QStringLiteral("搜索已取消。"));
    progress_->setValue(0);
    emit searchFinished();
    return;
  } else if (result->infeasible) {
    designs_.clear();
    status_->setText(inColor(kFailColor, qs(search::explainInWords(*result->infeasible, lastOptions_) + *opening_)
                                             .toHtmlEscaped()
                                             .replace(QLatin1Char('\n'), QStringLiteral("<br>"))));
    showDesigns();
  } else {
    designs_ = result->designs;
    status_->setText(QStringLiteral("找到 %1 个互不占优的设计（全部约束合格的 %2 个，共检查 %3 个网格点，用时 %4 s）。"
                                    "双击一行把它放入主窗口。")
                         .arg(designs_.size())
                         .arg(result->feasible)
                         .arg(result->evaluated)
                         .arg(qs(format(result->seconds, "0.00"))));
    showDesigns();
  }
  progress_->setValue(progress_->maximum());
  emit searchFinished();
}

void AutoDesignDialog::showDesigns() {
  table_->setSortingEnabled(false);
  table_->clearContents();
  table_->setRowCount(static_cast<int>(designs_.size()));
  for (std::size_t i = 0; i < designs_.size(); ++i) {
    const search::Design& d = designs_[i];
    const int row = static_cast<int>(i);
    for (int c = 0; c < 4; ++c) {
      const std::string& text = d.inputs.text(kFree[c].box);
      auto* item = new NumberItem(qs(text), val(text).value());
      if (c == 0) item->setData(kDesignRole, row);
      table_->setItem(row, c, item);
    }
    table_->setItem(row, 4, new NumberItem(qs(format(d.wearRise * 100, "0.000")), d.wearRise));
    table_->setItem(row, 5, new NumberItem(qs(format(d.releaseForceMax, "0.0")), d.releaseForceMax));
    const double sigmaI = d.extra.empty() ? 0 : d.extra[0];
    table_->setItem(row, 6, new NumberItem(qs(format(sigmaI, "0.0")), sigmaI));
    table_->setItem(row, 7, new NumberItem(qs(format(d.F1B, "0.000")), d.F1B));
    // Without a least yield the search does not weigh it: "—".
    table_->setItem(row, 8, d.finalFigure ? new NumberItem(qs(format(100 * *d.finalFigure, "0.00")), *d.finalFigure)
                                          : new NumberItem(QStringLiteral("—"), -1));
  }
  table_->setSortingEnabled(true);
  table_->sortItems(4, Qt::AscendingOrder);
  drawChart();
  updateStale();
  updateButtons();
}

int AutoDesignDialog::designOfRow(int row) const {
  if (row < 0 || row >= table_->rowCount() || !table_->item(row, 0)) return -1;
  return table_->item(row, 0)->data(kDesignRole).toInt();
}

void AutoDesignDialog::drawChart() {
  std::vector<search::TradeOffPoint> points;
  for (const search::Design& d : designs_)
    points.push_back({d.wearRise, d.releaseForceMax, d.extra.empty() ? std::nullopt : std::optional(d.extra[0])});
  std::optional<std::size_t> picked;
  const int design = designOfRow(table_->currentRow());
  if (design >= 0 && table_->selectionModel() && table_->selectionModel()->hasSelection())
    picked = static_cast<std::size_t>(design);
  search::drawTradeOff(chart_->displayList(), points, picked);
  chart_->chartChanged();
}

void AutoDesignDialog::applyCurrent() {
  const int design = designOfRow(table_->currentRow());
  if (design < 0 || static_cast<std::size_t>(design) >= designs_.size()) return;
  apply_(designs_[static_cast<std::size_t>(design)].inputs);
}

void AutoDesignDialog::setRunning(bool isRunning) {
  run_->setEnabled(!isRunning);
  cancel_->setEnabled(isRunning);
  for (QLineEdit* edit : ranges_) edit->setEnabled(!isRunning);
  updateButtons();
  minYield_->setEnabled(!isRunning);
  if (isRunning) {
    progress_->setValue(0);
    poll_->start();
  } else {
    poll_->stop();
  }
}

void AutoDesignDialog::closeEvent(QCloseEvent* event) {
  if (running()) cancel();
  QDialog::closeEvent(event);
}

}  // namespace diaspring::app
