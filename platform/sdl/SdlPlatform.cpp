#include "platform/sdl/SdlPlatform.h"

#include "platform/app/StopSignal.h"
#include "platform/base/Exception.h"
#include "platform/pixels/CommonModes.h"
#include "platform/pixels/Letterbox.h"
#include "platform/sdl/ErrorBoxWatch.h"
#include "platform/sdl/PresentCounter.h"
#include "platform/sdl/SdlErrorBox.h"
#include "platform/sdl/SdlGamepads.h"
#include "platform/sdl/SdlKeyMap.h"
#include "platform/sdl/SdlVideoStart.h"
#include "platform/sdl/SdlWindowMode.h"
#include "platform/sdl/WindowSurfacePresenter.h"
#include "platform/time/RefreshClock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <iostream>

namespace platform {

namespace {
// The emulated display claims this much video memory; pictures beyond it go to system memory.
constexpr std::size_t kVideoMemoryBytes = 256u << 20;

Uint32 TextureFormat(int bitCount) {
    switch (bitCount) {
    case 8:
        // 8-bit surfaces hold 3-3-2 colours (the display's fixed palette), shown as they are.
        return SDL_PIXELFORMAT_RGB332;
    case 24:
        // Packed little-endian 0xRRGGBB: blue, green, red in memory.
        return SDL_PIXELFORMAT_BGR24;
    case 32:
        return SDL_PIXELFORMAT_RGB888;
    default:
        return SDL_PIXELFORMAT_RGB565;
    }
}
} // namespace

class SdlDisplayDevice;

struct SdlPlatform::State {
    explicit State(FramePacing pacing) : Pacing(pacing) {}

    FramePacing Pacing;
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    // Frames drawn into the window's memory instead of through Renderer (see MakeRenderer).
    std::unique_ptr<WindowSurfacePresenter> Direct;
    PresentCounter Presents;
    std::string Title;
    bool Windowed = false;
    bool IntegerScale = false;
    std::vector<uint8_t> IconPixels; // RGBA, IconSize x IconSize
    int IconSize = 0;
    std::unique_ptr<SdlGamepads> Pads;
    bool Minimized = false;
    bool Hidden = true;
    bool Vsync = false;
    // A present has happened since the last vertical-blank wait.
    bool PresentedSinceWait = false;
    RefreshClock Clock;
    VsyncWatch Watch;
    std::vector<SdlDisplayDevice*> Devices;
    // The device whose picture the window shows.
    SdlDisplayDevice* Shown = nullptr;

    DisplayMode Desktop() const;
    // Where an image of iw x ih appears in an output of ow x oh.
    TRect View(int ow, int oh, int iw, int ih) const {
        return IntegerScale ? FitImageWhole(ow, oh, iw, ih) : FitImage(ow, oh, iw, ih);
    }
    void ApplyIcon();
    void MakeRenderer();
    void DropRenderer();
    bool CanPresent() const { return (Renderer != nullptr || Direct != nullptr) && !Minimized && !Hidden; }
    void UseWindowSurface();
    void Present(SDL_Texture* texture);
    void WaitForRefresh();
    DisplayMode ImageSize() const;
    bool Translate(const SDL_Event& e, Event& out);
    void MapMouse(int x, int y, Event& out) const;
    void LoseSurfaces();
};

// The emulated display on the SDL window: the primary surface is uploaded into a streaming
// texture of the mode's size and format and presented scaled to fit the window.
class SdlDisplayDevice : public DisplayDevice {
public:
    explicit SdlDisplayDevice(SdlPlatform::State& screen)
        : DisplayDevice(screen.Desktop(), kVideoMemoryBytes), screen_(&screen) {
        screen_->Devices.push_back(this);
    }

    ~SdlDisplayDevice() override {
        RestoreDisplayMode();
        DropTexture();
        if (screen_ != nullptr) {
            auto& list = screen_->Devices;
            list.erase(std::remove(list.begin(), list.end(), this), list.end());
            if (screen_->Shown == this) {
                screen_->Shown = nullptr;
            }
        }
    }

    std::vector<DisplayMode> EnumDisplayModes() override { return CommonDisplayModes(); }

    Result WaitForVerticalBlank() override {
        if (screen_ != nullptr) {
            screen_->WaitForRefresh();
        } else {
            clock_.WaitForNextRefresh();
        }
        return Result::Ok;
    }

    SDL_Texture* Texture() const { return texture_; }

    void DropTexture() {
        if (texture_ != nullptr) {
            SDL_DestroyTexture(texture_);
            texture_ = nullptr;
        }
    }

    // The platform is going away: nothing is shown any more, only the clock paces.
    void Detach() {
        DropTexture();
        screen_ = nullptr;
    }

protected:
    void Show(const Surface& primary) override {
        if (screen_ != nullptr && screen_->Direct != nullptr && screen_->CanPresent()) {
            screen_->Shown = this;
            screen_->Direct->Present(&primary, screen_->IntegerScale);
            screen_->PresentedSinceWait = true;
            screen_->Presents.Presented();
            return;
        }
        if (screen_ == nullptr || !screen_->CanPresent() || !MakeTexture(primary)) {
            return;
        }
        if (SDL_UpdateTexture(texture_, nullptr, primary.Bits(), primary.Pitch()) != 0) {
            return;
        }
        screen_->Shown = this;
        screen_->Present(texture_);
        screen_->Presents.Presented();
    }

    void ModeChanged(const DisplayMode&) override {
        // The texture is made again in the new size at the next Show; meanwhile the screen is
        // black, as a monitor is while it switches modes.
        DropTexture();
        if (screen_ != nullptr && screen_->Shown == this && screen_->CanPresent()) {
            screen_->Present(nullptr);
        }
    }

    bool CanRestoreSurfaces() override { return screen_ == nullptr || !screen_->Minimized; }

private:
    bool MakeTexture(const Surface& primary) {
        const Uint32 format = TextureFormat(primary.Format().BitCount);
        if (texture_ != nullptr) {
            Uint32 f = 0;
            int w = 0, h = 0;
            SDL_QueryTexture(texture_, &f, nullptr, &w, &h);
            if (f == format && w == primary.Width() && h == primary.Height()) {
                return true;
            }
            DropTexture();
        }
        texture_ = SDL_CreateTexture(screen_->Renderer, format, SDL_TEXTUREACCESS_STREAMING, primary.Width(),
                                     primary.Height());
        return texture_ != nullptr;
    }

    SdlPlatform::State* screen_;
    SDL_Texture* texture_ = nullptr;
    RefreshClock clock_;
};

DisplayMode SdlPlatform::State::Desktop() const {
    SDL_DisplayMode mode{};
    const int index = Window != nullptr ? std::max(SDL_GetWindowDisplayIndex(Window), 0) : 0;
    if (SDL_GetDesktopDisplayMode(index, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        return DisplayMode{640, 480, 32};
    }
    return DisplayMode{mode.w, mode.h, 32};
}

void SdlPlatform::State::MakeRenderer() {
    SDL_DisplayMode mode{};
    const bool sixty = SDL_GetCurrentDisplayMode(std::max(SDL_GetWindowDisplayIndex(Window), 0), &mode) == 0 &&
                       mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
    const bool wantVsync = Pacing == FramePacing::Vsync || (Pacing == FramePacing::Auto && sixty);
    // Where OpenGL can only be a software rasteriser, frames are scaled in our own code instead.
    if (WindowSurfacePresenter::Preferred()) {
        return UseWindowSurface();
    }
    Renderer = SDL_CreateRenderer(Window, -1, wantVsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (WindowSurfacePresenter::SoftwareRasteriser(Renderer)) {
        SDL_DestroyRenderer(Renderer);
        Renderer = nullptr;
        return UseWindowSurface();
    }
    if (Renderer == nullptr) {
        Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    }
    Vsync = false;
    if (Renderer != nullptr && wantVsync) {
        SDL_RendererInfo info{};
        Vsync = SDL_GetRendererInfo(Renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    }
    Watch.Reset();
    PresentedSinceWait = false;
}

void SdlPlatform::State::UseWindowSurface() {
    Direct = std::make_unique<WindowSurfacePresenter>(Window);
    Vsync = false;
    Watch.Reset();
    PresentedSinceWait = false;
}

void SdlPlatform::State::DropRenderer() {
    Direct.reset();
    // Textures belong to the renderer and must go first.
    for (SdlDisplayDevice* d : Devices) {
        d->DropTexture();
    }
    if (Renderer != nullptr) {
        SDL_DestroyRenderer(Renderer);
        Renderer = nullptr;
    }
}

void SdlPlatform::State::Present(SDL_Texture* texture) {
    if (Direct != nullptr) {
        // Only a black screen comes this way: frames go to Direct from Show.
        Direct->Present(nullptr);
        PresentedSinceWait = true;
        return;
    }
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    int tw = 0, th = 0, ow = 0, oh = 0;
    if (texture != nullptr && SDL_QueryTexture(texture, nullptr, nullptr, &tw, &th) == 0 &&
        SDL_GetRendererOutputSize(Renderer, &ow, &oh) == 0) {
        const TRect view = View(ow, oh, tw, th);
        const SDL_Rect target{view.Left, view.Top, view.Width(), view.Height()};
        SDL_RenderCopy(Renderer, texture, nullptr, &target);
    }
    // With vsync on, this blocks until the monitor's vertical blank.
    SDL_RenderPresent(Renderer);
    PresentedSinceWait = true;
}

void SdlPlatform::State::WaitForRefresh() {
    if (!Vsync || !CanPresent()) {
        Clock.WaitForNextRefresh();
        return;
    }
    // A vsync'ed present returns at the vertical blank, so the present of the frame that follows
    // this wait is what paces the loop; waiting here as well would cost a second refresh per
    // frame. Only when nothing was presented since the last wait does the wait present (the same
    // picture again) to reach the next blank.
    if (!PresentedSinceWait) {
        Present(Shown != nullptr ? Shown->Texture() : nullptr);
    }
    PresentedSinceWait = false;
    if (!Watch.Frame(RefreshClock::Clock::now())) {
        // The driver does not hold presents back: pace by the clock from now on.
        Vsync = false;
        SDL_RenderSetVSync(Renderer, 0);
    }
}

DisplayMode SdlPlatform::State::ImageSize() const {
    if (Shown != nullptr) {
        return Shown->CurrentMode();
    }
    if (!Devices.empty()) {
        return Devices.back()->CurrentMode();
    }
    return Desktop();
}

void SdlPlatform::State::MapMouse(int x, int y, Event& out) const {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(Window, &ww, &wh);
    const DisplayMode image = ImageSize();
    const TRect view = View(ww, wh, image.Width, image.Height);
    if (!OutputToImage(view, image.Width, image.Height, x, y, out.X, out.Y)) {
        out.X = x;
        out.Y = y;
    }
    Pads->Mapper.PointerMovedTo(out.X, out.Y);
}

void SdlPlatform::State::ApplyIcon() {
    if (Window == nullptr || IconSize <= 0) {
        return;
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(IconPixels.data(), IconSize, IconSize, 32, IconSize * 4,
                                                           SDL_PIXELFORMAT_RGBA32);
    if (icon != nullptr) {
        SDL_SetWindowIcon(Window, icon);
        SDL_FreeSurface(icon);
    }
}

void SdlPlatform::State::LoseSurfaces() {
    for (SdlDisplayDevice* d : Devices) {
        d->LoseSurfaces();
    }
}

bool SdlPlatform::State::Translate(const SDL_Event& e, Event& out) {
    using Type = Event::Type;
    out = Event{};
    if (Pads->Handle(e)) {
        return false;
    }
    switch (e.type) {
    case SDL_KEYDOWN:
        if (Window != nullptr && SdlWindowMode::IsToggleKey(e.key)) {
            Windowed = SdlWindowMode::Toggle(Window, Windowed);
            Watch.Reset();
        }
        return false;
    case SDL_QUIT:
        // Closing the only window also arrives here.
        out.Kind = Type::Quit;
        return true;
    case SDL_WINDOWEVENT:
        if (Window == nullptr || e.window.windowID != SDL_GetWindowID(Window)) {
            return false;
        }
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.Kind = Type::FocusGained;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out.Kind = Type::FocusLost;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            out.Kind = Type::Expose;
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            Minimized = true;
            return false;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            Minimized = false;
            Watch.Reset();
            return false;
        default:
            return false;
        }
    case SDL_MOUSEMOTION:
        if (Window == nullptr || e.motion.windowID != SDL_GetWindowID(Window)) {
            return false;
        }
        out.Kind = Type::MouseMove;
        MapMouse(e.motion.x, e.motion.y, out);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (Window == nullptr || e.button.windowID != SDL_GetWindowID(Window)) {
            return false;
        }
        out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? Type::MouseDown : Type::MouseUp;
        // SDL numbers the buttons as the program does: 1 left, 2 middle, 3 right, then the extra ones.
        out.Button = e.button.button;
        MapMouse(e.button.x, e.button.y, out);
        return true;
    case SDL_RENDER_TARGETS_RESET:
        LoseSurfaces();
        return false;
    case SDL_RENDER_DEVICE_RESET:
        // Every texture is gone; start over with a new renderer and let the display restore.
        if (Window != nullptr) {
            DropRenderer();
            MakeRenderer();
        }
        LoseSurfaces();
        return false;
    default:
        return false;
    }
}

SdlPlatform::SdlPlatform(FramePacing pacing) : state_(std::make_unique<State>(pacing)) {
    // SIGINT, SIGTERM and SIGHUP are the program's own (StopSignal); SDL is not to take them over.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    StartSdlVideo();
    state_->Pads = std::make_unique<SdlGamepads>();
    // Whole emulated pixels when scaled up: sharp text and edges.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The program reads keys, not text; no input method should take them.
    SDL_StopTextInput();
}

SdlPlatform::~SdlPlatform() {
    for (SdlDisplayDevice* d : state_->Devices) {
        d->Detach();
    }
    state_->DropRenderer();
    state_->Pads.reset();
    if (state_->Window != nullptr) {
        SDL_DestroyWindow(state_->Window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}

std::unique_ptr<DisplayDevice> SdlPlatform::CreateDisplayDevice() {
    return std::make_unique<SdlDisplayDevice>(*state_);
}

uint32_t SdlPlatform::Milliseconds() {
    return static_cast<uint32_t>(SDL_GetTicks64());
}

TimeOfDay SdlPlatform::UtcTimeOfDay() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % 86'400'000;
    return TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

void SdlPlatform::SetTitle(const std::string& title) {
    state_->Title = title;
    if (state_->Window != nullptr) {
        SDL_SetWindowTitle(state_->Window, title.c_str());
    }
}

void SdlPlatform::ShowWindow(const std::string& caption) {
    State& s = *state_;
    // A borderless window shows no caption; the title is what the task bar shows.
    const std::string& title = s.Title.empty() ? caption : s.Title;
    if (s.Window == nullptr) {
        s.Window = SdlWindowMode::Create(title, s.Windowed);
        if (s.Window == nullptr) {
            throw Exception(std::string("The window cannot be made: ") + SDL_GetError());
        }
        // The program draws its own pointer.
        SDL_ShowCursor(SDL_DISABLE);
        s.ApplyIcon();
        s.MakeRenderer();
    } else {
        SDL_SetWindowTitle(s.Window, title.c_str());
        SDL_ShowWindow(s.Window);
    }
    s.Hidden = false;
    s.Minimized = (SDL_GetWindowFlags(s.Window) & SDL_WINDOW_MINIMIZED) != 0;
    SDL_RaiseWindow(s.Window);
}

void SdlPlatform::HideWindow() {
    if (state_->Window != nullptr) {
        SDL_HideWindow(state_->Window);
        state_->Hidden = true;
    }
}

bool SdlPlatform::PollEvent(Event& event) {
    if (StopSignal::TakeQuit()) {
        event = Event{Event::Type::Quit};
        return true;
    }
    const DisplayMode image = state_->ImageSize();
    state_->Pads->Mapper.Tick(Milliseconds(), image.Width, image.Height);
    if (state_->Pads->Mapper.Poll(event)) {
        return true;
    }
    SDL_Event e;
    Event translated;
    while (SDL_PollEvent(&e) != 0) {
        if (state_->Translate(e, translated)) {
            event = translated;
            return true;
        }
    }
    return false;
}

void SdlPlatform::WaitEvent(uint32_t timeoutMs) {
    // SDL's wait does not end for a signal, so it waits in slices and a stop signal ends it
    // after at most one. A null event leaves whatever arrived in the queue for PollEvent.
    constexpr uint32_t kSliceMs = 50;
    const uint64_t until = SDL_GetTicks64() + timeoutMs;
    while (StopSignal::Received() == 0) {
        const uint64_t now = SDL_GetTicks64();
        if (now >= until) {
            return;
        }
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint64_t>(until - now, kSliceMs))) != 0) {
            return;
        }
    }
}

bool SdlPlatform::IsForeground() {
    return state_->Window != nullptr && (SDL_GetWindowFlags(state_->Window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlPlatform::GetKeyState(KeyState& keys) {
    SDL_PumpEvents();
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    MapKeyboardState(held, count, keys);
    state_->Pads->Mapper.AddHeldKeys(keys);
}

void SdlPlatform::ShowErrorBox(const std::string& title, const std::string& message) {
    // Standard error gets the line as well, for a game started from a terminal.
    std::cerr << title << ": " << message << '\n';
    if (SdlErrorBox::Show(state_->Window, title, message)) {
        return;
    }
    // Without a usable font, SDL's own box: it shows it from a child process it waits for,
    // which a stop signal ends.
    ErrorBoxWatch watch;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), state_->Window);
}

void SdlPlatform::SetPresentation(bool windowed, bool integerScale) {
    state_->Windowed = windowed;
    state_->IntegerScale = integerScale;
}

void SdlPlatform::SetIcon(int size, std::vector<uint8_t> rgba) {
    if (size <= 0 || rgba.size() != static_cast<std::size_t>(size) * size * 4) {
        return;
    }
    state_->IconSize = size;
    state_->IconPixels = std::move(rgba);
    state_->ApplyIcon();
}

bool SdlPlatform::Windowed() const {
    return state_->Windowed;
}

void SdlPlatform::SetPadDeadZone(double share) {
    state_->Pads->Mapper.SetDeadZone(share);
}

bool SdlPlatform::PacedByVsync() const {
    return state_->Vsync && state_->CanPresent();
}

std::string SdlPlatform::RendererName() const {
    if (state_->Direct != nullptr) {
        return "window surface";
    }
    SDL_RendererInfo info{};
    if (state_->Renderer == nullptr || SDL_GetRendererInfo(state_->Renderer, &info) != 0 || info.name == nullptr) {
        return {};
    }
    return info.name;
}

std::unique_ptr<Platform> CreateSdlPlatform(FramePacing pacing) {
    return std::make_unique<SdlPlatform>(pacing);
}

} // namespace platform
