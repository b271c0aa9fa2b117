#pragma once
// What the Qt windows share to show the core's texts: UTF-8 to QString, the
// colours of a verdict, and the note a window shows while the design it
// shows is no longer the main window's.

#include <string_view>

#include <QLabel>
#include <QString>

namespace diaspring::app {

// The core's texts are UTF-8.
inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

inline const QString kPassColor = QStringLiteral("#2E7D32");
inline const QString kFailColor = QStringLiteral("#C62828");
inline const QString kStaleColor = QStringLiteral("#9E9E9E");
inline const QString kExampleColor = QStringLiteral("#B35900");

// Rich text of `text` in `color`.
inline QString inColor(const QString& color, const QString& text) {
  return QStringLiteral("<span style='color:%1'>%2</span>").arg(color, text);
}

// The warning, in red, that what a window shows was made from inputs the
// main window no longer holds; hidden until the window turns stale. Tests
// find it by its object name, StaleNote.
inline QLabel* makeStaleNote(const QString& text, QWidget* parent = nullptr) {
  auto* note = new QLabel(inColor(kFailColor, text), parent);
  note->setObjectName(QStringLiteral("StaleNote"));
  note->setWordWrap(true);
  note->hide();
  return note;
}

}  // namespace diaspring::app
