// Units, fonts and the icon the three windows share.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QStringList>

namespace tavrix::screens {

// Twips to logical pixels: 15 twips make a pixel at 96 dots per inch,
// rounded to the nearest pixel.
constexpr int Px(int twips) { return (twips * 2 + 15) / 30; }
inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The faces the windows are drawn in, each a list of families: the face
// itself first, then substitutes found on Linux, the nearest first.
//
// The families a face is asked for by: the first of them that is installed,
// alone; all of them when none is installed. Each family Qt is asked for
// that is not installed, and each face asked for with families to fall back
// on, costs a sort of every installed font by how near it comes, done when
// the face is first used: on a desktop with a few thousand fonts each sort
// takes longer than drawing the start screen. A face asked for by one
// installed family looks the same, and for a character it lacks Qt still
// falls back on another face, sorting the fonts only when such a character
// is drawn.
QStringList FamiliesToAsk(const QStringList& families);

// The Traditional Chinese Ming face of the question rows and the score line.
// "新細明體" comes first; the substitutes are Ming faces.
const QStringList& MingFamilies();
QFont MingFont(qreal points);
// Times New Roman, or a serif face of the same metrics.
const QStringList& TimesFamilies();
QFont TimesFont(qreal points, bool bold);
// The small sans-serif face of the help and about texts, the level frame and
// the buttons, sized so the texts fit their labels.
const QStringList& DialogFamilies();
QFont DialogFont();

// The globe on every window's title bar.
QIcon AppIcon();

}  // namespace tavrix::screens
