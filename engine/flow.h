// The three screens and the moves between them: which screen exists, which is
// shown, the level, the resume flag, and when the quiz screen is activated.
// The window layer below only creates, shows, hides and discards windows and
// reports which window became active or was closed from its frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/deferred.h"
#include "engine/quiz.h"
#include "engine/screen.h"
#include "runtime/runtime.h"

namespace tavrix {

class WindowLayer {
 public:
  virtual ~WindowLayer() = default;
  // Builds the screen's window, hidden.
  virtual void Create(Screen s) = 0;
  // The quiz screen's window, once created.
  virtual QuizView& QuizWindow() = 0;
  // Makes the window visible and the active one (also when it is shown).
  virtual void Show(Screen s) = 0;
  virtual void Hide(Screen s) = 0;
  // Destroys the window after the player closed it from its frame.
  virtual void Discard(Screen s) = 0;
  // Ends the program.
  virtual void Quit() = 0;
};

class ScreenFlow final : private QuizHost, private DeferredEvents::Target {
 public:
  ScreenFlow(rt::Services services, WindowLayer& layer);
  ScreenFlow(const ScreenFlow&) = delete;
  ScreenFlow& operator=(const ScreenFlow&) = delete;

  // Every call into the flow or its quiz runs inside a scope of this queue.
  // A screen that the program shows is activated once the handler that showed
  // it has returned; the focus losses and the toolkit's activation notices
  // are delivered the same way.
  DeferredEvents& events() { return events_; }
  const DeferredEvents& events() const { return events_; }

  // Program start: create the start screen, run its load handling, show it.
  void Start();

  ScreenState State(Screen s) const { return states_[Index(s)]; }
  // The quiz screen's records and handlers; null until it is created.
  Quiz* quiz() { return quiz_ ? &*quiz_ : nullptr; }
  const Quiz* quiz() const { return quiz_ ? &*quiz_ : nullptr; }

  // Start screen.
  std::int16_t t_Digital = 0;  // level: digit count 1 to 3
  void optLevel_Click(std::int16_t index);
  void cmdPlay_Click();

  // About screen. The resume flag lives and dies with the screen.
  const std::optional<std::string>& txtGiveup() const { return txtGiveup_; }  // for tests
  void cmdClose_Click();

  void ClosedFromFrame(Screen s);

 private:
  static std::size_t Index(Screen s) { return static_cast<std::size_t>(s); }
  ScreenState& StateOf(Screen s) { return states_[Index(s)]; }
  void Create(Screen s);
  void ShowScreen(Screen s);
  void HideScreen(Screen s);
  // A screen became the active window, shown by the program or reported by
  // the desktop. An activation of the quiz screen is one when it becomes the
  // active window after another screen of the program was active, or after
  // it was hidden or not yet shown; a message box or another application in
  // between does not count, nor does a second notice for the same showing.
  // The program's showing of the quiz is one activation even when the
  // desktop, on its way there, first makes another shown screen active.
  void Activated(Screen s, bool byDesktop);

  // QuizHost
  std::int16_t ReadDigital() override;
  std::string ReadResumeFlag() override;
  void WriteResumeFlag(const std::string& flag) override;
  void HideQuiz() override { HideScreen(Screen::Quiz); }
  void ShowStart() override { ShowScreen(Screen::Start); }
  void ShowAbout() override { ShowScreen(Screen::About); }
  // DeferredEvents::Target
  void Deliver(const DeferredEvents::Event& e) override;

  rt::Services rt_;
  WindowLayer& layer_;
  ScreenState states_[3] = {ScreenState::NotCreated, ScreenState::NotCreated, ScreenState::NotCreated};
  std::optional<Quiz> quiz_;
  std::optional<std::string> txtGiveup_;
  std::optional<Screen> lastActive_;
  bool quizAwaitsActivation_ = true;  // hidden or not yet shown since its last activation
  bool quizNew_ = false;              // created and not activated yet
  bool quizShowingUnreported_ = false;  // shown by the program; the desktop has not reported it active yet
  DeferredEvents events_{*this};
};

}  // namespace tavrix
