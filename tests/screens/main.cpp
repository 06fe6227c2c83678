// The screen tests run in one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

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
  return RUN_ALL_TESTS();
}
