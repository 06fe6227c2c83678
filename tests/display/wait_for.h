// Waiting on a real display server: events are processed until a condition
// holds or the time is up.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace tavrix::screens::testing {

// Processes events until cond holds, for at most ms milliseconds: a safety
// net for a busy machine, so seconds.
template <typename Cond>
bool WaitFor(Cond cond, int ms = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!cond()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

}  // namespace tavrix::screens::testing
