#include "screens/quiz_screen.h"

#include <QApplication>

#include "screens/game.h"

namespace tavrix::screens {

frmMath* QuizScreen::Create() {
  window_ = new frmMath(*this);
  focusRow_.reset();
  return window_;
}

void QuizScreen::Discard() {
  window_ = nullptr;
  focusRow_.reset();
}

Quiz* QuizScreen::quiz() const { return window_ ? game_.flow().quiz() : nullptr; }

bool QuizScreen::Shown() const { return game_.flow().State(Screen::Quiz) == ScreenState::Shown; }

void QuizScreen::Redraw() {
  Quiz* q = quiz();
  if (redrawing_ || q == nullptr) return;
  redrawing_ = true;
  window_->Redraw(*q);
  if (focusRow_ && !q->Row(*focusRow_).answerShown) focusRow_.reset();
  redrawing_ = false;
}

void QuizScreen::RestoreFocus() {
  if (window_ && focusRow_) window_->FocusAnswer(*focusRow_);
}

void QuizScreen::SetFocus(std::int16_t row) {
  if (!window_) return;
  // The focus leaves the player's row: its completion check runs once the
  // handler that moved it, and the key it handles, are done.
  if (focusRow_ && *focusRow_ != row) game_.flow().events().Post(DeferredEvents::Event::FocusLost(*focusRow_));
  focusRow_ = row;
  Redraw();  // the box must be shown to take the focus
  window_->FocusAnswer(row);
}

void QuizScreen::SetSelection(std::int16_t row, int start, int length) {
  if (window_) window_->SelectAnswer(row, start, length);
}

void QuizScreen::AnswerKeyPress(std::int16_t row, std::int16_t code,
                                const std::function<void(std::int16_t)>& boxHandles) {
  if (quiz() == nullptr) {
    boxHandles(code);
    return;
  }
  // One handler: the key press, then the box handling the code it left, in
  // the state the records give it. The focus loss it raised comes after.
  game_.Run([&] {
    if (Quiz* q = quiz()) q->txtAnswer_KeyPress(row, code);
    Redraw();
    boxHandles(code);
  });
}

void QuizScreen::AnswerFocusIn(std::int16_t row) {
  if (!redrawing_ && Shown()) focusRow_ = row;
}

void QuizScreen::AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) {
  if (redrawing_ || quiz() == nullptr || !Shown()) return;
  // The program's own focus moves were reported as they were made.
  if (game_.flow().events().HandlerRunning()) return;
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      break;
    default:
      return;  // a message box, a popup or another window took the focus
  }
  const QWidget* now = QApplication::focusWidget();
  if (now == nullptr || now->window() != window_) return;
  // The player moved the focus within the quiz screen: the check runs once
  // the toolkit has finished moving it.
  game_.flow().events().Notice(DeferredEvents::Event::FocusLost(row));
  QMetaObject::invokeMethod(window_, [this] { game_.Run({}); }, Qt::QueuedConnection);
}

void QuizScreen::AnswerTextChanged(std::int16_t row, const QString& text) {
  if (redrawing_ || quiz() == nullptr) return;
  game_.RunQuiz([&](Quiz& q) { q.txtAnswer_Change(row, text.toStdString()); });
}

}  // namespace tavrix::screens
