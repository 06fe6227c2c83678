// What a screen reader hears when the quiz screen is redrawn: worked out from
// the rows and the score line as last drawn and as they are now, without a
// window, so that what is told is decided in this one place and the window
// only sends it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/quiz.h"

namespace tavrix::screens {

// The quiz screen's records, as the window last drew them or as they are
// now; a row never drawn is empty.
struct DrawnQuiz {
  std::array<std::optional<QuestionRow>, kRowCount> rows;
  ScoreLine score;
};

struct ReaderNews {
  // Told as it appears, wherever the focus is.
  struct Announcement {
    enum class Kind {
      RowResult,  // a row's result, "Bingo!" or the answer, where the row shows it
      Score,      // the score line, where it shows
      MenusLeft,  // the quiz is over and cleared: what is left to use is the menus
    };
    Kind kind = Kind::RowResult;
    std::int16_t row = 0;  // RowResult: the row
    std::string text;      // RowResult, Score: the text shown
    bool operator==(const Announcement&) const = default;
  };
  std::vector<Announcement> announcements;  // in this order
  // No row shows a result any more (a new quiz): the last announcement is
  // taken back, and nothing is left to hear.
  bool withdrawLast = false;
  // Rows whose answer box has a new name (its question) or a new description
  // (its result). A box is named by its question and described by its
  // result; a hidden box is told of only once it is shown again.
  std::vector<std::int16_t> renamed;
  std::vector<std::int16_t> redescribed;
  bool operator==(const ReaderNews&) const = default;
};

// What a screen reader is told when the quiz screen, shown or not, goes from
// drawing before to drawing now. Announcements are made only while
// the screen is shown.
ReaderNews WhatReadersHear(const DrawnQuiz& before, const DrawnQuiz& now, bool screenShown);

// The quiz's records, to be drawn.
DrawnQuiz Drawing(const Quiz& quiz);

}  // namespace tavrix::screens
