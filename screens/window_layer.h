// The window layer of the screen flow on Qt Widgets: it creates, shows, hides
// and discards the three windows, and turns what the player does in them
// (their signals) into calls of the flow's handlers.
//
// A window's activation by the desktop is passed on as a notice to the
// flow's deferred-event queue, which delivers it after any handler that is
// running; the flow tells an activation of the quiz screen from a return
// after a message box. Notices of a window that the flow holds hidden are
// not passed on. So is each key or button the player presses in a window:
// it tells the flow that the desktop has stopped moving the focus about.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "engine/flow.h"
#include "screens/frm_about.h"
#include "screens/frm_math.h"
#include "screens/frm_start.h"
#include "screens/game_host.h"
#include "screens/quiz_screen.h"

namespace tavrix::screens {

class QtWindowLayer final : public QObject, public WindowLayer {
  Q_OBJECT

 public:
  QtWindowLayer(GameHost& host, QuizScreen& quizScreen);
  ~QtWindowLayer() override { DestroyWindows(); }

  // Destroys the windows; no notice of theirs reaches the flow any more.
  void DestroyWindows();
  frmMath* MathWindow() const { return quizScreen_.window(); }

  // For tests: what ends the program (QCoreApplication::exit(0) unless
  // replaced), and the windows.
  void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }
  frmStart* StartWindow() const { return start_; }
  frmAbout* AboutWindow() const { return about_; }

  // Shows the level on the start screen.
  void ShowLevel(std::int16_t level);

  // WindowLayer
  void Create(Screen s) override;
  QuizView& QuizWindow() override;
  void Show(Screen s) override;
  void Hide(Screen s) override;
  void Discard(Screen s) override;
  void Quit() override;

 protected:
  // Tells the game of each key or button pressed in one of its windows.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  ScreenWindow* Window(Screen s) const;
  // Passes on the window's activations and closes from its frame.
  void Watch(ScreenWindow* w, Screen s);

  GameHost& host_;
  QuizScreen& quizScreen_;
  std::function<void()> quit_;
  QPointer<frmStart> start_;
  QPointer<frmAbout> about_;
};

}  // namespace tavrix::screens
