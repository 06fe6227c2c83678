#include "screens/window_layer.h"

#include <QApplication>
#include <QButtonGroup>

namespace tavrix::screens {

QtWindowLayer::QtWindowLayer(rt::MessageBoxes& boxes) : refreshingBoxes_(*this, boxes) {}

QtWindowLayer::~QtWindowLayer() { Attach(nullptr); }

void QtWindowLayer::Attach(ScreenFlow* flow) {
  flow_ = flow;
  if (flow_ != nullptr) return;
  // Detached: no notice of the windows reaches a flow any more.
  delete start_.data();
  delete math_.data();
  delete about_.data();
  focusRow_.reset();
  pendingLoss_.reset();
}

ScreenWindow* QtWindowLayer::Window(Screen s) const {
  switch (s) {
    case Screen::Start: return start_;
    case Screen::Quiz: return math_;
    case Screen::About: return about_;
  }
  return nullptr;
}

void QtWindowLayer::Run(const std::function<void()>& call) {
  ++depth_;
  call();
  Refresh();
  --depth_;
  if (depth_ == 0) FlushFocusLoss();
}

void QtWindowLayer::RunQuiz(const std::function<void(Quiz&)>& call) {
  Run([&] {
    if (flow_ != nullptr && flow_->quiz() != nullptr) call(*flow_->quiz());
  });
}

void QtWindowLayer::FlushFocusLoss() {
  if (flushing_) return;
  flushing_ = true;
  while (pendingLoss_ && flow_ != nullptr && flow_->quiz() != nullptr) {
    const std::int16_t row = *pendingLoss_;
    pendingLoss_.reset();
    ++depth_;
    flow_->quiz()->txtAnswer_LostFocus(row);
    Refresh();
    --depth_;
  }
  pendingLoss_.reset();
  flushing_ = false;
}

void QtWindowLayer::Refresh() {
  if (redrawing_ || flow_ == nullptr) return;
  redrawing_ = true;
  if (start_) start_->ShowLevel(flow_->t_Digital);
  if (math_ && flow_->quiz() != nullptr) {
    math_->Redraw(*flow_->quiz());
    // A box that the records hide keeps no focus: keys must not reach it.
    if (QWidget* f = math_->focusWidget(); f != nullptr && !f->isVisibleTo(math_)) f->clearFocus();
    if (focusRow_ && !math_->Answer(*focusRow_)->isVisibleTo(math_)) focusRow_.reset();
  }
  redrawing_ = false;
}

void QtWindowLayer::ReportActivation(Screen s) {
  // Delivered as an event of its own, after the handler that caused it.
  QMetaObject::invokeMethod(
      this, [this, s] {
        if (flow_ != nullptr) Run([&] { flow_->Activated(s); });
      },
      Qt::QueuedConnection);
}

void QtWindowLayer::Connect(ScreenWindow* w, Screen s) {
  connect(w, &ScreenWindow::activated, this, [this, s] { ReportActivation(s); });
  connect(w, &ScreenWindow::closedFromFrame, this, [this, s] {
    if (flow_ != nullptr) Run([&] { flow_->ClosedFromFrame(s); });
  });
}

void QtWindowLayer::Create(Screen s) {
  switch (s) {
    case Screen::Start: {
      start_ = new frmStart;
      connect(start_->levels, &QButtonGroup::idClicked, this, [this](int id) {
        Run([&] { flow_->optLevel_Click(static_cast<std::int16_t>(id)); });
      });
      connect(start_->cmdPlay, &QPushButton::clicked, this, [this] { Run([&] { flow_->cmdPlay_Click(); }); });
      Connect(start_, s);
      break;
    }
    case Screen::Quiz: {
      math_ = new frmMath(*this);
      focusRow_.reset();
      pendingLoss_.reset();
      for (std::int16_t i = 1; i <= 3; ++i) {
        connect(math_->mnuDigital[static_cast<std::size_t>(i - 1)], &QAction::triggered, this,
                [this, i] { RunQuiz([i](Quiz& q) { q.mnuDigital_Click(i); }); });
      }
      for (std::int16_t i = 1; i <= 5; ++i) {
        connect(math_->munOpcode[static_cast<std::size_t>(i - 1)], &QAction::triggered, this,
                [this, i] { RunQuiz([i](Quiz& q) { q.munOpcode_Click(i); }); });
      }
      connect(math_->mmuOption, &QAction::triggered, this, [this] { RunQuiz([](Quiz& q) { q.mmuOption_Click(1); }); });
      connect(math_->mmuZuzirArido, &QAction::triggered, this,
              [this] { RunQuiz([](Quiz& q) { q.mmuZuzirArido_Click(0); }); });
      Connect(math_, s);
      break;
    }
    case Screen::About: {
      about_ = new frmAbout;
      connect(about_->cmdClose, &QPushButton::clicked, this, [this] { Run([&] { flow_->cmdClose_Click(); }); });
      Connect(about_, s);
      break;
    }
  }
}

void QtWindowLayer::Show(Screen s) {
  ScreenWindow* w = Window(s);
  if (w == nullptr) return;
  Refresh();
  const bool first = !w->Placed();
  const bool wasActive = w->isVisible() && w->isActiveWindow();
  w->ShowAndActivate();
  if (s == Screen::Start && first) start_->cmdPlay->setFocus();
  if (s == Screen::About) about_->cmdClose->setFocus();
  if (s == Screen::Quiz && focusRow_ && math_->focusWidget() == nullptr)
    math_->Answer(*focusRow_)->setFocus(Qt::OtherFocusReason);
  // A window that is active already gets no new notice from the desktop.
  if (wasActive) ReportActivation(s);
}

void QtWindowLayer::Hide(Screen s) {
  if (ScreenWindow* w = Window(s)) w->hide();
}

void QtWindowLayer::Discard(Screen s) {
  ScreenWindow* w = Window(s);
  if (w == nullptr) return;
  switch (s) {
    case Screen::Start: start_ = nullptr; break;
    case Screen::Quiz:
      math_ = nullptr;
      focusRow_.reset();
      pendingLoss_.reset();
      break;
    case Screen::About: about_ = nullptr; break;
  }
  w->disconnect(this);
  w->hide();
  w->deleteLater();
}

void QtWindowLayer::Quit() {
  if (quit_) {
    quit_();
  } else {
    QCoreApplication::exit(0);
  }
}

void QtWindowLayer::SetFocus(std::int16_t row) {
  if (!math_) return;
  // The focus leaves the box that has it: the completion check runs once
  // the event that moved it is done.
  if (focusRow_ && *focusRow_ != row && !pendingLoss_) pendingLoss_ = focusRow_;
  focusRow_ = row;
  Refresh();  // the box must be shown to take the focus
  math_->Answer(row)->setFocus(Qt::OtherFocusReason);
  if (depth_ == 0) FlushFocusLoss();
}

void QtWindowLayer::SetSelection(std::int16_t row, int start, int length) {
  if (!math_) return;
  AnswerBox* box = math_->Answer(row);
  const QString text = box->text();
  // Characters to UTF-16 positions.
  auto units = [&text](int chars) {
    qsizetype at = 0;
    for (int c = 0; c < chars && at < text.size(); ++c)
      at += (text.at(at).isHighSurrogate() && at + 1 < text.size()) ? 2 : 1;
    return static_cast<int>(at);
  };
  const int from = units(start);
  box->setSelection(from, units(start + length) - from);
}

void QtWindowLayer::AnswerKeyPress(std::int16_t row, std::int16_t code,
                                   const std::function<void(std::int16_t)>& boxHandles) {
  if (flow_ == nullptr || flow_->quiz() == nullptr) {
    boxHandles(code);
    return;
  }
  ++depth_;  // the completion check waits until the box has handled the key
  RunQuiz([row, &code](Quiz& q) { q.txtAnswer_KeyPress(row, code); });
  boxHandles(code);
  --depth_;
  if (depth_ == 0) FlushFocusLoss();
}

void QtWindowLayer::AnswerFocusIn(std::int16_t row) {
  if (!redrawing_) focusRow_ = row;
}

void QtWindowLayer::AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) {
  if (depth_ > 0 || redrawing_ || flow_ == nullptr || flow_->quiz() == nullptr || !math_) return;
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      break;
    default:
      return;  // a message box, a popup or another window took the focus
  }
  const QWidget* now = QApplication::focusWidget();
  if (now == nullptr || now->window() != math_) return;
  if (!pendingLoss_) pendingLoss_ = row;
  QMetaObject::invokeMethod(
      this, [this] {
        if (depth_ == 0) FlushFocusLoss();
      },
      Qt::QueuedConnection);
}

void QtWindowLayer::AnswerTextChanged(std::int16_t row, const QString& text) {
  if (redrawing_ || flow_ == nullptr || flow_->quiz() == nullptr) return;
  flow_->quiz()->Row(row).answer = text.toStdString();
}

Game::Game(rt::Random& random, rt::MessageBoxes& boxes)
    : layer_(boxes), flow_(rt::Services{random, layer_.Boxes()}, layer_) {
  layer_.Attach(&flow_);
}

Game::~Game() { layer_.Attach(nullptr); }

}  // namespace tavrix::screens
