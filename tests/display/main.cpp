// The display tests run in one QApplication on a real display server; the
// runners with_openbox.sh and with_weston.sh give them a display of their
// own and choose the platform. A program whose tests all skip themselves
// exits with 77, which CTest reports as skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "tests/support/run_all_tests.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
      (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))) {
    std::fprintf(stderr, "No display: run these tests through tests/display/with_openbox.sh or with_weston.sh.\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return tavrix::testing::RunAllTests();
}
