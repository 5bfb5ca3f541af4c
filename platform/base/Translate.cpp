#include "platform/base/Translate.h"

#include "platform/base/ProgramFolder.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#ifndef __EMSCRIPTEN__
#include <libintl.h>
#endif

#ifndef VK_LOCALE_FROM_PROGRAM
#define VK_LOCALE_FROM_PROGRAM "../share/locale"
#endif

namespace {

// TRANSLATORS: the code of your language ("en", "de"): it chooses the game's pictures with words.
constexpr const char* kLanguageCode = N_("ru");

// Translations handed over by the program, used in place of gettext when given.
struct Table {
    std::string Code;
    std::unordered_map<std::string, std::string> Texts;
};

Table& Given() {
    static Table table;
    return table;
}

#ifndef __EMSCRIPTEN__
constexpr const char* kDomain = "vorkalith";

bool IsSource(const std::string& code) {
    return code == "C" || code == "POSIX" || code.starts_with("C.");
}

std::string& CatalogueFolder() {
    static std::string folder = [] {
        const std::string program = platform::ProgramFolder();
        return program.empty() ? std::string(VK_LOCALE_FROM_PROGRAM) : program + "/" + VK_LOCALE_FROM_PROGRAM;
    }();
    return folder;
}

void Bind() {
    bindtextdomain(kDomain, CatalogueFolder().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    // gettext keeps the texts it has looked up; a new textdomain call makes it look again.
    textdomain(textdomain(nullptr));
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The languages the environment asked for when the program started, before any choice of the
// program's own replaced LANGUAGE.
const std::string& UserLanguages() {
    static const std::string languages = [] {
        std::string list = Environment("LANGUAGE");
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            if (list.empty()) {
                list = Environment(name);
            }
        }
        return list;
    }();
    return languages;
}

// gettext chooses from the messages locale, which must be installed, and ignores LANGUAGE while
// that locale is "C". So the messages run under C.UTF-8, which every glibc has, and the
// languages reach gettext through LANGUAGE; the source texts run under "C", where gettext
// translates nothing.
void Apply(const std::string& languages) {
    // Read before LANGUAGE is replaced below.
    UserLanguages();
    if (languages.empty() || IsSource(languages)) {
        std::setlocale(LC_MESSAGES, "C");
        setenv("LANGUAGE", "C", 1);
    } else {
        if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) {
            std::setlocale(LC_MESSAGES, "");
        }
        setenv("LANGUAGE", languages.c_str(), 1);
    }
    Bind();
}
#endif

} // namespace

const char* Tr(const char* source) {
    // The empty text's entry in a catalogue is its header, never a translation.
    if (source == nullptr || *source == '\0') {
        return source;
    }
    const Table& given = Given();
    if (!given.Code.empty()) {
        const auto found = given.Texts.find(source);
        return found != given.Texts.end() ? found->second.c_str() : source;
    }
#ifdef __EMSCRIPTEN__
    return source;
#else
    return dgettext(kDomain, source);
#endif
}

void UseUserLanguage() {
#ifndef __EMSCRIPTEN__
    Apply(UserLanguages());
#endif
}

void SetLanguage(const std::string& code) {
#ifdef __EMSCRIPTEN__
    // The page chooses the language and hands its translations over.
    (void)code;
#else
    Apply(code.empty() ? UserLanguages() : code);
#endif
}

std::string ShownLanguage() {
    return Tr(kLanguageCode);
}

void SetCatalogueFolder(const std::string& folder) {
#ifdef __EMSCRIPTEN__
    (void)folder;
#else
    CatalogueFolder() = folder;
    Bind();
#endif
}

void SetTranslations(const std::string& code, std::vector<std::pair<std::string, std::string>> pairs) {
    Table& given = Given();
    given.Code = code;
    given.Texts.clear();
    for (auto& [source, text] : pairs) {
        given.Texts[std::move(source)] = std::move(text);
    }
}
