#include "screens/reader_news.h"

namespace tavrix::screens {

DrawnQuiz Drawing(const Quiz& quiz) {
  DrawnQuiz d;
  for (std::int16_t i = 1; i <= kRowCount; ++i) d.rows[static_cast<std::size_t>(i - 1)] = quiz.Row(i);
  d.score = quiz.lblComment;
  return d;
}

ReaderNews WhatReadersHear(const DrawnQuiz& before, const DrawnQuiz& now, bool screenShown) {
  ReaderNews news;
  bool anyResult = false;
  bool anyBox = false;
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    const std::optional<QuestionRow>& was = before.rows[static_cast<std::size_t>(i - 1)];
    const QuestionRow r = now.rows[static_cast<std::size_t>(i - 1)].value_or(QuestionRow{});
    anyResult |= !r.message.empty();
    anyBox |= r.answerShown;
    // A row that finishes is announced, in the row the player is still in.
    const bool hadResult = was.has_value() && !was->message.empty();
    if (screenShown && !hadResult && !r.message.empty()) {
      news.announcements.push_back({ReaderNews::Announcement::Kind::RowResult, i, r.message});
    }
    // A box drawn for the first time has nothing to change; a hidden one is
    // nothing to a screen reader, and rows cleared all at once make fewer
    // events (a screen reader drops announcements when events come in
    // floods).
    if (!was.has_value() || !r.answerShown) continue;
    const bool reshown = !was->answerShown;
    if (reshown || was->num1 != r.num1 || was->opcode != r.opcode || was->num2 != r.num2) news.renamed.push_back(i);
    if (reshown || was->message != r.message) news.redescribed.push_back(i);
  }
  news.withdrawLast = !anyResult;
  // The score is told as it appears; once the quiz is over and cleared, what
  // is left to use is told.
  if (screenShown && now.score.shown && !before.score.shown) {
    news.announcements.push_back({ReaderNews::Announcement::Kind::Score, 0, now.score.caption});
  }
  if (screenShown && before.score.shown && !now.score.shown && !anyBox) {
    news.announcements.push_back({ReaderNews::Announcement::Kind::MenusLeft, 0, {}});
  }
  return news;
}

}  // namespace tavrix::screens
