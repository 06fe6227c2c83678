// The display tests' kit: waiting with a deadline, the player's real X input
// (keys, typing, clicks, the pointer parked out of the way), the X server's
// view of windows, and message boxes answered from inside their own loops.
//
// X input is sent with xdotool, which runs while the game goes on handling
// events: a test that blocked meanwhile would look like a game that hangs,
// to a screen reader or a window manager waiting on it.
#pragma once

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <vector>

namespace tavrix::screens::testing {

// Processes events until cond holds, for at most ms milliseconds: a safety
// net for a busy machine, so seconds.
template <typename Cond>
bool WaitFor(Cond cond, int ms = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!cond()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}
template <typename Cond, typename Rep, typename Period>
bool WaitFor(Cond cond, std::chrono::duration<Rep, Period> limit) {
  return WaitFor(cond, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(limit).count()));
}
// Processes events for ms milliseconds.
void Pause(int ms);

// Runs a tool of the desktop (xdotool, wmctrl) while the game goes on; fails
// the test, and returns false, if it fails.
bool RunTool(const QString& program, const QStringList& args);

// The player's keys and mouse, as real X input.
inline bool XDo(const QStringList& args) { return RunTool(QStringLiteral("xdotool"), args); }
void PressKey(const QString& keys);      // "Return", "alt+a", "shift+Tab"
inline constexpr int kTypeDelayMs = 50;  // between the typed characters
void TypeText(const QString& text);
void ClickAt(const QWidget* w, QPoint at);  // at a point of the widget
void Click(const QWidget* w);               // at its centre
void ParkPointer();                         // in the screen's bottom right corner
// Opens menu from its menu bar with a click, then clicks item.
void ChooseFromMenu(const QMenuBar* bar, const QMenu* menu, const QAction* item);

// The X server's view.
xcb_connection_t* Connection();  // the game's connection; null on other platforms
xcb_atom_t Atom(const char* name);
xcb_window_t XFocus();  // the window with the X input focus
// What another program does to a window, from a connection of its own: a
// window manager's WM_DELETE_WINDOW for a close from the frame, and the
// window destroyed.
void SendDeleteWindow(xcb_window_t id);
void DestroyFromOutside(const QWidget* w);

// The open message box, or null.
QMessageBox* OpenBox();

// Answers the real message boxes as the player would, from a timer that runs
// inside the box's own event loop. Each step gets a box once it is shown
// and, as a player sees it, the active window, and may leave it open for the
// next step. A box left unanswered fails the test and is answered with its
// default button.
class BoxPlayer {
 public:
  using Step = std::function<void(QMessageBox*)>;
  struct Options {
    bool activeOnly = true;  // a step gets only a box that is the active window
    bool newWindow = false;  // each step gets a box with another native window than the last
    int pollMs = 100;        // how often the timer looks for a box
  };
  explicit BoxPlayer(std::vector<Step> steps) : BoxPlayer(std::move(steps), Options{}) {}
  BoxPlayer(std::vector<Step> steps, Options options);
  bool Done() const { return next_ == steps_.size(); }
  std::vector<QString> prompts;  // the prompt each step saw

 private:
  void Poll();

  std::vector<Step> steps_;
  Options options_;
  std::size_t next_ = 0;
  bool running_ = false;
  WId last_ = 0;
  const QMessageBox* seen_ = nullptr;
  QElapsedTimer since_;
  QTimer timer_;
};

// A box that no step of a test answers would keep the test waiting for
// ever: a watchdog fails the test and answers it with its default button.
class Watchdog : public BoxPlayer {
 public:
  Watchdog() : BoxPlayer({}, Options{false, false}) {}
};

// Whether the X server shows the window (it is mapped and viewable).
bool Viewable(WId id);

}  // namespace tavrix::screens::testing
