#include "engine/deferred.h"

namespace tavrix {

void DeferredEvents::Drain() {
  // Each event runs as a handler of its own: what it raises waits in the
  // queue behind the events already there, and this loop delivers it.
  while (!queue_.empty()) {
    const Event e = queue_.front();
    queue_.pop_front();
    struct Running {
      int& depth;
      explicit Running(int& d) : depth(d) { ++depth; }
      ~Running() { --depth; }
    } running(depth_);
    target_.Deliver(e);
  }
}

}  // namespace tavrix
