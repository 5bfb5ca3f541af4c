#pragma once

#include "level/Level.h"

#include <string_view>

namespace levels {

// Walks the lines of a level source: `each(lineNumber, line, last)` for a line of cells and
// `comment(line)` for a comment line. A line ends at LF or CR LF; line numbers count every line
// from 1, comments too, as an editor shows them; `last` marks the text's last line.
template <class Each, class Comment> void ForEachSourceLine(std::string_view text, Each each, Comment comment) {
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = end + 1;
        if (!line.empty() && line.front() == kCommentMark) {
            comment(line);
            continue;
        }
        each(lineNumber, line, start >= text.size());
    }
}

} // namespace levels
