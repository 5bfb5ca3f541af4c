#pragma once

#include <string>
#include <utility>
#include <vector>

// The texts the program shows or prints are written in Russian, the game's own language, and
// marked for translation with Tr (or N_ where only a constant expression will do, translated
// later with Tr); the build collects every marked text into the translators' catalogue.
//
// Until a program chooses a language, Tr shows every text as it is written. Each program calls
// UseUserLanguage once at its start, before it prints or draws anything; a --lang option or the
// settings file then overrides that choice with SetLanguage, before the main form is made (its
// pictures with words are chosen for the language when it is made).

// `source` in the chosen language, or `source` itself when there is no translation.
const char* Tr(const char* source);

// Marks a text for translation without translating it (for tables of constants).
#define N_(source) source

// The language the user chose, as gettext reads it: LANGUAGE (a list such as "de:en", tried in
// order), else the first of LC_ALL, LC_MESSAGES and LANG that is set. Unlike plain gettext,
// LANGUAGE counts even where the locale is unset or "C"; "C" and "POSIX" alone mean the source.
// Only the texts follow the user's locale: numbers, dates and character classes never do.
void UseUserLanguage();

// Shows the texts in `code` ("en", "en_GB", "ru"; a colon-separated list is tried in order);
// "C" or "POSIX" shows the source texts and an empty code goes back to the user's choice. A
// language without a catalogue shows the source texts. Programs started from this one inherit
// the choice.
void SetLanguage(const std::string& code);

// The code of the language the texts are shown in ("en"), as its catalogue names itself; "ru"
// for the source texts.
std::string ShownLanguage();

// Reads the catalogues from `folder` (CODE/LC_MESSAGES/vorkalith.mo below it) instead of the
// folder installed next to the program (the tests read the build tree's).
void SetCatalogueFolder(const std::string& folder);

// Where there is no gettext (the page), the translations of language `code` as pairs of source
// text and translation, handed over by the program; they replace any given before.
void SetTranslations(const std::string& code, std::vector<std::pair<std::string, std::string>> pairs);

// Parses a program's `arguments` into `options` (a command line with Parse and a Language field);
// when they name a language, it is chosen and the arguments read again, so that what the parse
// says is in that language too. False with the reason in `error`, as Parse gives it.
template <class Options>
bool ParseInTheirLanguage(Options& options, const std::vector<std::string>& arguments, std::string& error) {
    bool parsed = options.Parse(arguments, error);
    if (!options.Language.empty()) {
        SetLanguage(options.Language);
        parsed = options.Parse(arguments, error);
    }
    return parsed;
}
