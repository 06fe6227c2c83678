// Alt and the access keys of the game's menus, handled in one place.
#pragma once

namespace tavrix::screens {

// Installs, once for the application, the filter that gives Alt and the
// access keys their meaning in the game's windows:
// - Alt with a key types nothing into an answer box: it belongs to the menus;
// - a switched-off menu never opens: its access key opens the available menu
//   of the same letter, if there is one (the menu bar would take the letter
//   as ambiguous and open neither);
// - a late Alt press does not close the menu its own shortcut opened (see
//   alt_keys.cpp).
void InstallAltKeys();

}  // namespace tavrix::screens
