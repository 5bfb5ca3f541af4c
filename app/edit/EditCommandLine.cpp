#include "app/edit/EditCommandLine.h"

#include "app/edit/ShownText.h"
#include "game/LevelFolder.h"
#include "game/LevelLoader.h"
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"
#include "platform/base/Translate.h"

#include <ostream>
#include <sys/stat.h>

using namespace levels;

bool EditCommandLine::Parse(const std::vector<std::string>& arguments, std::string& error) {
    *this = EditCommandLine{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                error = Fill(Tr("option '{}' needs a value"), {arg});
                return false;
            }
            into = arguments[++i];
            return true;
        };
        if (arg == "-h" || arg == "--help") {
            Help = true;
        } else if (arg == "--version") {
            Version = true;
        } else if (arg == "--window") {
            Window = true;
        } else if (arg == "--integer-scale") {
            IntegerScale = true;
        } else if (arg == "--force") {
            Force = true;
        } else if (arg == "--levels") {
            if (!value(LevelsDir)) {
                return false;
            }
        } else if (arg == "--lang") {
            if (!value(Language)) {
                return false;
            }
        } else if (arg == "--record") {
            if (!value(RecordFile)) {
                return false;
            }
        } else if (arg == "--convert") {
            if (!value(ConvertIn) || !value(ConvertOut)) {
                error = Tr("option '--convert' needs two files");
                return false;
            }
        } else if (arg.size() > 1 && arg.front() == '-') {
            error = Fill(Tr("unknown option '{}'"), {arg});
            return false;
        } else if (Target.empty()) {
            Target = arg;
        } else {
            error = Fill(Tr("unexpected argument '{}'"), {arg});
            return false;
        }
    }
    if (!ConvertIn.empty() && !Target.empty()) {
        error = Tr("--convert takes no other file");
        return false;
    }
    return true;
}

std::string EditCommandLine::Usage() {
    return Tr("usage: vorkalith-edit [OPTION]... [FILE|N]\n"
              "       vorkalith-edit --convert IN OUT [--force]\n"
              "Makes, checks and play-tests a level of Vorkalith in the game's own look.\n"
              "\n"
              "FILE is a level source (*.txt) or a level file (*.vrk); N (1 to 24) a level of the installed\n"
              "set. Without either, a new level.\n"
              "\n"
              "      --window         start in a resizable window instead of full screen\n"
              "      --integer-scale  scale the picture by whole numbers only\n"
              "      --levels DIR     look a level number up in DIR\n"
              "      --record FILE    record each play-test into FILE (vorkalith --playback plays it)\n"
              "      --convert IN OUT write the level IN as OUT (source or level file, by extension)\n"
              "      --force          with --convert: write a level that fails the check\n"
              "      --lang CODE      show the texts in language CODE (en, ru)\n"
              "  -h, --help           print this help and exit\n"
              "      --version        print the version and exit\n"
              "\n"
              "Keys: F1 lists them in the editor. F5 play-tests the level, Esc comes back.\n"
              "The texts are shown in the language of LANGUAGE, LC_ALL, LC_MESSAGES or LANG (--lang overrides it);\n"
              "the editor's own language is Russian.\n");
}

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// 1 to 24 in decimal digits; 0 for anything else.
int LevelNumber(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const int n = std::stoi(text);
    return n >= 1 && n <= 24 ? n : 0;
}

} // namespace

OpenedLevel OpenTarget(const std::string& target, const std::string& levelsDir) {
    if (target.empty()) {
        return OpenedLevel{LevelDocument(), {}, false};
    }
    if (const int number = LevelNumber(target); number > 0 && !Exists(target)) {
        const LevelFolder::Choice choice =
            LevelFolder::Find(LevelFolder::FromEnvironment(levelsDir), LevelFolder::KindOf, LevelFileName(number));
        if (!choice.Refusal.empty()) {
            throw std::runtime_error(choice.Refusal);
        }
        std::string folder = choice.Folder.empty() ? "." : choice.Folder;
        ReadLevel read = ReadLevelLeniently(folder + "/" + LevelFileName(number));
        // The installed set is not written over: the copy is saved with Save As.
        return OpenedFrom(std::move(read), "", number);
    }
    if (!Exists(target)) {
        const int number = LevelNumberOf(target);
        return OpenedLevel{
            LevelDocument(LevelDocument::NewCells(), {}, number >= 1 && number <= 24 ? number : 1, target, false),
            {},
            false};
    }
    return OpenLevel(target);
}

int ConvertLevel(const std::string& in, const std::string& out, bool force, std::ostream& err) {
    Level level;
    std::vector<std::string> comments;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(in);
        level = IsSourcePath(in)
                    ? Level::FromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                      &comments)
                    : Level::FromBytes(bytes);
    } catch (const std::exception& e) {
        const std::string what = e.what();
        err << "vorkalith-edit: " << ForTerminal(what.starts_with(in) ? what : in + ": " + what) << '\n';
        return 1;
    }
    const std::vector<Problem> problems = CheckLevel(level);
    for (const Problem& p : problems) {
        err << "vorkalith-edit: " << ForTerminal(in) << ": " << TranslatedText(p) << '\n';
    }
    if (!problems.empty() && !force) {
        err << "vorkalith-edit: " << Fill(Tr("{} not written (--force writes it all the same)"), {ForTerminal(out)})
            << '\n';
        return 1;
    }
    std::string error;
    if (!SaveLevelFile(out, level, MarkedComments(comments, problems), error)) {
        err << "vorkalith-edit: " << ForTerminal(error) << '\n';
        return 1;
    }
    return 0;
}
