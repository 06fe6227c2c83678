// The least Qt Widgets program that shows one window with text in it: a
// label in a window of the start screen's size. Unlike the empty floor
// (floor.cpp) it pays for the font database and for drawing text, as every
// program that shows words does.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("How to Play: choose the level and press \u201CPlay\u201D to start the game."));
  window.setWindowTitle("Floor");
  window.setWordWrap(true);
  window.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  window.resize(490, 420);
  window.show();
  return app.exec();
}
