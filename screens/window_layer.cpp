#include "screens/window_layer.h"

#include <QCoreApplication>
#include <QEvent>

namespace tavrix::screens {

QtWindowLayer::QtWindowLayer(GameHost& host, QuizScreen& quizScreen) : host_(host), quizScreen_(quizScreen) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

bool QtWindowLayer::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
      if (watched->isWidgetType()) {
        const QWidget* top = static_cast<QWidget*>(watched)->window();
        for (const Screen s : {Screen::Start, Screen::Quiz, Screen::About}) {
          if (top == Window(s)) host_.PlayerInput(s);
        }
      }
      break;
    default: break;
  }
  return false;
}

void QtWindowLayer::DestroyWindows() {
  delete start_.data();
  delete about_.data();
  if (frmMath* math = MathWindow()) {
    quizScreen_.Discard();
    delete math;
  }
}

QuizView& QtWindowLayer::QuizWindow() { return quizScreen_; }

ScreenWindow* QtWindowLayer::Window(Screen s) const {
  switch (s) {
    case Screen::Start: return start_;
    case Screen::Quiz: return MathWindow();
    case Screen::About: return about_;
  }
  return nullptr;
}

void QtWindowLayer::ShowLevel(std::int16_t level) {
  if (start_) start_->ShowLevel(level);
}

void QtWindowLayer::Watch(ScreenWindow* w, Screen s) {
  connect(w, &ScreenWindow::activated, this, [this, s] {
    if (host_.State(s) == ScreenState::Shown) host_.RunFlow([s](ScreenFlow& f) { f.DesktopActivated(s); });
  });
  connect(w, &ScreenWindow::closedFromFrame, this,
          [this, s] { host_.RunFlow([s](ScreenFlow& f) { f.ClosedFromOutside(s); }); });
}

void QtWindowLayer::Create(Screen s) {
  switch (s) {
    case Screen::Start:
      start_ = new frmStart;
      connect(start_, &frmStart::levelClicked, this, [this](int index) {
        host_.RunFlow([index](ScreenFlow& f) { f.optLevel_Click(static_cast<std::int16_t>(index)); });
      });
      connect(start_, &frmStart::playClicked, this,
              [this] { host_.RunFlow([](ScreenFlow& f) { f.cmdPlay_Click(); }); });
      Watch(start_, s);
      break;
    case Screen::Quiz: {
      frmMath* math = quizScreen_.Create();
      // 位數 > a digit count
      connect(math, &frmMath::digitsChosen, this, [this](int index) {
        host_.RunQuiz([index](Quiz& q) { q.mnuDigital_Click(static_cast<std::int16_t>(index)); });
      });
      // 運算 > an operation
      connect(math, &frmMath::operationChosen, this, [this](int index) {
        host_.RunQuiz([index](Quiz& q) { q.munOpcode_Click(static_cast<std::int16_t>(index)); });
      });
      // Option > Exit Game
      connect(math, &frmMath::exitChosen, this, [this] { host_.RunQuiz([](Quiz& q) { q.mmuOption_Click(1); }); });
      // About > About Tavrix...
      connect(math, &frmMath::aboutChosen, this, [this] { host_.RunQuiz([](Quiz& q) { q.mmuZuzirArido_Click(0); }); });
      Watch(math, s);
      break;
    }
    case Screen::About:
      about_ = new frmAbout;
      connect(about_, &frmAbout::closeClicked, this,
              [this] { host_.RunFlow([](ScreenFlow& f) { f.cmdClose_Click(); }); });
      Watch(about_, s);
      break;
  }
}

void QtWindowLayer::Show(Screen s) {
  ScreenWindow* w = Window(s);
  if (w == nullptr) return;
  host_.Refresh();  // the window shows the records before it takes the focus
  const bool first = !w->Placed();
  w->ShowAndActivate();
  switch (s) {
    case Screen::Start:
      if (first) start_->FocusPlay();
      break;
    case Screen::Quiz: quizScreen_.RestoreFocus(); break;
    case Screen::About: about_->FocusClose(); break;
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
    case Screen::Quiz: quizScreen_.Discard(); break;
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
