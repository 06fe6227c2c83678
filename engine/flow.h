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

  // Every call into the flow or its quiz runs inside a handler scope. A
  // screen that the program shows is activated once the handler that showed
  // it has returned; the focus losses, the desktop's reports and closes from
  // outside are delivered the same way.
  [[nodiscard]] DeferredEvents::Scope RunningHandler() { return DeferredEvents::Scope(events_); }
  // A modal message box is open: what the desktop reports meanwhile is the
  // box's doing, and is dropped.
  [[nodiscard]] DeferredEvents::BoxScope OpenBox() { return DeferredEvents::BoxScope(events_); }
  const DeferredEvents& events() const { return events_; }

  // What the window layer reports, delivered after the running handler:
  // the desktop made the screen's window active;
  void DesktopActivated(Screen s) { events_.Notice(DeferredEvents::Event::Activated(s)); }
  // the screen was closed from outside (its frame, a taskbar, its window
  // destroyed);
  void ClosedFromOutside(Screen s) { events_.Post(DeferredEvents::Event::Closed(s)); }
  // the program moved the focus away from row's answer box;
  void FocusLeft(std::int16_t row) { events_.Post(DeferredEvents::Event::FocusLost(row)); }
  // the player moved it away (dropped while a message box is open).
  void FocusTakenFrom(std::int16_t row) { events_.Notice(DeferredEvents::Event::FocusLost(row)); }

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

  // A close from outside, handled now.
  void ClosedFromFrame(Screen s);

  // The player pressed a key or a button in the screen's window. Changes no
  // record: it only tells the flow where the player is (see active_).
  void PlayerInput(Screen s);

 private:
  static std::size_t Index(Screen s) { return static_cast<std::size_t>(s); }
  ScreenState& StateOf(Screen s) { return states_[Index(s)]; }
  void Create(Screen s);
  void ShowScreen(Screen s);
  void HideScreen(Screen s);
  // A screen became the active window: shown by the program, or reported by
  // the desktop (byDesktop).
  void Activated(Screen s, bool byDesktop);
  // The wait after a showing is over; at, where known, is the active screen.
  void EndWait(std::optional<Screen> at);
  // The screen is active now: the quiz screen's activation when another
  // screen was active before it, or none.
  void BecomeActive(Screen s);

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
  // Which screen is active, and so when the quiz screen is activated: each
  // time it becomes the active screen after another screen was, or after it
  // was hidden or not yet shown (hiding or discarding the active screen
  // leaves none active).
  //
  // The program's own showing makes the shown screen active at once: a
  // desktop may hold back a new window's activation, or never report a
  // window it did not activate, and a screen that was active already needs
  // no report. Then the program waits for the desktop (wait_):
  // - where the showing hid the active screen (Play, Close), the desktop may
  //   pass the focus through another of the program's windows on its way to
  //   the shown one. What it reports meanwhile is held back, not taken;
  // - the desktop reporting the shown screen ends the wait: that showing was
  //   its one activation;
  // - the desktop reporting the screen that was active before the showing
  //   ends it too: the player went back there (or the desktop never left it),
  //   as it never passes the focus through the window it is leaving;
  // - a key or button the player presses ends it, as the desktop is done
  //   passing the focus on before the player does anything: the screen the
  //   player acts in is the active one (a desktop that kept another window
  //   active, with focus-stealing prevention, leaves the player there);
  // - a screen closed from outside ends it, with the last report held back,
  //   if any, as the active screen.
  // Outside a wait, a report is the player's move (a click, a taskbar) or a
  // return (after a message box, from another application): the reported
  // screen becomes active. A showing of the active screen starts no wait.
  // Where the desktop reports too little, its focus moves cannot be told
  // from the player's: a desktop that kept another screen active after the
  // program showed the quiz, and whose first report after it is the quiz (a
  // taskbar click), looks like one that passed the focus through; one that
  // kept the quiz active after the program showed the about screen, and
  // reports the quiz again on a return from another application with no key
  // or click in the game since, looks like the player's click back.
  struct Wait {
    Screen shown;                  // shown by the program, not yet reported by the desktop
    std::optional<Screen> before;  // the screen active before the showing
    std::optional<Screen> held;    // the desktop's last report of another screen since
  };
  std::optional<Screen> active_;
  std::optional<Wait> wait_;
  bool quizNew_ = false;  // created and not activated yet
  DeferredEvents events_{*this};
};

}  // namespace tavrix
