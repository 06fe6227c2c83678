// frmAbout: the about text and the Close button, reported as a signal. The
// resume flag that the about screen carries lives with the screen in the
// screen flow.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "screens/screen_window.h"

namespace tavrix::screens {

class frmAbout final : public ScreenWindow {
  Q_OBJECT

 public:
  frmAbout();

  // Puts the focus on the Close button.
  void FocusClose() { cmdClose->setFocus(); }

 signals:
  void closeClicked();  // cmdClose

 private:
  QPushButton* cmdClose;
  QLabel* Label1;
};

// Label1's caption: fourteen centred lines, each ending with CR LF.
extern const char* const kAboutText;

}  // namespace tavrix::screens
