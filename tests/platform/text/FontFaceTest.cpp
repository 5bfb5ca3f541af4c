#include "platform/text/FontFace.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(FontFace, SystemAndNoNameAreABoldSansWhateverIsAsked) {
    for (const char* name : {"System", "system", "SYSTEM", ""}) {
        for (bool bold : {false, true}) {
            const FontFace f = ResolveFontFace(name, bold, false);
            EXPECT_EQ(f.Family, "sans-serif") << name;
            EXPECT_EQ(f.Weight, 700) << name;
            EXPECT_FALSE(f.SansStandIn) << name;
        }
    }
    EXPECT_TRUE(ResolveFontFace("System", false, true).Italic);
}

TEST(FontFace, BlackOrHeavyNamesGetTheHeaviestWeightWithTheSansStandingIn) {
    for (const char* name : {"Arial black", "Arial Black", "SomeFont BLACK", "Heavy Sans", "blackletter"}) {
        const FontFace f = ResolveFontFace(name, false, false);
        EXPECT_EQ(f.Family, name);
        EXPECT_EQ(f.Weight, 900) << name;
        EXPECT_TRUE(f.SansStandIn) << name;
    }
    // Bold asks for less than black: the heavier weight wins.
    EXPECT_EQ(ResolveFontFace("Arial black", true, false).Weight, 900);
}

TEST(FontFace, OtherNamesKeepTheirFamilyWithRegularOrBoldWeight) {
    const FontFace regular = ResolveFontFace("DejaVu Serif", false, true);
    EXPECT_EQ(regular.Family, "DejaVu Serif");
    EXPECT_EQ(regular.Weight, 400);
    EXPECT_TRUE(regular.Italic);
    EXPECT_FALSE(regular.SansStandIn);
    EXPECT_EQ(ResolveFontFace("DejaVu Serif", true, false).Weight, 700);
    EXPECT_EQ(ResolveFontFace("Systematic", false, false).Family, "Systematic");
}
