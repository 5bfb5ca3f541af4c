#include "platform/sdl/SdlErrorBox.h"

#include "platform/app/StopSignal.h"
#include "platform/sdl/FontLocator.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace platform {

namespace {
constexpr SDL_Color kInk{32, 32, 32, 255};
constexpr Uint8 kPaper = 0xf0;
constexpr Uint8 kButtonFace = 0xdc;
constexpr Uint8 kButtonEdge = 0x40;
constexpr const char* kButtonText = "OK";
// How often the box looks for a stop signal while no event comes.
constexpr int kStopPollMs = 50;

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
struct SurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
struct WindowDestroyer {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using Font = std::unique_ptr<TTF_Font, FontCloser>;

// SDL_ttf for as long as the box is shown; its start and end are counted, so a text renderer
// using it at the same time is not disturbed.
class TtfUse {
public:
    TtfUse() : started_(TTF_Init() == 0) {}
    ~TtfUse() {
        if (started_) {
            TTF_Quit();
        }
    }
    TtfUse(const TtfUse&) = delete;
    TtfUse& operator=(const TtfUse&) = delete;
    bool Started() const { return started_; }

private:
    bool started_;
};

// The pointer is hidden over the game; the box needs it for its button.
class CursorShown {
public:
    CursorShown() : before_(SDL_ShowCursor(SDL_QUERY)) { SDL_ShowCursor(SDL_ENABLE); }
    ~CursorShown() { SDL_ShowCursor(before_); }
    CursorShown(const CursorShown&) = delete;
    CursorShown& operator=(const CursorShown&) = delete;

private:
    int before_;
};

int WidthOf(TTF_Font& font, const std::string& text) {
    int w = 0;
    int h = 0;
    return TTF_SizeUTF8(&font, text.c_str(), &w, &h) == 0 ? w : 0;
}

// Where the parts of the box lie in its window.
struct Layout {
    std::vector<std::string> Lines;
    int LineSkip = 0;
    int Margin = 0;
    SDL_Rect Button{};
    int Width = 0;
    int Height = 0;
};

Layout LayOut(TTF_Font& font, int textHeight, int screenWidth, const std::string& message) {
    Layout l;
    l.Margin = textHeight;
    l.LineSkip = TTF_FontLineSkip(&font);
    const int maxTextWidth = std::max(std::min(screenWidth * 3 / 5, textHeight * 40), textHeight * 10);
    l.Lines = SdlErrorBox::Wrap(SdlErrorBox::Printable(message), maxTextWidth,
                                [&](const std::string& text) { return WidthOf(font, text); });
    int textWidth = 0;
    for (const std::string& line : l.Lines) {
        textWidth = std::max(textWidth, WidthOf(font, line));
    }
    const int buttonWidth = std::max(WidthOf(font, kButtonText) + 2 * textHeight, 5 * textHeight);
    const int buttonHeight = l.LineSkip + textHeight / 2;
    l.Width = std::max(textWidth, buttonWidth) + 2 * l.Margin;
    const int textBottom = l.Margin + static_cast<int>(l.Lines.size()) * l.LineSkip;
    l.Button = SDL_Rect{(l.Width - buttonWidth) / 2, textBottom + l.Margin, buttonWidth, buttonHeight};
    l.Height = l.Button.y + buttonHeight + l.Margin;
    return l;
}

void DrawText(SDL_Surface& target, TTF_Font& font, const std::string& text, int x, int y) {
    if (text.empty()) {
        return;
    }
    const std::unique_ptr<SDL_Surface, SurfaceFreer> glyphs(TTF_RenderUTF8_Blended(&font, text.c_str(), kInk));
    if (glyphs) {
        SDL_Rect at{x, y, glyphs->w, glyphs->h};
        SDL_BlitSurface(glyphs.get(), nullptr, &target, &at);
    }
}

void Draw(SDL_Window& window, TTF_Font& font, const Layout& l) {
    SDL_Surface* surface = SDL_GetWindowSurface(&window);
    if (surface == nullptr) {
        return;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, kPaper, kPaper, kPaper));
    for (std::size_t i = 0; i < l.Lines.size(); ++i) {
        DrawText(*surface, font, l.Lines[i], l.Margin, l.Margin + static_cast<int>(i) * l.LineSkip);
    }
    // The button is the default one: a frame two pixels wide, or more on large screens.
    const int edge = std::max(2, l.Margin / 10);
    SDL_FillRect(surface, &l.Button, SDL_MapRGB(surface->format, kButtonEdge, kButtonEdge, kButtonEdge));
    const SDL_Rect face{l.Button.x + edge, l.Button.y + edge, l.Button.w - 2 * edge, l.Button.h - 2 * edge};
    SDL_FillRect(surface, &face, SDL_MapRGB(surface->format, kButtonFace, kButtonFace, kButtonFace));
    DrawText(*surface, font, kButtonText, l.Button.x + (l.Button.w - WidthOf(font, kButtonText)) / 2,
             l.Button.y + (l.Button.h - TTF_FontHeight(&font)) / 2);
    SDL_UpdateWindowSurface(&window);
}

bool Inside(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r) == SDL_TRUE;
}

// Whether an event of another window still matters once the box is gone: a release ends a
// press the program has seen, window and focus changes and a quit must not be missed. Presses
// and keys were meant for the box.
bool KeptForTheProgram(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEWHEEL:
        return false;
    default:
        return true;
    }
}

// Handles events until the box is closed; returns those of other windows to hand back.
std::vector<SDL_Event> EventsUntilClosed(SDL_Window& box, TTF_Font& font, const Layout& layout) {
    const Uint32 boxId = SDL_GetWindowID(&box);
    std::vector<SDL_Event> kept;
    bool pressedOnButton = false;
    for (bool open = true; open && StopSignal::Received() == 0;) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, kStopPollMs) == 0) {
            continue;
        }
        if (e.type == SDL_KEYDOWN) {
            // The box is modal: its keys count whichever of the program's windows has the keyboard.
            open = e.key.repeat != 0 || !SdlErrorBox::ClosesBox(e.key.keysym.sym);
        } else if (e.type == SDL_QUIT) {
            kept.push_back(e);
            open = false;
        } else if (e.type == SDL_WINDOWEVENT && e.window.windowID == boxId) {
            open = e.window.event != SDL_WINDOWEVENT_CLOSE;
            if (open) {
                Draw(box, font, layout);
            }
        } else if ((e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) && e.button.windowID == boxId) {
            const bool onButton = e.button.button == SDL_BUTTON_LEFT && Inside(layout.Button, e.button.x, e.button.y);
            if (e.type == SDL_MOUSEBUTTONDOWN) {
                pressedOnButton = onButton;
            } else {
                open = !(pressedOnButton && onButton);
                pressedOnButton = false;
            }
        } else if (e.type != SDL_MOUSEMOTION || e.motion.windowID != boxId) {
            if (KeptForTheProgram(e)) {
                kept.push_back(e);
            }
        }
    }
    return kept;
}

// Shows the box until it is closed; the events of other windows to hand back to the program, or
// nothing when the box cannot be made.
std::optional<std::vector<SDL_Event>> ShowUntilClosed(SDL_Window* parent, const std::string& title,
                                                      const std::string& message) {
    const int display = parent != nullptr ? std::max(SDL_GetWindowDisplayIndex(parent), 0) : 0;
    SDL_DisplayMode screen{};
    if (SDL_GetDesktopDisplayMode(display, &screen) != 0 || screen.w <= 0 || screen.h <= 0) {
        screen.w = 640;
        screen.h = 480;
    }
    const TtfUse ttf;
    if (!ttf.Started()) {
        return std::nullopt;
    }
    const std::optional<FontFile> file = FontLocator().Find("Sans", false, false);
    if (!file) {
        return std::nullopt;
    }
    const int textHeight = SdlErrorBox::TextHeight(screen.h);
    const Font font(TTF_OpenFontIndex(file->Path.c_str(), textHeight, file->Index));
    if (!font) {
        return std::nullopt;
    }
    const Layout layout = LayOut(*font, textHeight, screen.w, message);
    // The box is drawn once into plain memory; an OpenGL renderer behind its window surface would
    // cost more than the whole box (and is what the game's own surface presenter avoids too).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const std::unique_ptr<SDL_Window, WindowDestroyer> box(SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display), layout.Width,
        layout.Height, SDL_WINDOW_ALWAYS_ON_TOP));
    if (!box) {
        return std::nullopt;
    }
    if (parent != nullptr) {
        SDL_SetWindowModalFor(box.get(), parent);
    }
    SDL_RaiseWindow(box.get());
    // Without a window manager the keyboard would stay with the window under the pointer.
    SDL_SetWindowInputFocus(box.get());
    const CursorShown cursor;
    Draw(*box, *font, layout);

    return EventsUntilClosed(*box, *font, layout);
}
} // namespace

bool SdlErrorBox::Show(SDL_Window* parent, const std::string& title, const std::string& message) {
    std::optional<std::vector<SDL_Event>> kept = ShowUntilClosed(parent, title, message);
    if (!kept) {
        return false;
    }
    // The keyboard goes back to the window the box was shown over; without a window manager
    // it would stay with no window at all.
    if (parent != nullptr) {
        SDL_RaiseWindow(parent);
        SDL_SetWindowInputFocus(parent);
    }
    // Back in the queue once the box is gone, for the program's windows.
    for (SDL_Event& e : *kept) {
        SDL_PushEvent(&e);
    }
    return true;
}

int SdlErrorBox::TextHeight(int screenHeight) {
    // A 1080-line screen gets 24-pixel text, the size of a desktop's own dialogs there.
    return std::max(16, screenHeight / 45);
}

std::vector<std::string> SdlErrorBox::Wrap(const std::string& text, int maxWidth,
                                           const std::function<int(const std::string&)>& widthOf) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line;
        std::size_t word = start;
        while (word < end) {
            std::size_t wordEnd = text.find(' ', word);
            if (wordEnd == std::string::npos || wordEnd > end) {
                wordEnd = end;
            }
            const std::string piece = text.substr(word, wordEnd - word);
            if (!piece.empty()) {
                const std::string longer = line.empty() ? piece : line + " " + piece;
                if (!line.empty() && widthOf(longer) > maxWidth) {
                    lines.push_back(line);
                    line = piece;
                } else {
                    line = longer;
                }
            }
            word = wordEnd + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool SdlErrorBox::ClosesBox(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE || key == SDLK_ESCAPE;
}

std::string SdlErrorBox::Printable(const std::string& text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n') || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace platform
