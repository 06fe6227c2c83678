#include "screens/fonts.h"

#include "screens/icon_pixels.h"

#include <QImage>
#include <QPixmap>
#include <QStringList>

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

QIcon AppIcon() {
  // Built from pixels compiled into the program: reading an image file would
  // load every image-format plugin at start-up.
  static const QIcon icon(QPixmap::fromImage(
      QImage(reinterpret_cast<const uchar*>(kIconPixels), kIconSize, kIconSize, QImage::Format_ARGB32)));
  return icon;
}

}  // namespace tavrix::screens
