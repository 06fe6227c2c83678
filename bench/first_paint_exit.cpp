// Loaded into a Qt Widgets program with LD_PRELOAD, ends the program as soon
// as it has painted a window and its event loop has nothing more to do, that
// is when it would first wait for the display. It leaves the program's code as
// it is, so the game and the floors are measured alike; bench/profile_startup.sh
// runs them so under callgrind, whose counts then cover the start-up to the
// first picture and no more.
#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

namespace {

class FirstPaint final : public QObject {
 public:
  using QObject::QObject;
  bool painted = false;

 protected:
  bool eventFilter(QObject* receiver, QEvent* e) override {
    if (e->type() == QEvent::Paint && receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow())
      painted = true;
    return false;
  }
};

void EndAfterFirstPaint() {
  auto* watch = new FirstPaint(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(watch);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, watch, [watch] {
    if (!watch->painted) return;
    std::fflush(nullptr);
    _exit(0);
  });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(EndAfterFirstPaint)
