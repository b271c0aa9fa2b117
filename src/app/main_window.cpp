#include "main_window.h"

#include "analysis/materials.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QLockFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QWindow>

#include "auto_design_dialog.h"
#include "box_marks.h"
#include "caption_button.h"
#include "analysis_window.h"
#include "chart_widget.h"
#include "compare_window.h"
#include "fault_message.h"
#include "label_fit.h"
#include "layout_table.h"
#include "qt_text.h"
#include "render/fonts.h"
#include "slider_bar.h"
#include "spring_picture.h"

namespace diaspring::app {
namespace {

QRect pixelRect(const ControlSpec& c) {
  return {toPixels(c.left), toPixels(c.top), toPixels(c.width), toPixels(c.height)};
}

// 12 logical pixels, which high-DPI scaling enlarges with the rest of the
// window: the controls' sizes fit a narrow face at this size.
QFont windowFont() {
  QFont font = textFont();
  font.setPixelSize(12);
  return font;
}

// The adjustment label beside each slider, which names it to the user.
QString sliderCaption(Slider slider) {
  static constexpr std::string_view kLabels[kSliderCount] = {"Label8", "Label9", "Label13",
                                                             "Label14", "Label18", "Label19"};
  const ControlSpec* label = findControl(kLabels[static_cast<int>(slider) - 1]);
  return label != nullptr ? qs(label->text) : qs(sliderName(slider));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  const ControlSpec* form = findControl("Form1");
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(qs(form->text));
  setFont(windowFont());
  // The form keeps its size; the window is the form with the menu bar above.
  form_ = new QWidget(this);
  form_->setObjectName(QStringLiteral("Form1"));
  form_->setAccessibleName(QStringLiteral("Form1"));
  form_->setFixedSize(toPixels(form->width), toPixels(form->height));
  setCentralWidget(form_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  buildControls();
  for (QLabel* label : findChildren<QLabel*>())
    if (label->objectName().startsWith(QLatin1String("Label"))) fitCaption(*label);
  drawPicture();
  setTabOrderFromTable();
  logic_ = std::make_unique<WindowLogic>(fields_, chart_->displayList());
  connectHandlers();
  buildChartMenu();
  marks_ = new BoxMarks(fields_, this);
  buildMenus();
  trackDesign();
  updateActions();
  if (QWidget* first = control("Text1")) first->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() { removeAutosave(); }

QWidget* MainWindow::control(const std::string& name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::buildControls() {
  for (const ControlSpec& c : controlTable()) {
    if (c.kind == ControlKind::Form) continue;
    QWidget* parent = c.parent == "Form1" ? form_ : control(std::string(c.parent));
    QWidget* w = nullptr;
    switch (c.kind) {
      case ControlKind::Form:
        break;
      case ControlKind::Frame:
        w = new QGroupBox(qs(c.text), parent);
        break;
      case ControlKind::Label: {
        auto* label = new QLabel(qs(c.text), parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        w = label;
        break;
      }
      case ControlKind::TextBox: {
        auto* edit = new QLineEdit(qs(c.text), parent);
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setTextMargins(0, 0, 0, 0);
        edit->setCursorPosition(0);
        if (auto box = textBoxFromName(c.name)) fields_.attach(*box, edit);
        w = edit;
        break;
      }
      case ControlKind::ScrollBar: {
        auto* bar = new SliderBar(c.min, c.max, c.value, parent);
        if (auto slider = sliderFromName(c.name)) fields_.attach(*slider, bar);
        w = bar;
        break;
      }
      case ControlKind::Button:
        w = new CaptionButton(qs(c.text), parent);
        break;
      case ControlKind::Picture:
        chart_ = new ChartWidget(parent);
        w = chart_;
        break;
      case ControlKind::Image: {
        auto* image = new QLabel(parent);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The program's icon where it is installed, else the spring picture.
        setWindowIcon(QIcon::fromTheme(QStringLiteral("org.diaspring.Diaspring"), QIcon(springPicture(64, 1.0))));
        w = image;
        break;
      }
    }
    const QString name = qs(c.name);
    w->setObjectName(name);
    w->setAccessibleName(name);
    w->setGeometry(pixelRect(c));
    controls_.emplace(std::string(c.name), w);
  }
}

// The picture is drawn for the screen's pixel ratio, at its natural size.
void MainWindow::drawPicture() {
  auto* image = static_cast<QLabel*>(control("Image1"));
  image->setPixmap(springPicture(image->width(), devicePixelRatioF()));
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (followingScreen_ || windowHandle() == nullptr) return;
  followingScreen_ = true;
  drawPicture();
  const auto fit = [this] {
    // The offscreen platform's one screen (800 × 600, no window manager)
    // bounds no window.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || screen() == nullptr) return;
    const QSize frame = frameGeometry().size() - size();
    fitScreen(screen()->availableGeometry().size() - frame.expandedTo(QSize(0, 0)));
  };
  fit();
  connect(windowHandle(), &QWindow::screenChanged, this, [this, fit] {
    drawPicture();
    fit();
  });
}

void MainWindow::fitScreen(const QSize& available) {
  const QSize natural(form_->width(), form_->height() + menuBar()->sizeHint().height());
  const bool fits = natural.width() <= available.width() && natural.height() <= available.height();
  if (fits == (formScroll_ == nullptr)) return;
  if (fits) {
    formScroll_->takeWidget();
    setCentralWidget(form_);  // the scroll area goes
    formScroll_ = nullptr;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    return;
  }
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  takeCentralWidget();
  formScroll_ = new QScrollArea(this);
  formScroll_->setObjectName(QStringLiteral("FormScroll"));
  formScroll_->setFrameShape(QFrame::NoFrame);
  formScroll_->setWidget(form_);  // at its own fixed size
  setCentralWidget(formScroll_);
  setMinimumSize(320, 240);
  setMaximumSize(natural);
  resize(natural.boundedTo(available));
}

void MainWindow::setTabOrderFromTable() {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& c : controlTable()) {
    const bool focusable = c.kind == ControlKind::TextBox || c.kind == ControlKind::ScrollBar ||
                           c.kind == ControlKind::Button || c.kind == ControlKind::Picture;
    if (focusable && c.tabIndex >= 0) order.push_back(&c);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(control(std::string(order[i - 1]->name)), control(std::string(order[i]->name)));
}

void MainWindow::connectHandlers() {
  // Connected after the sliders got their starting values: building the
  // window runs no handler.
  for (int i = 1; i <= 3; ++i) {
    const auto command = static_cast<Command>(i);
    auto* button = static_cast<QPushButton*>(control(commandName(command)));
    connect(button, &QPushButton::clicked, this, [this, command] { press(command); });
  }
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    connect(fields_.bar(slider), &QScrollBar::valueChanged, this, [this, slider] { sliderMoved(slider); });
  }
}

void MainWindow::press(Command command) {
  std::optional<Fault> fault;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    fault = logic_->press(command);
  } catch (const std::exception&) {
    QGuiApplication::restoreOverrideCursor();
    chart_->chartChanged();
    showFault(kFaultTitle, QStringLiteral("执行“%1”时发生内部错误；窗口中的内容保留不变。")
                               .arg(qs(commandCaption(command))));
    return;
  }
  QGuiApplication::restoreOverrideCursor();
  chart_->chartChanged();
  if (command != Command::Command3) {
    lastRun_.reset();
    if (command == Command::Command1 && !fault) lastRun_ = curveRunOf(*logic_, fields_);
    if (analysisWindow_ != nullptr) analysisWindow_->setCurveRun(lastRun_);
  }
  inputsChanged();
  if (command == Command::Command1) autosave();
  if (command == Command::Command1) emit curveRan();
  report(qs(commandCaption(command)), fault);
}

void MainWindow::showAnalysisWindow() {
  if (analysisWindow_ == nullptr) {
    analysisWindow_ = new AnalysisWindow(this);
    // Its inputs are the design's extras: shown from the design, edited into it.
    analysisWindow_->setExtras(currentInputs());
    connect(analysisWindow_, &AnalysisWindow::inputEdited, this,
            [this](const std::string& name, const std::string& text) { setExtra(name, text); });
    connect(analysisWindow_, &AnalysisWindow::materialChosen, this, [this](const std::string& name) { chooseMaterial(name); });
    analysisWindow_->setCurveRun(lastRun_);
    analysisWindow_->setStale(logic_->staleness().analysis);
  }
  analysisWindow_->show();
  analysisWindow_->raise();
  analysisWindow_->activateWindow();
}

std::optional<AnalysisInput> MainWindow::analysisInput() const {
  if (analysisWindow_ != nullptr) return analysisWindow_->analysisInput();
  if (!lastRun_) return std::nullopt;
  const ParamsResult params = analysisParams(currentInputs());
  if (!params.error.empty()) return std::nullopt;
  return AnalysisInput{*lastRun_, params.params};
}

void MainWindow::chooseMaterial(const std::string& name) {
  const auto chosen = extra(kMaterialKey);
  if ((chosen ? *chosen : std::string()) == name) return;
  setExtra(kMaterialKey, name);
  if (const Material* m = materialOfName(name)) {
    // As 自动设计's apply: the texts typed into their boxes, then the
    // analysis inputs the material sets.
    const MaterialTexts texts = materialTexts(*m);
    for (const auto& [box, text] : texts.boxes) fields_.setText(box, text);
    for (const auto& [key, text] : texts.extras) setExtra(key, text);
    if (analysisWindow_ != nullptr) analysisWindow_->setExtras(currentInputs());
  }
  inputsChanged();
}

void MainWindow::applyDesign(const DesignInputs& inputs) {
  inputs.typeInto(fields_);
  syncSliders();
  press(Command::Command1);
}

void MainWindow::syncSliders() {
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    const TextBox box = sliderBox(slider);
    const QSignalBlocker blocker(fields_.bar(slider));  // no handler: the box keeps its text
    fields_.bar(slider)->setValue(nearestSliderPosition(slider, fields_.text(box), fields_.sliderValue(slider)));
  }
  inputsChanged();
}

void MainWindow::openAutoDesign() {
  if (!autoDesign_) {
    autoDesign_ = new AutoDesignDialog([this] { return currentInputs(); },
                                       [this](const DesignInputs& inputs) { applyDesign(inputs); }, this);
    connect(autoDesign_, &AutoDesignDialog::compareRequested, this, [this](const DesignInputs& in, const QString& name) {
      showCompareWindow();
      compareWindow()->addDesign(in, name);
    });
  }
  autoDesign_->show();
  autoDesign_->raise();
  autoDesign_->activateWindow();
}

void MainWindow::sliderMoved(Slider slider) {
  std::optional<Fault> fault;
  try {
    fault = logic_->sliderChanged(slider);
  } catch (const std::exception&) {
    showFault(kFaultTitle, QStringLiteral("调节“%1”时发生内部错误；窗口中的内容保留不变。")
                               .arg(sliderCaption(slider)));
    return;
  }
  chart_->chartChanged();
  report(sliderCaption(slider), fault);
}

void MainWindow::report(const QString& action, const std::optional<Fault>& fault) {
  if (fault) showFault(kFaultTitle, faultMessage(action, *fault));
}

void MainWindow::showFault(const QString& title, const QString& text) {
  QMessageBox::critical(this, title, text);
}

}  // namespace diaspring::app
