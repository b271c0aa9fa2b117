#include "box_marks.h"

#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

#include "check/box_help.h"
#include "check/constraint_check.h"
#include "label_fit.h"

namespace diaspring::app {
namespace {

const QColor kWarningRed(0xD3, 0x2F, 0x2F);
const QColor kStaleGrey(0x9E, 0x9E, 0x9E);

// A red frame laid over a text box: the box keeps its own look, size and
// text; mouse and keys pass through to it.
class WarningFrame : public QWidget {
 public:
  explicit WarningFrame(QWidget* box) : QWidget(box) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(box->rect());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(kWarningRed, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
};

}  // namespace

BoxMarks::BoxMarks(const WidgetFields& fields, QObject* parent) : QObject(parent), fields_(fields) {
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    QLineEdit* edit = fields_.edit(box);
    if (edit == nullptr) continue;
    if (isResultBox(box)) edit->setReadOnly(true);
    connect(edit, &QLineEdit::textChanged, this, [this, box] { textChanged(box); });
    textChanged(box);
  }
  for (const SliderHelp& help : sliderHelp())
    if (QScrollBar* bar = fields_.bar(help.slider)) bar->setToolTip(QString::fromStdString(sliderToolTip(help.slider)));
}

void BoxMarks::textChanged(TextBox box) {
  QLineEdit* edit = fields_.edit(box);
  if (isResultBox(box)) {
    edit->setToolTip(QString::fromStdString(
        boxMark(box, edit->text().toStdString(), failures_[index(box)].toStdString()).toolTip));
    fitBoxText(*edit);
    return;
  }
  const BoxMark mark = boxMark(box, edit->text().toStdString());
  const bool flag = mark.flagged;
  flagged_[index(box)] = flag;
  fitBoxText(*edit);  // a long number ("2100000" in E) shows whole
  edit->setToolTip(QString::fromStdString(mark.toolTip));
  QWidget*& frame = frames_[index(box)];
  if (flag && frame == nullptr) {
    frame = new WarningFrame(edit);
    frame->show();
  } else if (!flag && frame != nullptr) {
    delete frame;
    frame = nullptr;
  }
}

void BoxMarks::setFailure(TextBox box, const QString& failure) {
  if (failures_[index(box)] == failure) return;
  failures_[index(box)] = failure;
  textChanged(box);
}

void BoxMarks::setStale(TextBox box, bool stale) {
  if (stale_[index(box)] == stale) return;
  stale_[index(box)] = stale;
  QLineEdit* edit = fields_.edit(box);
  QPalette palette = edit->parentWidget()->palette();
  if (stale)
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      palette.setColor(group, QPalette::Text, kStaleGrey);
  edit->setPalette(palette);
}

}  // namespace diaspring::app
