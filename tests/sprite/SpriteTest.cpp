#include "sprite/Sprite.h"
#include "sprite/SpriteEngine.h"
#include "tests/sprite/SpriteFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Writes "render NAME" when rendered and "destroy NAME" when destroyed.
class NamedSprite : public TSprite {
public:
    NamedSprite(const TSpriteJoin& join, Log& log, std::string name, int32_t z = 0)
        : TSprite(join), log_(log), name_(std::move(name)) {
        SetZ(z);
        Width = 10;
        Height = 10;
    }
    ~NamedSprite() override { log_.push_back("destroy " + name_); }
    void Render() override { log_.push_back("render " + name_); }

private:
    Log& log_;
    std::string name_;
};

class SpriteTreeTest : public SpriteFixture {
protected:
    SpriteTreeTest() { Show(); }
    // The sprites write to the log when destroyed, so they go before it does.
    ~SpriteTreeTest() override { Engine().Clear(); }

    NamedSprite& Named(TSprite& parent, const std::string& name, int32_t z = 0) {
        return parent.Add<NamedSprite>(log, name, z);
    }
    Log Rendered() {
        log.clear();
        Engine().Draw();
        return log;
    }

    Log log;
};

TEST_F(SpriteTreeTest, PaintOrder_NewestSiblingIsDrawnFirst) {
    Named(Engine(), "A");
    Named(Engine(), "B");
    Named(Engine(), "C");
    EXPECT_EQ(Rendered(), (Log{"render C", "render B", "render A"}));
    EXPECT_EQ(Engine().DrawnCount(), 3);
}

TEST_F(SpriteTreeTest, Join_PlacesByZInFrontOfEqualZ) {
    Named(Engine(), "A");
    Named(Engine(), "B");
    Named(Engine(), "high", 1);
    EXPECT_EQ(Rendered(), (Log{"render B", "render A", "render high"}));
    Named(Engine(), "low", -1);
    Named(Engine(), "zero", 0);
    EXPECT_EQ(Rendered(), (Log{"render low", "render zero", "render B", "render A", "render high"}));
}

TEST_F(SpriteTreeTest, PaintTree_ParentBeneathChildren) {
    NamedSprite& parent = Named(Engine(), "parent");
    Named(parent, "child1");
    Named(parent, "child2");
    Named(Engine(), "sibling");
    EXPECT_EQ(Rendered(), (Log{"render sibling", "render parent", "render child2", "render child1"}));
}

TEST_F(SpriteTreeTest, Invisible_SkipsWholeSubtreeAndIsNotCounted) {
    NamedSprite& hidden = Named(Engine(), "hidden");
    Named(hidden, "under");
    Named(Engine(), "shown");
    hidden.Visible = false;
    EXPECT_EQ(Rendered(), (Log{"render shown"}));
    EXPECT_EQ(Engine().DrawnCount(), 1);
}

TEST_F(SpriteTreeTest, Cull_RendersOnlyRectanglesStrictlyOverlappingTheSurface) {
    struct Case {
        double x, y;
        int32_t w, h;
        bool drawn;
    };
    const Case cases[] = {
        {320, 300, 0, 0, true},   {0, 0, 0, 0, false},        {640, 10, 0, 0, false},  {-30, 0, 30, 30, false},
        {-29.5, 0, 30, 30, true}, {639.9, 479.9, 1, 1, true}, {0, 480, 640, 1, false},
    };
    for (const Case& c : cases) {
        NamedSprite& s = Named(Engine(), "s");
        s.X = c.x;
        s.Y = c.y;
        s.Width = c.w;
        s.Height = c.h;
        EXPECT_EQ(Rendered().size(), c.drawn ? 1u : 0u) << c.x << ", " << c.y << " " << c.w << "x" << c.h;
        Engine().Clear();
    }
}

TEST_F(SpriteTreeTest, AbsolutePosition_AddsParentsAndRootOffset) {
    Engine().X = 10;
    NamedSprite& child = Named(Engine(), "child");
    child.X = 5.5;
    EXPECT_DOUBLE_EQ(child.AbsoluteX(), 15.5);
    EXPECT_EQ(child.GetBounds(), (TRect{15, 0, 25, 10}));
    NamedSprite& grandchild = Named(child, "grandchild");
    grandchild.X = -20.25;
    grandchild.Y = -0.5;
    EXPECT_DOUBLE_EQ(grandchild.AbsoluteX(), -4.75);
    // Truncation toward zero: -4.75 gives -4 and -0.5 gives 0.
    EXPECT_EQ(grandchild.GetBounds(), (TRect{-4, 0, 6, 10}));
}

TEST(SpriteChildAtTest, WithoutChildrenRaisesSpriteError) {
    TSpriteEngine engine;
    try {
        engine.ChildAt(0);
        FAIL() << "no error";
    } catch (const ESpriteError& e) {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (0)");
    }
}

TEST(SpriteChildAtTest, OutOfRangeWithChildrenRaisesListError) {
    TSpriteEngine engine;
    TSprite& first = engine.Add<TSprite>();
    TSprite& second = engine.Add<TSprite>();
    EXPECT_EQ(&engine.ChildAt(0), &first);
    EXPECT_EQ(&engine.ChildAt(1), &second);
    for (int32_t index : {2, -1}) {
        try {
            engine.ChildAt(index);
            FAIL() << "no error for " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST(SpriteDestroyTest, ClearDestroysLastJoinedFirstAndDropsTheLists) {
    Log log;
    TSpriteEngine engine;
    TSprite& parent = engine.Add<TSprite>();
    for (const char* name : {"first", "second", "third"}) {
        NamedSprite& child = parent.Add<NamedSprite>(log, name);
        child.Add<NamedSprite>(log, std::string(name) + ".child");
    }
    EXPECT_EQ(engine.SpriteCount(), 7);
    parent.Clear();
    EXPECT_EQ(log, (Log{"destroy third.child", "destroy third", "destroy second.child", "destroy second",
                        "destroy first.child", "destroy first"}));
    EXPECT_EQ(parent.Count(), 0);
    EXPECT_EQ(engine.SpriteCount(), 1);
    // The child lists are gone: the error is the sprite's own, not the list's.
    EXPECT_THROW(parent.ChildAt(0), ESpriteError);
}

TEST(SpriteDestroyTest, DestroyOneChildKeepsTheOthersInOrder) {
    Log log;
    TSpriteEngine engine;
    NamedSprite& a = engine.Add<NamedSprite>(log, "a");
    NamedSprite& b = engine.Add<NamedSprite>(log, "b");
    NamedSprite& c = engine.Add<NamedSprite>(log, "c");
    engine.Destroy(b);
    EXPECT_EQ(log, (Log{"destroy b"}));
    ASSERT_EQ(engine.Count(), 2);
    EXPECT_EQ(&engine.ChildAt(0), &a);
    EXPECT_EQ(&engine.ChildAt(1), &c);
    // Not a child of the engine: left alone.
    TSprite& grandchild = a.Add<TSprite>();
    engine.Destroy(grandchild);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(engine.SpriteCount(), 3);
}

TEST(SpriteDestroyTest, EngineDestroysEverySpriteNewestFirst) {
    Log log;
    {
        TSpriteEngine engine;
        NamedSprite& a = engine.Add<NamedSprite>(log, "a");
        a.Add<NamedSprite>(log, "a.1");
        engine.Add<NamedSprite>(log, "b");
    }
    EXPECT_EQ(log, (Log{"destroy b", "destroy a.1", "destroy a"}));
}

// A sprite whose constructor fails never joins.
class FailingSprite : public TSprite {
public:
    explicit FailingSprite(const TSpriteJoin& join) : TSprite(join) { throw std::runtime_error("refused"); }
};

TEST(SpriteDestroyTest, FailedConstructionLeavesTheParentUnchanged) {
    TSpriteEngine engine;
    EXPECT_THROW(engine.Add<FailingSprite>(), std::runtime_error);
    EXPECT_EQ(engine.SpriteCount(), 0);
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_THROW(engine.ChildAt(0), ESpriteError);
}

} // namespace
