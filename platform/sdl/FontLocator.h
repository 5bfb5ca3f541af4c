#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace platform {

// An installed font file that stands for a requested font, and what the renderer has to make
// up because the file lacks it.
struct FontFile {
    std::string Path;
    int Index = 0; // face within a collection file
    bool SyntheticBold = false;
    bool SyntheticItalic = false;
};

// Finds installed fonts by name through fontconfig, for the face ResolveFontFace makes of the
// name ("System" a bold sans, black or heavy names the heaviest weight); other names get fontconfig's
// best match, which falls back to the default sans. Answers are cached.
class FontLocator {
public:
    FontLocator();
    ~FontLocator();
    FontLocator(const FontLocator&) = delete;
    FontLocator& operator=(const FontLocator&) = delete;

    // Nothing when fontconfig is unusable or knows no scalable font at all.
    std::optional<FontFile> Find(const std::string& name, bool bold, bool italic);

    // One warning line naming those of `families` that no installed font stands for, and the
    // Debian package that provides one; empty when every family is found.
    std::string MissingFontsWarning(const std::vector<std::string>& families);

private:
    struct Config;
    std::unique_ptr<Config> config_;
    std::map<std::tuple<std::string, bool, bool>, std::optional<FontFile>> cache_;
};

} // namespace platform
