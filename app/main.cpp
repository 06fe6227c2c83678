// Tavrix: a drill game for mental arithmetic.
#include <QApplication>
#include <iostream>

#include "app/command_line.h"
#include "runtime/runtime.h"
#include "screens/fonts.h"
#include "screens/message_boxes.h"
#include "screens/game.h"

int main(int argc, char* argv[]) {
  if (const auto status = tavrix::app::CheckCommandLine(argc, argv, std::cout, std::cerr)) {
    return *status;
  }
  // Docks match the windows to the desktop entry by its name: the Wayland
  // app_id and the X11 WM_CLASS instance (from RESOURCE_NAME unless -name
  // gives one), which is the entry's StartupWMClass.
  if (qEnvironmentVariableIsEmpty("RESOURCE_NAME")) qputenv("RESOURCE_NAME", TAVRIX_APP_ID);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavrix"));
  QApplication::setDesktopFileName(QStringLiteral(TAVRIX_APP_ID));
  QApplication::setWindowIcon(tavrix::screens::AppIcon());
  QApplication::setQuitOnLastWindowClosed(false);  // the screen flow decides when the game ends

  tavrix::rt::ClockRandom random;
  tavrix::screens::QtMessageBoxes boxes;
  tavrix::screens::Game game(random, boxes);
  game.Start();
  return QApplication::exec();
}
