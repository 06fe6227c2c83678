// A top-level window of the game: fixed size, the game's icon and title,
// centred the first time it is shown, and reporting its activation and a
// close from its frame.
#pragma once

#include <QWidget>

namespace tavrix::screens {

class ScreenWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ScreenWindow(const char* name);

  // Shows the window and makes it the active one. The first time, the window
  // is centred on its screen; afterwards it stays where it was.
  void ShowAndActivate();
  bool Placed() const { return placed_; }

 signals:
  // The window became the active window of the desktop.
  void activated();
  // The player closed the window from its frame. The window is not kept.
  void closedFromFrame();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  bool placed_ = false;
};

}  // namespace tavrix::screens
