#include "server/WebFiles.h"

#include "platform/files/RegularFile.h"

#include <array>
#include <utility>

namespace {

// The largest file served (the program is some megabytes).
constexpr std::size_t kMaxFileBytes = 64u << 20;

struct Kind {
    const char* Extension;
    const char* Type;
    bool Compressed; // the build writes .br and .gz copies
};

constexpr std::array kKinds{
    Kind{".html", "text/html; charset=utf-8", true},
    Kind{".js", "text/javascript", true},
    Kind{".mjs", "text/javascript", true},
    Kind{".wasm", "application/wasm", true},
    Kind{".json", "application/json", true},
    Kind{".webmanifest", "application/manifest+json", true},
    Kind{".vkl", "application/octet-stream", true},
    Kind{".css", "text/css", false},
    Kind{".png", "image/png", false},
    Kind{".svg", "image/svg+xml", false},
    Kind{".ico", "image/x-icon", false},
};

const Kind* KindOf(std::string_view path) {
    for (const Kind& kind : kKinds) {
        if (path.ends_with(kind.Extension)) {
            return &kind;
        }
    }
    return nullptr;
}

// Whether the Accept-Encoding header names `coding` (parameters such as ;q= are not weighed).
bool Accepts(std::string_view header, std::string_view coding) {
    std::size_t start = 0;
    while (start <= header.size()) {
        std::size_t end = header.find(',', start);
        if (end == std::string_view::npos) {
            end = header.size();
        }
        std::string_view item = header.substr(start, end - start);
        item = item.substr(0, item.find(';'));
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        while (!item.empty() && item.back() == ' ') {
            item.remove_suffix(1);
        }
        if (item == coding) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<std::string> Read(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = platform::RegularFile::ReadAll(path, kMaxFileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

} // namespace

bool WebFiles::SafePath(std::string_view path) {
    if (!path.starts_with('/') || path.find('\\') != std::string_view::npos ||
        path.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part.front() == '.') {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::optional<WebFiles::File> WebFiles::Find(std::string_view path, std::string_view acceptEncoding) const {
    if (folder_.empty() || !SafePath(path)) {
        return std::nullopt;
    }
    const Kind* kind = KindOf(path);
    if (!kind) {
        return std::nullopt;
    }
    const std::string file = folder_ + std::string(path);
    if (kind->Compressed) {
        for (const auto& [coding, suffix] : {std::pair{"br", ".br"}, std::pair{"gzip", ".gz"}}) {
            if (Accepts(acceptEncoding, coding)) {
                if (std::optional<std::string> body = Read(file + suffix)) {
                    return File{std::move(*body), kind->Type, coding};
                }
            }
        }
    }
    std::optional<std::string> body = Read(file);
    if (!body) {
        return std::nullopt;
    }
    return File{std::move(*body), kind->Type, ""};
}
