#include "platform/base/Translate.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class TranslateTest : public ::testing::Test {
protected:
    void TearDown() override { SetTranslations("", {}); }
};

TEST_F(TranslateTest, TranslationsHandedOverReplaceTheirTextsAndNameTheLanguage) {
    EXPECT_EQ(ShownLanguage(), "ru");
    SetTranslations("en", {{"Очки:", "Score:"}, {"ru", "en"}});
    EXPECT_STREQ(Tr("Очки:"), "Score:");
    EXPECT_STREQ(Tr("Уровень:"), "Уровень:");
    EXPECT_EQ(ShownLanguage(), "en");
    SetTranslations("", {});
    EXPECT_STREQ(Tr("Очки:"), "Очки:");
}

// A catalogue's entry for the empty text is its header, which no text may show.
TEST_F(TranslateTest, TheEmptyTextStaysEmpty) {
    SetTranslations("en", {{"", "Project-Id-Version: vorkalith"}});
    EXPECT_STREQ(Tr(""), "");
    SetLanguage("en");
    EXPECT_STREQ(Tr(""), "");
    SetLanguage("C");
}

} // namespace
