// The screen tests run in one QApplication on the offscreen platform. A
// program whose tests all skip themselves exits with 77, which CTest reports
// as skipped.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/run_all_tests.h"

namespace {
QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot raise windows; it says so at every show.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith("This plugin does not support")) return;
  if (defaultHandler != nullptr) defaultHandler(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
  defaultHandler = qInstallMessageHandler(QuietHandler);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return tavrix::testing::RunAllTests();
}
