// A top-level window of the game: fixed size, the game's icon and title,
// centred the first time it is shown, and reporting its activation and a
// close from its frame.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace tavrix::screens {

// A top-level window of the game whose native window can be destroyed from
// outside the program (a window manager that crashed, a session tool, a
// remote-desktop bridge): it is told so, from the event loop, after the
// native window is gone.
class LosesItsWindow {
 public:
  virtual ~LosesItsWindow() = default;
  virtual void WindowDestroyedFromOutside() = 0;
};

// Starts watching the X server for game windows destroyed from outside; does
// nothing on other platforms or once it watches.
void WatchForDestroyedWindows();

// Whether a window manager runs, on X; elsewhere the desktop is taken to
// activate windows.
bool WindowManagerRuns();

// Makes a shown top-level window the active one and gives it the keyboard,
// also where no window manager hands the focus on: on X the focus is set at
// once, whatever time the last focus change had.
void GiveInputFocus(QWidget* window);

class ScreenWindow : public QWidget, public LosesItsWindow {
  Q_OBJECT

 public:
  explicit ScreenWindow(const char* name);

  // Shows the window and makes it the active one. The first time, the window
  // and its frame are centred on the screen's available area; afterwards it
  // stays where it was.
  void ShowAndActivate();
  bool Placed() const { return placed_; }

 signals:
  // The window became the active window of the desktop.
  void activated();
  // The player closed the window from its frame, or its native window was
  // destroyed from outside. The window is not kept.
  void closedFromFrame();

 public:
  // Taken as a close from the frame; showing the window again gives it a new
  // native window where the old one was.
  void WindowDestroyedFromOutside() override;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  // Called once, the first time the window is shown, when the desktop has
  // been asked to map it and before it is painted. A window shown as the
  // program starts sets its fonts here: the first font looked up loads the
  // font database, which takes long on a desktop with many fonts, and is
  // better done while the desktop maps the window.
  virtual void FirstShown() {}

 private:
  // Centres the frame on the available area of the window's screen.
  void Centre(const QMargins& frame);
  // Places the window again when its frame is no longer inside the
  // available area of its screen.
  void KeepInside();

  bool placed_ = false;
  bool centreAgain_ = false;  // placed before the desktop's frame was known
};

// Where the top-left corner of a window's frame goes: the frame centred on
// the available area, but never with its top or left edge, and so never its
// title bar, outside it.
QPoint FramePlacement(const QRect& available, const QSize& client, const QMargins& frame);

}  // namespace tavrix::screens
