#include "screens/game.h"

namespace tavrix::screens {

Game::Game(rt::Random& random, rt::MessageBoxes& boxes)
    : quizScreen_(static_cast<GameHost&>(*this)),
      layer_(static_cast<GameHost&>(*this), quizScreen_),
      boxes_(*this, boxes),
      flow_(rt::Services{random, boxes_}, layer_) {}

// The windows go first, while the flow that their notices reach still exists.
Game::~Game() { layer_.DestroyWindows(); }

void Game::Start() {
  Run([this] { flow_.Start(); });
}

void Game::Run(const std::function<void()>& handler) {
  {
    const auto running = flow_.RunningHandler();
    if (handler) handler();
  }
  // A handler run inside another (the text a key typed) is brought up to
  // date with it.
  if (!flow_.events().HandlerRunning()) Refresh();
}

void Game::RunFlow(const std::function<void(ScreenFlow&)>& handler) {
  Run([&] { handler(flow_); });
}

void Game::RunQuiz(const std::function<void(Quiz&)>& handler) {
  Run([&] {
    if (Quiz* quiz = flow_.quiz()) handler(*quiz);
  });
}

void Game::FocusTakenFrom(std::int16_t row) {
  // Queued now, behind what waits and before whatever the player does next;
  // delivered when the next handler returns or, if none comes first, from
  // the event loop once the toolkit is done moving the focus.
  flow_.FocusTakenFrom(row);
  QMetaObject::invokeMethod(
      &layer_, [this] { Run({}); }, Qt::QueuedConnection);
}

void Game::Refresh() {
  layer_.ShowLevel(flow_.t_Digital);
  quizScreen_.Redraw();
}

std::int16_t Game::ModalBoxes::MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
  game_.Refresh();
  const auto open = game_.flow().OpenBox();
  return inner_.MessageBox(prompt, buttons, title);
}

}  // namespace tavrix::screens
