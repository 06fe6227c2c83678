#include "screens/fonts.h"

#include "screens/icon_pixels.h"

#include <fontconfig/fontconfig.h>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <thread>

namespace tavrix::screens {

QFont MingFont(qreal points) {
  QFont f;
  f.setFamilies({QStringLiteral("新細明體"), QStringLiteral("PMingLiU"), QStringLiteral("AR PL UMing TW"),
                 QStringLiteral("AR PL UMing HK"), QStringLiteral("AR PL UMing TW MBE"),
                 QStringLiteral("Noto Serif CJK TC"), QStringLiteral("AR PL New Sung")});
  f.setPointSizeF(points);
  f.setWeight(QFont::Normal);
  return f;
}

QFont TimesFont(qreal points, bool bold) {
  QFont f;
  f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                 QStringLiteral("DejaVu Serif")});
  f.setPointSizeF(points);
  f.setWeight(bold ? QFont::Bold : QFont::Normal);
  return f;
}

QFont DialogFont() {
  QFont f;
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                 QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
  f.setPointSizeF(8);
  return f;
}

QFont FontForTexts(const QFont& font, const QStringList& texts) {
  const int strategy = font.styleStrategy();
  QFont alone = font;
  alone.setStyleStrategy(QFont::StyleStrategy(strategy | QFont::NoFontMerging));
  const QFontMetrics metrics(alone);
  for (const QString& text : texts) {
    for (const auto c : text.toUcs4()) {
      // Line ends are laid out, not drawn. A character of a script of its
      // own (Han, Arabic...) is given a face for that script even without
      // fallback faces, maybe another one: its text keeps them.
      if (c == '\n' || (QChar::script(c) <= QChar::Script_Latin && metrics.inFontUcs4(c))) continue;
      QFont merged = font;
      merged.setStyleStrategy(QFont::StyleStrategy(strategy & ~QFont::NoFontMerging));
      return merged;
    }
  }
  return alone;
}

namespace {

// The thread that reads the font configuration; joined before the program
// ends, should no window have waited for it.
struct ConfigurationReader {
  std::thread thread;
  ~ConfigurationReader() { Join(); }
  void Join() {
    if (thread.joinable()) thread.join();
  }
};
ConfigurationReader reader;

}  // namespace

void StartReadingFontConfiguration() {
  if (reader.thread.joinable()) return;
  // The configuration is fontconfig's own, the one Qt reads: FcInit() does
  // nothing once it has been read.
  reader.thread = std::thread([] { FcInit(); });
}

void WaitForFontConfiguration() { reader.Join(); }

QIcon AppIcon() {
  // Built from pixels compiled into the program: reading an image file would
  // load every image-format plugin at start-up.
  static const QIcon icon(QPixmap::fromImage(
      QImage(reinterpret_cast<const uchar*>(kIconPixels), kIconSize, kIconSize, QImage::Format_ARGB32)));
  return icon;
}

}  // namespace tavrix::screens
