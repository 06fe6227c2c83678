// Starts a program and prints, in milliseconds from its exec, when the X
// server mapped its first window and when the screen first showed that
// window's content, then when the screen first showed any picture of the
// window and how many different pictures it showed up to the content:
//
//   tavrix_first_content EXE
//   <ms to mapping> <ms to content> <ms to first picture> <pictures>
//
// The screen is read over the window as the player sees it, by the display
// tests' recorder. The content is the picture the window settles on: the
// first picture after which the screen stays the same for kSettled. The
// program is ended once that is known. With TAVRIX_BENCH_SHOT set, that
// picture is saved in the PNG file it names, for a look. Needs an X display with a window
// manager (bench/startup.sh provides one).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <thread>

#include "tests/display/screen_recorder.h"

namespace {

using tavrix::display_testing::Clock;
using tavrix::display_testing::ScreenRecorder;
using namespace std::chrono_literals;

constexpr auto kSettled = 1s;
constexpr auto kGiveUp = 30s;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s EXE\n", argv[0]);
    return 2;
  }
  // The child waits for the recorder to watch it before it execs.
  int go[2];
  if (pipe(go) != 0) return 1;
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    close(go[1]);
    char c = 0;
    if (read(go[0], &c, 1) != 1) _exit(127);
    close(go[0]);
    if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr)
      _exit(127);
    execl(argv[1], argv[1], static_cast<char*>(nullptr));
    _exit(127);
  }
  close(go[0]);

  int status = 1;
  try {
    ScreenRecorder recorder(kGiveUp, pid);
    const Clock::time_point exec = Clock::now();
    if (write(go[1], "x", 1) != 1) throw std::runtime_error("cannot start the program");
    close(go[1]);
    for (;;) {
      std::this_thread::sleep_for(5ms);
      const auto showing = recorder.Find(0, exec);
      const bool settled =
          showing && !showing->pictures.empty() && Clock::now() - showing->pictures.back().at >= kSettled;
      if (settled || (showing && showing->done) || Clock::now() - exec > kGiveUp) {
        recorder.Stop(0);
        if (!showing || showing->pictures.empty()) throw std::runtime_error("no window of the program was seen");
        if (!settled) throw std::runtime_error("the window's picture did not settle");
        if (const char* shot = std::getenv("TAVRIX_BENCH_SHOT")) showing->pictures.back().image.save(shot);
        std::printf("%.1f %.1f %.1f %zu\n", Ms(showing->mapped - exec), Ms(showing->pictures.back().at - exec),
                    Ms(showing->pictures.front().at - exec), showing->pictures.size());
        status = 0;
        break;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return status;
}
