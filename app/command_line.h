// What Tavrix does with its command line before Qt starts.
#pragma once

#include <iosfwd>
#include <optional>

namespace tavrix::app {

// Reads the arguments before any QApplication exists. Tavrix's own options
// are --help (-h) and --version; Qt's own options (-platform NAME,
// -style NAME, -reverse, ...) are left for QApplication. Returns the exit
// status when the program ends here: 0 after the help or the version, 2 for
// an unknown option or a stray argument, 1 when there is no display to show
// the game on. Returns nothing when the game should start.
std::optional<int> CheckCommandLine(int argc, const char* const argv[], std::ostream& out,
                                    std::ostream& err);

}  // namespace tavrix::app
