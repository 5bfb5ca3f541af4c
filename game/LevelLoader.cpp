#include "game/LevelLoader.h"

#include "game/Game.h"
#include "game/LevelFolder.h"
#include "platform/base/Exception.h"
#include "platform/files/RegularFile.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <optional>
#include <utility>

namespace {
constexpr std::size_t kRecordSize = 22 * 16;

LevelFileObserver& Observer() {
    static LevelFileObserver observer;
    return observer;
}
} // namespace

void SetLevelFileObserver(LevelFileObserver observer) {
    Observer() = std::move(observer);
}

std::string LevelFileName(int level) {
    return std::to_string(level) + ".vrk";
}

std::exception_ptr LoadLevelDeferringError(TGame& game, const std::string& fileName) {
    try {
        LoadLevel(game, fileName);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

uint8_t FreeMineSlot(const TGame& game) {
    for (int i = 1; i <= TGame::kMines; ++i) {
        if (game.MineMode[i] == 0) {
            return static_cast<uint8_t>(i);
        }
    }
    return 0;
}

void LoadLevel(TGame& game, const std::string& fileName) {
    // The file is only read, so opening it for reading is enough (a read-only level file loads
    // too). Anything but a regular file under the name (a folder, a FIFO, a device) counts as
    // a file that cannot be opened, and the open never waits.
    const std::string path = LevelFolder::PathOf(fileName);
    std::optional<platform::RegularFile> file = platform::RegularFile::Open(path);
    if (!file) {
        // The observer learns of a missing file too (as one of no bytes), so that a recording
        // made without it is not taken for one made with it.
        if (Observer()) {
            Observer()(fileName, {});
        }
        return;
    }
    uint8_t record[kRecordSize];
    const std::size_t read = file->Read(record, kRecordSize);
    if (Observer()) {
        Observer()(fileName, std::span<const uint8_t>(record, read));
    }
    if (read != kRecordSize) {
        throw EInOutError(100, "Read beyond end of file", path);
    }
    file.reset();
    for (int column = 0; column < 22; ++column) {
        for (int row = 0; row < 16; ++row) {
            game.LevelGrid[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = record[column * 16 + row];
        }
    }

    for (int i = 1; i <= TGame::kMines; ++i) {
        game.MineMode[i] = 0;
        game.Mines[i]->X = -2000;
    }
    for (int column = 0; column < 22; ++column) {
        for (int row = 0; row < 16; ++row) {
            const uint8_t code = record[column * 16 + row];
            game.FieldMap->SetCells(column, row, code == 1 ? 1 : 0);
            if (code >= 2 && code <= 5) {
                // Mine codes beyond the hundredth have no slot and are left out.
                const uint8_t slot = FreeMineSlot(game);
                if (slot != 0) {
                    game.Mines[slot]->X = column * 30;
                    game.Mines[slot]->Y = row * 30;
                    game.MineMode[slot] = static_cast<uint8_t>(code - 1);
                    game.Mines[slot]->Image = &game.FXPicture(0);
                }
            } else if (code == 6) {
                game.ShipSprite->X = column * 30;
                game.ShipSprite->Y = row * 30;
            }
        }
    }
}
