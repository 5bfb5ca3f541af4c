#include "settings/SettingsFile.h"

#include "game/ScratchFolder.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

namespace {

Settings Parse(const std::string& text, std::vector<std::string>& warnings) {
    return SettingsFile::Parse(text, "settings.toml", warnings);
}

TEST(SettingsFileTest, ReadsEveryKey) {
    std::vector<std::string> warnings;
    const Settings s = Parse("window = true\ninteger_scale = false\npad_dead_zone = 0.3\n"
                             "server = \"https://scores.example\"\nlang = \"en_GB\"\n"
                             "[keys]\nleft = [\"a\", \"left\"]\nescape = \"q\"\nup = [\"KeyW\", \"kp8\"]\n",
                             warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(s.Window, true);
    EXPECT_EQ(s.IntegerScale, false);
    EXPECT_EQ(s.PadDeadZone, 0.3);
    EXPECT_EQ(s.Server, "https://scores.example");
    EXPECT_EQ(s.Lang, "en_GB");
    EXPECT_EQ(s.Keys[0], (std::vector<int>{30, 203}));
    EXPECT_EQ(s.Keys[4], (std::vector<int>{16}));
    EXPECT_EQ(s.Keys[2], (std::vector<int>{17, 72}));
    EXPECT_FALSE(s.Keys[1]);
}

TEST(SettingsFileTest, EachUnusableLineIsNamedAndItsDefaultKept) {
    std::vector<std::string> warnings;
    const Settings s = Parse("# mine\nwindwo = true\nwindow = \"yes\"\npad_dead_zone = 2\nserver = \"ftp://x\"\n"
                             "lang = \"../../etc\"\n[keys]\nleft = [\"a\", \"lefft\"]\njump = [\"space\"]\n",
                             warnings);
    const std::vector<std::string> expected = {
        "settings.toml:2: unknown key 'windwo'; the default is used",
        "settings.toml:3: 'window' takes true or false; the default is used",
        "settings.toml:4: 'pad_dead_zone' takes a number from 0.05 to 0.95; the default is used",
        "settings.toml:5: 'server' takes an address starting with http:// or https://; the default is used",
        "settings.toml:6: 'lang' takes a language name such as \"ru\" or \"en_GB\"; the default is used",
        "settings.toml:8: 'keys.left': no key is named 'lefft'; the default is used",
        "settings.toml:9: unknown key 'keys.jump' (left, right, up, down, escape); the default is used",
    };
    EXPECT_EQ(warnings, expected);
    EXPECT_FALSE(s.Window);
    EXPECT_FALSE(s.Keys[0]);
    EXPECT_EQ(s.Server, "");
}

TEST(SettingsFileTest, AFileThatIsNotTomlGivesTheDefaultsWithItsLine) {
    std::vector<std::string> warnings;
    const Settings s = Parse("window = true\n[keys\n", warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("settings.toml:2: ", 0), 0u) << warnings[0];
    EXPECT_FALSE(s.Window);
}

TEST(SettingsFileTest, TheWindowModeChangesItsValueAloneAndKeepsEverythingElse) {
    const std::string text = "# my settings\nwindow = false   # at start\nfuture_key = 3\n[keys]\nleft = \"a\"\n";
    EXPECT_EQ(SettingsFile::WithWindowMode(text, true),
              "# my settings\nwindow = true   # at start\nfuture_key = 3\n[keys]\nleft = \"a\"\n");
    EXPECT_EQ(SettingsFile::WithWindowMode("# only\n[keys]\nup = \"w\"", false),
              "# only\nwindow = false\n[keys]\nup = \"w\"");
    EXPECT_EQ(SettingsFile::WithWindowMode("lang = \"ru\"", true), "lang = \"ru\"\nwindow = true\n");
    EXPECT_EQ(SettingsFile::WithWindowMode("window = \n", true), std::nullopt);
}

TEST(SettingsFileTest, RememberingTheWindowModeMakesTheFileOrReplacesItWhole) {
    ScratchFolder scratch;
    const std::string path = (scratch.Path() / "config/vorkalith/settings.toml").string();
    EXPECT_EQ(SettingsFile::RememberWindowMode(path, true), "");
    std::vector<std::string> warnings;
    EXPECT_EQ(SettingsFile::Read(path, warnings).Window, true);
    EXPECT_EQ(SettingsFile::RememberWindowMode(path, false), "");
    EXPECT_EQ(SettingsFile::Read(path, warnings).Window, false);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    // A file that is not TOML is left as it is.
    scratch.Write("config/vorkalith/settings.toml", "window = [\n");
    EXPECT_NE(SettingsFile::RememberWindowMode(path, true), "");
    EXPECT_EQ(ReadAll(path), "window = [\n");
}

} // namespace
