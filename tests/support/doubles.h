// Test doubles for the runtime services and the screen interfaces the engine
// talks to. Header-only, no test framework: the engine and screen tests, the
// display tests and the engine fuzzer use them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/flow.h"
#include "engine/quiz.h"
#include "runtime/runtime.h"

namespace tavrix::testing {

// Plays a scripted sequence of r values; records every call.
class ScriptedRandom final : public rt::Random {
 public:
  ScriptedRandom() = default;
  explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}

  void Append(std::vector<float> more) { values_.insert(values_.end(), more.begin(), more.end()); }
  float NextRandom(std::int16_t n) override {
    if (next_ >= values_.size()) throw std::out_of_range("ScriptedRandom: script exhausted");
    rows.push_back(n);
    log.push_back("r");
    return values_[next_++];
  }
  void Reseed() override {
    ++reseeds;
    log.push_back("reseed");
  }
  std::size_t Used() const { return next_; }
  std::size_t Left() const { return values_.size() - next_; }

  int reseeds = 0;
  std::vector<std::int16_t> rows;  // the n of each NextRandom call
  std::vector<std::string> log;    // "reseed" and "r" in call order

 private:
  std::vector<float> values_;
  std::size_t next_ = 0;
};

// A seeded generator whose reseeds are counted; each reseed moves to the next
// seed so that successive quizzes differ, reproducibly.
class SeededRandom final : public rt::Random {
 public:
  explicit SeededRandom(std::uint32_t seed = 1) : seed_(seed), gen_(seed) {}
  float NextRandom(std::int16_t n) override { return gen_.NextRandom(n); }
  void Reseed() override {
    ++reseeds;
    gen_ = rt::ClockRandom(seed_ + static_cast<std::uint32_t>(reseeds));
  }
  int reseeds = 0;

 private:
  std::uint32_t seed_;
  rt::ClockRandom gen_;
};

// Records each message box and plays scripted answers. Without a scripted
// answer an OK box answers IDOK and a Yes/No box answers `fallback`.
class RecordingBoxes final : public rt::MessageBoxes {
 public:
  struct Shown {
    std::string prompt;
    std::int16_t buttons;
    std::string title;
  };

  std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title = {}) override {
    shown.push_back({prompt, buttons, title});
    ++open;
    if (open > maxOpen) maxOpen = open;
    if (onShow) onShow(shown.back());  // what happens while the box is open
    --open;
    if (!answers.empty()) {
      const std::int16_t a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == rt::MB_YESNO ? fallback : rt::IDOK;
  }

  std::vector<Shown> shown;
  std::deque<std::int16_t> answers;
  std::int16_t fallback = rt::IDNO;
  std::function<void(const Shown&)> onShow;
  int open = 0;
  int maxOpen = 0;
};

// Records the focus and selection requests of the engine.
class RecordingView final : public QuizView {
 public:
  struct Call {
    enum Kind { Focus, Selection } kind;
    std::int16_t row;
    int start = 0;
    int length = 0;
    bool operator==(const Call&) const = default;
  };

  void SetFocus(std::int16_t row) override {
    calls.push_back({Call::Focus, row});
    const std::optional<std::int16_t> from = focus;
    focus = row;
    if (onFocusMove) onFocusMove(from, row);
  }
  void SetSelection(std::int16_t row, int start, int length) override {
    calls.push_back({Call::Selection, row, start, length});
  }

  std::vector<Call> calls;
  std::optional<std::int16_t> focus;  // the row whose box has the focus
  // Called after each focus request, with the row the focus left.
  std::function<void(std::optional<std::int16_t> from, std::int16_t to)> onFocusMove;
};

// The other screens as the quiz screen sees them.
class FakeHost final : public QuizHost {
 public:
  std::int16_t ReadDigital() override { return digital; }
  std::string ReadResumeFlag() override {
    if (!flag) flag = "0";  // reading creates the about screen
    return *flag;
  }
  void WriteResumeFlag(const std::string& f) override { flag = f; }
  void HideQuiz() override { log.push_back("hide quiz"); }
  void ShowStart() override { log.push_back("show start"); }
  void ShowAbout() override { log.push_back("show about"); }

  std::int16_t digital = 1;
  std::optional<std::string> flag;
  std::vector<std::string> log;
};

// A window layer that records what the screen flow asks of it.
class FakeLayer final : public WindowLayer {
 public:
  static const char* Name(Screen s) {
    switch (s) {
      case Screen::Start: return "start";
      case Screen::Quiz: return "quiz";
      case Screen::About: return "about";
    }
    return "?";
  }
  void Create(Screen s) override { log.push_back(std::string("create ") + Name(s)); }
  QuizView& QuizWindow() override { return view; }
  void Show(Screen s) override { log.push_back(std::string("show ") + Name(s)); }
  void Hide(Screen s) override { log.push_back(std::string("hide ") + Name(s)); }
  void Discard(Screen s) override { log.push_back(std::string("discard ") + Name(s)); }
  void Quit() override {
    log.push_back("quit");
    quit = true;
  }

  RecordingView view;
  std::vector<std::string> log;
  bool quit = false;
};

}  // namespace tavrix::testing
