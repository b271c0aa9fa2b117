#pragma once
// The tooltips of the window's boxes and sliders as Qt texts: the core's
// (check/box_help.h), which the page shows too.

#include <optional>

#include <QString>

#include "check/box_help.h"

namespace diaspring::app {

QString inputToolTip(TextBox box, const std::optional<QString>& readAs = std::nullopt);
QString sliderToolTip(Slider slider);
QString resultToolTip(TextBox box, const QString& text);

}  // namespace diaspring::app
