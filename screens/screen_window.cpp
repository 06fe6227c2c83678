#include "screens/screen_window.h"

#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "runtime/runtime.h"
#include "screens/accessibility.h"
#include "screens/alt_keys.h"
#include "screens/fonts.h"
#include "screens/text.h"

namespace tavrix::screens {

namespace {

// Without this, a top-level widget is a "client" area (a filler to AT-SPI),
// and its activation is not reported as a window's.
QAccessibleInterface* WindowRole(const QString& className, QObject* object) {
  if (className != QLatin1String(ScreenWindow::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

ScreenWindow::ScreenWindow(const char* name) {
  // Before anything asks about the window or its controls. Qt keeps each
  // factory once.
  InstallAccessibility();
  QAccessible::installFactory(&WindowRole);
  InstallAltKeys();
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(FromUtf8(rt::kAppTitle));
  setWindowIcon(AppIcon());
  // The window's background is the button face (COLOR_BTNFACE).
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Button));
  setPalette(p);
  setAutoFillBackground(true);
  WatchForDestroyedWindows();
  for (QScreen* s : QGuiApplication::screens()) {
    connect(s, &QScreen::availableGeometryChanged, this, &ScreenWindow::KeepInside);
  }
  connect(qGuiApp, &QGuiApplication::screenAdded, this,
          [this](QScreen* s) { connect(s, &QScreen::availableGeometryChanged, this, &ScreenWindow::KeepInside); });
}

namespace {

// X tells the game of the end of each of its windows. One that ends while
// its widget still holds it was destroyed by someone else.
class DestroyWatch final : public QObject, public QAbstractNativeEventFilter {
 public:
  using QObject::QObject;

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    if (destroyed->window != destroyed->event) return false;  // a child's end, told to its parent
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* loser = dynamic_cast<LosesItsWindow*>(w);
      if (loser == nullptr || !w->testAttribute(Qt::WA_WState_Created) ||
          w->internalWinId() != static_cast<WId>(destroyed->window)) {
        continue;
      }
      // Told after the filter returns: the receiver may open a modal box.
      QTimer::singleShot(0, w, [w, loser, id = w->internalWinId()] {
        if (w->internalWinId() == id) loser->WindowDestroyedFromOutside();
      });
    }
    return false;
  }
};

}  // namespace

void WatchForDestroyedWindows() {
  // One watch for the application's life: it goes with the application.
  static QPointer<DestroyWatch> watch;
  if (watch != nullptr || qGuiApp == nullptr ||
      qGuiApp->nativeInterface<QNativeInterface::QX11Application>() == nullptr) {
    return;
  }
  watch = new DestroyWatch(qGuiApp);
  qGuiApp->installNativeEventFilter(watch);
}

namespace {

// The frame the desktop puts around the game's windows, once it has put one
// around any of them: all of them are framed alike.
QMargins knownFrame;

}  // namespace

QPoint FramePlacement(const QRect& available, const QSize& client, const QMargins& frame) {
  const QSize outer = client.grownBy(frame);
  return {available.x() + std::max(0, (available.width() - outer.width()) / 2),
          available.y() + std::max(0, (available.height() - outer.height()) / 2)};
}

void ScreenWindow::Centre(const QMargins& frame) {
  const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (s == nullptr) return;
  // The position of a top-level window is that of its frame.
  move(FramePlacement(s->availableGeometry(), size(), frame));
}

void ScreenWindow::ShowAndActivate() {
  const bool first = !placed_;
  if (first) {
    ensurePolished();
    if (layout() != nullptr) layout()->activate();  // the fixed size of a window with a menu bar
    // Until the desktop has framed a window of the game, the frame's size is
    // not known: the window is centred again as soon as it is.
    Centre(knownFrame);
    centreAgain_ = knownFrame.isNull();
    placed_ = true;
  }
  show();
  raise();
  if (WindowManagerRuns()) {
    activateWindow();
  } else {
    // Nobody hands the focus on: the window takes it itself, also when the
    // focus fell back to the root as the window that had it went.
    GiveInputFocus(this);
  }
  // On X the map request would wait in the connection's buffer until the
  // event loop is idle, that is after the first paint, which loads the fonts.
  // Sending it now lets the window manager show the window meanwhile.
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (xcb_connection_t* connection = x11->connection()) xcb_flush(connection);
  }
  if (first) FirstShown();
}

bool ScreenWindow::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::WindowActivate: emit activated(); break;
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Expose:
      if (windowHandle() != nullptr && !windowHandle()->frameMargins().isNull()) {
        knownFrame = windowHandle()->frameMargins();
        if (std::exchange(centreAgain_, false)) Centre(knownFrame);
      }
      break;
    default: break;
  }
  return QWidget::event(e);
}

bool WindowManagerRuns() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
  if (c == nullptr) return true;  // not X: the desktop activates windows
  // A window manager names its check window on the root window.
  static const xcb_atom_t check = [c] {
    static constexpr char kName[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
  }();
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
  const bool runs = reply != nullptr && xcb_get_property_value_length(reply) > 0;
  free(reply);
  return runs;
}

void GiveInputFocus(QWidget* window) {
  window->activateWindow();
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr || !window->testAttribute(Qt::WA_WState_Created)) return;
  // The focus reverted to the root when a box went; a request stamped with
  // the time of the last event seen would be older than that and ignored.
  xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window->internalWinId()),
                      XCB_CURRENT_TIME);
  xcb_flush(x11->connection());
}

void ScreenWindow::WindowDestroyedFromOutside() {
  // The widget lets go of the dead window; the next show creates another.
  const QPoint at = pos();
  hide();
  destroy(true, true);
  move(at);
  emit closedFromFrame();
}

void ScreenWindow::KeepInside() {
  if (!placed_ || !isVisible()) return;
  const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (s == nullptr) return;
  if (s->availableGeometry().contains(frameGeometry())) return;
  Centre(windowHandle() != nullptr && !windowHandle()->frameMargins().isNull() ? windowHandle()->frameMargins()
                                                                               : knownFrame);
}

void ScreenWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closedFromFrame();
}

}  // namespace tavrix::screens
