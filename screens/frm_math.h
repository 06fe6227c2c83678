// frmMath: the quiz screen. Ten question rows, the score line and the menu
// bar. The window holds no quiz logic: it shows the quiz records, reports the
// player's menu choices as signals and its answer boxes' keys, focus moves
// and text to a QuizInput.
#pragma once

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <cstdint>
#include <optional>

#include "engine/quiz.h"
#include "screens/accessibility.h"
#include "screens/answer_box.h"
#include "screens/reader_news.h"
#include "screens/screen_window.h"

namespace tavrix::screens {

class frmMath final : public ScreenWindow {
  Q_OBJECT

 public:
  explicit frmMath(QuizInput& input);

  // Shows the records: the rows, the score line, box states and colours. A
  // row's controls are written only when its records changed since the last
  // redraw. A box that the records hide gives up the focus.
  void Redraw(const Quiz& quiz);
  // Gives the focus to row's answer box (the window's focus while it is not
  // the active window).
  void FocusAnswer(std::int16_t row);
  // Selects length characters of row's answer from start (0 is before the
  // first character).
  void SelectAnswer(std::int16_t row, int start, int length);
  // The row whose box has the window's focus, or 0.
  std::int16_t FocusRow() const;

 signals:
  void digitsChosen(int index);     // mnuDigital(index), 1 to 3
  void operationChosen(int index);  // munOpcode(index), 1 to 5
  void exitChosen();                // mmuOption(1), "Exit Game"
  void aboutChosen();               // mmuZuzirArido(0), "About Tavrix..."

 protected:
  // Tab and Shift+Tab cycle through the shown answer boxes, 10 wrapping to 1.
  bool focusNextPrevChild(bool next) override;

 private:
  AnswerBox* Answer(std::int16_t row) const { return txtAnswer.at(static_cast<std::size_t>(row - 1)); }
  void FitScoreLine();
  // Sends the announcements of one kind (and, for a row's result, one row).
  void Announce(const ReaderNews& news, ReaderNews::Announcement::Kind kind, std::int16_t row = 0);

  QWidget* client;  // the client area below the menu bar
  std::array<QLabel*, kRowCount> lblNum1, lblOpcode, lblNum2, lblEqual, lblMessage;
  std::array<AnswerBox*, kRowCount> txtAnswer;
  QLabel* lblComment;
  Announcer* announcer;  // tells screen readers of a row's result as it appears
  // The records and colours as last drawn: a redraw writes only what
  // changed, and screen readers are told what that means to them.
  DrawnQuiz drawn_;
  QColor drawnFace_, drawnBase_;

  QMenuBar* menuBar;
  QMenu* mnuDigitalNo;
  QMenu* mnuOperation;
  QMenu* mmuOptional;
  QMenu* mmuAbout;
};

}  // namespace tavrix::screens
