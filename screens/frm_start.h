// frmStart: the title, the help text, the level choice and the Play button.
// It reports the player's choices as signals.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cstdint>

#include "screens/etched_frame.h"
#include "screens/screen_window.h"

namespace tavrix::screens {

class frmStart final : public ScreenWindow {
  Q_OBJECT

 public:
  frmStart();

  // Selects the option of the level (1 to 3) without reporting a click.
  void ShowLevel(std::int16_t t_Digital);
  // Puts the focus on the Play button.
  void FocusPlay();

 signals:
  void levelClicked(int index);  // optLevel(index), 0 to 2
  void playClicked();            // cmdPlay

 protected:
  // Tab moves between the Play button and the selected level option.
  bool focusNextPrevChild(bool next) override;
  void FirstShown() override;

 private:
  EtchedFrame* Frame1;
  QLabel* Label1;
  EtchedFrame* frmeLevel;
  QPushButton* cmdPlay;
  std::array<QRadioButton*, 3> optLevel;
  QLabel* Label2;
  QButtonGroup* levels;  // the option group; idClicked gives the index
};

// Label1's caption: fourteen lines, each ending with a carriage return and a
// line feed.
extern const char* const kHelpText;

}  // namespace tavrix::screens
