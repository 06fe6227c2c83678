// Units, fonts and the icon the three windows share.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

namespace tavrix::screens {

// Twips to logical pixels: 15 twips make a pixel at 96 dots per inch,
// rounded to the nearest pixel.
constexpr int Px(int twips) { return (twips * 2 + 15) / 30; }
inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The Traditional Chinese Ming face of the question rows and the score line.
// "新細明體" comes first; the substitutes are Ming faces found on Linux.
QFont MingFont(qreal points);
// Times New Roman, or a serif face of the same metrics.
QFont TimesFont(qreal points, bool bold);
// The small sans-serif face of the help and about texts, the level frame and
// the buttons, sized so the texts fit their labels.
QFont DialogFont();

// The globe on every window's title bar.
QIcon AppIcon();

}  // namespace tavrix::screens
