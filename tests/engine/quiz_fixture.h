// A quiz wired to recording doubles, and helpers that put rows into a given
// state without going through the handlers.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "engine/quiz.h"
#include "runtime/runtime.h"
#include "tests/support/doubles.h"

namespace tavrix::testing {

template <class RandomT>
class QuizFixture : public ::testing::Test {
 protected:
  RandomT random;
  RecordingBoxes boxes;
  RecordingView view;
  FakeHost host;
  Quiz quiz{rt::Services{random, boxes}, view, host};

  // Presses a key in a row's box; returns the key code the box then handles.
  std::int16_t Press(std::int16_t row, std::int16_t key = kKeyEnter) {
    quiz.txtAnswer_KeyPress(row, key);
    return key;
  }
  // Types an answer and submits it with Enter.
  std::int16_t Submit(std::int16_t row, const std::string& answer, std::int16_t key = kKeyEnter) {
    quiz.Row(row).answer = answer;
    return Press(row, key);
  }
  std::array<QuestionRow, kRowCount> Rows() const {
    std::array<QuestionRow, kRowCount> rows;
    for (std::int16_t i = 1; i <= kRowCount; ++i) rows[static_cast<std::size_t>(i - 1)] = quiz.Row(i);
    return rows;
  }
};

// An open row with the given texts.
inline void SetQuestion(Quiz& quiz, std::int16_t i, const std::string& a, const std::string& op, const std::string& b,
                        const std::string& answer = "") {
  QuestionRow& row = quiz.Row(i);
  row = QuestionRow{};
  row.num1 = a;
  row.opcode = op;
  row.num2 = b;
  row.answer = answer;
  row.equalShown = true;
  row.answerShown = true;
}

// Ten finished rows " 2 x 3": the first `right` of them answered right, the
// others revealed.
inline void FinishRows(Quiz& quiz, int right) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    const bool ok = i <= right;
    SetQuestion(quiz, i, " 2", " x ", " 3", ok ? "6" : "5");
    QuestionRow& row = quiz.Row(i);
    row.locked = true;
    row.colour = SysColor::BtnFace;
    row.message = ok ? "Bingo!" : "The answer is 6";
  }
}

inline RecordingView::Call FocusCall(std::int16_t row) { return {RecordingView::Call::Focus, row}; }
inline RecordingView::Call SelectionCall(std::int16_t row, int start, int length) {
  return {RecordingView::Call::Selection, row, start, length};
}

}  // namespace tavrix::testing
