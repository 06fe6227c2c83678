// Writes the pixels of a square PNG icon as a C++ header: the game builds its
// window icon from them, so that start-up decodes no image file. The build
// runs it on tavrix-48.png whenever that file changes.
//
//   tavrix_make_pixels ICON.png HEADER.h
//
// The pixels are non-premultiplied ARGB32, row by row, eight to a line.

#include <QFileInfo>
#include <QImage>
#include <QString>

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ICON.png HEADER.h\n", argv[0]);
    return 2;
  }
  const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "%s: cannot read the image %s\n", argv[0], argv[1]);
    return 1;
  }
  if (image.width() != image.height()) {
    std::fprintf(stderr, "%s: %s is %d x %d, not square\n", argv[0], argv[1], image.width(), image.height());
    return 1;
  }

  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  const int size = image.width();
  out << "// The " << size << " x " << size
      << " window icon as non-premultiplied ARGB32 pixels, row by row.\n"
      << "// Generated in the build from " << QFileInfo(QString::fromLocal8Bit(argv[1])).fileName().toStdString()
      << " by data/icons/make_pixels.cpp.\n"
         "#pragma once\n"
         "\n"
         "#include <cstdint>\n"
         "\n"
         "namespace tavrix::screens {\n"
         "\n"
         "inline constexpr int kIconSize = "
      << size
      << ";\n"
         "inline constexpr std::uint32_t kIconPixels[kIconSize * kIconSize] = {\n";
  int count = 0;
  for (int y = 0; y < size; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size; ++x) {
      char word[16];
      std::snprintf(word, sizeof word, "0x%08xu,", static_cast<unsigned>(row[x]));
      if (count % 8 == 0) out << "    ";
      out << word;
      if (++count % 8 == 0) out << '\n';
    }
  }
  if (count % 8 != 0) out << '\n';
  out << "};\n"
         "\n"
         "}  // namespace tavrix::screens\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
