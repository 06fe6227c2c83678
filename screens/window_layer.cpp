#include "screens/window_layer.h"

#include <QCoreApplication>

#include "screens/game.h"

namespace tavrix::screens {

void QtWindowLayer::DestroyWindows() {
  delete start_.data();
  delete about_.data();
  if (frmMath* math = MathWindow()) {
    game_.quizScreen().Discard();
    delete math;
  }
}

frmMath* QtWindowLayer::MathWindow() const { return game_.quizScreen().window(); }

QuizView& QtWindowLayer::QuizWindow() { return game_.quizScreen(); }

ScreenWindow* QtWindowLayer::Window(Screen s) const {
  switch (s) {
    case Screen::Start: return start_;
    case Screen::Quiz: return MathWindow();
    case Screen::About: return about_;
  }
  return nullptr;
}

void QtWindowLayer::Refresh() {
  if (start_) start_->ShowLevel(game_.flow().t_Digital);
}

void QtWindowLayer::Watch(ScreenWindow* w, Screen s) {
  connect(w, &ScreenWindow::activated, this, [this, s] {
    if (game_.flow().State(s) == ScreenState::Shown) game_.Notice(DeferredEvents::Event::Activated(s));
  });
  connect(w, &ScreenWindow::closedFromFrame, this, [this, s] { game_.Run([&] { game_.flow().ClosedFromFrame(s); }); });
}

void QtWindowLayer::Create(Screen s) {
  ScreenFlow& flow = game_.flow();
  switch (s) {
    case Screen::Start:
      start_ = new frmStart;
      connect(start_, &frmStart::levelClicked, this,
              [this, &flow](int index) { game_.Run([&] { flow.optLevel_Click(static_cast<std::int16_t>(index)); }); });
      connect(start_, &frmStart::playClicked, this, [this, &flow] { game_.Run([&] { flow.cmdPlay_Click(); }); });
      Watch(start_, s);
      break;
    case Screen::Quiz: {
      frmMath* math = game_.quizScreen().Create();
      connect(math, &frmMath::digitsChosen, this, [this](int index) {
        game_.RunQuiz([index](Quiz& q) { q.mnuDigital_Click(static_cast<std::int16_t>(index)); });
      });
      connect(math, &frmMath::operationChosen, this, [this](int index) {
        game_.RunQuiz([index](Quiz& q) { q.munOpcode_Click(static_cast<std::int16_t>(index)); });
      });
      connect(math, &frmMath::exitChosen, this, [this] { game_.RunQuiz([](Quiz& q) { q.mmuOption_Click(1); }); });
      connect(math, &frmMath::aboutChosen, this, [this] { game_.RunQuiz([](Quiz& q) { q.mmuZuzirArido_Click(0); }); });
      Watch(math, s);
      break;
    }
    case Screen::About:
      about_ = new frmAbout;
      connect(about_, &frmAbout::closeClicked, this, [this, &flow] { game_.Run([&] { flow.cmdClose_Click(); }); });
      Watch(about_, s);
      break;
  }
}

void QtWindowLayer::Show(Screen s) {
  ScreenWindow* w = Window(s);
  if (w == nullptr) return;
  game_.Refresh();
  const bool first = !w->Placed();
  w->ShowAndActivate();
  switch (s) {
    case Screen::Start:
      if (first) start_->FocusPlay();
      break;
    case Screen::Quiz:
      game_.quizScreen().RestoreFocus();
      break;
    case Screen::About:
      about_->FocusClose();
      break;
  }
}

void QtWindowLayer::Hide(Screen s) {
  if (ScreenWindow* w = Window(s)) w->hide();
}

void QtWindowLayer::Discard(Screen s) {
  ScreenWindow* w = Window(s);
  if (w == nullptr) return;
  switch (s) {
    case Screen::Start: start_ = nullptr; break;
    case Screen::Quiz: game_.quizScreen().Discard(); break;
    case Screen::About: about_ = nullptr; break;
  }
  w->disconnect(this);
  w->hide();
  w->deleteLater();
}

void QtWindowLayer::Quit() {
  if (quit_) {
    quit_();
  } else {
    QCoreApplication::exit(0);
  }
}

}  // namespace tavrix::screens
