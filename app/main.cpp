// Tavrix: a drill game for mental arithmetic.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "runtime/runtime.h"
#include "screens/fonts.h"
#include "screens/game.h"
#include "screens/message_boxes.h"

namespace {

// Qt's messages while QApplication starts: held back, and written out once
// it has started. Should Qt find no display it can open, it ends with a fatal
// message (an abort); the program prints one line naming the displays that
// could not be opened instead, and exits with 1.
std::vector<std::string> startupTexts;
std::vector<QString> startupLines;

void WriteHeldLines() {
  for (const QString& held : startupLines) std::fprintf(stderr, "%s\n", qPrintable(held));
  std::fflush(stderr);
  startupTexts.clear();
  startupLines.clear();
}

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  startupLines.push_back(qFormatLogMessage(type, context, message));
  if (type != QtFatalMsg) {
    startupTexts.push_back(message.toStdString());
    return;
  }
  const std::string unopened =
      tavrix::app::UnopenedDisplayLine(startupTexts, qEnvironmentVariable("WAYLAND_DISPLAY").toStdString());
  if (!unopened.empty()) {
    std::fprintf(stderr, "%s\n", unopened.c_str());
    std::fflush(stderr);
    std::_Exit(1);
  }
  WriteHeldLines();  // any other failure to start: Qt's own words, then Qt's abort
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const auto status = tavrix::app::CheckCommandLine(argc, argv, std::cout, std::cerr)) {
    return *status;
  }
  // Docks match the windows to the desktop entry by its name: the Wayland
  // app_id and the X11 WM_CLASS instance (from RESOURCE_NAME unless -name
  // gives one), which is the entry's StartupWMClass.
  if (qEnvironmentVariableIsEmpty("RESOURCE_NAME")) qputenv("RESOURCE_NAME", TAVRIX_APP_ID);
  const QtMessageHandler qtHandler = qInstallMessageHandler(HoldStartupMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtHandler);
  WriteHeldLines();
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
