#include "box_marks.h"

#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

#include "box_help.h"
#include "check/constraint_check.h"
#include "label_fit.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

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

// The number the calculation reads from a text, as the tooltip names it;
// none when it is beyond the range of numbers.
std::optional<QString> numberRead(const std::string& text) {
  try {
    return QString::fromStdString(generalText(val(text)));
  } catch (const Fault&) {
    return std::nullopt;
  }
}

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
    if (QScrollBar* bar = fields_.bar(help.slider)) bar->setToolTip(sliderToolTip(help.slider));
}

void BoxMarks::textChanged(TextBox box) {
  QLineEdit* edit = fields_.edit(box);
  if (isResultBox(box)) {
    // What a failed rule computed, before its verdict, while the box shows it.
    const QString& failure = failures_[index(box)];
    const bool failed = !failure.isEmpty() && edit->text() == QString::fromUtf8(kFailed);
    edit->setToolTip(resultToolTip(box, failed ? failure + QStringLiteral("\n") + edit->text() : edit->text()));
    fitBoxText(*edit);
    return;
  }
  const std::string text = edit->text().toStdString();
  // Flagged: a text not wholly a number, and a number too large to compute with.
  const std::optional<QString> read = numberRead(text);
  const bool flag = readsNumber(box) && (!isWholeNumber(text) || !read);
  flagged_[index(box)] = flag;
  fitBoxText(*edit);  // a long number ("2100000" in E) shows whole
  edit->setToolTip(!flag ? inputToolTip(box)
                   : read ? inputToolTip(box, read)
                          : inputToolTip(box) + QStringLiteral("\n此框的数超出数值范围，计算将报溢出。"));
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
