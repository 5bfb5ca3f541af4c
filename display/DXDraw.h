#pragma once

#include "display/DXDrawDisplay.h"
#include "display/DXDrawNotice.h"
#include "platform/app/Control.h"
#include "platform/app/Form.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TDirectDraw;
class TDirectDrawSurface;
class TDirectDrawClipper;
class TDirectDrawPalette;
class TDXDrawDriver;
namespace platform {
class Platform;
}

enum TDXDrawOption : int {
    doFullScreen = 0,
    doNoWindowChange,
    doAllowReboot,
    doWaitVBlank,
    doAllowPalette256,
    doSystemMemory,
    doStretch,
    doCenter,
    doFlip,
    do3D,
    doDirectX7Mode,
    doRetainedMode,
    doHardware,
    doSelectDriver,
    doZBuffer,
};

// A set of options, bit n for option n.
using TDXDrawOptions = uint16_t;

constexpr TDXDrawOptions OptionBit(TDXDrawOption option) {
    return static_cast<TDXDrawOptions>(1u << option);
}
constexpr bool HasOption(TDXDrawOptions set, TDXDrawOption option) {
    return (set & OptionBit(option)) != 0;
}

// The display control: full-screen mode, the back buffer every frame is drawn into, its
// presentation, the recovery of lost surfaces and the notices to the components that follow it.
class TCustomDXDraw : public TControl {
public:
    explicit TCustomDXDraw(TComponent* owner);
    ~TCustomDXDraw() override;

    bool AutoInitialize = true;
    bool AutoSize = true;
    TDXDrawDisplay Display;
    TNotifyEvent OnInitializing, OnInitialize, OnInitializeSurface, OnFinalize, OnFinalizeSurface, OnRestoreSurface;

    TDXDrawOptions Options() const { return options_; }
    void SetOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const { return effectiveOptions_; }

    void Initialize();
    void Finalize();
    // Presents the back buffer when initialised, not busy and the surfaces are there.
    void Flip();
    bool EnsureSurfaces();
    void Restore();

    void AddListener(TDXDrawListener* listener);
    void RemoveListener(TDXDrawListener* listener);

    bool IsInitialized() const { return initialized_; }
    bool Busy() const { return busy_; }
    TDirectDraw* DDraw() const;
    TDirectDrawSurface* PrimarySurface() const;
    TDirectDrawSurface* BackBuffer() const;
    TDirectDrawClipper* Clipper() const;
    TDirectDrawPalette* Palette() const;
    TForm* ParentForm() const { return parentForm_; }

    int32_t SurfaceWidth() const;
    int32_t SurfaceHeight() const;
    void SetSurfaceWidth(int32_t value) { SetSurfaceSize(value, SurfaceHeight()); }
    void SetSurfaceHeight(int32_t value) { SetSurfaceSize(SurfaceWidth(), value); }
    void SetSurfaceSize(int32_t width, int32_t height);

    std::array<uint32_t, 256> ColorTable{};
    std::array<uint32_t, 256> DefaultColorTable{};

    void Loaded() override;
    void Paint() override;
    void WindowRecreated() override;

protected:
    void ParentChanged(TForm* oldParent) override;
    void BoundsChanged() override;

private:
    friend class TDXDrawDriver;
    void Notify(TDisplayNotice notice);
    void UpdateEffectiveOptions();
    void FormMessage(TFormMessage message);
    void Present(TDXDrawOptions options);
    void RunEvent(const TNotifyEvent& event);
    platform::Platform& Platform() const;

    TDXDrawOptions options_ = OptionBit(doAllowReboot) | OptionBit(doWaitVBlank) | OptionBit(doCenter) |
                              OptionBit(doDirectX7Mode) | OptionBit(doHardware) | OptionBit(doSelectDriver);
    TDXDrawOptions effectiveOptions_ = 0;
    bool initialized_ = false;
    bool surfaceReadySent_ = false;
    bool initEventSent_ = false;
    bool busy_ = false;
    bool autoInitTried_ = false;
    int32_t initDepth_ = 0;
    bool driverMade_ = false;
    int32_t surfaceWidth_ = 100;
    int32_t surfaceHeight_ = 100;
    std::unique_ptr<TDXDrawDriver> driver_;
    std::vector<TDXDrawListener*> listeners_;
    TForm* parentForm_ = nullptr;
    int hook_ = 0;
};

// The published display component of the form.
class TDXDraw : public TCustomDXDraw {
public:
    using TCustomDXDraw::TCustomDXDraw;
};
