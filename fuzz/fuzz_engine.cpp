// The screen flow and its quiz driven by an arbitrary sequence of player
// actions decoded from the input, with the test doubles standing in for the
// windows, the message boxes and the random source.
//
// The driver behaves like the real screens: the quiz's keys, typing, focus
// and menus are only reachable while the quiz screen exists and is shown,
// keys and typing only reach a visible answer box (a locked box takes no
// typing), and a click into another box moves the focus first. Each player
// action runs as a handler of the flow's deferred-event queue, the same queue
// the window layer uses: a focus move raises the focus loss of the box it
// left, and a screen that a handler shows is activated, once the handler has
// returned and the box has handled its key. Message boxes are modal: while
// one is open nothing else runs but the desktop's stray notices, which the
// queue must drop; the box's answer comes from the input.
//
// After every step the invariants of the records are checked; a violation
// traps so that the fuzzer keeps the input.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/deferred.h"
#include "engine/flow.h"
#include "engine/quiz.h"
#include "fuzz/check.h"
#include "runtime/runtime.h"
#include "tests/support/doubles.h"


namespace {

using namespace tavrix;
using tavrix::testing::FakeLayer;
using tavrix::testing::RecordingBoxes;
using tavrix::testing::RecordingView;
using tavrix::testing::ScriptedRandom;
using tavrix::testing::SeededRandom;


// The input, read front to back; an exhausted input reads as zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t low = U8();
    return static_cast<std::uint16_t>(low | (U8() << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::string Bytes(std::size_t n) {
    n = std::min(n, size_ - std::min(pos_, size_));
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

constexpr std::int32_t kLargestAnswer = 999 * 999;

// UTF-8 of one character code as a text box would insert it.
std::string Utf8(std::uint16_t code) {
  std::string s;
  if (code < 0x80) {
    s.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (code >> 6)));
    s.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xE0 | (code >> 12)));
    s.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
  return s;
}

void EraseLastChar(std::string& s) {
  while (!s.empty()) {
    const auto c = static_cast<unsigned char>(s.back());
    s.pop_back();
    if ((c & 0xC0u) != 0x80u) break;
  }
}

bool IsWhole(double x) { return std::isfinite(x) && x == std::floor(x); }

class Driver {
 public:
  Driver(const std::uint8_t* data, std::size_t size) : in_(data, size) {
    scriptedMode_ = (in_.U8() & 1u) != 0;
    const std::uint32_t seed = in_.U32();
    seeded_.emplace(seed);
    if (scriptedMode_) {
      // The first questions come from the input, the rest from a seeded
      // sequence; a quiz that runs past them ends the run.
      std::vector<float> values;
      const int chosen = in_.U8();
      for (int k = 0; k < chosen; ++k) {
        const std::uint32_t low = in_.U8();
        const std::uint32_t bits = low | (static_cast<std::uint32_t>(in_.U16()) << 8);
        values.push_back(rt::FloatFrom24Bits(bits));
      }
      rt::ClockRandom tail(seed);
      for (int k = 0; k < 4000; ++k) values.push_back(tail.NextRandom(1));
      scripted_.emplace(std::move(values));
    }
    rt::Random& random = scriptedMode_ ? static_cast<rt::Random&>(*scripted_) : *seeded_;
    flow_.emplace(rt::Services{random, boxes_}, layer_);

    layer_.view.onFocusMove = [this](std::optional<std::int16_t> from, std::int16_t to) {
      selectedAll_[static_cast<std::size_t>(to)] = false;
      if (from && *from != to) flow_->FocusLeft(*from);
    };
    boxes_.onShow = [this](const RecordingBoxes::Shown& box) { OnBoxShown(box); };
  }

  void Run() {
    try {
      Handle([&] { flow_->Start(); });
      while (!in_.Empty() && !layer_.quit) Step();
    } catch (const std::out_of_range&) {
      // Only the random script running out ends a run early.
      if (!scripted_ || scripted_->Left() != 0) throw;
    }
  }

 private:
  Quiz* ShownQuiz() { return flow_->State(Screen::Quiz) == ScreenState::Shown ? flow_->quiz() : nullptr; }

  void Step() {
    const std::uint8_t op = in_.U8();
    switch (op % 10) {
      case 0: PressKey(); break;
      case 1: TypeText(); break;
      case 2: ClickRow(); break;
      case 3: LoseFocus(); break;
      case 4: QuizMenu(); break;
      case 5: StartScreen(); break;
      case 6:
        if (flow_->State(Screen::About) == ScreenState::Shown) Handle([&] { flow_->cmdClose_Click(); });
        break;
      case 7: {
        // The desktop reports a screen active, or the player presses a key or
        // button in one; the queue and the flow decide whether the report is
        // an activation.
        const std::uint8_t what = in_.U8();
        const auto s = static_cast<Screen>(what % 3);
        if (what & 0x80) {
          flow_->PlayerInput(s);
        } else {
          Handle([&] { flow_->DesktopActivated(s); });
        }
        break;
      }
      case 8: {
        const auto s = static_cast<Screen>(in_.U8() % 3);
        Handle([&] {
          flow_->ClosedFromFrame(s);
          if (s == Screen::Quiz) layer_.view.focus.reset();
        });
        break;
      }
      case 9: PlayRows(); break;
    }
    CheckAll();
  }

  // Runs a player action as a handler: the focus losses and activations it
  // raises are delivered when it returns.
  template <class F>
  void Handle(F&& action) {
    {
      const auto handler = flow_->RunningHandler();
      action();
    }
    ForgetHiddenFocus();
    CheckAll();
  }

  std::int16_t Row() { return static_cast<std::int16_t>(1 + in_.U8() % kRowCount); }

  // The player clicks into a row's answer box; the box that had the focus
  // loses it.
  void Focus(std::int16_t row) {
    if (layer_.view.focus == row) return;
    Handle([&] { layer_.view.SetFocus(row); });
  }

  static bool Reachable(Quiz* quiz, std::int16_t row) { return quiz && quiz->Row(row).answerShown; }

  void PressKey() {
    const std::int16_t row = Row();
    std::int16_t key = 0;
    switch (in_.U8() % 8) {
      case 0: key = kKeyEnter; break;
      case 1: key = kKeyOpenParen; break;
      case 2: key = 8; break;
      case 3: key = static_cast<std::int16_t>('0' + in_.U8() % 10); break;
      case 4: key = static_cast<std::int16_t>('a' + in_.U8() % 26); break;
      case 5: key = static_cast<std::int16_t>("-+.eE&Ho \t"[in_.U8() % 10]); break;
      default: key = static_cast<std::int16_t>(in_.U16()); break;
    }
    PressKeyOn(row, key);
  }

  // The player's quick way through the quiz: from the focused row on, type
  // the right answer (or a wrong one, as the mask says) and press Enter.
  void PlayRows() {
    const int count = 1 + in_.U8() % 12;
    const std::uint16_t wrongMask = in_.U16();
    for (int k = 0; k < count && !layer_.quit; ++k) {
      Quiz* quiz = ShownQuiz();
      if (!quiz) return;
      const std::int16_t row = layer_.view.focus.value_or(1);
      if (!Reachable(quiz, row)) return;
      if (!quiz->Row(row).locked) TypeOn(row, (wrongMask >> k) & 1u ? 2 : 1, 1);
      PressKeyOn(row, kKeyEnter);
    }
  }

  void PressKeyOn(std::int16_t row, std::int16_t key) {
    if (!Reachable(ShownQuiz(), row)) return;
    Focus(row);
    Quiz* quiz = ShownQuiz();
    if (!Reachable(quiz, row)) return;

    const QuestionRow before = quiz->Row(row);
    const std::int16_t triesBefore = quiz->state.t_Tries;
    const std::size_t boxesBefore = boxes_.shown.size();
    const std::size_t callsBefore = layer_.view.calls.size();
    const std::int16_t pressed = key;

    Handle([&] {
      quiz->txtAnswer_KeyPress(row, key);
      CHECK(!flow_->events().BoxOpen());

      const QuestionRow& after = quiz->Row(row);
      const std::size_t newBoxes = boxes_.shown.size() - boxesBefore;
      CHECK(newBoxes <= 1);
      if (before.locked) {
        // A finished row only passes the focus on.
        CHECK(after == before && key == pressed && quiz->state.t_Tries == triesBefore && newBoxes == 0);
        CHECK(layer_.view.focus == NextRow(row));
      } else if (pressed != kKeyEnter && pressed != kKeyOpenParen) {
        CHECK(after == before && key == pressed && quiz->state.t_Tries == triesBefore && newBoxes == 0);
      } else if (!after.locked) {
        // A wrong answer with tries left: the key is swallowed and the whole
        // answer selected for retyping.
        CHECK(key == kKeySwallowed && newBoxes == 1 && boxes_.shown.back().prompt == kTryAgain);
        CHECK(after.answer == before.answer);
        bool selected = false;
        for (std::size_t k = callsBefore; k < layer_.view.calls.size(); ++k) {
          const RecordingView::Call& c = layer_.view.calls[k];
          if (c.kind == RecordingView::Call::Selection) {
            CHECK(c.row == row && c.start == 0 && c.length == CharCount(after.answer));
            selected = true;
          }
        }
        CHECK(selected);
        selectedAll_[static_cast<std::size_t>(row)] = true;
      } else {
        CHECK(key == pressed && quiz->state.t_Tries == 0 && after.answer == before.answer);
        CHECK(layer_.view.focus == NextRow(row));
      }

      // The box handles the key the handler left, before the focus loss that
      // the handler raised is checked.
      if (!after.locked) Insert(*quiz, row, static_cast<std::uint16_t>(key));
    });
  }

  void Insert(Quiz& quiz, std::int16_t index, std::uint16_t code) {
    bool& all = selectedAll_[static_cast<std::size_t>(index)];
    std::string answer = quiz.Row(index).answer;
    if (code == 8) {
      if (all) answer.clear();
      else EraseLastChar(answer);
    } else if (code >= 32 && code != 127 && !(code >= 0xD800 && code <= 0xDFFF)) {
      // '(' and Enter never get here: the handler swallows or locks them.
      CHECK(code != kKeyOpenParen);
      if (all) answer.clear();
      answer += Utf8(code);
    } else {
      return;  // other control characters change nothing
    }
    all = false;
    quiz.txtAnswer_Change(index, std::move(answer));
  }

  void TypeText() {
    const std::int16_t row = Row();
    const std::uint8_t how = in_.U8();
    const std::uint8_t n = in_.U8();
    TypeOn(row, how, n);
  }

  // Replaces or extends the text of an open row's answer box, as the player
  // would by typing or pasting.
  void TypeOn(std::int16_t row, std::uint8_t how, std::uint8_t n) {
    Quiz* quiz = ShownQuiz();
    if (!Reachable(quiz, row) || quiz->Row(row).locked) return;
    Focus(row);
    quiz = ShownQuiz();
    if (!Reachable(quiz, row) || quiz->Row(row).locked) return;

    std::string answer = quiz->Row(row).answer;
    const std::int32_t right = quiz->RightAnswer(row);
    switch (how % 8) {
      case 0:  // append digits
        for (int k = 0; k < n % 12; ++k) answer.push_back(static_cast<char>('0' + in_.U8() % 10));
        break;
      case 1: answer = rt::NumberText(right); break;
      case 2: answer = rt::NumberText(right + static_cast<std::int8_t>(n)); break;
      case 3: {  // the right answer in another spelling
        static constexpr const char* kForms[] = {" ", "\t", "0", "+", ".0", "e0", "abc", " 1"};
        const std::string text = rt::NumberText(right);
        answer = (n & 1) ? kForms[n % 8] + text : text + kForms[n % 8];
        break;
      }
      case 4: answer = std::string(static_cast<std::size_t>(n) * 40 + 1, '9'); break;
      case 5: {
        static constexpr const char* kHuge[] = {
            "1e400", "-1e400",        "1e-400", "&HFFFFFFFFFFFFFFFFFFFFFFFF", "&O7777777777777777777777777",
            "-0",    "1e99999999999", "."};
        answer = kHuge[n % 8];
        break;
      }
      case 6: answer = in_.Bytes(n); break;  // junk
      default: answer.clear(); break;
    }
    selectedAll_[static_cast<std::size_t>(row)] = false;
    Handle([&] { quiz->txtAnswer_Change(row, std::move(answer)); });
  }

  void ClickRow() {
    const std::int16_t row = Row();
    if (Reachable(ShownQuiz(), row)) Focus(row);
  }

  // The focus left a box by a move of the toolkit's own.
  void LoseFocus() {
    const std::int16_t row = Row();
    if (ShownQuiz()) Handle([&] { flow_->FocusTakenFrom(row); });
  }

  void QuizMenu() {
    const std::uint8_t which = in_.U8();
    const std::int16_t arg = static_cast<std::int16_t>(in_.U16());
    Quiz* quiz = ShownQuiz();
    if (!quiz) return;
    Handle([&] {
      switch (which % 4) {
        case 0: quiz->mnuDigital_Click(static_cast<std::int16_t>(1 + static_cast<std::uint16_t>(arg) % 3)); break;
        case 1:
          quiz->munOpcode_Click((which & 4) ? arg : static_cast<std::int16_t>(static_cast<std::uint16_t>(arg) % 7));
          break;
        case 2: quiz->mmuOption_Click(1); break;
        default: quiz->mmuZuzirArido_Click(0); break;
      }
    });
  }

  void StartScreen() {
    const std::uint8_t which = in_.U8();
    if (flow_->State(Screen::Start) != ScreenState::Shown) return;
    Handle([&] {
      if (which & 1) flow_->cmdPlay_Click();
      else flow_->optLevel_Click(static_cast<std::int16_t>((which >> 1) % 3));
    });
  }

  // The focused box was hidden (every row blanked): the focus left the rows.
  void ForgetHiddenFocus() {
    Quiz* quiz = flow_->quiz();
    if (quiz && layer_.view.focus && !quiz->Row(*layer_.view.focus).answerShown) layer_.view.focus.reset();
  }

  void OnBoxShown(const RecordingBoxes::Shown& box) {
    CHECK(boxes_.open == 1);
    // While the box is open the desktop may still report the windows behind
    // it; none of that is the player's doing.
    const auto open = flow_->OpenBox();
    const std::uint8_t stray = in_.U8();
    if (stray & 1u) {
      if (stray & 2u) {
        flow_->FocusTakenFrom(static_cast<std::int16_t>(1 + (stray >> 2) % kRowCount));
      } else {
        flow_->DesktopActivated(static_cast<Screen>((stray >> 2) % 3));
      }
    }
    Quiz* quiz = ShownQuiz();
    CHECK(quiz != nullptr);  // every box belongs to the shown quiz screen
    if (box.prompt == kTryAgain) {
      CHECK(box.buttons == rt::MB_OK && box.title.empty());
      CHECK(quiz->state.t_Tries == 1 || quiz->state.t_Tries == 2);
    } else if (box.prompt.starts_with(kSorry)) {
      CHECK(box.buttons == rt::MB_OK && box.title.empty() && quiz->state.t_Tries == 3);
    } else if (box.prompt == kPlayAgain) {
      CHECK(box.buttons == rt::MB_YESNO && box.title == rt::kAppTitle);
      int right = 0;
      for (std::int16_t i = 1; i <= kRowCount; ++i) {
        CHECK(quiz->Row(i).locked);
        if (quiz->Row(i).message == kBingo) ++right;
      }
      CHECK(quiz->lblComment.shown);
      CHECK(quiz->lblComment.caption.starts_with(std::string(kScorePrefix) + rt::NumberText(right * 10) +
                                                 "\xE3\x80\x80"));
    } else {
      CHECK(box.prompt == kExitPrompt || box.prompt == kSkipDigits || box.prompt == kSkipOperation);
      CHECK(box.buttons == rt::MB_YESNO && box.title.empty());
    }
    // The player's answer.
    const std::uint8_t a = in_.U8();
    switch (a % 4) {
      case 0: boxes_.answers.push_back(rt::IDYES); break;
      case 1: boxes_.answers.push_back(rt::IDNO); break;
      case 2: boxes_.answers.push_back(rt::IDOK); break;
      default: boxes_.answers.push_back(static_cast<std::int16_t>(in_.U16())); break;
    }
  }

  void CheckRow(const Quiz& quiz, std::int16_t i) {
    const QuestionRow& row = quiz.Row(i);
    // The checks depend on the row's fields alone: a row seen before passed.
    std::optional<QuestionRow>& seen = checked_[static_cast<std::size_t>(i)];
    if (seen && *seen == row) return;
    const bool finishedText = row.message == kBingo || row.message.starts_with(kAnswerIs);
    CHECK(row.locked == finishedText);
    CHECK((row.colour == SysColor::BtnFace) == row.locked);
    CHECK(row.colour == SysColor::BtnFace || row.colour == SysColor::Window);
    CHECK(row.equalShown == row.answerShown);

    if (!row.answerShown) {  // Blank
      CHECK(row.num1.empty() && row.opcode.empty() && row.num2.empty());
      CHECK(row.answer.empty() && row.message.empty() && !row.locked);
      seen = row;
      return;
    }
    bool known = false;
    for (std::string_view op : kOperatorTexts) known = known || row.opcode == op;
    CHECK(known);

    const double a = rt::ReadNumber(row.num1);
    const double b = rt::ReadNumber(row.num2);
    CHECK(row.num1 == rt::ShowNumber(a) && row.num2 == rt::ShowNumber(b));
    CHECK(IsWhole(a) && IsWhole(b) && a >= 0 && a < 10000 && b >= 1 && b < 1000);
    const std::int32_t right = quiz.RightAnswer(i);
    CHECK(right >= 0 && right <= kLargestAnswer);
    if (row.opcode == kOperatorTexts[OpDivide - 1]) CHECK(static_cast<double>(right) * b == a);
    if (row.opcode == kOperatorTexts[OpSubtract - 1]) CHECK(a >= b);

    if (row.message == kBingo) CHECK(rt::ReadNumber(row.answer) == static_cast<double>(right));
    if (row.message.starts_with(kAnswerIs)) CHECK(row.message == std::string(kAnswerIs) + rt::NumberText(right));
    seen = row;
  }

  void CheckAll() {
    CHECK(boxes_.maxOpen <= 1 && boxes_.open == 0);
    CHECK((flow_->quiz() != nullptr) == (flow_->State(Screen::Quiz) != ScreenState::NotCreated));
    const bool aboutExists = flow_->State(Screen::About) != ScreenState::NotCreated;
    CHECK(flow_->txtGiveup().has_value() == aboutExists);
    if (aboutExists) CHECK(*flow_->txtGiveup() == "0" || *flow_->txtGiveup() == "1");
    if (flow_->State(Screen::Start) != ScreenState::NotCreated) CHECK(flow_->t_Digital >= 1 && flow_->t_Digital <= 3);
    if (!layer_.quit) {
      CHECK(flow_->State(Screen::Start) == ScreenState::Shown || flow_->State(Screen::Quiz) == ScreenState::Shown ||
            flow_->State(Screen::About) == ScreenState::Shown);
    }

    const Quiz* quiz = flow_->quiz();
    if (!quiz) return;
    CHECK(quiz->state.t_Tries >= 0 && quiz->state.t_Tries <= 2);
    CHECK(quiz->state.t_Resume.empty() || quiz->state.t_Resume == "0" || quiz->state.t_Resume == "1");
    if (!quiz->state.t_Resume.empty()) {
      CHECK(quiz->state.t_Digits >= 1 && quiz->state.t_Digits <= 3);
      CHECK(quiz->state.t_Opcode >= OpAdd && quiz->state.t_Opcode <= OpMixed);
    }
    // The score line shows only while the play-again box is open.
    CHECK(!quiz->lblComment.shown && quiz->lblComment.caption.empty());
    for (std::int16_t i = 1; i <= kRowCount; ++i) CheckRow(*quiz, i);
  }

  Input in_;
  bool scriptedMode_ = false;
  std::optional<SeededRandom> seeded_;
  std::optional<ScriptedRandom> scripted_;
  RecordingBoxes boxes_;
  FakeLayer layer_;
  std::optional<ScreenFlow> flow_;
  bool selectedAll_[kRowCount + 1] = {};
  std::optional<QuestionRow> checked_[kRowCount + 1];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Driver(data, size).Run();
  return 0;
}
