// Records what the X server's screen shows of this process's windows in the
// moments after each is mapped.
//
// A thread of its own, on a connection of its own, watches the root window
// for windows being mapped (a window manager's frame, or the window itself
// without one). For each mapping that holds a window of the watched process
// (this one unless told) it reads the root window's pixels over the window's
// inside every few milliseconds, until told to stop or for a while, and keeps
// each picture that differs from the one before. It
// reads the screen itself, as a player sees it, not the window's own
// contents; and it does not depend on the program under test handling its
// events in time, since the program draws on the thread that would otherwise
// do the watching.
//
// Why not `xwd -root`: xwd reads the windows of each visual and colormap
// through the lowest window that has them, and the server blanks whatever
// other windows cover of that window. Qt gives its windows a colormap of its
// own, the window manager's frames keep the screen's, so a message box or the
// about screen lying wholly inside the quiz screen comes out black in xwd's
// picture while the screen shows it drawn.
#pragma once

#include <sys/types.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QImage>
#include <QRect>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tavrix::display_testing {

using Clock = std::chrono::steady_clock;

class ScreenRecorder {
 public:
  // One picture of a window's inside as the screen showed it.
  struct Picture {
    Clock::time_point at;
    QRect rect;    // on the root window
    QImage image;  // Format_RGB32
  };
  // One mapping of a window and what the screen showed after it.
  struct Showing {
    xcb_window_t window = 0;
    Clock::time_point mapped;
    std::vector<Picture> pictures;  // each differs from the one before
    bool done = false;              // the recording time is over
  };

  // Records each mapping of a window of process `pid` for at most `length`
  // after it. Throws std::runtime_error when there is no X display.
  explicit ScreenRecorder(std::chrono::milliseconds length = std::chrono::seconds(20), pid_t pid = getpid());
  ~ScreenRecorder();
  ScreenRecorder(const ScreenRecorder&) = delete;
  ScreenRecorder& operator=(const ScreenRecorder&) = delete;

  // What has been recorded so far of the first mapping of `window` at or
  // after `since` (`done` once its recording is over); nothing when no such
  // mapping has been seen yet. A window of 0 stands for any window.
  std::optional<Showing> Find(xcb_window_t window, Clock::time_point since) const;
  // Ends the recordings of `window` (0: of every window).
  void Stop(xcb_window_t window);

 private:
  void Run();
  void HandleMap(xcb_window_t mapped);
  xcb_window_t OwnWindowIn(xcb_window_t top, int depth);
  std::optional<Picture> Read(xcb_window_t window);

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_atom_t pidAtom_ = 0;
  std::chrono::milliseconds length_;
  pid_t pid_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<Showing> showings_;  // guarded by mutex_
  std::thread thread_;
};

// The share of pixels, 0 to 1, that are the same in both pictures; 0 when
// their sizes differ.
double SameShare(const QImage& a, const QImage& b);

}  // namespace tavrix::display_testing
