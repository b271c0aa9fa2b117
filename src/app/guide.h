#pragma once
// 使用说明: a short guide in Chinese inside the program: what each input
// means with its unit and usual range, what each point and each rule means,
// how to read the chart, and how designs are kept.

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace diaspring::app {

// The guide as rich text, written from the same tables as the tooltips.
QString guideHtml();

// The About box's text: the version, the Qt version and the licence.
QString aboutText();

// The guide in a window of its own beside the calculator's.
class GuideDialog : public QDialog {
  Q_OBJECT
 public:
  explicit GuideDialog(QWidget* parent = nullptr);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace diaspring::app
