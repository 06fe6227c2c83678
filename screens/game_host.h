// What the screens reach of the game: its records, its handlers, and the
// events of the toolkit that the flow must hear of.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/flow.h"

namespace tavrix::screens {

class GameHost {
 public:
  virtual ~GameHost() = default;

  virtual ScreenState State(Screen s) const = 0;
  // The quiz's records; null until the flow creates the quiz.
  virtual const Quiz* CurrentQuiz() const = 0;
  // A handler of the flow or its quiz is running.
  virtual bool HandlerRunning() const = 0;

  // Runs a handler of the flow, or of its quiz if there is one; the windows
  // are brought up to date once the outermost handler has returned. The
  // toolkit's reports reach the flow this way too, through its named calls.
  virtual void RunFlow(const std::function<void(ScreenFlow&)>& handler) = 0;
  virtual void RunQuiz(const std::function<void(Quiz&)>& handler) = 0;
  // Brings the windows up to date with the records.
  virtual void Refresh() = 0;

  // The player pressed a key or a button in the screen's window. Told at
  // once, before the key or click is handled, and running no handler.
  virtual void PlayerInput(Screen s) = 0;
  // The player moved the focus away from row's answer box: its completion
  // check runs once the toolkit has finished moving the focus.
  virtual void FocusTakenFrom(std::int16_t row) = 0;
};

}  // namespace tavrix::screens
