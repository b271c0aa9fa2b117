#pragma once
// The words the window shows when a handler stops on an arithmetic fault.

#include <QString>

#include "runtime/fault.h"

namespace diaspring::app {

inline const QString kFaultTitle = QStringLiteral("计算出错");

// `action` names what the user did, in the window's words: a button's
// caption, or a slider's adjustment label.
QString faultMessage(const QString& action, const Fault& fault);

}  // namespace diaspring::app
