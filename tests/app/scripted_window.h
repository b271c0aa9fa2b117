#pragma once
// A window whose dialogs answer as the test says and whose message boxes are
// recorded instead of shown, so a dialog that should not appear fails a test
// instead of hanging it.
#include <utility>
#include <vector>

#include <QMessageBox>
#include <QPrinter>
#include <QString>

#include "main_window.h"

class ScriptedWindow : public diaspring::app::MainWindow {
 public:
  struct Asked {
    QString caption, suggested, filters, offered;
  };
  QString answer;        // the file chosen; empty: the dialog was cancelled
  QString answerFilter;  // the filter chosen; empty: the one offered
  bool replace = false;
  bool realWarnings = false;  // show warnings in real message boxes
  int saveChanges = QMessageBox::Cancel;  // the answer to "save changes?"
  bool restore = false;                   // the answer to "restore the autosave?"
  std::vector<Asked> asked;
  std::vector<QString> replaceAsked;
  std::vector<std::pair<QString, QString>> warnings;
  std::vector<QString> faults;
  int saveChangesAsked = 0;
  int restoreAsked = 0;
  QString restoreInto;  // the file the last restore offer named
  int previews = 0;

 protected:
  QString askSaveFileName(const QString& caption, const QString& suggested, const QString& filters,
                          QString* selectedFilter) override {
    asked.push_back({caption, suggested, filters, *selectedFilter});
    if (!answerFilter.isEmpty()) *selectedFilter = answerFilter;
    return answer;
  }
  QString askOpenFileName(const QString& caption, const QString& directory, const QString& filters) override {
    asked.push_back({caption, directory, filters, QString()});
    return answer;
  }
  bool confirmReplace(const QString& path) override {
    replaceAsked.push_back(path);
    return replace;
  }
  int askSaveChanges() override {
    ++saveChangesAsked;
    return saveChanges;
  }
  bool askRestore(const QString&, const QString& into) override {
    ++restoreAsked;
    restoreInto = into;
    return restore;
  }
  void previewSheet(QPrinter&) override { ++previews; }
  void showWarning(const QString& title, const QString& text) override {
    warnings.emplace_back(title, text);
    if (realWarnings) MainWindow::showWarning(title, text);
  }
  void showFault(const QString&, const QString& text) override { faults.push_back(text); }
};
