#include "settings/SettingsFile.h"

#include "platform/base/ControlEscape.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/WholeFile.h"
#include "platform/files/XdgFolder.h"
#include "settings/KeyNames.h"

#include <toml++/toml.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

namespace {

// Larger settings files are not read.
constexpr std::size_t kMaxBytes = 1u << 20;

class Reader {
public:
    explicit Reader(std::string name) : name_(std::move(name)) {}

    Settings Read(const toml::table& root) {
        Settings settings;
        for (const auto& [key, node] : root) {
            const std::string_view k = key.str();
            if (k == "window") {
                settings.Window = Bool(node, k);
            } else if (k == "integer_scale") {
                settings.IntegerScale = Bool(node, k);
            } else if (k == "pad_dead_zone") {
                settings.PadDeadZone = DeadZone(node);
            } else if (k == "server") {
                settings.Server = Server(node);
            } else if (k == "lang") {
                settings.Lang = Language(node);
            } else if (k == "keys") {
                Keys(node, settings);
            } else {
                Warn(node, "unknown key '" + std::string(k) + "'");
            }
        }
        return settings;
    }

    void Warn(const toml::node& node, const std::string& what) { Warn(node.source().begin.line, what); }
    void Warn(toml::source_index line, const std::string& what) {
        warnings_.emplace_back(line, platform::EscapeControls(name_) + ":" + std::to_string(line) + ": " +
                                         platform::EscapeControls(what) + "; the default is used");
    }

    // The warnings in the order of the file's lines (a table keeps its keys sorted by name).
    void TakeWarnings(std::vector<std::string>& into) {
        std::stable_sort(warnings_.begin(), warnings_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [line, text] : warnings_) {
            into.push_back(std::move(text));
        }
    }

private:
    std::optional<bool> Bool(const toml::node& node, std::string_view key) {
        if (const auto value = node.value_exact<bool>()) {
            return *value;
        }
        Warn(node, "'" + std::string(key) + "' takes true or false");
        return std::nullopt;
    }

    std::optional<double> DeadZone(const toml::node& node) {
        const auto value = node.value<double>();
        if (!value || !(*value >= 0.05 && *value <= 0.95)) {
            Warn(node, "'pad_dead_zone' takes a number from 0.05 to 0.95");
            return std::nullopt;
        }
        return *value;
    }

    std::string Server(const toml::node& node) {
        const auto value = node.value_exact<std::string>();
        if (!value || !(value->starts_with("http://") || value->starts_with("https://")) ||
            value->find_first_of(" \t\r\n") != std::string::npos) {
            Warn(node, "'server' takes an address starting with http:// or https://");
            return {};
        }
        return *value;
    }

    std::string Language(const toml::node& node) {
        const auto value = node.value_exact<std::string>();
        if (!value || value->empty() || value->size() > 32 ||
            value->find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.@") !=
                std::string::npos) {
            Warn(node, "'lang' takes a language name such as \"ru\" or \"en_GB\"");
            return {};
        }
        return *value;
    }

    void Keys(const toml::node& node, Settings& settings) {
        const toml::table* table = node.as_table();
        if (!table) {
            Warn(node, "'keys' takes a table of keys ([keys])");
            return;
        }
        for (const auto& [key, value] : *table) {
            const std::string_view k = key.str();
            std::size_t action = 0;
            while (action < Settings::kActions.size() && Settings::kActions[action].Name != k) {
                ++action;
            }
            if (action == Settings::kActions.size()) {
                Warn(value, "unknown key 'keys." + std::string(k) + "' (left, right, up, down, escape)");
                continue;
            }
            if (auto keys = KeyList(value, k)) {
                settings.Keys[action] = std::move(*keys);
            }
        }
    }

    // The keys of one action: a name or a list of names.
    std::optional<std::vector<int>> KeyList(const toml::node& node, std::string_view action) {
        std::vector<const toml::node*> items;
        if (const toml::array* array = node.as_array()) {
            for (const toml::node& item : *array) {
                items.push_back(&item);
            }
        } else {
            items.push_back(&node);
        }
        std::vector<int> keys;
        for (const toml::node* item : items) {
            const auto name = item->value_exact<std::string>();
            const int key = name ? KeyPositionOfName(*name) : 0;
            if (key == 0) {
                Warn(*item, "'keys." + std::string(action) + "': " +
                                (name ? "no key is named '" + *name + "'" : std::string("a key is named in quotes")));
                return std::nullopt;
            }
            keys.push_back(key);
        }
        return keys;
    }

    std::string name_;
    std::vector<std::pair<toml::source_index, std::string>> warnings_;
};

std::string BaseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::string SettingsFile::DefaultPath() {
    const std::string config = platform::XdgFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? std::string() : config + "/vorkalith/settings.toml";
}

Settings SettingsFile::Parse(const std::string& text, const std::string& name, std::vector<std::string>& warnings) {
    Reader reader(name);
    try {
        const Settings settings = reader.Read(toml::parse(text, name));
        reader.TakeWarnings(warnings);
        return settings;
    } catch (const toml::parse_error& e) {
        warnings.push_back(platform::EscapeControls(name) + ":" + std::to_string(e.source().begin.line) + ": " +
                           platform::EscapeControls(std::string(e.description())) +
                           "; the file is not read, the defaults are used");
        return Settings{};
    }
}

Settings SettingsFile::Read(const std::string& path, std::vector<std::string>& warnings) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) {
        return Settings{};
    }
    std::string error;
    const std::optional<std::string> text = platform::ReadWholeFile(path, kMaxBytes, error);
    if (!text) {
        warnings.push_back(platform::EscapeControls(path) + ": " + error + "; the defaults are used");
        return Settings{};
    }
    return Parse(*text, BaseName(path), warnings);
}

std::optional<std::string> SettingsFile::WithWindowMode(const std::string& text, bool window) {
    toml::table root;
    try {
        root = toml::parse(text);
    } catch (const toml::parse_error&) {
        return std::nullopt;
    }
    const std::string value = window ? "true" : "false";
    const toml::node* node = root.get("window");
    std::istringstream lines(text);
    std::string line;
    std::string out;
    bool done = false;
    for (toml::source_index number = 1; std::getline(lines, line); ++number) {
        const bool last = lines.eof();
        if (!done && node && number == node->source().begin.line) {
            // The value after `window =`, up to a comment or the end of the line.
            static const std::regex kLine(R"(^(\s*(?:window|"window"|'window')\s*=\s*)([^#\s]+|"[^"]*"|'[^']*')(.*)$)");
            std::smatch match;
            if (!std::regex_match(line, match, kLine)) {
                return std::nullopt;
            }
            line = match[1].str() + value + match[3].str();
            done = true;
        } else if (!done && !node && line.find_first_not_of(" \t") != std::string::npos &&
                   line[line.find_first_not_of(" \t")] == '[') {
            // Keys of the root table come before the first table.
            out += "window = " + value + "\n";
            done = true;
        }
        out += line;
        if (!last) {
            out += '\n';
        }
    }
    if (!done && node) {
        return std::nullopt;
    }
    if (!done) {
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        out += "window = " + value + "\n";
    }
    return out;
}

std::string SettingsFile::RememberWindowMode(const std::string& path, bool window) {
    if (path.empty()) {
        return "no settings folder ($XDG_CONFIG_HOME and $HOME are unset)";
    }
    std::error_code ec;
    std::string text;
    if (std::filesystem::exists(path, ec)) {
        std::string error;
        const std::optional<std::string> old = platform::ReadWholeFile(path, kMaxBytes, error);
        if (!old) {
            return platform::EscapeControls(path) + ": " + error;
        }
        text = *old;
    } else {
        text = "# Vorkalith's settings (see the manual page, vorkalith(6))\n";
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    }
    const std::optional<std::string> changed = WithWindowMode(text, window);
    if (!changed) {
        return platform::EscapeControls(path) + ": not valid TOML; the window mode is not remembered";
    }
    if (*changed == text) {
        return {};
    }
    return platform::WriteFileAtomically(path, *changed);
}
