// The quiz screen as the quiz engine sees it: the QuizView through which the
// quiz moves the focus and selects text, and the QuizInput to which the
// answer boxes report keys, focus moves and typed text.
//
// The row whose box has the quiz window's focus is the player's row. It is
// what the engine's focus moves start from, and it is given back to the
// window each time the window is shown again. Focus changes of the window
// while the flow holds it hidden are not the player's: a desktop may still
// activate a window that was just hidden, and Qt then moves its focus on to
// the next box. They are ignored.
#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/quiz.h"
#include "screens/answer_box.h"
#include "screens/frm_math.h"

namespace tavrix::screens {

// What the quiz screen reaches of the game.
class QuizScreenHost {
 public:
  virtual ~QuizScreenHost() = default;
  // The quiz's records; null until the flow creates the quiz.
  virtual const Quiz* CurrentQuiz() const = 0;
  virtual bool QuizShown() const = 0;
  // A handler of the flow or its quiz is running.
  virtual bool HandlerRunning() const = 0;
  // Runs a handler of the quiz, if there is one; the windows are brought up
  // to date once the outermost handler has returned.
  virtual void RunQuiz(const std::function<void(Quiz&)>& handler) = 0;
  // The program moved the focus away from row's box: its completion check
  // runs once the running handler has returned.
  virtual void FocusLeft(std::int16_t row) = 0;
  // The player moved the focus away from row's box: its completion check
  // runs once the toolkit has finished moving the focus.
  virtual void FocusTakenFrom(std::int16_t row) = 0;
  // Brings the windows up to date with the records.
  virtual void Refresh() = 0;
};

class QuizScreen final : public QuizView, private QuizInput {
 public:
  explicit QuizScreen(QuizScreenHost& host) : host_(host) {}

  // Builds the window, hidden, with its boxes reporting here.
  frmMath* Create();
  // The window was closed; nothing reaches the quiz from it any more.
  void Discard();
  frmMath* window() const { return window_; }

  // Shows the records.
  void Redraw();
  // The window is shown again: the focus goes back to the player's row.
  void RestoreFocus();

  // QuizView
  void SetFocus(std::int16_t row) override;
  void SetSelection(std::int16_t row, int start, int length) override;

 private:
  const Quiz* quiz() const { return window_ ? host_.CurrentQuiz() : nullptr; }

  // QuizInput
  void AnswerKeyPress(std::int16_t row, std::int16_t code,
                      const std::function<void(std::int16_t)>& boxHandles) override;
  void AnswerFocusIn(std::int16_t row) override;
  void AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) override;
  void AnswerTextChanged(std::int16_t row, const QString& text) override;

  QuizScreenHost& host_;
  QPointer<frmMath> window_;
  std::optional<std::int16_t> focusRow_;  // the player's row
  bool redrawing_ = false;                // Redraw() is writing the widgets
};

}  // namespace tavrix::screens
