#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The program's modal error box: the message in an installed font at a size that reads well on
// the screen it is shown on, and an OK button. Return, Enter, Space and Esc close it as well as
// the button and the window's close box; a stop signal (StopSignal) ends it too.
class SdlErrorBox {
public:
    // Shows the box over `parent` (may be null) until it is closed. False, with nothing shown,
    // when it cannot be made (no usable font, no window): the caller then reports otherwise.
    // Events of other windows that matter after the box (button releases, window and focus
    // changes, a quit) are kept for the program; presses and keys meant for it are dropped.
    static bool Show(SDL_Window* parent, const std::string& title, const std::string& message);

    // The text's pixel height on a screen `screenHeight` pixels high.
    static int TextHeight(int screenHeight);
    // The message in lines at most `maxWidth` pixels wide as `widthOf` measures them, broken at
    // spaces and at the message's own line ends; a word wider than a line keeps a line of its own.
    static std::vector<std::string> Wrap(const std::string& text, int maxWidth,
                                         const std::function<int(const std::string&)>& widthOf);
    // True for the keys that close the box.
    static bool ClosesBox(SDL_Keycode key);
    // `text` with its control characters but the line end shown as \xNN, as the box draws it.
    static std::string Printable(const std::string& text);
};

} // namespace platform
