#include "screens/fonts.h"

#include "screens/icon_pixels.h"

#include <QFontDatabase>
#include <QImage>
#include <QPixmap>

namespace tavrix::screens {

const QStringList& MingFamilies() {
  static const QStringList families = {QStringLiteral("新細明體"),           QStringLiteral("PMingLiU"),
                                       QStringLiteral("AR PL UMing TW"),     QStringLiteral("AR PL UMing HK"),
                                       QStringLiteral("AR PL UMing TW MBE"), QStringLiteral("Noto Serif CJK TC"),
                                       QStringLiteral("AR PL New Sung")};
  return families;
}

const QStringList& TimesFamilies() {
  static const QStringList families = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                                       QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif")};
  return families;
}

const QStringList& DialogFamilies() {
  static const QStringList families = {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                                       QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                       QStringLiteral("DejaVu Sans")};
  return families;
}

QStringList FamiliesToAsk(const QStringList& families) {
  static const QStringList installed = QFontDatabase::families();
  // A name that several foundries share is listed once for each, as
  // "Family [Foundry]".
  const auto isInstalled = [](const QString& family) {
    for (const QString& name : installed) {
      if (name.startsWith(family, Qt::CaseInsensitive) &&
          (name.size() == family.size() || QStringView(name).sliced(family.size()).startsWith(u" ["))) {
        return true;
      }
    }
    return false;
  };
  for (const QString& family : families) {
    if (isInstalled(family)) return {family};
  }
  return families;
}

QFont MingFont(qreal points) {
  QFont f;
  f.setFamilies(FamiliesToAsk(MingFamilies()));
  f.setPointSizeF(points);
  f.setWeight(QFont::Normal);
  return f;
}

QFont TimesFont(qreal points, bool bold) {
  QFont f;
  f.setFamilies(FamiliesToAsk(TimesFamilies()));
  f.setPointSizeF(points);
  f.setWeight(bold ? QFont::Bold : QFont::Normal);
  return f;
}

QFont DialogFont() {
  QFont f;
  f.setFamilies(FamiliesToAsk(DialogFamilies()));
  f.setPointSizeF(8);
  return f;
}

QIcon AppIcon() {
  // Built from pixels compiled into the program: reading an image file would
  // load every image-format plugin at start-up.
  static const QIcon icon(QPixmap::fromImage(
      QImage(reinterpret_cast<const uchar*>(kIconPixels), kIconSize, kIconSize, QImage::Format_ARGB32)));
  return icon;
}

}  // namespace tavrix::screens
