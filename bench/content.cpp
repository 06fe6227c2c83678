// Starts a program and prints, in milliseconds, when the X server mapped one
// of its windows and when the screen first showed that window's content,
// then when the screen first showed any picture of the window and how many
// different pictures it showed up to the content:
//
//   tavrix_content EXE [KEY...]
//   <ms to mapping> <ms to content> <ms to first picture> <pictures>
//
// Without keys the window is the program's first one, and the times count
// from its exec. With keys, once the first window's content has settled,
// each key is pressed in turn (with the X test extension, as a keyboard
// would): a key that maps a window waits for that window's content to
// settle, any other key for a moment. The window measured is the first one
// mapped after the last key, and the times count from that key's press. A
// key is a keysym name of those below, or a single letter or digit.
//
// The screen is read over the window as the player sees it, by the display
// tests' recorder. The content is the picture the window settles on: the
// first picture after which the screen stays the same for kSettled, but for
// a text cursor's blinking (a change of at most kBlink pixels from it). The
// program is ended once that is known. With TAVRIX_BENCH_SHOT set, that
// picture is saved in the PNG file it names, for a look. Needs an X display
// with a window manager (bench/startup.sh provides one).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "tests/display/screen_recorder.h"

namespace {

using tavrix::display_testing::Clock;
using tavrix::display_testing::SameShare;
using tavrix::display_testing::ScreenRecorder;
using namespace std::chrono_literals;

constexpr auto kSettled = 1s;
// A text cursor is a line one pixel wide and a line of text high.
constexpr double kBlink = 64;
constexpr auto kGiveUp = 30s;
// A key that maps no window within this time is taken to have been handled.
constexpr auto kNoWindow = 500ms;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

xcb_keysym_t Keysym(std::string_view name) {
  if (name == "Return") return 0xff0d;
  if (name == "Tab") return 0xff09;
  if (name == "Escape") return 0xff1b;
  if (name == "space") return 0x20;
  if (name.size() == 1 && ((name[0] >= '0' && name[0] <= '9') || (name[0] >= 'a' && name[0] <= 'z')))
    return static_cast<unsigned char>(name[0]);
  throw std::runtime_error("unknown key " + std::string(name));
}

// Presses and releases keys on the X server's keyboard.
class Keyboard {
 public:
  Keyboard() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_) != 0) throw std::runtime_error("cannot open the X display");
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    first_ = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    mapping_.reset(
        xcb_get_keyboard_mapping_reply(connection_, xcb_get_keyboard_mapping(connection_, first_, count), nullptr));
    if (!mapping_) throw std::runtime_error("cannot read the keyboard mapping");
  }
  ~Keyboard() { xcb_disconnect(connection_); }
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  void Press(std::string_view name) {
    const xcb_keycode_t code = Keycode(Keysym(name));
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
  }

 private:
  xcb_keycode_t Keycode(xcb_keysym_t sym) const {
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping_.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping_.get());
    const int perCode = mapping_->keysyms_per_keycode;
    for (int i = 0; i < length; i += perCode) {
      if (syms[i] == sym) return static_cast<xcb_keycode_t>(first_ + i / perCode);
    }
    throw std::runtime_error("no key of the keyboard gives keysym " + std::to_string(sym));
  }

  xcb_connection_t* connection_;
  xcb_keycode_t first_ = 0;
  std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping_{nullptr, &std::free};
};

// The picture of a showing that the window settled on, so far.
const ScreenRecorder::Picture& Content(const ScreenRecorder::Showing& showing) {
  const ScreenRecorder::Picture* content = &showing.pictures.front();
  for (const ScreenRecorder::Picture& p : showing.pictures) {
    const double pixels = static_cast<double>(p.image.width()) * p.image.height();
    if ((1.0 - SameShare(p.image, content->image)) * pixels > kBlink) content = &p;
  }
  return *content;
}

// Waits for the first window mapped at or after `since` and for its content
// to settle; nothing when no window was mapped within `noWindow`.
std::optional<ScreenRecorder::Showing> Settled(const ScreenRecorder& recorder, Clock::time_point since,
                                               Clock::duration noWindow) {
  for (;;) {
    std::this_thread::sleep_for(5ms);
    const auto showing = recorder.Find(0, since);
    if (!showing && Clock::now() - since > noWindow) return std::nullopt;
    const bool settled = showing && !showing->pictures.empty() && Clock::now() - Content(*showing).at >= kSettled;
    if (settled) return showing;
    if ((showing && showing->done) || Clock::now() - since > kGiveUp)
      throw std::runtime_error(showing && !showing->pictures.empty() ? "the window's picture did not settle"
                                                                     : "no picture of the window was seen");
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s EXE [KEY...]\n", argv[0]);
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
    Keyboard keyboard;
    ScreenRecorder recorder(kGiveUp, pid);
    Clock::time_point from = Clock::now();
    if (write(go[1], "x", 1) != 1) throw std::runtime_error("cannot start the program");
    close(go[1]);
    auto showing = Settled(recorder, from, kGiveUp);
    for (int i = 2; i < argc; ++i) {
      const bool last = i == argc - 1;
      from = Clock::now();
      keyboard.Press(argv[i]);
      const auto mapped = Settled(recorder, from, last ? kGiveUp : kNoWindow);
      if (last) showing = mapped;
    }
    recorder.Stop(0);
    if (!showing) throw std::runtime_error("no window of the program was seen");
    const ScreenRecorder::Picture& content = Content(*showing);
    if (const char* shot = std::getenv("TAVRIX_BENCH_SHOT")) content.image.save(shot);
    const auto pictures = static_cast<std::size_t>(&content - showing->pictures.data()) + 1;
    std::printf("%.1f %.1f %.1f %zu\n", Ms(showing->mapped - from), Ms(content.at - from),
                Ms(showing->pictures.front().at - from), pictures);
    status = 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return status;
}
