#include "guide.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "check/guide_text.h"

namespace diaspring::app {

QString guideHtml() { return QString::fromStdString(diaspring::guideHtml()); }

GuideDialog::GuideDialog(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("GuideDialog"));
  setWindowTitle(QStringLiteral("使用说明"));
  browser_->setObjectName(QStringLiteral("GuideText"));
  browser_->setOpenLinks(false);
  browser_->setHtml(guideHtml());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(720, 640);
}

}  // namespace diaspring::app
