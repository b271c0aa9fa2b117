// The window's design files: new, open, save, save as, a file dropped on the
// window, the modified mark, the grey of stale results, and the autosave.
#include <algorithm>
#include <exception>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "box_marks.h"
#include "chart_actions.h"
#include "chart_widget.h"
#include "check/constraint_check.h"
#include "guide.h"
#include "layout_table.h"
#include "analysis_window.h"
#include "auto_design_dialog.h"
#include "compare_window.h"
#include "main_window.h"
#include "model/points.h"

namespace diaspring::app {
namespace {

const QString kDesignFilter = QStringLiteral("膜片弹簧设计 (*.diaspring)");
const QString kAllFilesFilter = QStringLiteral("所有文件 (*)");
const QString kOpenFailedTitle = QStringLiteral("无法打开设计文件");
const QString kAutosavePrefix = QStringLiteral("autosave-");
constexpr int kAutosaveIntervalMs = 60 * 1000;

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The file a design is saved to: as chosen when it already ends in
// .diaspring or the user chose to see all files, else with .diaspring added.
QString withDesignExtension(const QString& path, const QString& filter) {
  const QString extension = QString::fromUtf8(kDesignFileExtension.data(), qsizetype(kDesignFileExtension.size()));
  if (path.isEmpty() || filter == kAllFilesFilter || path.endsWith(extension, Qt::CaseInsensitive)) return path;
  return path + extension;
}

// The one local file a drag carries, or empty.
QString droppedFile(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

QString autosaveFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

// Beside an autosaved copy, the path of the file its design came from (none
// for a design never saved), so a restored copy goes back to its file.
QString originPath(const QString& copy) {
  return copy.left(copy.size() - QStringLiteral(".diaspring").size()) + QStringLiteral(".origin");
}

// A saved time ("2026-12-07T17:46:25Z") in the user's local time and words.
QString localTime(const std::string& savedAt) {
  if (savedAt.empty()) return QStringLiteral("尚未保存");
  QDateTime time = QDateTime::fromString(QString::fromStdString(savedAt), Qt::ISODate);
  if (!time.isValid()) return QString::fromStdString(savedAt);
  return QLocale(QLocale::Chinese, QLocale::China).toString(time.toLocalTime(), QStringLiteral("yyyy年M月d日 HH:mm:ss"));
}

}  // namespace

DesignInputs MainWindow::currentInputs() const {
  DesignInputs inputs = DesignInputs::fromFields(fields_);
  for (const auto& [name, text] : extras_) inputs.setExtra(name, text);
  return inputs;
}

void MainWindow::setExtra(std::string_view name, std::string_view text) {
  extras_.insert_or_assign(std::string(name), std::string(text));
  inputsChanged();
}

std::optional<std::string> MainWindow::extra(std::string_view name) const {
  const auto it = extras_.find(name);
  return it == extras_.end() ? std::nullopt : std::optional(it->second);
}

void MainWindow::setMetadata(const DesignMetadata& metadata) {
  const std::string savedAt = metadata_.savedAt;  // set by a save, never by the user
  metadata_ = metadata;
  metadata_.savedAt = savedAt;
  inputsChanged();
}

void MainWindow::editMetadata() {
  QDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("设计信息"));
  auto* form = new QFormLayout(&dialog);
  auto line = [&](const std::string& text, const QString& label) {
    auto* edit = new QLineEdit(QString::fromStdString(text), &dialog);
    edit->setMinimumWidth(320);
    form->addRow(label, edit);
    return edit;
  };
  QLineEdit* project = line(metadata_.project, QStringLiteral("项目："));
  QLineEdit* part = line(metadata_.partNumber, QStringLiteral("零件号/图号："));
  QLineEdit* designer = line(metadata_.designer, QStringLiteral("设计者："));
  auto* notes = new QPlainTextEdit(QString::fromStdString(metadata_.notes), &dialog);
  form->addRow(QStringLiteral("备注："), notes);
  // The release: the revision, and who designed, checked, reviewed and approved it, when.
  const DesignApproval& approval = metadata_.approval;
  QLineEdit* revision = line(approval.revision, QStringLiteral("版本："));
  revision->setObjectName(QStringLiteral("revision"));
  QLineEdit* designDate = line(approval.designDate, QStringLiteral("设计日期："));
  QLineEdit* checker = line(approval.checker, QStringLiteral("校核："));
  QLineEdit* checkDate = line(approval.checkDate, QStringLiteral("校核日期："));
  QLineEdit* reviewer = line(approval.reviewer, QStringLiteral("审核："));
  QLineEdit* reviewDate = line(approval.reviewDate, QStringLiteral("审核日期："));
  QLineEdit* approver = line(approval.approver, QStringLiteral("批准："));
  QLineEdit* approveDate = line(approval.approveDate, QStringLiteral("批准日期："));
  auto* saved = new QLabel(localTime(metadata_.savedAt), &dialog);
  saved->setObjectName(QStringLiteral("SavedAt"));
  form->addRow(QStringLiteral("最后保存："), saved);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  DesignMetadata edited = metadata_;
  edited.project = project->text().toStdString();
  edited.partNumber = part->text().toStdString();
  edited.designer = designer->text().toStdString();
  edited.notes = notes->toPlainText().toStdString();
  edited.approval = {revision->text().toStdString(), designDate->text().toStdString(), checker->text().toStdString(),
                     checkDate->text().toStdString(),   reviewer->text().toStdString(),  reviewDate->text().toStdString(),
                     approver->text().toStdString(),    approveDate->text().toStdString()};
  setMetadata(edited);
}

void MainWindow::trackDesign() {
  // Connected after the handlers: a slider's handler writes its box first.
  for (const InputBox& input : inputBoxes())
    connect(fields_.edit(input.box), &QLineEdit::textChanged, this, [this] { inputsChanged(); });
  for (int i = 1; i <= kSliderCount; ++i)
    connect(fields_.bar(static_cast<Slider>(i)), &QScrollBar::valueChanged, this, [this] { inputsChanged(); });
  // A file dropped anywhere on the window opens; the boxes take no drops.
  setAcceptDrops(true);
  for (QLineEdit* edit : form_->findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
  autosaveTimer_ = new QTimer(this);
  autosaveTimer_->setInterval(kAutosaveIntervalMs);
  connect(autosaveTimer_, &QTimer::timeout, this, [this] { autosave(); });
  document_.inputs = currentInputs();
  updateTitle();
}

void MainWindow::inputsChanged() {
  const DesignInputs now = currentInputs();
  const bool modified = !(now == document_.inputs) || !(metadata_ == document_.metadata);
  setWindowModified(modified);
  if (modified && !autosaveTimer_->isActive()) autosaveTimer_->start();
  if (!modified) autosaveTimer_->stop();

  const ResultStaleness stale = logic_->staleness(now);
  marks_->setStale(TextBox::Text5, stale.outputs);
  marks_->setStale(TextBox::Text8, stale.outputs);
  for (const PointBoxes& point : characteristicPoints()) {
    marks_->setStale(point.load, stale.outputs);
    marks_->setStale(point.deflection, stale.outputs);
  }
  for (int i = 0; i < kRuleCount; ++i) {
    marks_->setStale(ruleInfo(i).box, stale.checks);
    marks_->setFailure(ruleInfo(i).box, QString::fromStdString(logic_->ruleFailure(i)));
  }
  if (analysisWindow_ != nullptr) analysisWindow_->setStale(stale.analysis);
  if (CompareWindow* compare = compareWindow()) compare->inputsChanged(now);
  if (autoDesign_ != nullptr) autoDesign_->inputsChanged(now);
  updateActions();
}

void MainWindow::updateTitle() {
  const QString name = filePath_.isEmpty() ? QStringLiteral("未命名") : QFileInfo(filePath_).fileName();
  // The program's Chinese name (as in its desktop entry), not the form's caption in English.
  setWindowTitle(name + QStringLiteral("[*] - 膜片弹簧设计"));
  setWindowFilePath(filePath_);
}

void MainWindow::loadDocument(const DesignDocument& document, const QString& path, bool placeSliders) {
  // The sliders first, without their events, then every input text as
  // stored: the file's texts win over what a slider would write. Each slider
  // goes to the position nearest its box's number, so that its next step
  // starts from the design shown; the stored position where the text reads
  // as no number in its range. A new design is the window as it opens.
  DesignInputs placed = document.inputs;
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    if (placeSliders)
      placed.setSlider(slider, nearestSliderPosition(slider, placed.text(sliderBox(slider)), placed.slider(slider)));
    const QSignalBlocker blocker(fields_.bar(slider));
    fields_.bar(slider)->setValue(placed.slider(slider));
  }
  placed.typeInto(fields_);
  // The results and the chart belonged to the design before.
  logic_->press(Command::Command2);
  fields_.setText(TextBox::Text5, "");
  fields_.setText(TextBox::Text8, "");
  chart_->chartChanged();
  // The analysis (and the sheet's second page) belonged to that run too.
  lastRun_.reset();
  if (analysisWindow_ != nullptr) analysisWindow_->setCurveRun(lastRun_);
  // The design as placed is the file's: moving a slider to its text is no
  // change to save.
  document_ = document;
  document_.inputs = placed;
  metadata_ = document.metadata;
  extras_ = document.inputs.extras();
  if (analysisWindow_ != nullptr) analysisWindow_->setExtras(document.inputs);
  filePath_ = path;
  updateTitle();
  inputsChanged();
}

bool MainWindow::openFile(const QString& path) {
  DesignRead read;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    read = readDesignFile(nativePath(path));
  } catch (const std::exception&) {
    read = DesignRead{};
  }
  QGuiApplication::restoreOverrideCursor();
  if (!read.ok()) {
    const QString why = read.error ? QString::fromStdString(read.error->chinese())
                                   : QStringLiteral("读取设计文件“%1”时发生内部错误。").arg(path);
    showWarning(kOpenFailedTitle, why + QStringLiteral("\n窗口中的设计保留不变。"));
    return false;
  }
  const QFileInfo info(path);
  loadDocument(*read.document, info.absoluteFilePath());
  rememberFolder(info.absoluteFilePath());
  rememberRecent(path);
  return true;
}

void MainWindow::newDesign() {
  if (maybeSave()) loadDocument(DesignDocument{}, QString(), false);
}

void MainWindow::openDesign() {
  if (!maybeSave()) return;
  const QString path = askOpenFileName(QStringLiteral("打开设计"), lastFolder(),
                                       kDesignFilter + QStringLiteral(";;") + kAllFilesFilter);
  if (!path.isEmpty()) openFile(path);
}

bool MainWindow::save() { return filePath_.isEmpty() ? saveAs() : writeDocument(filePath_); }

bool MainWindow::saveAs() {
  QString filter = kDesignFilter;
  const QString suggested =
      filePath_.isEmpty() ? suggestedPath(QStringLiteral("膜片弹簧设计.diaspring")) : filePath_;
  const QString chosen = askSaveFileName(QStringLiteral("另存为"), suggested,
                                         kDesignFilter + QStringLiteral(";;") + kAllFilesFilter, &filter);
  const QString path = confirmedPath(chosen, withDesignExtension(chosen, filter));
  return !path.isEmpty() && writeDocument(path);
}

bool MainWindow::writeDocument(const QString& path) {
  DesignDocument document = document_;
  document.inputs = currentInputs();
  document.metadata = metadata_;
  QString failure;
  try {
    if (const auto error = writeDesignFile(nativePath(path), document))
      failure = QString::fromStdString(error->chinese());
  } catch (const std::exception&) {
    failure = QStringLiteral("保存设计文件“%1”时发生内部错误。").arg(path);
  }
  if (!failure.isEmpty()) {
    showWriteFailure(QStringLiteral("无法保存设计"), failure);
    return false;
  }
  document_ = document;
  metadata_ = document.metadata;  // with the time of this save
  filePath_ = QFileInfo(path).absoluteFilePath();
  rememberRecent(path);
  removeAutosave();
  updateTitle();
  inputsChanged();
  return true;
}

bool MainWindow::maybeSave() {
  if (!isWindowModified()) return true;
  switch (askSaveChanges()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
  }
}

int MainWindow::askSaveChanges() {
  const QString name = filePath_.isEmpty() ? QStringLiteral("未命名") : QFileInfo(filePath_).fileName();
  return QMessageBox::warning(this, QStringLiteral("保存更改"),
                              QStringLiteral("设计“%1”已修改。要保存更改吗？").arg(name),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

QString MainWindow::askOpenFileName(const QString& caption, const QString& directory, const QString& filters) {
  return askFileName(this, QFileDialog::AcceptOpen, caption, directory, filters);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!maybeSave()) {
    event->ignore();
    return;
  }
  if (guide_ != nullptr) guide_->close();
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = droppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // Answered after the drop: a dialog must not run inside the drag.
  QTimer::singleShot(0, this, [this, path] {
    if (maybeSave()) openFile(path);
  });
}

// ---------------------------------------------------------------- autosave

bool MainWindow::autosave() {
  if (!isWindowModified()) return true;
  QString failure;
  if (autosavePath_.isEmpty()) {
    // The lock beside the copy marks a running window; a normal end removes
    // both, so a copy whose lock no live process holds was left by a crash.
    const QString folder = autosaveFolder();
    const QString base = QDir(folder).filePath(kAutosavePrefix + QString::number(QCoreApplication::applicationPid()) +
                                               QLatin1Char('-') + QString::number(QDateTime::currentMSecsSinceEpoch()));
    auto lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    if (folder.isEmpty() || !QDir().mkpath(folder) || !lock->tryLock(0)) {
      failure = QStringLiteral("无法在文件夹“%1”中建立自动保存文件。").arg(QDir::toNativeSeparators(folder));
    } else {
      autosaveLock_ = std::move(lock);
      autosavePath_ = base + QStringLiteral(".diaspring");
    }
  }
  if (failure.isEmpty()) {
    DesignDocument document = document_;
    document.inputs = currentInputs();
    document.metadata = metadata_;
    try {
      if (const auto error = writeDesignFile(nativePath(autosavePath_), document))
        failure = QString::fromStdString(error->chinese());
    } catch (const std::exception&) {
      failure = QStringLiteral("自动保存时发生内部错误。");
    }
    const QString origin = originPath(autosavePath_);
    if (failure.isEmpty() && filePath_.isEmpty()) QFile::remove(origin);
    if (failure.isEmpty() && !filePath_.isEmpty()) {
      QSaveFile out(origin);
      if (!out.open(QIODevice::WriteOnly) || out.write(filePath_.toUtf8()) < 0 || !out.commit())
        failure = QStringLiteral("无法写入自动保存文件“%1”。").arg(QDir::toNativeSeparators(origin));
    }
  }
  if (failure.isEmpty()) return true;
  // Told once: a warning every minute would stop the work it protects.
  if (!autosaveFailureShown_) {
    autosaveFailureShown_ = true;
    showWarning(QStringLiteral("自动保存失败"),
                failure + QStringLiteral("\n设计没有自动备份，请用“保存”保存它；窗口中的内容保留不变。"));
  }
  return false;
}

void MainWindow::removeAutosave() {
  if (!autosavePath_.isEmpty()) {
    QFile::remove(autosavePath_);
    QFile::remove(originPath(autosavePath_));
  }
  autosavePath_.clear();
  autosaveLock_.reset();  // unlocks and removes the lock file
}

void MainWindow::offerRestore() {
  QDir folder(autosaveFolder());
  const QFileInfoList copies = folder.entryInfoList({kAutosavePrefix + QStringLiteral("*.diaspring")}, QDir::Files,
                                                    QDir::Time);  // newest first
  for (const QFileInfo& copy : copies) {
    if (copy.absoluteFilePath() == QFileInfo(autosavePath_).absoluteFilePath()) continue;
    const QString base = copy.absolutePath() + QLatin1Char('/') + copy.completeBaseName();
    QLockFile lock(base + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);  // stale only when its process has ended
    if (!lock.tryLock(0)) continue;  // the copy of a window still running
    const QString when = QLocale(QLocale::Chinese, QLocale::China)
                             .toString(copy.lastModified(), QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString originFile = originPath(copy.absoluteFilePath());
    // Back to the file it came from, compared with that file as saved; a
    // design never saved is compared with the default design.
    QString origin;
    QFile named(originFile);
    if (named.open(QIODevice::ReadOnly)) origin = QString::fromUtf8(named.readAll());
    if (askRestore(when, origin.isEmpty() ? QString() : QFileInfo(origin).absoluteFilePath())) {
      const DesignRead read = readDesignFile(nativePath(copy.absoluteFilePath()));
      if (!read.ok()) {
        showWarning(kOpenFailedTitle, QString::fromStdString(read.error->chinese()));
      } else {
        const DesignRead saved = origin.isEmpty() ? DesignRead{} : readDesignFile(nativePath(origin));
        DesignDocument restored = *read.document;
        // The copy's time is that of the autosave, not of a save.
        restored.metadata.savedAt = saved.ok() ? saved.document->metadata.savedAt : std::string();
        loadDocument(restored, origin.isEmpty() ? QString() : QFileInfo(origin).absoluteFilePath());
        document_ = saved.ok() ? *saved.document : DesignDocument{};
        inputsChanged();
        autosave();
      }
      QFile::remove(copy.absoluteFilePath());
      QFile::remove(originFile);
      return;  // one design per window; other copies wait for the next start
    }
    QFile::remove(copy.absoluteFilePath());
    QFile::remove(originFile);
  }
}

QString MainWindow::restoreQuestion(const QString& when, const QString& into) {
  const QString target = into.isEmpty() ? QStringLiteral("它将作为未命名的设计恢复（尚未保存为文件）。")
                                        : QStringLiteral("它将恢复到文件“%1”（%2），并标为尚未保存；"
                                                         "保存之前该文件不会改变。")
                                              .arg(QFileInfo(into).fileName(), QDir::toNativeSeparators(into));
  return QStringLiteral("diaspring 上次没有正常退出。\n要恢复 %1 自动保存的设计吗？\n%2\n选择“否”将删除这份自动保存。")
      .arg(when, target);
}

bool MainWindow::askRestore(const QString& when, const QString& into) {
  return QMessageBox::question(this, QStringLiteral("恢复设计"), restoreQuestion(when, into),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

}  // namespace diaspring::app
