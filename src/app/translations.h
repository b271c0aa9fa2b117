#pragma once
// Qt's own texts in Chinese: the standard dialogs (file dialog, message
// boxes, print preview) and buttons speak the window's language.

class QCoreApplication;

namespace diaspring::app {

// Loads Qt's Simplified Chinese translations (qtbase_zh_CN from Qt's
// translations folder) into the application. False when they are not
// installed; Qt's texts then stay in English.
bool installQtChinese(QCoreApplication& app);

}  // namespace diaspring::app
