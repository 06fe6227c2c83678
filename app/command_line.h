// What Tavrix does with its command line before Qt starts.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrix::app {

// Reads the arguments before any QApplication exists. Tavrix's own options
// are --help (-h) and --version; Qt's own options (-platform NAME,
// -style NAME, -reverse, ...) are left for QApplication. Returns the exit
// status when the program ends here: 0 after the help or the version, 2 for
// an unknown option or a stray argument, 1 when there is no display to show
// the game on. Returns nothing when the game should start.
std::optional<int> CheckCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err);

// The one line to print, instead of Qt's abort, when Qt could not open a
// display for any platform it tried, read from the messages Qt wrote while it
// tried (their text, without the category). It names each display that could
// not be opened, in the order Qt tried them: "tavrix: cannot open the Wayland
// display wayland-1 or the X display :1". Empty when the messages name no
// such display. waylandDisplay is WAYLAND_DISPLAY, "" when it is not set.
std::string UnopenedDisplayLine(const std::vector<std::string>& messages, std::string_view waylandDisplay);

}  // namespace tavrix::app
