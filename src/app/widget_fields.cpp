#include "widget_fields.h"

#include <QLineEdit>
#include <QScrollBar>

namespace diaspring::app {

void WidgetFields::attach(TextBox box, QLineEdit* edit) { edits_[index(box)] = edit; }
void WidgetFields::attach(Slider slider, QScrollBar* bar) { bars_[index(slider)] = bar; }

std::string WidgetFields::text(TextBox box) const { return edit(box)->text().toStdString(); }

void WidgetFields::setText(TextBox box, std::string_view text) {
  edit(box)->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int WidgetFields::sliderValue(Slider slider) const { return bar(slider)->value(); }

}  // namespace diaspring::app
