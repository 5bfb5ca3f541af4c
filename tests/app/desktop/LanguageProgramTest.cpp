#include "app/ProgramFixture.h"

#include <regex>

namespace {

class LanguageProgramTest : public ProgramFixture {};

// The menu's last item is named in --help, in the language of the texts.
TEST_F(LanguageProgramTest, HelpIsInTheLanguageTheEnvironmentOrLangAsksFor) {
    struct Case {
        std::string Name;
        Environment Set;
        std::vector<std::string> Options;
        std::string Word;
    };
    const Case cases[] = {
        {"language-no-lang", {{"LANGUAGE", "en"}}, {}, "(\"Exit\")"},
        {"language-lang-c", {{"LANGUAGE", "en"}, {"LANG", "C"}}, {}, "(\"Exit\")"},
        {"language-list", {{"LANGUAGE", "de:en"}}, {}, "(\"Exit\")"},
        {"locale-not-installed", {{"LANG", "en_GB.UTF-8"}}, {}, "(\"Exit\")"},
        {"lc-all-over-lang", {{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ru_RU.UTF-8"}}, {}, "(\"Exit\")"},
        {"lang-c", {{"LANG", "C"}}, {}, "(\"Выход\")"},
        {"nothing-set", {}, {}, "(\"Выход\")"},
        {"no-catalogue", {{"LANGUAGE", "de"}}, {}, "(\"Выход\")"},
        {"russian", {{"LANGUAGE", "ru"}}, {}, "(«Выход»)"},
        {"option", {{"LANG", "C"}}, {"--lang", "en"}, "(\"Exit\")"},
        {"option-over-environment", {{"LANGUAGE", "en"}}, {"--lang=C"}, "(\"Выход\")"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {kGame};
        arguments.insert(arguments.end(), c.Options.begin(), c.Options.end());
        arguments.push_back("--help");
        EXPECT_EQ(ExitCode(Run(c.Name, arguments, RLIM_INFINITY, Languages(c.Set))), 0) << c.Name;
        EXPECT_NE(Out(c.Name).find(c.Word), std::string::npos) << c.Name << ":\n" << Out(c.Name);
    }
    // A usage error is told in the language --lang names, wherever --lang stands.
    EXPECT_EQ(ExitCode(Run("bad", {kGame, "--bogus", "--lang", "en"}, RLIM_INFINITY, Languages({}))), 2);
    EXPECT_NE(Err("bad").find("unknown option '--bogus'"), std::string::npos) << Err("bad");
}

// Only the texts follow the user's locale: a state line in an English and a Russian environment,
// Russian numbers (a decimal comma) included, is the same but for the score's text and the screen.
TEST_F(LanguageProgramTest, StateLinesAreTheSameInEveryLocaleButForTheirTexts) {
    Write("play.sim", "mouse 320 240\nframes 10\nbutton down\nframes 1\nbutton up\nframes 300\nstate\n");
    const Environment russianNumbers = {{"LOCPATH", VK_LOCALES_DIR}, {"LC_ALL", "ru_RU.UTF-8"}};
    Environment english = Languages(russianNumbers), russian = Languages(russianNumbers);
    english.emplace_back("LANGUAGE", "en");
    russian.emplace_back("LANGUAGE", "ru");
    ASSERT_EQ(ExitCode(Run("source", {kSim, File("play.sim")}, RLIM_INFINITY, Languages({{"LANG", "C"}}))), 0)
        << Err("source");
    ASSERT_EQ(ExitCode(Run("russian", {kSim, File("play.sim")}, RLIM_INFINITY, russian)), 0) << Err("russian");
    ASSERT_EQ(ExitCode(Run("english", {kSim, File("play.sim")}, RLIM_INFINITY, english)), 0) << Err("english");

    const std::string source = Out("source");
    ASSERT_NE(source.find("\"Speed\":"), std::string::npos) << source;
    ASSERT_NE(source.find("\"ScoreText\":\"Очки:"), std::string::npos) << source;
    EXPECT_EQ(Out("russian"), source);
    const std::string translated = Out("english");
    EXPECT_NE(translated.find("\"ScoreText\":\"Score:"), std::string::npos) << translated;
    const std::regex texts("\"(ScoreText|ScreenHash)\":\"[^\"]*\"");
    EXPECT_EQ(std::regex_replace(translated, texts, ""), std::regex_replace(source, texts, ""));
}

} // namespace
