#include "sprite/SpriteEngine.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/ImageSprite.h"
#include "tests/sprite/SpriteFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SpriteEngineTest : public SpriteFixture {
protected:
    // A 30 by 30 sprite in the middle of the surface.
    TSprite& Middle() {
        TSprite& s = Engine().Add<TSprite>();
        s.X = 300;
        s.Y = 200;
        s.Width = 30;
        s.Height = 30;
        return s;
    }
};

TEST_F(SpriteEngineTest, SetSurface_TakesBoundsAndSizeAndKeepsThemWhenUnset) {
    TSpriteEngine engine;
    EXPECT_EQ(engine.SurfaceBounds(), (TRect{}));
    Show();
    engine.SetSurface(&Back());
    EXPECT_EQ(engine.Surface(), &Back());
    EXPECT_EQ(engine.SurfaceBounds(), (TRect{0, 0, 640, 480}));
    EXPECT_EQ(engine.Width, 640);
    EXPECT_EQ(engine.Height, 480);
    engine.SetSurface(nullptr);
    EXPECT_EQ(engine.Surface(), nullptr);
    EXPECT_EQ(engine.SurfaceBounds(), (TRect{0, 0, 640, 480}));
    EXPECT_EQ(engine.Width, 640);
}

TEST_F(SpriteEngineTest, Component_TakesBackBufferWhenDisplayInitialisesAndLetsGoWhenFinalised) {
    EXPECT_EQ(Engine().Surface(), nullptr);
    Show();
    EXPECT_EQ(Engine().Surface(), &Back());
    EXPECT_EQ(Engine().SurfaceBounds(), (TRect{0, 0, 640, 480}));
    draw->Finalize();
    EXPECT_EQ(Engine().Surface(), nullptr);
}

TEST_F(SpriteEngineTest, Component_JoiningAnInitialisedDisplayTakesItsBackBufferAtOnce) {
    TDXSpriteEngine& late = CreateComponent<TDXSpriteEngine>(*form);
    Show();
    late.SetDXDraw(draw);
    EXPECT_EQ(late.Engine().Surface(), &Back());
    late.SetDXDraw(nullptr);
    EXPECT_EQ(late.DXDraw(), nullptr);
    EXPECT_EQ(late.Engine().Surface(), nullptr);
}

TEST_F(SpriteEngineTest, ComponentDraw_OnlyWhileDisplayIsSetAndInitialised) {
    Middle();
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 0);
    Show();
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 1);

    // Unset: the count of the last pass stays as it was.
    Middle();
    spriteEngine->SetDXDraw(nullptr);
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 1);

    spriteEngine->SetDXDraw(draw);
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 2);
    draw->Finalize();
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 2);
}

TEST_F(SpriteEngineTest, Component_ForgetsADisplayThatIsRemoved) {
    Show();
    spriteEngine->Notification(draw, TOperation::opRemove);
    EXPECT_EQ(spriteEngine->DXDraw(), nullptr);
    EXPECT_EQ(Engine().Surface(), nullptr);
    // The display no longer tells the component anything.
    draw->Finalize();
    draw->Initialize();
    EXPECT_EQ(Engine().Surface(), nullptr);
}

TEST_F(SpriteEngineTest, Component_ForgetsADisplayThatIsDestroyed) {
    TComponent owner(nullptr);
    TDXDraw& other = CreateComponent<TDXDraw>(owner);
    TDXSpriteEngine& follower = CreateComponent<TDXSpriteEngine>(*form);
    follower.SetDXDraw(&other);
    owner.DestroyComponents();
    EXPECT_EQ(follower.DXDraw(), nullptr);
    follower.Draw();
}

TEST_F(SpriteEngineTest, Component_ResizedBackBufferUpdatesTheBounds) {
    Show();
    draw->SetSurfaceSize(320, 240);
    EXPECT_EQ(Engine().Surface(), &Back());
    EXPECT_EQ(Engine().SurfaceBounds(), (TRect{0, 0, 320, 240}));
}

TEST_F(SpriteEngineTest, ImageSpriteEx_IsRenderedWhereverItIs) {
    Show();
    TImageSpriteEx& ship = Engine().Add<TImageSpriteEx>();
    ship.X = -2000;
    ship.Width = 30;
    ship.Height = 30;
    Engine().Draw();
    EXPECT_EQ(Engine().DrawnCount(), 1);
}

TEST_F(SpriteEngineTest, Destruction_EngineComponentBeforeOrAfterDisplay) {
    // The component goes first: it leaves the display's listeners.
    {
        TComponent owner(nullptr);
        TDXDraw& d = CreateComponent<TDXDraw>(owner);
        TDXSpriteEngine& e = CreateComponent<TDXSpriteEngine>(owner);
        e.SetDXDraw(&d);
        e.Engine().Add<TImageSprite>();
    }
    // The display goes first: the removal notice clears the reference before it is destroyed.
    {
        TComponent owner(nullptr);
        TDXSpriteEngine& e = CreateComponent<TDXSpriteEngine>(owner);
        TDXDraw& d = CreateComponent<TDXDraw>(owner);
        e.SetDXDraw(&d);
        e.Engine().Add<TImageSprite>();
    }
}

} // namespace
