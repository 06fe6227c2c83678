// The quiz screen's state and commands, free of any window toolkit. The
// records below are what the quiz screen shows; the screen redraws from them
// and forwards the player's input to the handlers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/runtime.h"

namespace tavrix {

// Operation kinds of new questions.
enum OpKind : std::int16_t { OpAdd = 1, OpSubtract = 2, OpTimes = 3, OpDivide = 4, OpMixed = 5 };

// Operator texts, in the order of the kinds 1 to 4. Checking recognises an
// operation only by exact comparison with these texts.
inline constexpr std::array<std::string_view, 4> kOperatorTexts = {" + ", " - ", " x ", " / "};

// The two system colours an answer box takes.
enum class SysColor : std::uint32_t {
  Window = 0x80000005u,   // COLOR_WINDOW: an open answer box
  BtnFace = 0x8000000Fu,  // COLOR_BTNFACE: a finished answer box
};

inline constexpr std::int16_t kRowCount = 10;
inline constexpr std::int16_t kKeyEnter = 13;
inline constexpr std::int16_t kKeyOpenParen = 40;
inline constexpr std::int16_t kKeySwallowed = 1;

inline constexpr std::string_view kBingo = "Bingo!";
inline constexpr std::string_view kAnswerIs = "The answer is ";
inline constexpr std::string_view kTryAgain = "Oops!! That's not a correct answer. Try again.";
inline constexpr std::string_view kSorry = "Sorry! The answer is ";
inline constexpr std::string_view kPlayAgain = "Do you want to play again?";
inline constexpr std::string_view kExitPrompt = "Do you want to exit this game\xEF\xBC\x9F";  // fullwidth ？
inline constexpr std::string_view kSkipDigits = "Skip this qestion\xEF\xBC\x9F";              // sic
inline constexpr std::string_view kSkipOperation = "Skip this question\xEF\xBC\x9F";
inline constexpr std::string_view kScorePrefix = "Total Score\xEF\xBC\x9A";  // fullwidth ：

// The private variables of the quiz screen.
struct QuizState {
  std::int16_t t_Digits = 0;
  std::int16_t t_Opcode = 0;
  std::int16_t t_Tries = 0;
  std::string t_Resume;
};

enum class RowState { Blank, Open, FinishedRight, FinishedRevealed };

// The display state of one question row.
struct QuestionRow {
  std::string num1;         // lblNum1: first operand, ShowNumber form
  std::string opcode;       // lblOpcode: operator text
  std::string num2;         // lblNum2: second operand
  bool equalShown = false;  // lblEqual visibility
  std::string answer;       // txtAnswer text
  bool locked = false;      // txtAnswer locked: the row is finished
  SysColor colour = SysColor::Window;
  bool answerShown = false;  // txtAnswer visibility
  std::string message;       // lblMessage: "", "Bingo!" or "The answer is ..."

  RowState State() const;
  bool operator==(const QuestionRow&) const = default;
};

// lblComment.
struct ScoreLine {
  std::string caption;
  bool shown = false;
  bool operator==(const ScoreLine&) const = default;
};

// Operations the quiz screen offers on its answer boxes.
class QuizView {
 public:
  virtual ~QuizView() = default;
  // Gives the input focus to the row's answer box.
  virtual void SetFocus(std::int16_t row) = 0;
  // Selects length characters of the row's answer text from start (0 is
  // before the first character).
  virtual void SetSelection(std::int16_t row, int start, int length) = 0;
};

// What the quiz screen reaches on the other screens.
class QuizHost {
 public:
  virtual ~QuizHost() = default;
  virtual std::int16_t ReadDigital() = 0;    // start screen's t_Digital
  virtual std::string ReadResumeFlag() = 0;  // about screen's txtGiveup
  virtual void WriteResumeFlag(const std::string& flag) = 0;
  virtual void HideQuiz() = 0;
  virtual void ShowStart() = 0;
  virtual void ShowAbout() = 0;
};

// Number of characters (code points) of a UTF-8 text.
int CharCount(std::string_view utf8);

// The next row of a row: row + 1, and row 1 after row 10.
constexpr std::int16_t NextRow(std::int16_t row) { return static_cast<std::int16_t>(row % kRowCount + 1); }

class Quiz {
 public:
  Quiz(rt::Services services, QuizView& view, QuizHost& host);

  // Records, rows indexed 1 to 10.
  QuizState state;
  ScoreLine lblComment;
  QuestionRow& Row(std::int16_t i) { return rows_.at(static_cast<std::size_t>(i - 1)); }
  const QuestionRow& Row(std::int16_t i) const { return rows_.at(static_cast<std::size_t>(i - 1)); }

  // Fills all ten rows with new questions of t_Opcode at t_Digits.
  void NewQuiz();
  // A key pressed in row's answer box, before the box handles it. The box
  // then handles the key code as this leaves it.
  void txtAnswer_KeyPress(std::int16_t row, std::int16_t& KeyAscii);
  // The text of row's answer box changed: typing, deleting or pasting.
  void txtAnswer_Change(std::int16_t row, std::string text);
  // The focus left row's answer box: the completion check.
  void txtAnswer_LostFocus(std::int16_t row);
  // Menu commands.
  void mnuDigital_Click(std::int16_t index);     // 位數 menu: a digit count, 1 to 3
  void munOpcode_Click(std::int16_t index);      // 運算 menu: an operation, 1 to 5
  void mmuOption_Click(std::int16_t index);      // Option > Exit Game (index 1)
  void mmuZuzirArido_Click(std::int16_t index);  // About > About Tavrix... (index 0)
  // The quiz screen became the active window.
  void Form_Activate();

  // Right answer of a row, worked out from its texts.
  std::int32_t RightAnswer(std::int16_t row) const;

 private:
  void FinishRow(std::int16_t row, std::string message);
  void AskSkip(std::string_view prompt);
  static std::string_view ScoreComment(int rightRows);

  rt::Services rt_;
  QuizView& view_;
  QuizHost& host_;
  std::array<QuestionRow, kRowCount> rows_{};
  bool scoring_ = false;  // the play-again box is open
};

}  // namespace tavrix
