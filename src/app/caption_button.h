#pragma once
// A push button whose caption wraps onto further lines when it is wider than
// the button, breaking between words or, in Chinese text, between characters.

#include <QPushButton>
#include <QString>

namespace diaspring::app {

class CaptionButton : public QPushButton {
  Q_OBJECT
 public:
  explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

  // The caption as given, without the line breaks added for display.
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void rewrap();

  QString caption_;
};

// `text` broken into lines no wider than `width` pixels in `font`; every
// character of `text` is kept, the lines are joined with '\n'.
QString wrapCaption(const QString& text, const QFont& font, double width);

}  // namespace diaspring::app
