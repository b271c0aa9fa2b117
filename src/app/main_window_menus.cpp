// The window's menu bar: 文件, 编辑, (分析,) 帮助; the About box and the guide.
#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QtGlobal>

#include "chart_actions.h"
#include "chart_widget.h"
#include "guide.h"
#include "check/guide_text.h"
#include "main_window.h"
#include "runtime/version.h"

namespace diaspring::app {
namespace {

constexpr int kMaxRecent = 8;
const QString kRecentKey = QStringLiteral("recentFiles");

// An action with the platform's shortcut for `key`; where the platform has
// none (Quit and SaveAs on some), with the common one.
QAction* menuAction(QMenu* menu, const char* name, const QString& text, QKeySequence::StandardKey key) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty() && key == QKeySequence::Quit) keys = {QKeySequence(Qt::CTRL | Qt::Key_Q)};
  if (keys.isEmpty() && key == QKeySequence::SaveAs) keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
  action->setShortcuts(keys);
  return action;
}

}  // namespace

QString aboutText() {
  return QString::fromStdString(diaspring::aboutHtml(
      QStringLiteral("<p>基于 Qt %1（运行于 Qt %2）。</p>")
          .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()))
          .toStdString()));
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  file->setObjectName(QStringLiteral("fileMenu"));
  connect(menuAction(file, "fileNew", QStringLiteral("新建(&N)"), QKeySequence::New), &QAction::triggered, this,
          [this] { newDesign(); });
  connect(menuAction(file, "fileOpen", QStringLiteral("打开(&O)…"), QKeySequence::Open), &QAction::triggered, this,
          [this] { openDesign(); });
  recentMenu_ = file->addMenu(QStringLiteral("最近打开的文件(&R)"));
  recentMenu_->setObjectName(QStringLiteral("recentMenu"));
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
  file->addSeparator();
  connect(menuAction(file, "fileSave", QStringLiteral("保存(&S)"), QKeySequence::Save), &QAction::triggered, this,
          [this] { save(); });
  connect(menuAction(file, "fileSaveAs", QStringLiteral("另存为(&A)…"), QKeySequence::SaveAs), &QAction::triggered,
          this, [this] { saveAs(); });
  connect(menuAction(file, "fileMetadata", QStringLiteral("设计信息(&I)…"), QKeySequence::UnknownKey),
          &QAction::triggered, this, [this] { editMetadata(); });
  file->addSeparator();
  connect(menuAction(file, "fileExportChart", QStringLiteral("导出图表(&C)…"), QKeySequence::UnknownKey),
          &QAction::triggered, this, [this] { saveChart(); });
  connect(menuAction(file, "fileExportSheet", kExportSheetCaption, QKeySequence::UnknownKey), &QAction::triggered,
          this, [this] { exportDesignSheet(); });
  connect(menuAction(file, "filePrintSheet", QStringLiteral("打印设计报告(&P)…"), QKeySequence::Print),
          &QAction::triggered, this, [this] { printDesignSheet(); });
  file->addSeparator();
  QAction* quit = menuAction(file, "fileQuit", QStringLiteral("退出(&X)"), QKeySequence::Quit);
  quit->setMenuRole(QAction::QuitRole);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  edit->setObjectName(QStringLiteral("editMenu"));
  connect(menuAction(edit, "editCopyChart", kCopyChartCaption, QKeySequence::UnknownKey), &QAction::triggered, this,
          [this] { copyChart(); });

  analysisMenu_ = menuBar()->addMenu(QStringLiteral("分析(&Y)"));
  analysisMenu_->setObjectName(QStringLiteral("analysisMenu"));
  connect(menuAction(analysisMenu_, "analysisStrength", kAnalysisCaption, QKeySequence::UnknownKey),
          &QAction::triggered, this, [this] { showAnalysisWindow(); });
  connect(menuAction(analysisMenu_, "analysisAutoDesign", kAutoDesignCaption, QKeySequence::UnknownKey),
          &QAction::triggered, this, [this] { openAutoDesign(); });
  connect(menuAction(analysisMenu_, "analysisCompare", QStringLiteral("特性曲线对比(&C)…"), QKeySequence::UnknownKey),
          &QAction::triggered, this, [this] { showCompareWindow(); });

  helpMenu_ = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  helpMenu_->setObjectName(QStringLiteral("helpMenu"));
  connect(menuAction(helpMenu_, "helpGuide", QStringLiteral("使用说明(&G)"), QKeySequence::HelpContents),
          &QAction::triggered, this, [this] { showGuide(); });
  QAction* about = menuAction(helpMenu_, "helpAbout", QStringLiteral("关于(&A)"), QKeySequence::UnknownKey);
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

QMenu* MainWindow::analysisMenu() { return analysisMenu_; }

void MainWindow::updateActions() {
  const bool drawn = chart_->displayList().visibleFrom() < chart_->displayList().size();
  for (const char* name : {"fileExportChart", "editCopyChart"})
    if (auto* action = findChild<QAction*>(QString::fromLatin1(name))) action->setEnabled(drawn);
  if (auto* action = findChild<QAction*>(QStringLiteral("fileSave")))
    action->setEnabled(isWindowModified() || filePath_.isEmpty());
  if (recentMenu_ != nullptr) recentMenu_->setEnabled(!recentFiles().isEmpty());
}

void MainWindow::showGuide() {
  if (guide_ == nullptr) guide_ = new GuideDialog(this);
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void MainWindow::showAbout() { QMessageBox::about(this, QStringLiteral("关于 diaspring"), aboutText()); }

// ------------------------------------------------------------ recent files

QStringList MainWindow::recentFiles() const { return QSettings().value(kRecentKey).toStringList(); }

void MainWindow::rememberRecent(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = recentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kMaxRecent) files.removeLast();
  QSettings().setValue(kRecentKey, files);
  updateActions();
}

void MainWindow::forgetRecent(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  QSettings().setValue(kRecentKey, files);
  updateActions();
}

void MainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList files = recentFiles();
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    QAction* action = recentMenu_->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
    action->setToolTip(path);
    action->setData(path);
    connect(action, &QAction::triggered, this, [this, path] {
      if (!maybeSave()) return;
      if (!QFileInfo::exists(path)) {
        forgetRecent(path);
        showWarning(QStringLiteral("无法打开设计文件"),
                    QStringLiteral("文件“%1”已不存在，已从最近打开的文件中移除。").arg(path));
        return;
      }
      openFile(path);
    });
  }
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction(QStringLiteral("清除列表"));
  clear->setObjectName(QStringLiteral("recentClear"));
  clear->setEnabled(!files.isEmpty());
  connect(clear, &QAction::triggered, this, [this] {
    QSettings().remove(kRecentKey);
    updateActions();
  });
}

}  // namespace diaspring::app
