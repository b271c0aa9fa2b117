#pragma once
// Fitting a fixed label's caption, or a result box's text, into its box. The
// boxes are sized for a narrow 12-pixel font; with a wider one some captions
// would be cut off, and long numbers are cut off even with it. The window's
// font is kept wherever the text fits; otherwise it is made a little
// narrower, then smaller, until the text shows in full.

#include <QFont>
#include <QSize>
#include <QString>

class QLabel;
class QLineEdit;

namespace diaspring::app {

// Whether `text`, wrapped at word boundaries (and between Chinese
// characters) as a word-wrapping label does, fits in `box`. The last
// line may lose at most a pixel and a half of its descent.
bool captionFits(const QString& text, const QFont& font, QSize box);

// `base` where the caption fits; otherwise the largest narrower or smaller
// variant that does (the smallest tried when none does).
QFont fittingFont(const QString& text, const QFont& base, QSize box);

// The width in which a line edit shows its text: inside its frame, less its
// text margins and the line edit's own margin.
int lineTextWidth(const QLineEdit& edit);

// `base` where `text` fits on one line `width` pixels wide; otherwise the
// largest narrower or smaller variant that does (the smallest tried when
// none does).
QFont fittingLineFont(const QString& text, const QFont& base, int width);

// Gives a box the font of its container, or a narrower or smaller one where
// its text would be cut off: a result box shows its whole number.
void fitBoxText(QLineEdit& edit);

// How much of the label's right side is hidden under controls placed after
// it in the same container (several labels reach under their text boxes).
int coveredWidth(const QLabel& label);

// How far the label's caption starts right of its left edge to stay two
// pixels clear of a control that ends at or over that edge ("λ1H=" beside
// the λ1N box); 0 when none does.
int crowdedLeft(const QLabel& label);

// Keeps the label's caption out of its covered part (by a right contents
// margin, so it wraps before it) and clear of a control touching its left
// edge (by a left one), and gives it a font that fits what stays visible.
void fitCaption(QLabel& label);

}  // namespace diaspring::app
