#include "app/edit/DocumentFiles.h"

#include "level/LevelFiles.h"

#include <string_view>

using namespace levels;

LevelPaths PathsFor(const std::string& path) {
    if (IsSourcePath(path)) {
        return {path, path.substr(0, path.size() - 4) + ".vrk"};
    }
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return {(hasExtension ? path.substr(0, dot) : path) + ".txt", path};
}

LevelPaths PackPaths(const std::string& folder, int number) {
    std::string base = folder.empty() ? std::string(".") : folder;
    if (base.back() != '/') {
        base += '/';
    }
    base += std::to_string(number);
    return {base + ".txt", base + ".vrk"};
}

std::vector<std::string> MarkedComments(const std::vector<std::string>& comments,
                                        const std::vector<Problem>& problems) {
    std::vector<std::string> marked;
    if (!problems.empty()) {
        marked.push_back(kFailsCheckMark + problems.front().Text);
    }
    for (const std::string& line : comments) {
        if (!std::string_view(line).starts_with(kFailsCheckMark)) {
            marked.push_back(line);
        }
    }
    return marked;
}

OpenedLevel OpenedFrom(ReadLevel read, const std::string& path, int number) {
    Level inside = read.Cells;
    bool outside = false;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            if ((column >= kFieldColumns || row >= kFieldRows) && inside.At(column, row) != Floor) {
                inside.Set(column, row, Floor);
                outside = true;
            }
        }
    }
    OpenedLevel opened{LevelDocument(read.Cells, std::move(read.Comments), number, path, !read.Notes.empty()),
                       std::move(read.Notes), outside};
    if (outside) {
        opened.Document.ReplaceAll(inside);
    }
    return opened;
}

OpenedLevel OpenLevel(const std::string& path) {
    const int number = LevelNumberOf(path);
    return OpenedFrom(ReadLevelLeniently(path), path, number >= 1 && number <= 24 ? number : 1);
}

bool SaveLevel(const LevelDocument& document, const LevelPaths& paths, std::string& error) {
    const std::vector<std::string> comments = MarkedComments(document.Comments(), CheckLevel(document.Cells()));
    return SaveLevelFile(paths.Source, document.Cells(), comments, error) &&
           SaveLevelFile(paths.File, document.Cells(), {}, error);
}
