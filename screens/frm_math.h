// frmMath: the quiz screen. Ten question rows, the score line and the menu
// bar. The window holds no quiz logic: it shows the quiz records and reports
// the player's keys, focus moves and menu choices.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <cstdint>
#include <functional>

#include "engine/quiz.h"
#include "screens/screen_window.h"

namespace tavrix::screens {

// Where the quiz screen reports what happens in its answer boxes.
class QuizInput {
 public:
  virtual ~QuizInput() = default;
  // A key that produces a character code was pressed in row's box. The
  // receiver hands the code, possibly replaced, to boxHandles, which lets
  // the box handle it.
  virtual void AnswerKeyPress(std::int16_t row, std::int16_t code,
                              const std::function<void(std::int16_t)>& boxHandles) = 0;
  virtual void AnswerFocusIn(std::int16_t row) = 0;
  virtual void AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) = 0;
  virtual void AnswerTextChanged(std::int16_t row, const QString& text) = 0;
};

// txtAnswer(i): a one-line box whose key presses go to the quiz first.
class AnswerBox final : public QLineEdit {
  Q_OBJECT

 public:
  AnswerBox(std::int16_t row, QuizInput& input, QWidget* parent);
  std::int16_t row() const { return row_; }

  // The character code of a key, or -1 when the key produces none: Enter
  // and Return give 13, Backspace 8, Escape 27, other keys their character.
  static int CharCode(const QKeyEvent& e);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void HandleCode(QKeyEvent* e, std::int16_t original, std::int16_t code);

  std::int16_t row_;
  QuizInput& input_;
};

class frmMath final : public ScreenWindow {
  Q_OBJECT

 public:
  explicit frmMath(QuizInput& input);

  // Shows the records: the rows, the score line, box states and colours.
  void Redraw(const Quiz& quiz);
  AnswerBox* Answer(std::int16_t row) const { return txtAnswer.at(static_cast<std::size_t>(row - 1)); }
  // The row whose box has the window's focus, or 0.
  std::int16_t FocusRow() const;

  QWidget* client;  // the client area below the menu bar
  std::array<QLabel*, kRowCount> lblNum1, lblOpcode, lblNum2, lblEqual, lblMessage;
  std::array<AnswerBox*, kRowCount> txtAnswer;
  QLabel* lblComment;

  QMenuBar* menuBar;
  QMenu* mnuDigitalNo;
  std::array<QAction*, 3> mnuDigital;  // indexes 1 to 3
  QMenu* mnuOperation;
  std::array<QAction*, 5> munOpcode;  // indexes 1 to 5
  QMenu* mmuOptional;
  QAction* mmuOption;  // index 1
  QMenu* mmuAbout;
  QAction* mmuZuzirArido;  // index 0

 protected:
  // Tab and Shift+Tab cycle through the shown answer boxes, 10 wrapping to 1.
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FitScoreLine();
};

}  // namespace tavrix::screens
