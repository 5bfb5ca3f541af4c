// The small pieces of the server: names, rate limits, the web files' paths and encodings, the
// page's escaping.
#include "server/HtmlText.h"
#include "server/PlayerName.h"
#include "server/RateLimiter.h"
#include "server/WebFiles.h"
#include "support/FileText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::optional<std::string> Cleaned(std::string_view given, bool expectTaken = true) {
    std::optional<std::string> name;
    std::string reason;
    EXPECT_EQ(PlayerName::Clean(given, name, reason), expectTaken) << given;
    return name;
}

TEST(PlayerNameTest, IsTrimmedAndCountedInCharacters) {
    EXPECT_EQ(Cleaned("  Аня  "), "Аня");
    EXPECT_EQ(Cleaned("   "), std::nullopt);
    EXPECT_EQ(Cleaned(std::string(24, 'a')), std::string(24, 'a'));
    // 24 Cyrillic letters are 48 bytes and still fit.
    std::string cyrillic;
    for (int i = 0; i < 24; ++i) {
        cyrillic += "ж";
    }
    EXPECT_EQ(Cleaned(cyrillic), cyrillic);
    Cleaned(cyrillic + "ж", false);
}

TEST(PlayerNameTest, RefusesControlsAndBrokenUtf8) {
    Cleaned("a\tb", false);
    Cleaned("a\x7f", false);
    Cleaned("a\xc2\x85", false);    // C1 control NEL
    Cleaned("\xc0\xaf", false);     // overlong '/'
    Cleaned("\xed\xa0\x80", false); // surrogate
    Cleaned("ab\xe2\x82", false);   // cut short
}

TEST(RateLimiterTest, AllowsABurstThenRefillsAtItsRate) {
    RateLimiter limiter(60, 2); // one a second
    const auto start = RateLimiter::Clock::now();
    EXPECT_TRUE(limiter.Allow("a", start));
    EXPECT_TRUE(limiter.Allow("a", start));
    EXPECT_FALSE(limiter.Allow("a", start));
    EXPECT_EQ(limiter.SecondsToWait("a", start), 1);
    EXPECT_TRUE(limiter.Allow("b", start)); // each client has its own bucket
    EXPECT_TRUE(limiter.Allow("a", start + std::chrono::milliseconds(1000)));
    EXPECT_FALSE(limiter.Allow("a", start + std::chrono::milliseconds(1000)));
}

TEST(RateLimiterTest, ForgetsClientsWhoseBucketsAreFullAgain) {
    RateLimiter limiter(60, 2);
    const auto start = RateLimiter::Clock::now() + std::chrono::minutes(5);
    limiter.Allow("a", start);
    limiter.Allow("b", start + std::chrono::minutes(2));
    EXPECT_EQ(limiter.Clients(), 1u);
    RateLimiter off(0, 1);
    for (int i = 0; i < 100; ++i) {
        EXPECT_TRUE(off.Allow("a"));
    }
}

TEST(WebFilesTest, ServesOnlyWhatLiesInsideItsFolder) {
    EXPECT_TRUE(WebFiles::SafePath("/index.html"));
    EXPECT_TRUE(WebFiles::SafePath("/icons/vorkalith-32.png"));
    for (const char* path : {"", "index.html", "/../etc/passwd", "/a/../../b", "/.hidden", "/a//b", "/a\\b", "/a/"}) {
        EXPECT_FALSE(WebFiles::SafePath(path)) << path;
    }
}

TEST(WebFilesTest, SendsTheCompressedCopyTheBrowserTakes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vorkalith-webfiles-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "page.js") << "plain";
    std::ofstream(folder / "page.js.gz") << "gzipped";
    std::ofstream(folder / "page.js.br") << "brotli";
    const WebFiles files(folder.string());
    EXPECT_EQ(files.Find("/page.js", "gzip, deflate, br")->Encoding, "br");
    EXPECT_EQ(files.Find("/page.js", "gzip;q=1.0")->Body, "gzipped");
    EXPECT_EQ(files.Find("/page.js", "")->Body, "plain");
    EXPECT_EQ(files.Find("/page.js", "")->Type, "text/javascript");
    EXPECT_FALSE(files.Find("/page.js.gz", "gzip")); // the copies are no files of the page
    EXPECT_FALSE(files.Find("/missing.js", "gzip"));
    std::filesystem::remove_all(folder);
}

TEST(HtmlTextTest, EscapesEveryCharacterThatEndsTextOrAnAttribute) {
    EXPECT_EQ(EscapeHtml("<a href=\"x\" title='y'>&</a>"),
              "&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;&lt;/a&gt;");
}

} // namespace
