#include "display/DirectXErrors.h"
#include "support/DisplayFixture.h"

#include <string>
#include <vector>

namespace {

// Records the notices it receives, by name.
class Recorder : public TDXDrawListener {
public:
    void DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) override {
        static const char* names[] = {"Destroying", "Initializing",      "Initialized", "SurfaceReady",
                                      "Finalizing", "SurfaceFinalizing", "Restored",    "SizeChanged"};
        Log.push_back(names[static_cast<int>(notice)]);
        if (notice == TDisplayNotice::Finalizing || notice == TDisplayNotice::SurfaceFinalizing) {
            SurfacesThere.push_back(sender.BackBuffer() != nullptr && sender.BackBuffer()->ISurface() != nullptr);
        }
    }
    std::vector<std::string> Log;
    std::vector<bool> SurfacesThere;
};

using Log = std::vector<std::string>;

using DXDrawTest = DisplayFixture;

TEST_F(DXDrawTest, StoredOptionsGiveEffectiveOptionsAndCooperativeLevel) {
    EXPECT_EQ(draw->Options(), 0x348D);
    EXPECT_EQ(draw->EffectiveOptions(), 0x008D);
    Show();
    ASSERT_TRUE(draw->IsInitialized());
    EXPECT_EQ(draw->DDraw()->Device().CooperativeLevel(), 0x53u);
    EXPECT_EQ(draw->DDraw()->Device().CurrentMode(), (platform::DisplayMode{640, 480, 16}));
    EXPECT_EQ(draw->SurfaceWidth(), 640);
    EXPECT_EQ(draw->SurfaceHeight(), 480);
    EXPECT_EQ(draw->BackBuffer()->BitCount(), 16);
}

TEST_F(DXDrawTest, DefaultOptionsAndWindowedLevel) {
    TDXDraw& fresh = CreateComponent<TDXDraw>(*form);
    EXPECT_EQ(fresh.Options(), 0x348C);
    // Without full screen: no reboot permission, no 3D bits, no hardware.
    EXPECT_EQ(fresh.EffectiveOptions(), 0x0088);
    fresh.SetParent(form);
    fresh.Initialize();
    EXPECT_EQ(fresh.DDraw()->Device().CooperativeLevel(), 0x08u);
    EXPECT_EQ(fresh.DDraw()->Device().CurrentMode(), platform.Desktop);
}

TEST_F(DXDrawTest, WritingOptionsWhileInitialisedChangesOnlyPresentationBits) {
    Show();
    draw->SetOptions(0x0040 | 0x0020 | 0x0100 | 0x0002); // stretch, system memory, flip, no window change
    // Wait-for-blank and centre go (not in the new value), stretch comes; everything else keeps its state.
    EXPECT_EQ(draw->EffectiveOptions(), 0x0045);
    draw->Finalize();
    // Once finalised the stored options are read again in full: without full screen, no flipping.
    EXPECT_EQ(draw->EffectiveOptions(), 0x0060);
}

TEST_F(DXDrawTest, BitCountRefusesOtherDepths) {
    try {
        draw->Display.SetBitCount(12);
        FAIL() << "no error";
    } catch (const EDirectDrawError& e) {
        EXPECT_STREQ(e.what(), "It should be either of 8 or 16 or 24 or 32");
    }
    EXPECT_EQ(draw->Display.BitCount(), 16);
    draw->Display.SetWidth(-4);
    EXPECT_EQ(draw->Display.Width(), 0);
}

TEST_F(DXDrawTest, ModeSearchTakesSameRatioLargeEnough) {
    platform.Modes = {{640, 400, 16}, {800, 600, 16}, {1024, 768, 16}};
    Show();
    ASSERT_TRUE(draw->IsInitialized());
    EXPECT_EQ(draw->Display.Width(), 800);
    EXPECT_EQ(draw->Display.Height(), 600);
    EXPECT_EQ(draw->Display.BitCount(), 16);
    EXPECT_EQ(draw->DDraw()->Device().CurrentMode(), (platform::DisplayMode{800, 600, 16}));
}

TEST_F(DXDrawTest, ModeSearchWithoutFixedBitCountRejectsFewerBitsAndTakesMore) {
    platform.Modes = {{640, 480, 8}, {640, 480, 32}};
    draw->Display.FixedBitCount = false;
    Show();
    ASSERT_TRUE(draw->IsInitialized());
    EXPECT_EQ(draw->Display.BitCount(), 32);
    EXPECT_EQ(draw->DDraw()->Device().CurrentMode(), (platform::DisplayMode{640, 480, 32}));
}

TEST_F(DXDrawTest, ModeSearchPrefersTheRequestedDepthAtTheChosenSize) {
    platform.Modes = {{800, 600, 32}, {800, 600, 16}, {800, 600, 24}};
    draw->Display.FixedBitCount = false;
    Show();
    EXPECT_EQ(draw->DDraw()->Device().CurrentMode(), (platform::DisplayMode{800, 600, 16}));
}

TEST_F(DXDrawTest, NoAcceptableModeRaisesAndLeavesDisplayUninitialised) {
    platform.Modes = {{320, 200, 16}};
    try {
        draw->Initialize();
        FAIL() << "no error";
    } catch (const EDXDrawError& e) {
        EXPECT_STREQ(e.what(), "Display mode cannot be changed (640x480 16bit)");
    }
    EXPECT_FALSE(draw->IsInitialized());
    EXPECT_EQ(draw->BackBuffer(), nullptr);
    draw->Flip(); // a safe no-op
}

TEST_F(DXDrawTest, FailedAutomaticInitialisationIsReportedAndDrawingIsANoOp) {
    platform.RefuseDisplay = true;
    app.Step();
    ASSERT_EQ(platform.Errors.size(), 1u);
    EXPECT_EQ(platform.Errors[0], "Error: DirectDraw cannot be initialized");
    EXPECT_FALSE(draw->IsInitialized());
    draw->Flip();
    EXPECT_EQ(platform.ShowCount, 0);
}

TEST_F(DXDrawTest, InitialiseWithoutFormRaises) {
    TDXDraw& loose = CreateComponent<TDXDraw>(*form);
    try {
        loose.Initialize();
        FAIL() << "no error";
    } catch (const EDXDrawError& e) {
        EXPECT_STREQ(e.what(), "Form not found");
    }
}

TEST_F(DXDrawTest, ListenerOrderAtInitialiseAndFinalise) {
    Recorder r;
    draw->AddListener(&r);
    EXPECT_EQ(r.Log, Log{"SizeChanged"});
    r.Log.clear();
    Show();
    EXPECT_EQ(r.Log, (Log{"Initializing", "SizeChanged", "Initialized", "SurfaceReady", "Restored"}));
    r.Log.clear();
    draw->Finalize();
    EXPECT_EQ(r.Log, (Log{"SurfaceFinalizing", "Finalizing"}));
    EXPECT_EQ(r.SurfacesThere, (std::vector<bool>{true, true}));
    draw->RemoveListener(&r);
}

TEST_F(DXDrawTest, ListenerAddedToInitialisedDisplayHearsTheStateAndLeavesCleanly) {
    Show();
    Recorder r;
    draw->AddListener(&r);
    EXPECT_EQ(r.Log, (Log{"SizeChanged", "Initialized", "SurfaceReady", "Restored"}));
    r.Log.clear();
    draw->RemoveListener(&r);
    EXPECT_EQ(r.Log, (Log{"SurfaceFinalizing", "Finalizing"}));
    r.Log.clear();
    draw->RemoveListener(&r); // not a listener any more: nothing happens
    EXPECT_TRUE(r.Log.empty());
}

TEST_F(DXDrawTest, NoticesGoNewestListenerFirst) {
    std::vector<std::string> order;
    struct Named : TDXDrawListener {
        Named(std::vector<std::string>& o, std::string n) : order(o), name(std::move(n)) {}
        void DXDrawNotify(TCustomDXDraw&, TDisplayNotice notice) override {
            if (notice == TDisplayNotice::Initialized) {
                order.push_back(name);
            }
        }
        std::vector<std::string>& order;
        std::string name;
    };
    Named a(order, "a"), b(order, "b");
    draw->AddListener(&a);
    draw->AddListener(&b);
    Show();
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a"}));
    draw->RemoveListener(&a);
    draw->RemoveListener(&b);
}

TEST_F(DXDrawTest, DestroyingTheControlFinalisesThenSaysDestroying) {
    Recorder r;
    auto other = std::make_unique<TForm>(app);
    TDXDraw& control = CreateComponent<TDXDraw>(*other);
    control.SetParent(other.get());
    other->Show();
    ASSERT_TRUE(control.IsInitialized());
    control.AddListener(&r);
    r.Log.clear();
    // Destroying the form destroys its window (which finalises the display), then the control.
    other.reset();
    EXPECT_EQ(r.Log, (Log{"SurfaceFinalizing", "Finalizing", "Destroying"}));
}

TEST_F(DXDrawTest, FlipPresentsAfterTheVerticalBlank) {
    Show();
    Back().FillWith(0xF800);
    const int shown = platform.ShowCount;
    const uint64_t before = platform.NowMicros;
    draw->Flip();
    EXPECT_GT(platform.ShowCount, shown);
    EXPECT_GT(platform.NowMicros, before);
    EXPECT_EQ(platform.VerticalBlanks, 1);
    EXPECT_EQ(platform.ScreenImage().At(0, 0), (platform::Rgb{255, 0, 0}));
    EXPECT_EQ(platform.ScreenImage().At(639, 479), (platform::Rgb{255, 0, 0}));
}

TEST_F(DXDrawTest, PaintPresentsWithoutWaiting) {
    Show();
    draw->Paint();
    EXPECT_EQ(platform.VerticalBlanks, 0);
    EXPECT_GT(platform.ShowCount, 0);
}

TEST_F(DXDrawTest, LostSurfacesAreRestoredClearedAndAnnouncedByTheNextFlip) {
    Recorder r;
    Show();
    draw->AddListener(&r);
    r.Log.clear();
    Back().FillWith(0x07E0);
    platform.LoseSurfaces();
    platform.RestoreRefusals = 1; // the display is still away for one more frame
    const int shown = platform.ShowCount;
    draw->Flip();
    EXPECT_EQ(platform.ShowCount, shown);
    EXPECT_TRUE(r.Log.empty());
    draw->Flip();
    EXPECT_EQ(r.Log, Log{"Restored"});
    EXPECT_EQ(Back().Pixel(10, 10), 0u);
    EXPECT_GT(platform.ShowCount, shown);
    EXPECT_EQ(platform.ScreenImage().At(10, 10), (platform::Rgb{0, 0, 0}));
    draw->RemoveListener(&r);
}

TEST_F(DXDrawTest, SurfaceSizeFollowsTheControl) {
    Recorder r;
    Show();
    draw->AddListener(&r);
    r.Log.clear();
    form->SetClientSize(320, 240);
    EXPECT_EQ(draw->SurfaceWidth(), 320);
    EXPECT_EQ(Back().Height(), 240);
    EXPECT_EQ(r.Log, (Log{"SurfaceFinalizing", "SurfaceReady", "SizeChanged"}));
    draw->RemoveListener(&r);
    draw->Finalize();
    EXPECT_EQ(draw->SurfaceWidth(), 320);
}

TEST_F(DXDrawTest, FinaliseTellsEveryListenerAndTearsDownWhateverRaises) {
    struct Raising : TDXDrawListener {
        void DXDrawNotify(TCustomDXDraw&, TDisplayNotice notice) override {
            if (notice == TDisplayNotice::SurfaceFinalizing) {
                throw Exception("listener failed");
            }
        }
    };
    Recorder first;
    Raising raising;
    Show();
    draw->AddListener(&first);
    draw->AddListener(&raising); // newest, so told first
    draw->OnFinalizeSurface = [](TComponent*) { throw Exception("event failed"); };
    first.Log.clear();
    try {
        draw->Finalize();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "event failed");
    }
    EXPECT_EQ(first.Log, (Log{"SurfaceFinalizing", "Finalizing"}));
    EXPECT_FALSE(draw->IsInitialized());
    EXPECT_EQ(draw->BackBuffer(), nullptr);
    draw->RemoveListener(&raising);
    draw->RemoveListener(&first);
}

TEST_F(DXDrawTest, AnErrorWhileTheFormsWindowGoesIsReported) {
    auto other = std::make_unique<TForm>(app);
    TDXDraw& control = CreateComponent<TDXDraw>(*other);
    control.SetParent(other.get());
    other->Show();
    control.OnFinalize = [](TComponent*) { throw Exception("cannot let go"); };
    other.reset();
    ASSERT_EQ(platform.Errors.size(), 1u);
    EXPECT_EQ(platform.Errors[0], "Error: cannot let go");
}

TEST_F(DXDrawTest, AResizeRaisedDuringAResizeDoesNothing) {
    Show();
    int resizes = 0;
    draw->OnInitializeSurface = [&](TComponent*) {
        ++resizes;
        draw->SetSurfaceSize(100, 100);
    };
    draw->SetSurfaceSize(320, 240);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(draw->SurfaceWidth(), 320);
    EXPECT_FALSE(draw->Busy());
}

} // namespace
