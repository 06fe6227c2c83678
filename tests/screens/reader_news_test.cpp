// What a screen reader is told at each redraw of the quiz screen, worked out
// from the records alone.
#include <gtest/gtest.h>

#include <functional>

#include "screens/reader_news.h"

namespace tavrix::screens {
namespace {

using Kind = ReaderNews::Announcement::Kind;

QuestionRow Open(const char* a, const char* b) { return {a, " x ", b, true, "", false, SysColor::Window, true, ""}; }
QuestionRow Finished(QuestionRow r, const char* message) {
  r.locked = true;
  r.colour = SysColor::BtnFace;
  r.message = message;
  return r;
}
QuestionRow Blank() { return {}; }

DrawnQuiz Quiz(const std::function<QuestionRow(int)>& row, ScoreLine score = {}) {
  DrawnQuiz d;
  for (int i = 1; i <= kRowCount; ++i) d.rows[static_cast<std::size_t>(i - 1)] = row(i);
  d.score = score;
  return d;
}

const DrawnQuiz kOpen = Quiz([](int) { return Open(" 4", " 3"); });
const DrawnQuiz kAllRight = Quiz([](int) { return Finished(Open(" 4", " 3"), "Bingo!"); });
const ScoreLine kScore{
    "Total Score\xEF\xBC\x9A"
    "100\xE3\x80\x80"
    "Excellent! You are so Good!!",
    true};

struct NewsCase {
  const char* name;
  DrawnQuiz before, now;
  bool shown;
  ReaderNews expected;
};
void PrintTo(const NewsCase& c, std::ostream* os) { *os << c.name; }

class ReaderNewsTest : public ::testing::TestWithParam<NewsCase> {};

TEST_P(ReaderNewsTest, TellsWhatChanged) {
  const NewsCase& c = GetParam();
  const ReaderNews got = WhatReadersHear(c.before, c.now, c.shown);
  EXPECT_EQ(got.announcements, c.expected.announcements);
  EXPECT_EQ(got.withdrawLast, c.expected.withdrawLast);
  EXPECT_EQ(got.renamed, c.expected.renamed);
  EXPECT_EQ(got.redescribed, c.expected.redescribed);
}

DrawnQuiz With(DrawnQuiz d, int row, QuestionRow r) {
  d.rows[static_cast<std::size_t>(row - 1)] = std::move(r);
  return d;
}
DrawnQuiz Scored(DrawnQuiz d, ScoreLine s) {
  d.score = std::move(s);
  return d;
}

const std::vector<std::int16_t> kAllRows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

INSTANTIATE_TEST_SUITE_P(
    Redraws, ReaderNewsTest,
    ::testing::Values(
        // The first drawing of a quiz: nothing has changed for anybody yet.
        NewsCase{"FirstDrawing", DrawnQuiz{}, kOpen, true, {{}, true, {}, {}}},
        NewsCase{"NothingChanged", kOpen, kOpen, true, {{}, true, {}, {}}},
        NewsCase{"RowFinishes",
                 kOpen,
                 With(kOpen, 3, Finished(Open(" 4", " 3"), "Bingo!")),
                 true,
                 {{{Kind::RowResult, 3, "Bingo!"}}, false, {}, {3}}},
        NewsCase{"RowFinishesWhileTheScreenIsHidden",
                 kOpen,
                 With(kOpen, 3, Finished(Open(" 4", " 3"), "The answer is 12")),
                 false,
                 {{}, false, {}, {3}}},
        NewsCase{"TypingChangesNoName",
                 kOpen,
                 With(kOpen, 2,
                      [] {
                        QuestionRow r = Open(" 4", " 3");
                        r.answer = "1";
                        return r;
                      }()),
                 true,
                 {{}, true, {}, {}}},
        // The last row and the score, told together, in that order.
        NewsCase{"LastRowAndScore",
                 With(kAllRight, 10, Open(" 4", " 3")),
                 Scored(With(kAllRight, 10, Finished(Open(" 4", " 3"), "The answer is 12")), kScore),
                 true,
                 {{{Kind::RowResult, 10, "The answer is 12"}, {Kind::Score, 0, kScore.caption}}, false, {}, {10}}},
        NewsCase{"ScoreStillShown", Scored(kAllRight, kScore), Scored(kAllRight, kScore), true, {{}, false, {}, {}}},
        // Play again, No: every row blanked and hidden, the score line too.
        // The hidden boxes are not told of.
        NewsCase{"PlayAgainNo",
                 Scored(kAllRight, kScore),
                 Quiz([](int) { return Blank(); }),
                 true,
                 {{{Kind::MenusLeft, 0, ""}}, true, {}, {}}},
        NewsCase{"PlayAgainNoWhileHidden",
                 Scored(kAllRight, kScore),
                 Quiz([](int) { return Blank(); }),
                 false,
                 {{}, true, {}, {}}},
        // Play again, Yes: new questions in every box, results gone.
        NewsCase{"PlayAgainYes",
                 Scored(kAllRight, kScore),
                 Quiz([](int) { return Open(" 7", " 8"); }),
                 true,
                 {{}, true, kAllRows, kAllRows}},
        // Boxes shown again after the rows were blanked: each is told of anew.
        NewsCase{"BoxesShownAgain", Quiz([](int) { return Blank(); }), kOpen, true, {{}, true, kAllRows, kAllRows}},
        NewsCase{"OneQuestionChanged", kOpen, With(kOpen, 5, Open(" 9", " 3")), true, {{}, true, {5}, {}}}),
    [](const ::testing::TestParamInfo<NewsCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrix::screens
