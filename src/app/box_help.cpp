#include "box_help.h"

namespace diaspring::app {

QString inputToolTip(TextBox box, const std::optional<QString>& readAs) {
  return QString::fromStdString(
      diaspring::inputToolTip(box, readAs ? std::optional<std::string>(readAs->toStdString()) : std::nullopt));
}

QString sliderToolTip(Slider slider) { return QString::fromStdString(diaspring::sliderToolTip(slider)); }

QString resultToolTip(TextBox box, const QString& text) {
  return QString::fromStdString(diaspring::resultToolTip(box, text.toStdString()));
}

}  // namespace diaspring::app
