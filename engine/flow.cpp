#include "engine/flow.h"

#include <utility>

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
      quizNew_ = true;
      break;
    case Screen::About: txtGiveup_.emplace("0"); break;
  }
}

void ScreenFlow::ShowScreen(Screen s) {
  if (State(s) == ScreenState::NotCreated) Create(s);
  StateOf(s) = ScreenState::Shown;
  layer_.Show(s);
  // Shown in answer to the player: active from now on, whether or not the
  // desktop says so (a compositor may hold back a new window's activation).
  events_.Post(DeferredEvents::Event::Activated(s));
}

void ScreenFlow::HideScreen(Screen s) {
  if (State(s) != ScreenState::Shown) return;
  StateOf(s) = ScreenState::Hidden;
  if (active_ == s) active_.reset();
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

void ScreenFlow::Activated(Screen s, bool byDesktop) {
  // A window that is not shown (the window manager may still activate a
  // window that was just hidden) is not activated.
  if (State(s) != ScreenState::Shown) return;
  if (!byDesktop) {
    const std::optional<Screen> before = active_;
    BecomeActive(s);
    wait_.reset();
    if (before != s) wait_ = Wait{s, before, std::nullopt};
  } else if (!wait_ || s == wait_->before) {
    wait_.reset();
    BecomeActive(s);
  } else if (s == wait_->shown) {
    wait_.reset();
  } else {
    wait_->held = s;
  }
}

void ScreenFlow::EndWait(std::optional<Screen> at) {
  if (!wait_) return;
  wait_.reset();
  if (at && State(*at) == ScreenState::Shown) active_ = at;
}

void ScreenFlow::PlayerInput(Screen s) {
  // Keys and clicks in a message box are not in a screen.
  if (events_.BoxOpen() || State(s) != ScreenState::Shown) return;
  EndWait(s);
}

void ScreenFlow::BecomeActive(Screen s) {
  const bool activation = s == Screen::Quiz && active_ != Screen::Quiz;
  active_ = s;
  if (!activation) return;
  quiz_->Form_Activate();
  // A new quiz screen has no rows to keep: whatever the flag says, it opens
  // with questions. (A flag of "1" can reach it when the screen was closed
  // from its frame and made again by the about screen's Close.)
  if (std::exchange(quizNew_, false) && quiz_->Row(1).State() == RowState::Blank) quiz_->NewQuiz();
}

void ScreenFlow::Deliver(const DeferredEvents::Event& e) {
  switch (e.kind) {
    case DeferredEvents::Event::Kind::FocusLost:
      if (quiz_) quiz_->txtAnswer_LostFocus(e.row);
      break;
    case DeferredEvents::Event::Kind::Activated: Activated(e.screen, e.byDesktop); break;
    case DeferredEvents::Event::Kind::Closed: ClosedFromFrame(e.screen); break;
  }
}

void ScreenFlow::ClosedFromFrame(Screen s) {
  if (State(s) == ScreenState::NotCreated) return;
  // A close is the player's (or the desktop's on the player's behalf): the
  // desktop is no longer on its way to a screen the program showed.
  if (wait_) EndWait(wait_->held);
  StateOf(s) = ScreenState::NotCreated;
  if (active_ == s) active_.reset();
  switch (s) {
    case Screen::Start: t_Digital = 0; break;
    case Screen::Quiz: quiz_.reset(); break;
    case Screen::About: txtGiveup_.reset(); break;
  }
  layer_.Discard(s);

  // A program whose screens are all hidden could never be reached again.
  const bool anyShown = State(Screen::Start) == ScreenState::Shown || State(Screen::Quiz) == ScreenState::Shown ||
                        State(Screen::About) == ScreenState::Shown;
  if (!anyShown) {
    layer_.Quit();
    return;
  }
  // Closing the about screen hands the activation to a shown quiz screen.
  if (s == Screen::About && State(Screen::Quiz) == ScreenState::Shown) ShowScreen(Screen::Quiz);
}

}  // namespace tavrix
