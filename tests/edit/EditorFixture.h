#pragma once

#include "app/edit/DocumentFiles.h"
#include "app/edit/EditorSession.h"
#include "app/edit/KeyEdges.h"
#include "app/edit/LevelDocument.h"
#include "game/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

// The editor on the headless platform, in a scratch folder (its state folder inside), driven by
// injected mouse events and keys, one pass of its loop per frame.
class EditorFixture : public ::testing::Test {
protected:
    EditorFixture() { platform.EchoErrors = false; }

    void Open(OpenedLevel opened, const std::string& recordFile = {}) {
        session = std::make_unique<EditorSession>(
            platform, std::move(opened), EditorSession::Options{StateFolder(), folder.Path().string(), recordFile});
        Frames(2);
    }
    void OpenCells(const levels::Level& cells, int number = 1, const std::string& recordFile = {}) {
        Open(OpenedFrom(levels::ReadLevel{cells, {}, {}}, "", number), recordFile);
    }
    std::string StateFolder() const { return (folder.Path() / "state").string(); }

    // Runs passes; false once the editor has ended.
    bool Frames(int count) {
        bool more = true;
        for (int i = 0; i < count && more; ++i) {
            more = session->Pass();
        }
        return more;
    }
    // A key pressed for one frame and let go for the next, with the modifiers held throughout.
    void Press(int code, std::initializer_list<int> modifiers = {}) {
        for (int m : modifiers) {
            platform.PressKey(m);
        }
        platform.PressKey(code);
        Frames(1);
        platform.ReleaseKey(code);
        for (int m : modifiers) {
            platform.ReleaseKey(m);
        }
        Frames(1);
    }
    void Mouse(platform::Event::Type kind, int x, int y, int button = 1) {
        platform.PushEvent(platform::Event{kind, x, y, button});
        Frames(1);
    }
    // A drag between the middles of two cells with a button (1 left, 3 right), the modifiers held.
    void Drag(Cell from, Cell to, int button = 1, std::initializer_list<int> modifiers = {}) {
        using Type = platform::Event::Type;
        for (int m : modifiers) {
            platform.PressKey(m);
        }
        Mouse(Type::MouseMove, from.first * 30 + 15, from.second * 30 + 15);
        Mouse(Type::MouseDown, from.first * 30 + 15, from.second * 30 + 15, button);
        Mouse(Type::MouseMove, to.first * 30 + 15, to.second * 30 + 15);
        Mouse(Type::MouseUp, to.first * 30 + 15, to.second * 30 + 15, button);
        for (int m : modifiers) {
            platform.ReleaseKey(m);
        }
    }
    void Click(Cell cell, int button = 1) { Drag(cell, cell, button); }

    Editor& E() { return session->GetEditor(); }
    const levels::Level& Cells() { return E().Document().Cells(); }
    uint8_t At(int column, int row) { return E().Document().At(column, row); }

    ScratchFolder folder;
    platform::HeadlessPlatform platform;
    std::unique_ptr<EditorSession> session;
};
