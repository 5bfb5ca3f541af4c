#pragma once

#include <optional>
#include <string>
#include <string_view>

// The web build's files served from their folder as a web server would: a file the browser may
// take compressed goes as the brotli or gzip copy the build wrote beside it (FILE.br, FILE.gz),
// the program as application/wasm. Only files inside the folder are served: a path with a part
// starting with a dot (.., hidden files) or a backslash is refused.
class WebFiles {
public:
    struct File {
        std::string Body;
        std::string Type;
        std::string Encoding; // "br", "gzip", or empty for the file as it is
    };

    explicit WebFiles(std::string folder) : folder_(std::move(folder)) {}

    // The file for the request's path ("/index.html"), `acceptEncoding` the request's
    // Accept-Encoding header; nothing when there is none or it may not be served.
    std::optional<File> Find(std::string_view path, std::string_view acceptEncoding) const;
    // A path that names only what may be served.
    static bool SafePath(std::string_view path);

private:
    std::string folder_;
};
