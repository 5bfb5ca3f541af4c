#include "app/edit/Autosave.h"

#include "platform/files/AtomicFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The document's base name without its extension, with anything but letters, digits, '-', '_'
// and '.' replaced, so that any file name makes a plain name in the state folder.
std::string NameFor(const std::string& documentPath) {
    if (documentPath.empty()) {
        return "new";
    }
    std::string name = std::filesystem::path(documentPath).stem().string();
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.';
        c = plain ? c : '_';
    }
    return name.empty() ? "level" : name;
}

} // namespace

Autosave::Autosave(std::string stateFolder, const std::string& documentPath) : folder_(std::move(stateFolder)) {
    if (!folder_.empty()) {
        path_ = folder_ + "/autosave-" + NameFor(documentPath) + ".txt";
    }
}

std::string Autosave::DefaultStateFolder() {
    std::string state = Environment("XDG_STATE_HOME");
    if (state.empty() || state.front() != '/') {
        const std::string home = Environment("HOME");
        if (home.empty()) {
            return {};
        }
        state = home + "/.local/state";
    }
    return state + "/vorkalith";
}

std::optional<levels::ReadLevel> Autosave::Read() const {
    if (path_.empty()) {
        return std::nullopt;
    }
    try {
        return levels::ReadLevelLeniently(path_);
    } catch (const levels::LevelError&) {
        return std::nullopt;
    }
}

bool Autosave::Write(const LevelDocument& document, std::string& error) const {
    if (path_.empty()) {
        error = "no state folder ($XDG_STATE_HOME and $HOME are unset)";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    error = platform::WriteFileAtomically(path_, document.Cells().ToText(document.Comments()));
    return error.empty();
}

void Autosave::Remove() const {
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
}
