// frmStart: the title, the help text, the level choice and the Play button.
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

  EtchedFrame* Frame1;
  QLabel* Label1;
  EtchedFrame* frmeLevel;
  QPushButton* cmdPlay;
  std::array<QRadioButton*, 3> optLevel;
  QLabel* Label2;
  QButtonGroup* levels;  // the option group; idClicked gives the index

 protected:
  // Tab moves between the Play button and the selected level option.
  bool focusNextPrevChild(bool next) override;
};

// Label1's caption: fourteen lines, each ending with a carriage return and a
// line feed.
extern const char* const kHelpText;

}  // namespace tavrix::screens
