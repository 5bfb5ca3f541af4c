#pragma once

#include "app/edit/LevelDocument.h"
#include "level/LevelReader.h"

#include <optional>
#include <string>

// The copy of a document with unsaved changes, kept in the editor's state folder until the
// document is saved: autosave-NAME.txt, NAME from the document's file (autosave-new.txt for a new level).
class Autosave {
public:
    Autosave(std::string stateFolder, const std::string& documentPath);

    // $XDG_STATE_HOME/vorkalith, or ~/.local/state/vorkalith when it is unset, empty or relative;
    // empty when neither is known.
    static std::string DefaultStateFolder();

    const std::string& Path() const { return path_; }
    // The copy left by an earlier session, when there is one that can be read.
    std::optional<levels::ReadLevel> Read() const;
    // Replaces the copy with the document (the state folder is made when missing); false with
    // the reason in `error` when it cannot be written.
    bool Write(const LevelDocument& document, std::string& error) const;
    // The document was saved: the copy goes.
    void Remove() const;

private:
    std::string folder_;
    std::string path_;
};
