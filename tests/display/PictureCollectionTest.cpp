#include "display/DXImageList.h"
#include "support/DisplayFixture.h"

namespace {

// A picture whose pixel (x, y) has its own colour, so copied pixels show where they came from.
TPicture Picture(int w, int h) {
    platform::RgbImage image;
    image.Width = w;
    image.Height = h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.Pixels.push_back(platform::Rgb{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 4),
                                                 static_cast<uint8_t>(x / 32 * 8 + 8)});
        }
    }
    TPicture picture;
    picture.SetGraphic(std::make_unique<TDIB>(image));
    return picture;
}

class PictureCollectionTest : public DisplayFixture {
protected:
    PictureCollectionTest() {
        list = &CreateComponent<TDXImageList>(*form);
        list->SetDXDraw(draw);
    }

    TPictureCollectionItem& Item(int w, int h, int pw = 0, int ph = 0) {
        TPictureCollectionItem& item = list->Items().Add();
        item.SetPicture(Picture(w, h));
        item.PatternWidth = pw;
        item.PatternHeight = ph;
        return item;
    }

    TDXImageList* list = nullptr;
};

TEST_F(PictureCollectionTest, WholePictureIsOnePatternOnOneSurface) {
    TPictureCollectionItem& item = Item(640, 480);
    Show();
    ASSERT_TRUE(item.Prepared());
    ASSERT_EQ(item.PatternCount(), 1);
    EXPECT_EQ(item.Surfaces().size(), 1u);
    EXPECT_EQ(item.PatternRect(0), (TRect{0, 0, 640, 480}));
    EXPECT_EQ(item.PatternSurface(0)->Width(), 640);
}

TEST_F(PictureCollectionTest, TileSetCutsIntoTwoPatternsOnOneSurface) {
    TPictureCollectionItem& video = Item(60, 30, 30, 30);
    TPictureCollectionItem& system = Item(60, 30, 30, 30);
    system.SystemMemory = true;
    Show();
    for (TPictureCollectionItem* item : {&video, &system}) {
        ASSERT_EQ(item->PatternCount(), 2);
        ASSERT_EQ(item->Surfaces().size(), 1u);
        EXPECT_EQ(item->PatternRect(0), (TRect{0, 0, 30, 30}));
        EXPECT_EQ(item->PatternRect(1), (TRect{30, 0, 60, 30}));
        EXPECT_EQ(item->PatternSurface(1), item->Surfaces()[0].get());
        EXPECT_EQ(item->Surfaces()[0]->Width(), 60);
    }
    EXPECT_TRUE(system.Surfaces()[0]->InSystemMemory);
    EXPECT_FALSE(video.Surfaces()[0]->InSystemMemory);
}

TEST_F(PictureCollectionTest, GapsShapeTheBlocks) {
    TPictureCollectionItem& item = Item(60, 30, 30, 0);
    item.SkipWidth = 5;
    Show();
    ASSERT_EQ(item.PatternCount(), 1);
    ASSERT_EQ(item.Surfaces().size(), 2u);
    EXPECT_EQ(item.Surfaces()[0]->Width(), 35);
    EXPECT_EQ(item.Surfaces()[1]->Width(), 25);
    EXPECT_EQ(item.PatternRect(0), (TRect{0, 0, 30, 30}));
}

TEST_F(PictureCollectionTest, PatternLargerThanThePictureGivesNothingToDraw) {
    TPictureCollectionItem& item = Item(60, 30, 100, 0);
    Show();
    EXPECT_EQ(item.PatternCount(), 0);
    EXPECT_TRUE(item.Surfaces().empty());
    item.Draw(&Back(), 0, 0, 0);
    EXPECT_EQ(Back().Pixel(5, 5), 0u);
}

TEST_F(PictureCollectionTest, WidePictureLoadsInBlocksOfWholeStrides) {
    TPictureCollectionItem& item = Item(1100, 30, 30, 30);
    Show();
    ASSERT_EQ(item.Surfaces().size(), 3u);
    EXPECT_EQ(item.Surfaces()[0]->Width(), 540);
    EXPECT_EQ(item.Surfaces()[1]->Width(), 540);
    EXPECT_EQ(item.Surfaces()[2]->Width(), 20);
    ASSERT_EQ(item.PatternCount(), 36);
    EXPECT_EQ(item.PatternRect(18), (TRect{0, 0, 30, 30}));
    EXPECT_EQ(item.PatternSurface(18), item.Surfaces()[1].get());
    // Pattern 18 holds picture columns 540..569.
    EXPECT_EQ(item.PatternSurface(18)->Pixel(0, 0), Back().MatchColor(224 | (136 << 16)));
}

TEST_F(PictureCollectionTest, PatternIndicesOutsideTheItemDrawNothing) {
    TPictureCollectionItem& item = Item(60, 30, 30, 30);
    item.Transparent = false;
    Show();
    EXPECT_EQ(item.PatternRect(2), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(item.PatternSurface(-1), nullptr);
    item.Draw(&Back(), 0, 0, -1);
    item.Draw(&Back(), 0, 0, 2);
    EXPECT_EQ(Back().Pixel(15, 15), 0u);
    item.Draw(&Back(), 0, 0, 1);
    EXPECT_EQ(Back().Pixel(15, 15), item.PatternSurface(1)->Pixel(45, 15));
}

TEST_F(PictureCollectionTest, NegativePatternSizeMeansThePicturesSize) {
    TPictureCollectionItem& item = Item(60, 30, -5, 0);
    EXPECT_EQ(item.Width(), 60);
    EXPECT_EQ(item.Height(), 30);
}

TEST_F(PictureCollectionTest, GapCancellingThePatternDoesNotDivideByZero) {
    TPictureCollectionItem& item = Item(60, 30, 30, 30);
    item.SkipWidth = -30;
    Show();
    EXPECT_EQ(item.PatternCount(), 0);
}

TEST_F(PictureCollectionTest, RestoringTwiceKeepsTheSameSurfaces) {
    TPictureCollectionItem& item = Item(1100, 30, 30, 30);
    Show();
    list->Items().BuildAll();
    list->Items().BuildAll();
    EXPECT_EQ(item.Surfaces().size(), 3u);
    EXPECT_EQ(item.PatternCount(), 36);
    EXPECT_EQ(draw->DDraw()->Surfaces().size(), 2u + 3u);
}

TEST_F(PictureCollectionTest, FollowsTheDisplay) {
    TPictureCollectionItem& item = Item(60, 30, 30, 30);
    EXPECT_FALSE(item.Prepared());
    Show();
    EXPECT_TRUE(item.Prepared());
    EXPECT_EQ(item.PatternCount(), 2);
    // A lost display comes back with its pictures loaded again.
    platform.LoseSurfaces();
    draw->Flip();
    EXPECT_EQ(item.PatternCount(), 2);
    EXPECT_FALSE(item.PatternSurface(0)->IsLost());
    draw->Finalize();
    EXPECT_FALSE(item.Prepared());
    EXPECT_EQ(item.PatternCount(), 0);
    EXPECT_EQ(list->Items().DXDraw(), nullptr);
}

TEST_F(PictureCollectionTest, LetsGoOfADisplayThatIsDestroyed) {
    TPictureCollectionItem& item = Item(60, 30, 30, 30);
    Show();
    auto owner = std::make_unique<TForm>(app);
    TDXDraw& other = CreateComponent<TDXDraw>(*owner);
    other.SetParent(owner.get());
    owner->Show();
    list->SetDXDraw(&other);
    EXPECT_TRUE(item.Prepared());
    owner.reset();
    EXPECT_EQ(list->DXDraw(), nullptr);
    EXPECT_FALSE(item.Prepared());
}

TEST_F(PictureCollectionTest, TransparentColourBecomesTheKey) {
    TPictureCollectionItem& item = Item(60, 30, 30, 30);
    item.SetTransparentColor(clBlue);
    Show();
    EXPECT_EQ(item.PatternSurface(0)->KeyColor(), 0x001Fu);
    item.SetTransparentColor(0x0000FF);
    EXPECT_EQ(item.PatternSurface(0)->KeyColor(), 0xF800u);
}

TEST_F(PictureCollectionTest, ItemAtRangeAndAttachErrors) {
    Item(30, 30);
    try {
        list->Items().ItemAt(1);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list->Items().ItemAt(-1), EListError);
    try {
        list->Items().PrepareAll(draw);
        FAIL() << "no error";
    } catch (const EPictureCollectionError& e) {
        EXPECT_STREQ(e.what(), "TPictureCollection cannot be initialized");
    }
    EXPECT_FALSE(list->Items().Initialized());
    // The display it could not attach to is not kept.
    EXPECT_EQ(list->Items().DXDraw(), nullptr);
}

// 1 x 1 patterns of a 4096 x 4096 picture would be 16.7 million patterns: the build is refused
// before any surface is made, with an error naming the item. The limit itself is allowed.
TEST_F(PictureCollectionTest, PatternCountIsBoundedAndTheRefusalNamesTheItem) {
    list->SetName("WorldList");
    Show();
    platform::RgbImage image;
    image.Width = image.Height = 4096;
    image.Pixels.resize(std::size_t{4096} * 4096);
    TPicture huge;
    huge.SetGraphic(std::make_unique<TDIB>(std::move(image)));
    Item(60, 30, 30, 30);
    TPictureCollectionItem& item = list->Items().Add();
    item.SetPicture(huge);
    item.PatternWidth = item.PatternHeight = 1;
    EXPECT_EQ(item.PlannedPatternCount(), 4096 * 4096);
    for (bool systemMemory : {false, true}) {
        item.SystemMemory = systemMemory;
        try {
            item.BuildPatterns();
            FAIL() << "built";
        } catch (const EPictureCollectionError& e) {
            EXPECT_EQ(std::string(e.what()), "WorldList.Items[1] would be cut into 16777216 patterns, more than 65536");
        }
        EXPECT_EQ(item.PatternCount(), 0);
        EXPECT_TRUE(item.Surfaces().empty());
    }

    TPictureCollectionItem& atLimit = Item(256, 256, 1, 1);
    atLimit.BuildPatterns();
    EXPECT_EQ(atLimit.PatternCount(), 65536);
    EXPECT_EQ(atLimit.Surfaces().size(), 1u);
    TPictureCollectionItem& beyond = Item(257, 256, 1, 1);
    beyond.Name = "Beyond";
    EXPECT_THROW(beyond.BuildPatterns(), EPictureCollectionError);
    try {
        beyond.CheckPatternLimit();
    } catch (const EPictureCollectionError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Beyond would be cut into 65792 patterns", 0), 0u);
    }
}

} // namespace
