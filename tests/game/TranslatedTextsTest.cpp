#include "PlayFixture.h"

#include "display/DirectDrawSurfaceCanvas.h"
#include "game/LanguagePictures.h"
#include "platform/base/Translate.h"
#include "platform/files/FormStream.h"

#include <algorithm>
#include <climits>
#include <filesystem>

namespace {

// The game in each language the build has a catalogue for.
class TranslatedTextsTest : public PlayFixture {
protected:
    void TearDown() override { SetLanguage("C"); }

    // The languages translated from the source. The source texts are drawn as the game always drew
    // them (its last end line runs past the screen's edge in the fonts that stand in for Arial
    // Black); a translation must fit.
    static std::vector<std::string> Languages() {
        std::vector<std::string> codes;
        for (const auto& entry : std::filesystem::directory_iterator(VK_BUILD_LOCALE_DIR)) {
            if (entry.path().filename() != "ru") {
                codes.push_back(entry.path().filename().string());
            }
        }
        return codes;
    }

    void StartIn(const std::string& language) {
        SetCatalogueFolder(VK_BUILD_LOCALE_DIR);
        SetLanguage(language);
        ASSERT_EQ(ShownLanguage(), language);
        StartWith(LevelFile());
        // The pointer and the frame rate out of the way of the texts looked at.
        Mouse(platform::Event::Type::MouseMove, 300, 0);
    }

    int Width(int size, const std::string& text) {
        TDirectDrawSurfaceCanvas* canvas = W().TextCanvas(size, "Arial black");
        const int width = canvas->TextWidth(text);
        canvas->Detach();
        return width;
    }

    // The right-most column with a drawn pixel in rows top .. bottom - 1, -1 for none.
    int RightEdge(int top, int bottom) {
        const std::vector<uint32_t> pixels = BackPixels();
        int right = -1;
        for (int y = top; y < bottom; ++y) {
            for (int x = right + 1; x < 640; ++x) {
                if (pixels[static_cast<std::size_t>(y * 640 + x)] != 0) {
                    right = x;
                }
            }
        }
        return right;
    }
};

TEST_F(TranslatedTextsTest, TheOptionsAndEndScreensLinesEndInsideTheScreen) {
    for (const std::string& language : Languages()) {
        StartIn(language);
        for (int screen : {4, 5}) {
            W().GameState = screen;
            RunFrames(1);
            // A line cut off at the screen's edge would light its last columns.
            EXPECT_GT(RightEdge(395, 480), 300) << language << " screen " << screen;
            EXPECT_LT(RightEdge(395, 480), 636) << language << " screen " << screen;
        }
        SetLanguage("C");
    }
}

TEST_F(TranslatedTextsTest, TheScoreAndLevelFitWhereTheyAreDrawn) {
    for (const std::string& language : Languages()) {
        StartIn(language);
        // The score stands 10 pixels a character left of the screen's edge, the widest numbers too.
        for (int score : {0, 7, -3, 123456789, INT_MIN}) {
            const std::string text = Tr("Очки:") + std::to_string(score);
            const auto characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
            EXPECT_LE(Width(10, text), 10 * characters) << language << ": " << text;
        }
        // The level's number is written from x = 245 during a level change.
        EXPECT_LE(245 + Width(15, Tr("Уровень:") + std::string("24")), 640) << language;
        SetLanguage("C");
    }
}

// A language's pictures replace the pictures they name, a language without any keeps the stored
// ones, and a region falls back to its language's.
TEST_F(TranslatedTextsTest, LanguagePicturesReplaceOnlyThePicturesTheyName) {
    Start();
    const TStoredProperties& help = LanguagePictures().Components.at(0).Properties.at(0).Value.Items.at(1);
    TStoredForm pictures;
    pictures.Components.push_back({"TLanguagePictures", "en", {{"Items", TStoredValue::List({help})}}});
    TPictureCollection& items = form->GraphicList->Items();
    const int helpIndex = static_cast<int>(help.at(1).Value.Integer);
    ASSERT_EQ(helpIndex, 6);
    pictures.Components[0].Properties[0].Value.Items[0][1].Value.Integer = 2;

    UseLanguagePictures(*form, "de", pictures);
    EXPECT_EQ(items.ItemAt(2).Picture().Width(), 130);
    UseLanguagePictures(*form, "en_GB.UTF-8", pictures);
    EXPECT_EQ(items.ItemAt(2).Picture().Width(), 640);
    EXPECT_EQ(items.ItemAt(1).Picture().Width(), 130);

    pictures.Components[0].Properties[0].Value.Items[0][1].Value.Integer = 7;
    EXPECT_THROW(UseLanguagePictures(*form, "en", pictures), EReadError);
}

TEST_F(TranslatedTextsTest, EveryLanguagesPicturesAreThoseOfTheStoredFormInSize) {
    Start();
    for (const TStoredComponent& language : LanguagePictures().Components) {
        for (const TStoredProperties& item : language.Properties.at(0).Value.Items) {
            const TPicture& stored =
                form->GraphicList->Items().ItemAt(static_cast<int>(item.at(1).Value.Integer)).Picture();
            TPicture own;
            own.LoadFromStoredData(item.at(2).Value.Bytes.data(), item.at(2).Value.Bytes.size());
            EXPECT_EQ(own.Width(), stored.Width()) << language.Name;
            EXPECT_EQ(own.Height(), stored.Height()) << language.Name;
        }
    }
}

} // namespace
