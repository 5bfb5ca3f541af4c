#include "platform/web/WebPlatform.h"

#include "platform/inputmap/GamepadMapper.h"
#include "platform/inputmap/KeyPositions.h"
#include "platform/inputmap/StandardGamepad.h"
#include "platform/pixels/CommonModes.h"
#include "platform/pixels/Letterbox.h"
#include "platform/web/PageBridge.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <deque>
#include <vector>

namespace platform {

namespace {
// The emulated display claims this much video memory; pictures beyond it go to system memory.
constexpr std::size_t kVideoMemoryBytes = 256u << 20;
// Controllers read from the page, as many as a player would plug in.
constexpr int kMaxPads = 4;
constexpr int kPadValues = 1 + StandardPadState::kButtons + StandardPadState::kAxes;
constexpr uint32_t kTab = 15;

bool IsRgb565(const PixelFormat& format) {
    return format.BitCount == 16 && format.RedMask == 0xF800 && format.GreenMask == 0x07E0 && format.BlueMask == 0x001F;
}

uint32_t Rgba(Rgb c) {
    // Canvas pixels are R, G, B, A bytes in memory: little-endian 0xAABBGGRR.
    return 0xFF000000u | (uint32_t{c.b} << 16) | (uint32_t{c.g} << 8) | c.r;
}
} // namespace

class WebDisplayDevice;

struct WebPlatform::State {
    std::string Title;
    bool WindowShown = false;
    bool Focused = false;
    bool Hidden = false;
    KeyState Keys{};
    std::deque<Event> Events;
    std::vector<WebDisplayDevice*> Devices;
    // The device whose picture the canvas shows.
    WebDisplayDevice* Shown = nullptr;
    // Where the picture sits in the window, in CSS pixels.
    TRect View;
    // Controllers play as keys and the pointer, through the desktop's mapping.
    GamepadMapper Mapper;
    std::array<StandardPadState, kMaxPads> Pads{};

    DisplayMode ImageSize() const;
    void Layout();
    void Push(Event::Type kind, int x = 0, int y = 0, int button = 0);
    void PushMouse(Event::Type kind, const EmscriptenMouseEvent& e);
    void SetFocus(bool focused);
    void ReadPads();
};

// The emulated display in the page's canvas, whose picture is as large as the mode: an RGB565
// primary surface goes to the canvas as it is where the canvas takes it (WebGL), any other is
// turned into RGBA first.
class WebDisplayDevice : public DisplayDevice {
public:
    explicit WebDisplayDevice(WebPlatform::State& page)
        : DisplayDevice(DisplayMode{std::max(page::WindowWidth(), 640), std::max(page::WindowHeight(), 480), 32},
                        kVideoMemoryBytes),
          page_(page) {
        page_.Devices.push_back(this);
    }

    ~WebDisplayDevice() override {
        RestoreDisplayMode();
        auto& list = page_.Devices;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (page_.Shown == this) {
            page_.Shown = nullptr;
        }
    }

    std::vector<DisplayMode> EnumDisplayModes() override { return CommonDisplayModes(); }

    // The page's frame loop has already waited for the browser's next frame.
    Result WaitForVerticalBlank() override { return Result::Ok; }

protected:
    void Show(const Surface& primary) override {
        const int width = primary.Width(), height = primary.Height();
        if (width <= 0 || height <= 0 || primary.Bits() == nullptr) {
            return;
        }
        if (page_.Shown != this || shownWidth_ != width || shownHeight_ != height) {
            page_.Shown = this;
            shownWidth_ = width;
            shownHeight_ = height;
            page::SizeCanvas(width, height);
            page_.Layout();
            // The resized canvas is blank: every row goes up again.
            last_.clear();
        }
        const bool takes565 = IsRgb565(primary.Format()) && primary.Pitch() == width * 2 && page::TakesRgb565();
        const std::size_t rowBytes = static_cast<std::size_t>(width) * primary.Format().BytesPerPixel();
        // A frame the canvas already shows is not put again: each put costs the browser a
        // repaint of the canvas, whatever changed; only the rows that changed are converted.
        if (last_.size() != rowBytes * height) {
            last_.assign(rowBytes * height, 0);
            rgba_.assign(static_cast<std::size_t>(width) * height, 0);
            lastValid_ = false;
        }
        bool changed = false;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = primary.Bits() + static_cast<std::ptrdiff_t>(y) * primary.Pitch();
            uint8_t* kept = &last_[static_cast<std::size_t>(y) * rowBytes];
            if (lastValid_ && std::memcmp(row, kept, rowBytes) == 0) {
                continue;
            }
            std::memcpy(kept, row, rowBytes);
            if (!takes565) {
                ConvertRow(primary.Format(), row, &rgba_[static_cast<std::size_t>(y) * width], width);
            }
            changed = true;
        }
        lastValid_ = true;
        if (!changed) {
            return;
        }
        if (takes565) {
            page::PutRgb565(reinterpret_cast<const uint16_t*>(primary.Bits()), width, height);
        } else {
            page::PutRgba(reinterpret_cast<const uint8_t*>(rgba_.data()), width, height);
        }
    }

    void ModeChanged(const DisplayMode&) override {
        // The canvas takes the new size at the next Show.
        shownWidth_ = shownHeight_ = 0;
    }

private:
    // One row of `width` pixels of `format` into RGBA.
    void ConvertRow(const PixelFormat& format, const uint8_t* row, uint32_t* out, int width) {
        if (format.BitCount == 16) {
            // Every changed row passes through here: 16-bit pixels go through a table.
            if (table16_.empty() || tableFormat_ != format) {
                table16_.resize(65536);
                for (uint32_t raw = 0; raw < 65536; ++raw) {
                    table16_[raw] = Rgba(format.ToRgb(raw));
                }
                tableFormat_ = format;
            }
            const auto* pixels = reinterpret_cast<const uint16_t*>(row);
            for (int x = 0; x < width; ++x) {
                out[x] = table16_[pixels[x]];
            }
            return;
        }
        const int bpp = format.BytesPerPixel();
        for (int x = 0; x < width; ++x, row += bpp) {
            uint32_t raw = 0;
            for (int i = 0; i < bpp; ++i) {
                raw |= static_cast<uint32_t>(row[i]) << (8 * i);
            }
            out[x] = Rgba(format.ToRgb(raw));
        }
    }

    WebPlatform::State& page_;
    std::vector<uint32_t> rgba_;
    // The frame last put on the canvas, as the primary surface held it.
    std::vector<uint8_t> last_;
    bool lastValid_ = false;
    std::vector<uint32_t> table16_;
    PixelFormat tableFormat_;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

DisplayMode WebPlatform::State::ImageSize() const {
    if (Shown != nullptr) {
        return Shown->CurrentMode();
    }
    if (!Devices.empty()) {
        return Devices.back()->CurrentMode();
    }
    return DisplayMode{640, 480, 32};
}

void WebPlatform::State::Layout() {
    const DisplayMode image = ImageSize();
    const int width = page::WindowWidth(), height = page::WindowHeight();
    View = page::IntegerScale() ? FitImageWhole(width, height, image.Width, image.Height)
                                : FitImage(width, height, image.Width, image.Height);
    page::PlaceCanvas(View.Left, View.Top, View.Width(), View.Height());
}

void WebPlatform::State::Push(Event::Type kind, int x, int y, int button) {
    Event e;
    e.Kind = kind;
    e.X = x;
    e.Y = y;
    e.Button = button;
    Events.push_back(e);
}

void WebPlatform::State::PushMouse(Event::Type kind, const EmscriptenMouseEvent& e) {
    const DisplayMode image = ImageSize();
    int x = static_cast<int>(e.clientX), y = static_cast<int>(e.clientY);
    // A press on the bars beside the picture is no press on the game; moves and releases there
    // are kept at the picture's edge, so that a button held over the edge is let go.
    const bool inside = x >= View.Left && x < View.Right && y >= View.Top && y < View.Bottom;
    if ((kind == Event::Type::MouseDown && !inside) || !OutputToImage(View, image.Width, image.Height, x, y, x, y)) {
        return;
    }
    if (kind == Event::Type::MouseMove) {
        Mapper.PointerMovedTo(x, y);
    }
    // The page numbers buttons from 0 (left, middle, right); the program from 1.
    Push(kind, x, y, kind == Event::Type::MouseMove ? 0 : e.button + 1);
}

void WebPlatform::State::SetFocus(bool focused) {
    if (focused == Focused) {
        return;
    }
    Focused = focused;
    if (!focused) {
        // Keys released while the page was away would otherwise stay held.
        Keys.fill(0);
    }
    Push(focused ? Event::Type::FocusGained : Event::Type::FocusLost);
}

void WebPlatform::State::ReadPads() {
    std::array<double, kMaxPads * kPadValues> values{};
    const int count = page::ReadPads(values.data(), kMaxPads);
    for (int pad = 0; pad < kMaxPads; ++pad) {
        StandardPadState now;
        if (pad < count) {
            const double* v = &values[static_cast<std::size_t>(pad * kPadValues)];
            now.Connected = v[0] != 0;
            for (std::size_t b = 0; b < now.Buttons.size(); ++b) {
                now.Buttons[b] = v[1 + b] != 0;
            }
            for (std::size_t a = 0; a < now.Axes.size(); ++a) {
                now.Axes[a] = v[1 + now.Buttons.size() + a];
            }
        }
        auto& before = Pads[static_cast<std::size_t>(pad)];
        for (const PadEvent& e : StandardPadEvents(pad, before, now)) {
            Mapper.Handle(e);
        }
        before = now;
    }
}

namespace {
WebPlatform::State* StateOf(void* user) {
    return static_cast<WebPlatform::State*>(user);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
    WebPlatform::State& s = *StateOf(user);
    const int position = KeyPositionForCodeName(e->code);
    if (position == 0 || page::ErrorOpen()) {
        return EM_FALSE;
    }
    s.Keys[static_cast<std::size_t>(position)] = type == EMSCRIPTEN_EVENT_KEYDOWN ? 0x80 : 0;
    // The game's keys must not scroll the page; Tab moves the focus through the page's buttons,
    // and shortcuts with Ctrl, Alt or the system key and the function keys stay the browser's.
    const bool functionKey = (position >= 59 && position <= 68) || position == 87 || position == 88;
    const bool pageKey = static_cast<uint32_t>(position) == kTab || functionKey;
    return (e->ctrlKey || e->altKey || e->metaKey || pageKey) ? EM_FALSE : EM_TRUE;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* user) {
    WebPlatform::State& s = *StateOf(user);
    if (!s.WindowShown || page::ErrorOpen()) {
        return EM_FALSE;
    }
    switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
        s.PushMouse(Event::Type::MouseMove, *e);
        break;
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
        s.PushMouse(Event::Type::MouseDown, *e);
        break;
    case EMSCRIPTEN_EVENT_MOUSEUP:
        s.PushMouse(Event::Type::MouseUp, *e);
        break;
    default:
        break;
    }
    return EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent* e, void* user) {
    // Only the window's own focus counts: the focus moving between the page's buttons (Tab)
    // reaches this capturing handler too, with the button as its target.
    if (std::strcmp(e->nodeName, "#window") == 0) {
        StateOf(user)->SetFocus(type == EMSCRIPTEN_EVENT_FOCUS);
    }
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* user) {
    WebPlatform::State& s = *StateOf(user);
    s.Hidden = e->hidden != 0;
    if (s.Hidden) {
        s.SetFocus(false);
    } else if (page::PageFocused()) {
        s.SetFocus(true);
    }
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void* user) {
    StateOf(user)->Layout();
    return EM_FALSE;
}
} // namespace

WebPlatform::WebPlatform() : state_(std::make_unique<State>()) {
    State* s = state_.get();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, s, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, s, EM_TRUE, OnKey);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, s, EM_TRUE, OnMouse);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, s, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, s, EM_TRUE, OnMouse);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, s, EM_TRUE, OnFocus);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, s, EM_TRUE, OnFocus);
    emscripten_set_visibilitychange_callback(s, EM_TRUE, OnVisibility);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, s, EM_TRUE, OnResize);
    s->Hidden = page::PageHidden();
}

WebPlatform::~WebPlatform() {
    emscripten_html5_remove_all_event_listeners();
}

std::unique_ptr<DisplayDevice> WebPlatform::CreateDisplayDevice() {
    return std::make_unique<WebDisplayDevice>(*state_);
}

uint32_t WebPlatform::Milliseconds() {
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

TimeOfDay WebPlatform::UtcTimeOfDay() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % 86'400'000;
    return TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

void WebPlatform::SetTitle(const std::string& title) {
    state_->Title = title;
    emscripten_set_window_title(title.c_str());
}

void WebPlatform::ShowWindow(const std::string& caption) {
    if (state_->Title.empty()) {
        emscripten_set_window_title(caption.c_str());
    }
    state_->WindowShown = true;
    state_->Layout();
    // The page in front has the focus from the start, as the desktop window does once raised.
    if (!state_->Hidden && page::PageFocused()) {
        state_->SetFocus(true);
    }
}

void WebPlatform::HideWindow() {
    state_->WindowShown = false;
}

bool WebPlatform::PollEvent(Event& event) {
    if (state_->Events.empty()) {
        // Controllers are read when the page's own events are done, once a frame.
        state_->ReadPads();
        const DisplayMode image = state_->ImageSize();
        state_->Mapper.Tick(Milliseconds(), image.Width, image.Height);
        return state_->Mapper.Poll(event);
    }
    event = state_->Events.front();
    state_->Events.pop_front();
    return true;
}

void WebPlatform::WaitEvent(uint32_t) {
    // A page cannot block: the next animation frame is the next chance for events.
}

bool WebPlatform::IsForeground() {
    return state_->Focused && !state_->Hidden;
}

void WebPlatform::GetKeyState(KeyState& keys) {
    keys = state_->Keys;
    state_->Mapper.AddHeldKeys(keys);
}

void WebPlatform::ShowErrorBox(const std::string& title, const std::string& message) {
    // Keys held when the box opens would stay held behind it.
    state_->Keys.fill(0);
    page::ShowError(title, message);
}

bool WebPlatform::ErrorBoxOpen() const {
    return page::ErrorOpen();
}

bool WebPlatform::PageHidden() const {
    return state_->Hidden;
}

} // namespace platform
