// Tavrix: a drill game for mental arithmetic.
#include <QApplication>

#include "runtime/runtime.h"
#include "screens/fonts.h"
#include "screens/message_boxes.h"
#include "screens/game.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavrix"));
  QApplication::setWindowIcon(tavrix::screens::AppIcon());
  QApplication::setQuitOnLastWindowClosed(false);  // the screen flow decides when the game ends

  tavrix::rt::ClockRandom random;
  tavrix::screens::QtMessageBoxes boxes;
  tavrix::screens::Game game(random, boxes);
  game.Start();
  return QApplication::exec();
}
