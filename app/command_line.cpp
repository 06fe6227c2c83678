#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>
#include <string_view>
#include <utility>

#ifndef TAVRIX_VERSION
#error "TAVRIX_VERSION must name the project version"
#endif

namespace tavrix::app {
namespace {

using namespace std::string_view_literals;

// Qt's own options, written without their dash; Qt takes them with one dash
// or two. These take the next argument as their value...
constexpr std::array kQtOptionsWithValue = {"platform"sv,      "platformpluginpath"sv,
                                            "platformtheme"sv, "plugin"sv,
                                            "session"sv,       "qwindowgeometry"sv,
                                            "qwindowicon"sv,   "qwindowtitle"sv,
                                            "display"sv,       "geometry"sv,
                                            "icon"sv,          "title"sv,
                                            "name"sv,          "visual"sv,  // X11
                                            "style"sv,         "stylesheet"sv};
// ...these may also have it attached (-style=fusion)...
constexpr std::array kQtOptionsWithAttachedValue = {"style"sv, "stylesheet"sv};
// ...and these stand alone.
constexpr std::array kQtFlags = {"reverse"sv, "testability"sv, "widgetcount"sv, "nograb"sv, "dograb"sv};

template <typename List>
bool Contains(const List& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

void PrintHelp(std::ostream& out) {
  out << "Usage: tavrix [OPTION]... [QT OPTION]...\n"
         "Tavrix, a drill game for mental arithmetic: pick a level and answer ten questions.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "      --version  show the version and exit\n"
         "\n"
         "Qt's own options are accepted too, such as -platform NAME, -style NAME,\n"
         "-display DISPLAY or -reverse.\n"
         "\n"
         "The game needs a desktop session: DISPLAY (X11) or WAYLAND_DISPLAY (Wayland)\n"
         "must be set, unless a platform is chosen with -platform or QT_QPA_PLATFORM.\n"
         "\n"
         "Exit status: 0 when the game or the help ends normally, 1 without a display\n"
         "or when it cannot be opened, 2 for a wrong command line.\n";
}

// The line to print when the platform Qt would pick has no display to open
// a window on, or "" when there is one (or when only Qt can tell).
std::string_view MissingDisplay(std::string_view platform, bool displayOption) {
  const bool x11 = !Environment("DISPLAY").empty() || displayOption;
  if (platform.empty()) {
    if (x11 || !Environment("WAYLAND_DISPLAY").empty()) return {};
    return "tavrix: no display to show the game on: neither DISPLAY nor WAYLAND_DISPLAY is set"sv;
  }
  if (platform.substr(0, platform.find(':')) == "xcb"sv && !x11) {
    return "tavrix: no X display to show the game on: DISPLAY is not set"sv;
  }
  return {};
}

}  // namespace

std::string UnopenedDisplayLine(const std::vector<std::string>& messages, std::string_view waylandDisplay) {
  // What the xcb and the Wayland platform plugins write when they cannot
  // connect; libwayland's own default is wayland-0.
  constexpr std::string_view kX = "could not connect to display ";
  constexpr std::string_view kWayland = "Failed to create wl_display";
  std::vector<std::string> displays;
  for (const std::string& message : messages) {
    std::string display;
    if (message.starts_with(kX) && message.size() > kX.size()) {
      display = "the X display " + message.substr(kX.size());
    } else if (message.starts_with(kWayland)) {
      display = "the Wayland display " + std::string(waylandDisplay.empty() ? "wayland-0"sv : waylandDisplay);
    }
    if (!display.empty() && std::find(displays.begin(), displays.end(), display) == displays.end()) {
      displays.push_back(std::move(display));
    }
  }
  if (displays.empty()) return {};
  std::string line = "tavrix: cannot open " + displays.front();
  for (std::size_t i = 1; i < displays.size(); ++i) line += " or " + displays[i];
  return line;
}

std::optional<int> CheckCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
  std::string_view platform = Environment("QT_QPA_PLATFORM");
  bool displayOption = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help"sv || arg == "-h"sv) {
      PrintHelp(out);
      return 0;
    }
    if (arg == "--version"sv) {
      out << "tavrix " << TAVRIX_VERSION << '\n';
      return 0;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      err << "tavrix: unexpected argument '" << arg << "' (see tavrix --help)\n";
      return 2;
    }
    std::string_view name = arg.substr(arg.starts_with("--"sv) ? 2 : 1);
    if (Contains(kQtFlags, name)) continue;
    if (const auto equals = name.find('=');
        equals != std::string_view::npos && Contains(kQtOptionsWithAttachedValue, name.substr(0, equals))) {
      continue;
    }
    if (!Contains(kQtOptionsWithValue, name)) {
      err << "tavrix: unknown option '" << arg << "' (see tavrix --help)\n";
      return 2;
    }
    if (i + 1 == argc) {
      err << "tavrix: option '" << arg << "' needs a value (see tavrix --help)\n";
      return 2;
    }
    ++i;
    if (name == "platform"sv) platform = argv[i];
    if (name == "display"sv) displayOption = true;
  }

  if (const std::string_view missing = MissingDisplay(platform, displayOption); !missing.empty()) {
    err << missing << '\n';
    return 1;
  }
  return std::nullopt;
}

}  // namespace tavrix::app
