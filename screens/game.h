// The game: the screen flow over its Qt windows, and the one way into the
// engine. Every handler of the flow or its quiz runs through Run(): inside a
// scope of the flow's deferred-event queue, so that the focus losses and
// activations it raises are delivered when the outermost handler returns,
// and followed by Refresh(), which brings the windows up to date with the
// records.
//
// Refresh() is the one place that does that. It runs when the outermost
// handler has returned, before a message box opens, before the program
// moves the focus and before a window is shown; the windows write only what
// changed since the last time.
#pragma once

#include <functional>

#include "engine/flow.h"
#include "runtime/runtime.h"
#include "screens/quiz_screen.h"
#include "screens/window_layer.h"

namespace tavrix::screens {

class Game final : private GameHost {
 public:
  // boxes shows the message boxes; the windows are brought up to date with
  // the records before each one.
  Game(rt::Random& random, rt::MessageBoxes& boxes);
  ~Game() override;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Program start: the start screen.
  void Start();

  // Runs a handler of the flow or its quiz, then, once the outermost handler
  // has returned, brings the windows up to date.
  void Run(const std::function<void()>& handler);
  // The same for a handler of the quiz; nothing runs without a quiz screen.
  void RunQuiz(const std::function<void(Quiz&)>& handler) override;
  // Brings the windows up to date with the records.
  void Refresh() override;

  // For tests, which drive and inspect the flow and the windows.
  ScreenFlow& flow() { return flow_; }
  QtWindowLayer& layer() { return layer_; }

 private:
  // The message boxes as the engine sees them: the windows are brought up to
  // date before a box opens, and the queue knows while one is open.
  class ModalBoxes final : public rt::MessageBoxes {
   public:
    ModalBoxes(Game& game, rt::MessageBoxes& inner) : game_(game), inner_(inner) {}
    std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;

   private:
    Game& game_;
    rt::MessageBoxes& inner_;
  };

  // GameHost
  ScreenState State(Screen s) const override { return flow_.State(s); }
  const Quiz* CurrentQuiz() const override { return flow_.quiz(); }
  bool HandlerRunning() const override { return flow_.events().HandlerRunning(); }
  void RunFlow(const std::function<void(ScreenFlow&)>& handler) override;
  void PlayerInput(Screen s) override { flow_.PlayerInput(s); }
  void FocusTakenFrom(std::int16_t row) override;

  QuizScreen quizScreen_;
  QtWindowLayer layer_;
  ModalBoxes boxes_;
  ScreenFlow flow_;
};

}  // namespace tavrix::screens
