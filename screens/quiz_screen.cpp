#include "screens/quiz_screen.h"

#include <QApplication>

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

void QuizScreen::Redraw() {
  const Quiz* q = quiz();
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
  if (focusRow_ && *focusRow_ != row) {
    host_.RunFlow([left = *focusRow_](ScreenFlow& f) { f.FocusLeft(left); });
  }
  focusRow_ = row;
  host_.Refresh();  // the box must be shown to take the focus
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
  // One handler: the key press, then the box handling the code it left.
  // What the key press changes on the screen it changes before a focus move
  // or a message box, which bring the windows up to date; the rest waits for
  // the end of the handler. The focus loss it raised comes after.
  host_.RunQuiz([&](Quiz& q) {
    q.txtAnswer_KeyPress(row, code);
    boxHandles(code);
  });
}

void QuizScreen::AnswerFocusIn(std::int16_t row) {
  if (!redrawing_ && shown()) focusRow_ = row;
}

void QuizScreen::AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) {
  if (redrawing_ || quiz() == nullptr || !shown()) return;
  // The program's own focus moves were reported as they were made.
  if (host_.HandlerRunning()) return;
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason: break;
    default: return;  // a message box, a popup or another window took the focus
  }
  const QWidget* now = QApplication::focusWidget();
  if (now == nullptr || now->window() != window_) return;
  // The player moved the focus within the quiz screen.
  host_.FocusTakenFrom(row);
}

void QuizScreen::AnswerTextChanged(std::int16_t row, const QString& text) {
  if (redrawing_ || quiz() == nullptr) return;
  host_.RunQuiz([&](Quiz& q) { q.txtAnswer_Change(row, text.toStdString()); });
}

}  // namespace tavrix::screens
