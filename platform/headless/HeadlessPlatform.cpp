#include "platform/headless/HeadlessPlatform.h"

#include "platform/app/StopSignal.h"
#include "platform/pixels/CommonModes.h"

#include <algorithm>
#include <cstring>
#include <iostream>

namespace platform {

namespace {
constexpr uint64_t kRefreshHz = 60;
} // namespace

class HeadlessDisplayDevice : public DisplayDevice {
public:
    explicit HeadlessDisplayDevice(HeadlessPlatform& owner)
        : DisplayDevice(owner.Desktop, owner.VideoMemoryBytes), owner_(owner) {
        owner_.devices_.push_back(this);
    }
    ~HeadlessDisplayDevice() override {
        RestoreDisplayMode();
        auto& list = owner_.devices_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    std::vector<DisplayMode> EnumDisplayModes() override { return owner_.Modes; }

    Result WaitForVerticalBlank() override {
        // The next refresh of a 60 Hz display: the first multiple of 1/60 s after now.
        uint64_t frame = owner_.NowMicros * kRefreshHz / 1000000 + 1;
        owner_.NowMicros = (frame * 1000000 + kRefreshHz - 1) / kRefreshHz;
        ++owner_.VerticalBlanks;
        return Result::Ok;
    }

protected:
    void Show(const Surface& primary) override {
        ++owner_.ShowCount;
        owner_.ScreenMode = CurrentMode();
        owner_.screenFormat_ = primary.Format();
        owner_.screenWidth_ = primary.Width();
        const std::size_t rowBytes = static_cast<std::size_t>(primary.Width()) * primary.Format().BytesPerPixel();
        owner_.ScreenBits.resize(rowBytes * static_cast<std::size_t>(primary.Height()));
        if (rowBytes == static_cast<std::size_t>(primary.Pitch())) {
            std::memcpy(owner_.ScreenBits.data(), primary.Bits(), owner_.ScreenBits.size());
            return;
        }
        for (int y = 0; y < primary.Height(); ++y) {
            std::memcpy(owner_.ScreenBits.data() + rowBytes * static_cast<std::size_t>(y),
                        primary.Bits() + static_cast<std::ptrdiff_t>(y) * primary.Pitch(), rowBytes);
        }
    }

    bool CanRestoreSurfaces() override {
        if (owner_.RestoreRefusals > 0) {
            --owner_.RestoreRefusals;
            return false;
        }
        return true;
    }

private:
    HeadlessPlatform& owner_;
};

const RgbImage& HeadlessPlatform::ScreenImage() const {
    if (convertedShow_ == ShowCount) {
        return screenImage_;
    }
    convertedShow_ = ShowCount;
    RgbImage& img = screenImage_;
    const int bpp = screenFormat_.BytesPerPixel();
    const std::size_t rowBytes = static_cast<std::size_t>(screenWidth_) * static_cast<std::size_t>(bpp);
    img.Width = screenWidth_;
    img.Height = rowBytes == 0 ? 0 : static_cast<int>(ScreenBits.size() / rowBytes);
    img.Pixels.resize(static_cast<std::size_t>(img.Width) * static_cast<std::size_t>(img.Height));
    if (bpp == 2) {
        // 16-bit pixels through a table of every value.
        if (colours16_.empty()) {
            colours16_.resize(65536);
            for (uint32_t raw = 0; raw < 65536; ++raw) {
                colours16_[raw] = screenFormat_.ToRgb(raw);
            }
        }
        for (std::size_t i = 0; i < img.Pixels.size(); ++i) {
            uint16_t raw;
            std::memcpy(&raw, ScreenBits.data() + 2 * i, 2);
            img.Pixels[i] = colours16_[raw];
        }
        return img;
    }
    for (std::size_t i = 0; i < img.Pixels.size(); ++i) {
        uint32_t raw = 0;
        for (int b = 0; b < bpp; ++b) {
            raw |= static_cast<uint32_t>(ScreenBits[i * static_cast<std::size_t>(bpp) + static_cast<std::size_t>(b)])
                   << (8 * b);
        }
        img.Pixels[i] = screenFormat_.ToRgb(raw);
    }
    return img;
}

HeadlessPlatform::HeadlessPlatform() : Modes(CommonDisplayModes()) {}

HeadlessPlatform::~HeadlessPlatform() = default;

std::unique_ptr<DisplayDevice> HeadlessPlatform::CreateDisplayDevice() {
    if (RefuseDisplay) {
        return nullptr;
    }
    return std::make_unique<HeadlessDisplayDevice>(*this);
}

uint32_t HeadlessPlatform::Milliseconds() {
    return ClockStart + static_cast<uint32_t>(NowMicros / 1000);
}

TimeOfDay HeadlessPlatform::UtcTimeOfDay() {
    uint64_t ms = (NowMicros / 1000) % (24ull * 3600 * 1000);
    return TimeOfDay{static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

void HeadlessPlatform::ShowWindow(const std::string& caption) {
    Caption = caption;
    if (!WindowShown) {
        WindowShown = true;
        if (Foreground) {
            events_.push_back(Event{Event::Type::FocusGained});
        }
    }
}

bool HeadlessPlatform::PollEvent(Event& event) {
    // A stop signal closes the simulated window once, as a real one would be closed.
    if (StopSignal::TakeQuit()) {
        event = Event{Event::Type::Quit};
        return true;
    }
    const DisplayMode& shown = ScreenMode.Width > 0 ? ScreenMode : Desktop;
    Pads.Tick(Milliseconds(), shown.Width, shown.Height);
    if (Pads.Poll(event)) {
        return true;
    }
    if (events_.empty()) {
        return false;
    }
    event = events_.front();
    events_.pop_front();
    if (event.Kind == Event::Type::MouseMove) {
        Pads.PointerMovedTo(event.X, event.Y);
    }
    return true;
}

void HeadlessPlatform::GetKeyState(KeyState& keys) {
    keys = Keys;
    Pads.AddHeldKeys(keys);
}

void HeadlessPlatform::WaitEvent(uint32_t timeoutMs) {
    if (events_.empty()) {
        NowMicros += static_cast<uint64_t>(timeoutMs) * 1000;
    }
}

void HeadlessPlatform::ShowErrorBox(const std::string& title, const std::string& message) {
    Errors.push_back(title + ": " + message);
    if (EchoErrors) {
        std::cerr << title << ": " << message << '\n';
    }
}

void HeadlessPlatform::SetForeground(bool foreground) {
    if (Foreground == foreground) {
        return;
    }
    Foreground = foreground;
    events_.push_back(Event{foreground ? Event::Type::FocusGained : Event::Type::FocusLost});
}

void HeadlessPlatform::LoseSurfaces() {
    for (HeadlessDisplayDevice* d : devices_) {
        d->LoseSurfaces();
    }
}

} // namespace platform
