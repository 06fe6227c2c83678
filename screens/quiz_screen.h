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
#include "screens/game_host.h"

namespace tavrix::screens {

class QuizScreen final : public QuizView, private QuizInput {
 public:
  explicit QuizScreen(GameHost& host) : host_(host) {}

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
  bool shown() const { return host_.State(Screen::Quiz) == ScreenState::Shown; }

  // QuizInput
  void AnswerKeyPress(std::int16_t row, std::int16_t code,
                      const std::function<void(std::int16_t)>& boxHandles) override;
  void AnswerFocusIn(std::int16_t row) override;
  void AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) override;
  void AnswerTextChanged(std::int16_t row, const QString& text) override;

  GameHost& host_;
  QPointer<frmMath> window_;
  std::optional<std::int16_t> focusRow_;  // the player's row
  bool redrawing_ = false;                // Redraw() is writing the widgets
};

}  // namespace tavrix::screens
