#include "engine/flow.h"

namespace tavrix {

ScreenFlow::ScreenFlow(rt::Services services, WindowLayer& layer) : rt_(services), layer_(layer) {}

void ScreenFlow::Start() { ShowScreen(Screen::Start); }

void ScreenFlow::Create(Screen s) {
  layer_.Create(s);
  StateOf(s) = ScreenState::Hidden;
  switch (s) {
    case Screen::Start:
      optLevel_Click(0);  // load handling selects EASY
      break;
    case Screen::Quiz:
      quiz_.emplace(rt_, layer_.QuizWindow(), static_cast<QuizHost&>(*this));
      quizAwaitsActivation_ = true;
      break;
    case Screen::About:
      txtGiveup_.emplace("0");
      break;
  }
}

void ScreenFlow::ShowScreen(Screen s) {
  if (State(s) == ScreenState::NotCreated) Create(s);
  StateOf(s) = ScreenState::Shown;
  layer_.Show(s);
}

void ScreenFlow::HideScreen(Screen s) {
  if (State(s) != ScreenState::Shown) return;
  StateOf(s) = ScreenState::Hidden;
  if (s == Screen::Quiz) quizAwaitsActivation_ = true;
  layer_.Hide(s);
}

void ScreenFlow::optLevel_Click(std::int16_t index) { t_Digital = static_cast<std::int16_t>(index + 1); }

void ScreenFlow::cmdPlay_Click() {
  if (t_Digital == 0) t_Digital = 1;
  HideScreen(Screen::Start);
  ShowScreen(Screen::Quiz);
}

void ScreenFlow::cmdClose_Click() {
  HideScreen(Screen::About);
  ShowScreen(Screen::Quiz);
  WriteResumeFlag("1");
}

std::int16_t ScreenFlow::ReadDigital() {
  if (State(Screen::Start) == ScreenState::NotCreated) Create(Screen::Start);
  return t_Digital;
}

std::string ScreenFlow::ReadResumeFlag() {
  if (State(Screen::About) == ScreenState::NotCreated) Create(Screen::About);
  return *txtGiveup_;
}

void ScreenFlow::WriteResumeFlag(const std::string& flag) {
  if (State(Screen::About) == ScreenState::NotCreated) Create(Screen::About);
  txtGiveup_ = flag;
}

void ScreenFlow::Activated(Screen s) {
  // A window that is not shown (the window manager may still activate a
  // window that was just hidden) is not activated.
  if (State(s) != ScreenState::Shown) return;
  const bool activation = s == Screen::Quiz && (lastActive_ != Screen::Quiz || quizAwaitsActivation_);
  lastActive_ = s;
  if (!activation) return;
  quizAwaitsActivation_ = false;
  quiz_->Form_Activate();
}

void ScreenFlow::ClosedFromFrame(Screen s) {
  if (State(s) == ScreenState::NotCreated) return;
  StateOf(s) = ScreenState::NotCreated;
  if (lastActive_ == s) lastActive_.reset();
  switch (s) {
    case Screen::Start:
      t_Digital = 0;
      break;
    case Screen::Quiz:
      quiz_.reset();
      // The questions went with the screen: the next quiz screen must not
      // keep the empty rows of a fresh one.
      if (txtGiveup_) txtGiveup_.emplace("0");
      break;
    case Screen::About:
      txtGiveup_.reset();
      break;
  }
  layer_.Discard(s);

  // A program whose screens are all hidden could never be reached again.
  const bool anyShown = State(Screen::Start) == ScreenState::Shown ||
                        State(Screen::Quiz) == ScreenState::Shown ||
                        State(Screen::About) == ScreenState::Shown;
  if (!anyShown) {
    layer_.Quit();
    return;
  }
  // Closing the about screen hands the activation to a shown quiz screen.
  if (s == Screen::About && State(Screen::Quiz) == ScreenState::Shown) layer_.Show(Screen::Quiz);
}

}  // namespace tavrix
