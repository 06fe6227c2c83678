// Work that waits until the handler that raised it has returned.
//
// Two kinds of event are deferred: an answer box losing the focus (the quiz's
// completion check) and a screen becoming the active window (the activation).
// Both may be raised in the middle of a handler, by the program's own focus
// moves and showings or by the toolkit, and both must run only after that
// handler, and the key it was handling, are done.
//
// Every handler runs inside a Scope. Events raised meanwhile wait in a queue;
// closing the outermost scope delivers them in order, and events raised while
// they are delivered join the same queue. That is the only place where
// deferred events run.
//
// A modal message box opens a nested event loop inside its handler. While a
// box is open (BoxScope), notices from the toolkit are the box's doing, not
// the player's: the box takes the focus and the windows behind it cannot be
// used, so such notices are dropped.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>

#include "engine/screen.h"

namespace tavrix {

class DeferredEvents {
 public:
  struct Event {
    enum class Kind { FocusLost, Activated, Closed };
    Kind kind = Kind::FocusLost;
    std::int16_t row = 0;           // FocusLost: the row whose answer box lost the focus
    Screen screen = Screen::Start;  // Activated, Closed: the screen that became active, or was closed
    bool byDesktop = false;         // a notice from the toolkit, not the program's own

    static Event FocusLost(std::int16_t row) { return {Kind::FocusLost, row, Screen::Quiz}; }
    static Event Activated(Screen s) { return {Kind::Activated, 0, s}; }
    // A screen closed from outside the program (its frame, or its window
    // destroyed): handled once the running handler, and any message box it
    // has open, are done, so that no handler loses its screen under it.
    static Event Closed(Screen s) { return {Kind::Closed, 0, s}; }
    bool operator==(const Event&) const = default;
  };

  // Receives the events when their time has come.
  class Target {
   public:
    virtual ~Target() = default;
    virtual void Deliver(const Event& e) = 0;
  };

  explicit DeferredEvents(Target& target) : target_(target) {}
  DeferredEvents(const DeferredEvents&) = delete;
  DeferredEvents& operator=(const DeferredEvents&) = delete;

  // A handler is running. A handler left by an exception delivers nothing:
  // the events wait for the next scope.
  class Scope {
   public:
    explicit Scope(DeferredEvents& q) : q_(q), exceptions_(std::uncaught_exceptions()) { ++q_.depth_; }
    ~Scope() noexcept(false) {
      if (--q_.depth_ == 0 && std::uncaught_exceptions() == exceptions_) q_.Drain();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    DeferredEvents& q_;
    int exceptions_;
  };

  // A modal message box is open.
  class BoxScope {
   public:
    explicit BoxScope(DeferredEvents& q) : q_(q) { ++q_.boxes_; }
    ~BoxScope() { --q_.boxes_; }
    BoxScope(const BoxScope&) = delete;
    BoxScope& operator=(const BoxScope&) = delete;

   private:
    DeferredEvents& q_;
  };

  // The program's own focus moves and showings: always delivered.
  void Post(const Event& e) { queue_.push_back(e); }
  // What the toolkit reports: dropped while a message box is open.
  void Notice(Event e) {
    e.byDesktop = true;
    if (boxes_ == 0) queue_.push_back(e);
  }
  bool HandlerRunning() const { return depth_ > 0; }

  // For tests and the fuzzer, which look at the queue from outside.
  void Flush() { Scope run(*this); }  // delivers what waits, when no handler runs
  bool BoxOpen() const { return boxes_ > 0; }
  bool Pending() const { return !queue_.empty(); }

 private:
  void Drain();

  Target& target_;
  int depth_ = 0;
  int boxes_ = 0;
  std::deque<Event> queue_;
};

}  // namespace tavrix
