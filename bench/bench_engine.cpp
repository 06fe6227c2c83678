// Timings of the quiz engine's two hot paths: making a new quiz and judging
// one submitted answer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "engine/quiz.h"
#include "runtime/runtime.h"

namespace {

using namespace tavrix;

// Doubles that do nothing, so that only the engine is timed.
class NoBoxes final : public rt::MessageBoxes {
 public:
  std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string&) override {
    benchmark::DoNotOptimize(prompt.data());
    return buttons == rt::MB_YESNO ? rt::IDNO : rt::IDOK;
  }
};

class NoView final : public QuizView {
 public:
  void SetFocus(std::int16_t row) override { benchmark::DoNotOptimize(row); }
  void SetSelection(std::int16_t row, int, int length) override {
    benchmark::DoNotOptimize(row);
    benchmark::DoNotOptimize(length);
  }
};

class NoHost final : public QuizHost {
 public:
  std::int16_t ReadDigital() override { return 1; }
  std::string ReadResumeFlag() override { return "0"; }
  void WriteResumeFlag(const std::string&) override {}
  void HideQuiz() override {}
  void ShowStart() override {}
  void ShowAbout() override {}
};

struct Rig {
  rt::ClockRandom random;
  NoBoxes boxes;
  NoView view;
  NoHost host;
  Quiz quiz{rt::Services{random, boxes}, view, host};
};

// One new quiz, reseed included. Arguments: operation kind, digit count.
void BM_NewQuiz(benchmark::State& state) {
  Rig rig;
  rig.quiz.state.t_Opcode = static_cast<std::int16_t>(state.range(0));
  rig.quiz.state.t_Digits = static_cast<std::int16_t>(state.range(1));
  for (auto _ : state) {
    rig.quiz.NewQuiz();
    benchmark::DoNotOptimize(rig.quiz.Row(10).num1.data());
  }
}
BENCHMARK(BM_NewQuiz)
    ->ArgNames({"kind", "digits"})
    ->Args({OpTimes, 1})
    ->Args({OpTimes, 2})
    ->Args({OpTimes, 3})
    ->Args({OpMixed, 1})
    ->Args({OpMixed, 2})
    ->Args({OpMixed, 3});

// The row " 7 x 8" reopened in place: a handful of field stores, no
// allocation, so no need to stop the clock.
void Reopen(QuestionRow& row) {
  row.locked = false;
  row.colour = SysColor::Window;
  row.message.clear();
}

Rig& JudgedRig(const char* answer) {
  static Rig rig;
  QuestionRow& row = rig.quiz.Row(3);
  row.num1 = " 7";
  row.opcode = " x ";
  row.num2 = " 8";
  row.answer = answer;
  row.equalShown = row.answerShown = true;
  Reopen(row);
  return rig;
}

// Enter on an open row with the right answer: "Bingo!", lock, focus move.
void BM_SubmitRight(benchmark::State& state) {
  Rig& rig = JudgedRig("56");
  for (auto _ : state) {
    std::int16_t key = kKeyEnter;
    rig.quiz.txtAnswer_KeyPress(3, key);
    benchmark::DoNotOptimize(key);
    Reopen(rig.quiz.Row(3));
  }
}
BENCHMARK(BM_SubmitRight);

// Enter with a wrong answer on the first try: the OK box, the selection and
// the swallowed key. The tries count is put back each time.
void BM_SubmitWrong(benchmark::State& state) {
  Rig& rig = JudgedRig("55");
  for (auto _ : state) {
    std::int16_t key = kKeyEnter;
    rig.quiz.txtAnswer_KeyPress(3, key);
    benchmark::DoNotOptimize(key);
    rig.quiz.state.t_Tries = 0;
  }
}
BENCHMARK(BM_SubmitWrong);

}  // namespace

BENCHMARK_MAIN();
