#include "demo/StateJson.h"

#include "demo/DemoText.h"
#include "demo/JsonText.h"
#include "display/DXImageList.h"
#include "display/DXTimer.h"
#include "game/MainForm.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

namespace {

using jsontext::Number;
using jsontext::Object;

std::string Pair(double x, double y) {
    std::string text = "[";
    text.append(Number(x)).append(",").append(Number(y)).append("]");
    return text;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    out.append(text).append("\"");
    return out;
}

std::string Position(const TSprite* sprite) {
    return sprite ? Pair(sprite->X, sprite->Y) : "null";
}

template <class Array> std::string List(const Array& values, int first, int last) {
    std::string text = "[";
    for (int i = first; i <= last; ++i) {
        text += i > first ? "," : "";
        text += std::to_string(values[static_cast<std::size_t>(i)]);
    }
    return text + "]";
}

template <class Sprites> std::string Positions(const Sprites& sprites, int first, int last) {
    std::string text = "[";
    for (int i = first; i <= last; ++i) {
        text += i > first ? "," : "";
        text += Position(sprites[static_cast<std::size_t>(i)]);
    }
    return text + "]";
}

std::string Booleans(const std::array<uint8_t, TGame::kPulsingOrbs + 1>& values) {
    std::string text = "[";
    for (int i = 1; i <= TGame::kPulsingOrbs; ++i) {
        text += i > 1 ? "," : "";
        text += values[static_cast<std::size_t>(i)] != 0 ? "true" : "false";
    }
    return text + "]";
}

std::string MineList(const TGame& game) {
    std::string text = "[";
    for (int i = 1; i <= TGame::kMines; ++i) {
        const TSprite* mine = game.Mines[static_cast<std::size_t>(i)];
        text += i > 1 ? "," : "";
        text += mine ? Pair(mine->X, mine->Y) : std::string("[null,null]");
        // The pair's closing bracket gives way to the mode.
        text.pop_back();
        text.append(",").append(std::to_string(game.MineMode[static_cast<std::size_t>(i)])).append("]");
    }
    return text + "]";
}

// The index in the world image list of the tile picture the field shows; -1 for none.
int TileIndex(const TForm1& form, const TBackgroundSprite& field) {
    if (!form.WorldList) {
        return -1;
    }
    for (int32_t i = 0; i < form.WorldList->Items().Count(); ++i) {
        if (&form.WorldList->Items().ItemAt(i) == field.Image) {
            return i;
        }
    }
    return -1;
}

std::string FieldMapObject(const TForm1& form) {
    const TBackgroundSprite* field = form.World.FieldMap;
    if (!field) {
        return "null";
    }
    std::string cells = "[";
    for (int row = 0; row < 15; ++row) {
        std::string line(21, '.');
        for (int column = 0; column < 21; ++column) {
            if (field->Cells(column, row) == 1) {
                line[static_cast<std::size_t>(column)] = '#';
            }
        }
        cells += row > 0 ? "," : "";
        cells += Quoted(line);
    }
    cells += "]";
    return Object()
        .Add("X", Number(field->X))
        .Add("Y", Number(field->Y))
        .Add("Tiles", TileIndex(form, *field))
        .Add("Cells", cells)
        .Text();
}

std::string ShipObject(const TImageSpriteEx* ship) {
    if (!ship) {
        return "null";
    }
    return Object()
        .Add("X", Number(ship->X))
        .Add("Y", Number(ship->Y))
        .Add("Angle", ship->Angle)
        .Add("Alpha", ship->Alpha)
        .Text();
}

} // namespace

std::string StateJson::Full(const TForm1& form, uint64_t frame, uint64_t screenHash) {
    const TGame& g = form.World;
    return Object()
        .Add("Frame", static_cast<long long>(frame))
        .Add("GameState", g.GameState)
        .Add("MenuChoice", g.MenuChoice)
        .Add("MouseHeld", g.MouseHeld ? "true" : "false")
        .Add("SlowFlip", g.SlowFlip ? "true" : "false")
        .Add("Level", g.Level)
        .Add("LevelPhase", g.LevelPhase)
        .Add("OrbsEaten", g.OrbsEaten)
        .Add("OrbCount", g.OrbCount)
        .Add("Heading", g.Heading)
        .Add("Score", g.Score)
        .Add("ScoreText", jsontext::Quote(g.ScoreText))
        .Add("Energy", g.Energy)
        .Add("Speed", Number(g.Speed))
        .Add("Fade", Number(g.Fade))
        .Add("AnimTick", g.AnimTick)
        .Add("CellX", g.CellX)
        .Add("CellY", g.CellY)
        .Add("FPS", form.DXTimer ? form.DXTimer->FramesPerSecond() : 0)
        .Add("Ship", ShipObject(g.ShipSprite))
        .Add("Orbs", Positions(g.Orbs, 1, 11))
        .Add("OrbPulse", List(g.OrbPulse, 1, TGame::kPulsingOrbs))
        .Add("OrbRising", Booleans(g.OrbRising))
        .Add("Segments", Positions(g.Segments, 1, TGame::kSegments))
        .Add("SegmentColour", List(g.SegmentColour, 1, TGame::kSegments))
        .Add("Mines", MineList(g))
        .Add("FieldMap", FieldMapObject(form))
        .Add("Backdrop", Position(g.BackdropSprite))
        .Add("Title", Position(g.TitleSprite))
        .Add("Menu", Position(g.MenuSprite))
        .Add("Highlight", Position(g.HighlightSprite))
        .Add("About", Position(g.AboutSprite))
        .Add("StatusBar", Position(g.StatusBarSprite))
        .Add("Pointer", Position(g.PointerSprite))
        .Add("ScreenHash", Quoted(demotext::FormatHash(screenHash)))
        .Text();
}

std::string StateJson::Final(const TForm1& form, uint64_t frames, uint64_t screenHash) {
    const TGame& g = form.World;
    return Object()
        .Add("Frames", static_cast<long long>(frames))
        .Add("Level", g.Level)
        .Add("Score", g.Score)
        .Add("Energy", g.Energy)
        .Add("OrbsEaten", g.OrbsEaten)
        .Add("GameState", g.GameState)
        .Add("ScreenHash", Quoted(demotext::FormatHash(screenHash)))
        .Text();
}
