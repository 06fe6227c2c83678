#include "tests/display/kit.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>
#include <cstring>

namespace tavrix::screens::testing {

namespace {

// A tool returns at once; the X server may take its time on a busy machine.
constexpr int kToolMs = 60000;
// A message box nobody answers is answered after this long: a safety net
// for a busy machine, where a screen reader can keep a box waiting.
constexpr int kUnansweredBoxMs = 60000;

}  // namespace

void Pause(int ms) {
  WaitFor([] { return false; }, ms);
}

bool RunTool(const QString& program, const QStringList& args) {
  QProcess tool;
  tool.start(program, args);
  const bool done = WaitFor([&] { return tool.state() == QProcess::NotRunning; }, kToolMs);
  const bool ok = done && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
  EXPECT_TRUE(ok) << program.toStdString() << ' ' << args.join(' ').toStdString() << ": "
                  << tool.readAllStandardError().toStdString();
  return ok;
}

void PressKey(const QString& keys) { XDo({"key", "--clearmodifiers", keys}); }

void TypeText(const QString& text) { XDo({"type", "--delay", QString::number(kTypeDelayMs), text}); }

void ClickAt(const QWidget* w, QPoint at) {
  ASSERT_NE(w, nullptr);
  const QPoint p = w->mapToGlobal(at);
  // (xdotool's --sync waits long for a move that moves nothing.)
  if (QCursor::pos() != p) XDo({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
  XDo({"click", "1"});
}

void Click(const QWidget* w) {
  ASSERT_NE(w, nullptr);
  ClickAt(w, w->rect().center());
}

void ChooseFromMenu(const QMenuBar* bar, const QMenu* menu, const QAction* item) {
  ASSERT_TRUE(bar != nullptr && menu != nullptr && item != nullptr);
  ClickAt(bar, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); })) << menu->objectName().toStdString() << " did not open";
  ClickAt(menu, menu->actionGeometry(const_cast<QAction*>(item)).center());
}

void ParkPointer() {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint corner = screen.bottomRight() - QPoint(1, 1);
  if (QCursor::pos() != corner) XDo({"mousemove", "--sync", QString::number(corner.x()), QString::number(corner.y())});
}

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

namespace {

xcb_atom_t AtomOn(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  free(reply);
  return atom;
}

// Runs request on a connection of its own, as another program would, and
// expects no X error.
void AsAnotherProgram(xcb_window_t id, const std::function<xcb_void_cookie_t(xcb_connection_t*)>& request) {
  xcb_connection_t* other = xcb_connect(nullptr, nullptr);
  ASSERT_EQ(xcb_connection_has_error(other), 0);
  xcb_generic_error_t* error = xcb_request_check(other, request(other));
  EXPECT_EQ(error, nullptr) << "X error " << (error != nullptr ? int(error->error_code) : 0) << " on window " << id;
  free(error);
  xcb_disconnect(other);
}

}  // namespace

xcb_atom_t Atom(const char* name) { return AtomOn(Connection(), name); }

xcb_window_t XFocus() {
  xcb_connection_t* c = Connection();
  xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
  free(reply);
  return focus;
}

void SendDeleteWindow(xcb_window_t id) {
  AsAnotherProgram(id, [id](xcb_connection_t* other) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = AtomOn(other, "WM_PROTOCOLS");
    message.data.data32[0] = AtomOn(other, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    return xcb_send_event_checked(other, 0, id, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
  });
}

void DestroyFromOutside(const QWidget* w) {
  ASSERT_NE(w, nullptr);
  const auto id = static_cast<xcb_window_t>(w->winId());
  AsAnotherProgram(id, [id](xcb_connection_t* other) { return xcb_destroy_window_checked(other, id); });
}

bool Viewable(WId id) {
  xcb_connection_t* c = Connection();
  xcb_get_window_attributes_reply_t* reply =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(id)), nullptr);
  const bool viewable = reply != nullptr && reply->map_state == XCB_MAP_STATE_VIEWABLE;
  free(reply);
  return viewable;
}

QMessageBox* OpenBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

BoxPlayer::BoxPlayer(std::vector<Step> steps, Options options) : steps_(std::move(steps)), options_(options) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start(options_.pollMs);
}

void BoxPlayer::Poll() {
  if (running_) return;
  QMessageBox* box = OpenBox();
  if (box != seen_) {
    seen_ = box;
    since_.start();
  }
  if (box == nullptr || !box->isVisible()) return;
  const bool forNextStep = !Done() && (!options_.activeOnly || box->isActiveWindow()) &&
                           (!options_.newWindow || box->internalWinId() != last_);
  if (forNextStep) {
    running_ = true;
    last_ = box->internalWinId();
    since_.start();
    prompts.push_back(box->text());
    steps_[next_++](box);
    running_ = false;
  } else if (since_.elapsed() > kUnansweredBoxMs) {
    // The modal loop of a box nobody answers would never end.
    ADD_FAILURE() << "a message box nobody answered: " << box->text().toStdString();
    since_.start();
    if (QPushButton* button = box->defaultButton()) {
      button->click();
    } else {
      box->done(0);
    }
  }
}

}  // namespace tavrix::screens::testing
