#pragma once

#include "app/edit/Shapes.h"
#include "level/Level.h"

#include <string>
#include <vector>

class LevelMarks;
class TBackgroundSprite;
class TDirectDrawSurface;
class TForm1;
class TImageSprite;

// Where things are on the editor's 640 x 480 screen: the field where the game has it, the
// palette and the status line on the game's status bar below it.
namespace layout {
constexpr int kCell = 30;
constexpr int kFieldWidth = levels::kFieldColumns * kCell;
constexpr int kFieldHeight = levels::kFieldRows * kCell;
constexpr int kBarTop = kFieldHeight;
constexpr int kKinds = 7;
constexpr int kPaletteWidth = kKinds * kCell;
constexpr int kTextLeft = kPaletteWidth + 8;
} // namespace layout

// The editor's screen drawn with the game's own pieces: the game's main form (its display
// control, image lists and sprite engine), the backdrop, the tile map in the tile set the game
// chooses for the level number, the mine and ship pictures, the status bar and the pointer. The
// editor's marks, palette frame and texts are drawn over them.
class EditorView {
public:
    explicit EditorView(TForm1& form);
    ~EditorView();
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    // Puts the level into the scene: walls into the tile map, a mine or ship picture on each of
    // their cells, the tile set of the level number.
    void Show(const levels::Level& level, int number);

    // Starts a frame: the back buffer cleared and the scene drawn. False when there is no back buffer.
    bool BeginFrame();
    void Marks(const LevelMarks& marks, bool allTracks);
    // An arrowhead on each mine for the way it starts.
    void MineDirections(const levels::Level& level);
    void Cursor(Cell cell);
    void Palette(int selected);
    // Two lines of text on the status bar; the second in the colour of warnings when asked.
    void Status(const std::string& first, const std::string& second, bool warning);
    // A box of lines over the middle of the field on a darkened ground; the first line is its heading.
    void Panel(const std::vector<std::string>& lines);
    void Pointer(int x, int y);
    // Ends the frame and presents it.
    void EndFrame();

private:
    void Build();
    // Text in white or a colour (TColor); at most `width` pixels wide when that is above 0.
    void Text(int x, int y, int size, const std::string& text, int colour, const char* font, int width);
    TDirectDrawSurface* Back() const;

    TForm1& form_;
    bool built_ = false;
    std::vector<TImageSprite*> pieces_; // a ship or a mine on a cell, one for each stored cell
    TBackgroundSprite* field_ = nullptr;
    TBackgroundSprite* backdrop_ = nullptr;
    int tick_ = 0;
};
