#include "widget_fields.h"

#include <QLineEdit>
#include <QScrollBar>

namespace diaspring::app {

void WidgetFields::attach(TextBox box, QLineEdit* edit) { edits_[index(box)] = edit; }
void WidgetFields::attach(Slider slider, QScrollBar* bar) { bars_[index(slider)] = bar; }

std::string WidgetFields::text(TextBox box) const { return edit(box)->text().toStdString(); }

// As a form's text box after its text is set, the box shows the beginning of
// the text: a long number shows its first digits, not its last.
void WidgetFields::setText(TextBox box, std::string_view text) {
  QLineEdit* e = edit(box);
  e->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  e->setCursorPosition(0);
}

int WidgetFields::sliderValue(Slider slider) const { return bar(slider)->value(); }

}  // namespace diaspring::app
