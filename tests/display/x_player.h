// The player at a real X display: clicks and keys are real X input sent with
// xdotool, and message boxes are answered from inside their own event loops.
// Shared by the display tests that play the game with a mouse and keyboard.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/display/wait_for.h"

namespace tavrix::screens::testing {

// Runs xdotool with the arguments; fails the test if it fails.
inline void XDo(const QStringList& args) {
  const int status = QProcess::execute(QStringLiteral("xdotool"), args);
  EXPECT_EQ(status, 0) << "xdotool " << args.join(' ').toStdString();
}

inline void Pause(int ms) {
  WaitFor([] { return false; }, ms);
}

// The player's mouse: moves to a point of the widget and clicks it.
inline void ClickAt(const QWidget* w, QPoint at) {
  const QPoint p = w->mapToGlobal(at);
  XDo({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
  XDo({"click", "1"});
}
inline void Click(const QWidget* w) { ClickAt(w, w->rect().center()); }

inline void PressKey(const char* keys) { XDo({"key", "--clearmodifiers", QString::fromLatin1(keys)}); }
inline void TypeText(const QString& text) { XDo({"type", "--delay", "30", text}); }

// Answers the real message boxes as the player would, with X input, from a
// timer that runs inside the box's own event loop. Each step gets the box
// once it is the active window, and may leave it open for the next step.
class BoxPlayer {
 public:
  using Step = std::function<void(QMessageBox*)>;
  explicit BoxPlayer(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(100);
  }
  bool Done() const { return next_ == steps_.size(); }
  std::vector<QString> prompts;  // the prompt each step saw

 private:
  void Poll() {
    if (running_ || Done()) return;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || !box->isActiveWindow()) return;
    running_ = true;
    prompts.push_back(box->text());
    steps_[next_++](box);
    running_ = false;
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool running_ = false;
  QTimer timer_;
};

// A box that no step of the test answers would keep the test waiting for
// ever: after a while it fails the test and is answered with its default
// button.
class Watchdog {
 public:
  Watchdog() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box != seen_) {
        seen_ = box;
        since_.start();
        return;
      }
      if (box == nullptr || since_.elapsed() < 10000) return;
      ADD_FAILURE() << "a message box nobody answered: " << box->text().toStdString();
      box->defaultButton()->click();
    });
    timer_.start(200);
  }

 private:
  QTimer timer_;
  QMessageBox* seen_ = nullptr;
  QElapsedTimer since_;
};

}  // namespace tavrix::screens::testing
