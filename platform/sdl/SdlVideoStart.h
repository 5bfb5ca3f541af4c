#pragma once

#include <string>

namespace platform {

// Starts SDL's video on a real display. Unless the user chose a driver with SDL_VIDEODRIVER,
// only the window systems the environment names are tried (X11 for DISPLAY, Wayland for
// WAYLAND_DISPLAY), so that a missing display is an error rather than an invisible window on
// an off-screen driver. Throws Exception "cannot open the display: <cause>" on failure.
void StartSdlVideo();

// The cause StartSdlVideo reports when neither variable names a display; empty when one does.
std::string MissingDisplayCause(const char* display, const char* waylandDisplay);

} // namespace platform
