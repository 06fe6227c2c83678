#include "screens/screen_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

#include "runtime/runtime.h"
#include "screens/fonts.h"

namespace tavrix::screens {

ScreenWindow::ScreenWindow(const char* name) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(QString::fromUtf8(rt::kAppTitle.data(), static_cast<qsizetype>(rt::kAppTitle.size())));
  setWindowIcon(AppIcon());
  // The window's background is the button face (COLOR_BTNFACE).
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Button));
  setPalette(p);
  setAutoFillBackground(true);
}

void ScreenWindow::ShowAndActivate() {
  if (!placed_) {
    ensurePolished();
    if (layout() != nullptr) layout()->activate();  // the fixed size of a window with a menu bar
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(width() / 2, height() / 2));
    }
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
  // On X the map request would wait in the connection's buffer until the
  // event loop is idle, that is after the first paint, which loads the fonts.
  // Sending it now lets the window manager show the window meanwhile.
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (xcb_connection_t* connection = x11->connection()) xcb_flush(connection);
  }
}

bool ScreenWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) emit activated();
  return QWidget::event(e);
}

void ScreenWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closedFromFrame();
}

}  // namespace tavrix::screens
