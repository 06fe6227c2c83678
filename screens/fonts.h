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

// The Traditional Chinese Ming face of the question rows and the score line.
// "新細明體" comes first; the substitutes are Ming faces found on Linux.
QFont MingFont(qreal points);
// Times New Roman, or a serif face of the same metrics.
QFont TimesFont(qreal points, bool bold);
// The small sans-serif face of the help and about texts, the level frame and
// the buttons, sized so the texts fit their labels.
QFont DialogFont();

// font, drawn with its own face alone when that face has every character of
// texts and each is of the common or the Latin script: Qt then skips working
// out the faces it would fall back on for other characters, which costs more
// the more fonts the desktop has (with the Noto set, more than loading the
// face itself). The texts look the same either way; where a character is
// missing, font is returned with Qt's fallback faces, and the character comes
// from another face as before. Either way the font says so itself, so a
// control given it no longer takes that from its parent.
QFont FontForTexts(const QFont& font, const QStringList& texts);

// Reads the desktop's font configuration (fontconfig's, the longest part of
// loading the first font: it grows with the number of fonts) on a thread of
// its own, while the program connects to the display and builds its first
// window. Called once, before the QApplication is made; the thread is joined
// by WaitForFontConfiguration() or at exit.
void StartReadingFontConfiguration();
// Waits until the font configuration that StartReadingFontConfiguration()
// began to read is there; returns at once when none is being read. Qt would
// otherwise read it a second time.
void WaitForFontConfiguration();

// The globe on every window's title bar.
QIcon AppIcon();

}  // namespace tavrix::screens
