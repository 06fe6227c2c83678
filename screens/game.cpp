#include "screens/game.h"

namespace tavrix::screens {

Game::Game(rt::Random& random, rt::MessageBoxes& boxes)
    : quizScreen_(static_cast<QuizScreenHost&>(*this)),
      layer_(static_cast<LayerHost&>(*this), quizScreen_),
      boxes_(*this, boxes),
      flow_(rt::Services{random, boxes_}, layer_) {}

// The windows go first, while the flow that their notices reach still exists.
Game::~Game() { layer_.DestroyWindows(); }

void Game::Start() {
  Run([this] { flow_.Start(); });
}

void Game::Run(const std::function<void()>& handler) {
  {
    DeferredEvents::Scope running(flow_.events());
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

void Game::Notice(const DeferredEvents::Event& e) {
  Run([&] { flow_.events().Notice(e); });
}

void Game::FocusLeft(std::int16_t row) { flow_.events().Post(DeferredEvents::Event::FocusLost(row)); }

void Game::FocusTakenFrom(std::int16_t row) {
  flow_.events().Notice(DeferredEvents::Event::FocusLost(row));
  QMetaObject::invokeMethod(&layer_, [this] { Run({}); }, Qt::QueuedConnection);
}

void Game::Refresh() {
  layer_.ShowLevel(flow_.t_Digital);
  quizScreen_.Redraw();
}

std::int16_t Game::ModalBoxes::MessageBox(const std::string& prompt, std::int16_t buttons,
                                          const std::string& title) {
  game_.Refresh();
  DeferredEvents::BoxScope open(game_.flow().events());
  return inner_.MessageBox(prompt, buttons, title);
}

}  // namespace tavrix::screens
