// The modal message box, shown with QMessageBox.
#pragma once

#include "runtime/runtime.h"

namespace tavrix::screens {

class QtMessageBoxes final : public rt::MessageBoxes {
 public:
  // The prompt with OK, or with Yes and No; no icon; the first button is the
  // default. Without a title the box shows "Tavrix". Waits for the answer.
  std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title = {}) override;
};

}  // namespace tavrix::screens
