#include "app/edit/EditorView.h"

#include "app/edit/LevelMarks.h"
#include "app/edit/Overlay.h"
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/MainForm.h"
#include "game/WorldBuilder.h"
#include "level/MinePatrol.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/ImageSprite.h"

using namespace levels;
using platform::Rgb;

namespace {

constexpr Rgb kFault{255, 40, 40};
constexpr Rgb kRunsOff{255, 150, 0};
constexpr Rgb kTrack{120, 230, 255};
constexpr Rgb kArrow{255, 226, 40};
constexpr Rgb kCursor{255, 255, 255};
constexpr int kWarningColour = 0x5050FF; // TColor: blue, green, red

TRect CellRect(int column, int row) {
    return Bounds(column * layout::kCell, row * layout::kCell, layout::kCell, layout::kCell);
}

// The centre of a mine box whose top-left corner is at (x, y).
int Centre(int corner) {
    return corner + layout::kCell / 2;
}

// An arrowhead on the mine whose box has its top-left corner at (x, y), its tip just inside the
// box's edge on the side the mine heads for.
void MineArrow(TDirectDrawSurface& back, int x, int y, int direction) {
    const int mid = layout::kCell / 2, near = 2, far = layout::kCell - 3;
    const int tipX = direction == Right ? x + far : direction == Left ? x + near : x + mid;
    const int tipY = direction == Down ? y + far : direction == Up ? y + near : y + mid;
    overlay::Arrow(back, tipX, tipY, direction, 7, kArrow);
}

} // namespace

EditorView::EditorView(TForm1& form) : form_(form) {}

EditorView::~EditorView() = default;

void EditorView::Build() {
    built_ = true;
    TSpriteEngine& engine = form_.DXSpriteEngine->Engine();
    // All at Z 0, each newcomer drawn beneath those made before it, as the game builds its scene:
    // the pieces on top, then the tile map, the gauge, the backdrop and the status bar.
    for (int i = 0; i < kFileSize; ++i) {
        TImageSprite& piece = engine.Add<TImageSprite>();
        piece.Width = layout::kCell;
        piece.Height = layout::kCell;
        piece.Visible = false;
        pieces_.push_back(&piece);
    }
    field_ = &engine.Add<TBackgroundSprite>();
    field_->Resize(kFieldColumns, kFieldRows);
    TImageSprite& gauge = engine.Add<TImageSprite>();
    gauge.Image = &form_.GraphicList->Items().ItemAt(5);
    gauge.Width = 10;
    gauge.Height = layout::kFieldHeight;
    gauge.X = layout::kFieldWidth;
    backdrop_ = &engine.Add<TBackgroundSprite>();
    backdrop_->Image = &form_.FXList->Items().ItemAt(12);
    backdrop_->Resize(500, 1);
    TImageSprite& bar = engine.Add<TImageSprite>();
    bar.Image = &form_.GraphicList->Items().ItemAt(4);
    bar.Width = 640;
    bar.Height = 30;
    bar.Y = layout::kBarTop;
}

void EditorView::Show(const Level& level, int number) {
    if (!built_) {
        Build();
    }
    // The game's own choice of tile set for the level number, made on the editor's tile map.
    TGame& world = form_.World;
    world.FieldMap = field_;
    world.Level = static_cast<uint8_t>(number);
    ApplyTileSet(world);

    ++tick_;
    TPictureCollectionItem& mine = form_.FXList->Items().ItemAt(tick_ / 4 % 6);
    TPictureCollectionItem& ship = form_.GraphicList->Items().ItemAt(3);
    std::size_t used = 0;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const uint8_t code = level.At(column, row);
            if (column < kFieldColumns && row < kFieldRows) {
                field_->SetCells(column, row, code == Wall ? 1 : 0);
            }
            if (code != Ship && !IsMine(code)) {
                continue;
            }
            TImageSprite& piece = *pieces_[used++];
            piece.Image = code == Ship ? &ship : &mine;
            piece.X = column * layout::kCell;
            piece.Y = row * layout::kCell;
            piece.Visible = true;
        }
    }
    for (std::size_t i = used; i < pieces_.size(); ++i) {
        pieces_[i]->Visible = false;
    }
}

TDirectDrawSurface* EditorView::Back() const {
    return form_.DXDraw->BackBuffer();
}

bool EditorView::BeginFrame() {
    TDirectDrawSurface* back = Back();
    if (!back) {
        return false;
    }
    back->FillWith(0);
    form_.DXSpriteEngine->Draw();
    return true;
}

void EditorView::Marks(const LevelMarks& marks, bool allTracks) {
    TDirectDrawSurface& back = *Back();
    if (allTracks) {
        for (const MineTrack& t : marks.Tracks()) {
            overlay::Dots(back, Centre(t.FromX), Centre(t.FromY), Centre(t.ToX), Centre(t.ToY), 3, 6, kTrack);
        }
    }
    for (int column = 0; column < kFieldColumns; ++column) {
        for (int row = 0; row < kFieldRows; ++row) {
            if (marks.Unreachable(column, row)) {
                overlay::Hatch(back, CellRect(column, row), kFault);
            }
        }
    }
    for (const MineFault& fault : marks.MineFaults()) {
        const Rgb colour = fault.Broken == Rule::ClearStart ? kFault : kRunsOff;
        const MineTrack& t = fault.Track;
        overlay::Dots(back, Centre(t.FromX), Centre(t.FromY), Centre(t.ToX), Centre(t.ToY), 5, 6, colour);
        overlay::Frame(back, CellRect(t.Start.first, t.Start.second), colour, 2);
    }
    if (!marks.MineFaults().empty() && !marks.Ships().empty()) {
        // The block round the ship's start that the mines must keep out of.
        const auto [column, row] = marks.Ships().front();
        bool near = false;
        for (const MineFault& fault : marks.MineFaults()) {
            near = near || fault.Broken == Rule::ClearStart;
        }
        if (near) {
            overlay::Frame(
                back,
                Bounds((column - 1) * layout::kCell, (row - 1) * layout::kCell, 3 * layout::kCell, 3 * layout::kCell),
                kFault, 1);
        }
    }
    for (const auto& [column, row] : marks.ExtraMines()) {
        overlay::Hatch(back, CellRect(column, row), kFault);
        overlay::Frame(back, CellRect(column, row), kFault, 2);
    }
    if (marks.Ships().size() > 1) {
        for (const auto& [column, row] : marks.Ships()) {
            overlay::Frame(back, CellRect(column, row), kFault, 2);
        }
    }
}

void EditorView::MineDirections(const Level& level) {
    TDirectDrawSurface& back = *Back();
    for (int column = 0; column < kFieldColumns; ++column) {
        for (int row = 0; row < kFieldRows; ++row) {
            const uint8_t code = level.At(column, row);
            if (IsMine(code)) {
                MineArrow(back, column * layout::kCell, row * layout::kCell, code - 1);
            }
        }
    }
}

void EditorView::Cursor(Cell cell) {
    overlay::Frame(*Back(), CellRect(cell.first, cell.second), kCursor, 1);
}

void EditorView::Palette(int selected) {
    TDirectDrawSurface& back = *Back();
    TPictureCollectionItem& backdrop = form_.FXList->Items().ItemAt(12);
    TPictureCollectionItem& tiles = *field_->Image;
    for (int kind = 0; kind < layout::kKinds; ++kind) {
        const int x = kind * layout::kCell, y = layout::kBarTop;
        back.Draw(x, y, TRect{0, 0, layout::kCell, layout::kCell}, backdrop.PatternSurface(0), false);
        tiles.Draw(&back, x, y, kind == Wall ? 1 : 0);
        if (IsMine(static_cast<uint8_t>(kind))) {
            form_.FXList->Items().ItemAt(0).Draw(&back, x, y, 0);
        } else if (kind == Ship) {
            form_.GraphicList->Items().ItemAt(3).Draw(&back, x, y, 0);
        }
    }
    for (int kind = MineUp; kind <= MineLeft; ++kind) {
        MineArrow(back, kind * layout::kCell, layout::kBarTop, kind - 1);
    }
    overlay::Frame(back, Bounds(selected * layout::kCell, layout::kBarTop, layout::kCell, layout::kCell),
                   Rgb{255, 255, 255}, 2);
}

void EditorView::Text(int x, int y, int size, const std::string& text, int colour, const char* font, int width) {
    TDirectDrawSurfaceCanvas& canvas = Back()->TextCanvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = font;
    canvas.Font.Size = size;
    canvas.Font.Color = colour;
    // A line too long for its room is set a size or two smaller before it runs over the edge.
    for (int smaller = 0; smaller < 2 && width > 0 && canvas.TextWidth(text) > width; ++smaller) {
        --canvas.Font.Size;
    }
    canvas.WriteText(x, y, text);
}

void EditorView::Status(const std::string& first, const std::string& second, bool warning) {
    const int width = 640 - layout::kTextLeft - 2;
    Text(layout::kTextLeft, layout::kBarTop + 1, 9, first, clWhite, "System", width);
    Text(layout::kTextLeft, layout::kBarTop + 15, 9, second, warning ? kWarningColour : clWhite, "System", width);
}

void EditorView::Panel(const std::vector<std::string>& lines) {
    constexpr int kLineHeight = 22;
    const int height = static_cast<int>(lines.size()) * kLineHeight + 24;
    const int top = (layout::kFieldHeight - height) / 2;
    Back()->TextCanvas().Detach();
    overlay::Darken(*Back(), TRect{0, 0, layout::kFieldWidth, layout::kFieldHeight});
    overlay::Darken(*Back(), TRect{20, top, layout::kFieldWidth - 20, top + height});
    overlay::Frame(*Back(), TRect{20, top, layout::kFieldWidth - 20, top + height}, Rgb{200, 200, 220}, 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Text(36, top + 12 + static_cast<int>(i) * kLineHeight, i == 0 ? 13 : 10, lines[i], i == 0 ? 0x40E0FF : clWhite,
             "Arial black", layout::kFieldWidth - 72);
    }
}

void EditorView::Pointer(int x, int y) {
    if (TDirectDrawSurface* back = Back()) {
        back->TextCanvas().Detach();
        form_.GraphicList->Items().ItemAt(0).Draw(back, x, y, 0);
    }
}

void EditorView::EndFrame() {
    if (TDirectDrawSurface* back = Back()) {
        back->TextCanvas().Detach();
    }
    form_.DXDraw->Flip();
}
