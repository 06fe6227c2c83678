#include "engine/quiz.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tavrix {

RowState QuestionRow::State() const {
  if (locked) return message == kBingo ? RowState::FinishedRight : RowState::FinishedRevealed;
  return answerShown ? RowState::Open : RowState::Blank;
}

int CharCount(std::string_view utf8) {
  // Every byte that is not a continuation byte starts a character.
  return static_cast<int>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }));
}

Quiz::Quiz(rt::Services services, QuizView& view, QuizHost& host) : rt_(services), view_(view), host_(host) {}

void Quiz::NewQuiz() {
  const int d = state.t_Digits;
  const int kind = state.t_Opcode;
  // Only digit counts 1 to 3 and kinds 1 to 5 reach here; anything else
  // could never draw a non-zero operand, so it makes no quiz at all.
  if (d < 1 || d > 3 || kind < OpAdd || kind > OpMixed) return;

  rt_.random.Reseed();
  std::string_view op = kind == OpMixed ? std::string_view{} : kOperatorTexts[kind - 1];
  lblComment.caption.clear();
  lblComment.shown = false;

  const double width = std::pow(10.0, d);
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    auto draw = [&](double scale) { return rt::Floor(static_cast<double>(rt_.random.NextRandom(i)) * scale); };
    QuestionRow& row = Row(i);
    row.message.clear();
    row.answer.clear();
    row.locked = false;
    row.colour = SysColor::Window;

    if (kind == OpMixed) op = kOperatorTexts[static_cast<std::size_t>(draw(4.0))];

    double b = draw(width);
    while (b == 0.0) b = draw(width);

    double a = 0.0;
    if (op == kOperatorTexts[OpDivide - 1]) {
      a = b * std::fmod(draw(10.0), 10.0);
    } else if (op == kOperatorTexts[OpSubtract - 1]) {
      a = draw(width);
      while (a < b) a = draw(width);
    } else {
      a = draw(width);
    }

    row.num1 = rt::ShowNumber(a);
    row.opcode = std::string(op);
    row.num2 = rt::ShowNumber(b);
    row.equalShown = true;
    row.answerShown = true;
  }
  view_.SetFocus(1);
}

std::int32_t Quiz::RightAnswer(std::int16_t i) const {
  const QuestionRow& row = Row(i);
  const double a = rt::ReadNumber(row.num1);
  const double b = rt::ReadNumber(row.num2);
  if (row.opcode == kOperatorTexts[0]) return rt::RoundEven(a + b);
  if (row.opcode == kOperatorTexts[1]) return rt::RoundEven(a - b);
  if (row.opcode == kOperatorTexts[2]) return rt::RoundEven(a * b);
  if (row.opcode == kOperatorTexts[3]) {
    const std::int64_t dividend = rt::RoundEven(a);
    const std::int64_t divisor = rt::RoundEven(b);
    if (divisor == 0) return 0;  // never made by NewQuiz
    const std::int64_t quotient = dividend / divisor;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(quotient, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
  }
  return 0;
}

void Quiz::FinishRow(std::int16_t i, std::string message) {
  QuestionRow& row = Row(i);
  row.message = std::move(message);
  row.locked = true;
  row.colour = SysColor::BtnFace;
}

void Quiz::txtAnswer_KeyPress(std::int16_t i, std::int16_t& KeyAscii) {
  const std::int16_t next = NextRow(i);
  if (Row(i).locked) {
    view_.SetFocus(next);
    return;
  }
  if (KeyAscii != kKeyEnter && KeyAscii != kKeyOpenParen) return;

  ++state.t_Tries;
  const std::int32_t expected = RightAnswer(i);
  const double typed = rt::ReadNumber(Row(i).answer);

  if (typed == static_cast<double>(expected)) {
    FinishRow(i, std::string(kBingo));
    view_.SetFocus(next);
    state.t_Tries = 0;
    return;
  }
  if (state.t_Tries != 3) {
    rt_.boxes.MessageBox(std::string(kTryAgain), rt::MB_OK);
    view_.SetSelection(i, 0, CharCount(Row(i).answer));
    KeyAscii = kKeySwallowed;
    return;
  }
  const std::string answerText = rt::NumberText(expected);
  rt_.boxes.MessageBox(std::string(kSorry) + answerText, rt::MB_OK);
  state.t_Tries = 0;
  FinishRow(i, std::string(kAnswerIs) + answerText);
  view_.SetFocus(next);
}

void Quiz::txtAnswer_Change(std::int16_t i, std::string text) { Row(i).answer = std::move(text); }

std::string_view Quiz::ScoreComment(int rightRows) {
  if (rightRows == 10)
    return "\xE3\x80\x80"
           "Excellent! You are so Good!!";
  if (rightRows >= 8)
    return "\xE3\x80\x80"
           "Good! Just a little for perfect.";
  if (rightRows >= 6)
    return "\xE3\x80\x80"
           "You can do better.";
  return "\xE3\x80\x80"
         "Exercise more, you can do better.";
}

void Quiz::txtAnswer_LostFocus(std::int16_t /*row*/) {
  // The play-again box is open: its own opening is no focus loss to check.
  if (scoring_) return;
  if (std::any_of(rows_.begin(), rows_.end(), [](const QuestionRow& r) { return !r.locked; })) return;

  const auto right =
      std::count_if(rows_.begin(), rows_.end(), [](const QuestionRow& r) { return r.message == kBingo; });
  lblComment.caption = std::string(kScorePrefix) + rt::NumberText(static_cast<double>(right * 10)) +
                       std::string(ScoreComment(static_cast<int>(right)));
  lblComment.shown = true;

  scoring_ = true;
  const std::int16_t answer = rt_.boxes.MessageBox(std::string(kPlayAgain), rt::MB_YESNO, std::string(rt::kAppTitle));
  scoring_ = false;

  if (answer == rt::IDYES) {
    host_.WriteResumeFlag("0");
    NewQuiz();
    return;
  }
  lblComment.caption.clear();
  lblComment.shown = false;
  rows_.fill({});  // every row blank and hidden
}

void Quiz::AskSkip(std::string_view prompt) {
  const bool anyText = std::any_of(rows_.begin(), rows_.end(), [](const QuestionRow& r) { return !r.answer.empty(); });
  // One prompt at the first row holding text; its answer changes nothing.
  if (anyText) rt_.boxes.MessageBox(std::string(prompt), rt::MB_YESNO);
}

void Quiz::mnuDigital_Click(std::int16_t index) {
  state.t_Digits = index;
  AskSkip(kSkipDigits);
  if (state.t_Opcode > 0) NewQuiz();
}

void Quiz::munOpcode_Click(std::int16_t index) {
  if (index >= OpAdd && index <= OpMixed) state.t_Opcode = index;
  AskSkip(kSkipOperation);
  if (state.t_Digits > 0) NewQuiz();
}

void Quiz::mmuOption_Click(std::int16_t /*index*/) {
  if (rt_.boxes.MessageBox(std::string(kExitPrompt), rt::MB_YESNO) == rt::IDYES) {
    host_.HideQuiz();
    host_.ShowStart();
  }
}

void Quiz::mmuZuzirArido_Click(std::int16_t /*index*/) { host_.ShowAbout(); }

void Quiz::Form_Activate() {
  const std::int16_t digital = host_.ReadDigital();
  state.t_Opcode = OpTimes;
  state.t_Digits = digital;
  state.t_Resume = host_.ReadResumeFlag();
  if (state.t_Resume == "0") NewQuiz();
}

}  // namespace tavrix
