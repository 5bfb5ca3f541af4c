#include "sprite/BackgroundSprite.h"

#include "display/PictureCollection.h"
#include "sprite/SpriteEngine.h"
#include "sprite/SpriteGeometry.h"

#include <algorithm>

using namespace sprite_geometry;

TBackgroundSprite::TBackgroundSprite(const TSpriteJoin& join) : TSprite(join) {}

void TBackgroundSprite::Resize(int32_t columns, int32_t rows) {
    if (columns == columns_ && rows == rows_) {
        return;
    }
    if (columns <= 0 || rows <= 0) {
        columns = 0;
        rows = 0;
    }
    const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    // Old values are not kept, even where the old and new sizes overlap.
    std::vector<int32_t> cells(count, 0);
    std::vector<uint8_t> solid(count, 1);
    cells_.swap(cells);
    solid_.swap(solid);
    columns_ = columns;
    rows_ = rows;
}

int32_t TBackgroundSprite::Cells(int32_t column, int32_t row) const {
    return Inside(column, row) ? cells_[IndexOf(column, row)] : -1;
}

void TBackgroundSprite::SetCells(int32_t column, int32_t row, int32_t value) {
    if (Inside(column, row)) {
        cells_[IndexOf(column, row)] = value;
    }
}

bool TBackgroundSprite::Solid(int32_t column, int32_t row) const {
    return Inside(column, row) && solid_[IndexOf(column, row)] != 0;
}

bool TBackgroundSprite::CellSize(int32_t& width, int32_t& height) const {
    const TRect pattern = Image->PatternRect(0);
    width = pattern.Width();
    height = pattern.Height();
    return width > 0 && height > 0;
}

void TBackgroundSprite::Render() {
    TDirectDrawSurface* surface = Engine()->Surface();
    int32_t cw = 0;
    int32_t ch = 0;
    if (Image == nullptr || surface == nullptr || columns_ <= 0 || rows_ <= 0 || !CellSize(cw, ch)) {
        return;
    }
    const TRect& bounds = Engine()->SurfaceBounds();
    // The numbers of cell positions that can reach the surface.
    const int64_t nx = (static_cast<int64_t>(bounds.Right) + cw) / cw + 1;
    const int64_t ny = (static_cast<int64_t>(bounds.Bottom) + ch) / ch + 1;
    // Divisions truncate toward zero and the remainders take the position's sign, so a map
    // left of the surface starts at the first cell whose position can still reach it.
    const int64_t x = TruncToInt32(AbsoluteX());
    const int64_t y = TruncToInt32(AbsoluteY());
    const int64_t ox = x % cw;
    const int64_t oy = y % ch;
    int64_t sx = x / cw;
    int64_t kx = 0;
    if (sx < 0) {
        kx = -sx;
        sx = 0;
    }
    int64_t sy = y / ch;
    int64_t ky = 0;
    if (sy < 0) {
        ky = -sy;
        sy = 0;
    }
    auto drawCell = [&](int64_t cx, int64_t cy, int32_t value) {
        if (value >= 0) {
            Image->Draw(surface, SaturateInt32(cx * cw + ox), SaturateInt32(cy * ch + oy), value);
        }
    };

    if (!Wrap) {
        const int64_t ex = std::min(sx + columns_ - kx, nx);
        const int64_t ey = std::min(sy + rows_ - ky, ny);
        for (int64_t cy = sy; cy < ey; ++cy) {
            const int32_t* row = &cells_[IndexOf(0, static_cast<int32_t>(cy - sy + ky))];
            for (int64_t cx = sx; cx < ex; ++cx) {
                drawCell(cx, cy, row[cx - sx + kx]);
            }
        }
        return;
    }
    // Wrapping: one more cell position on every side, the map repeating in both directions.
    const int64_t firstColumn = FloorMod(-1 - sx + kx, columns_);
    int64_t mapRow = FloorMod(-1 - sy + ky, rows_);
    for (int64_t cy = -1; cy <= ny; ++cy) {
        const int32_t* row = &cells_[IndexOf(0, static_cast<int32_t>(mapRow))];
        int64_t mapColumn = firstColumn;
        for (int64_t cx = -1; cx <= nx; ++cx) {
            drawCell(cx, cy, row[mapColumn]);
            if (++mapColumn == columns_) {
                mapColumn = 0;
            }
        }
        if (++mapRow == rows_) {
            mapRow = 0;
        }
    }
}

TRect TBackgroundSprite::GetBounds() const {
    if (Wrap) {
        return Engine()->SurfaceBounds();
    }
    if (Image == nullptr) {
        return TRect{};
    }
    return SizedRect(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()),
                     static_cast<int64_t>(Image->Width()) * columns_, static_cast<int64_t>(Image->Height()) * rows_);
}

bool TBackgroundSprite::HitTest(const TSprite& other) const {
    if (Image == nullptr || columns_ <= 0 || rows_ <= 0) {
        return true;
    }
    int32_t cw = 0;
    int32_t ch = 0;
    if (!CellSize(cw, ch)) {
        return false;
    }
    // Only the part of the other rectangle that lies on the map can meet a cell; cells are
    // tested against that part, so that neither a rectangle beside the map nor the wrapped
    // index of a cell past its edge counts as a hit.
    const TRect common = IntersectRect(other.GetBounds(), GetBounds());
    if (common.IsEmpty()) {
        return false;
    }
    const int64_t x = TruncToInt32(AbsoluteX());
    const int64_t y = TruncToInt32(AbsoluteY());
    const int64_t left = common.Left - x;
    const int64_t top = common.Top - y;
    const int64_t right = common.Right - x;
    const int64_t bottom = common.Bottom - y;
    for (int64_t cy = (top - ch + 1) / ch; cy <= bottom / ch; ++cy) {
        const int64_t cellTop = cy * ch;
        if (!(cellTop < bottom && top < cellTop + ch)) {
            continue;
        }
        const int64_t mapRow = FloorMod(cy, rows_);
        for (int64_t cx = (left - cw + 1) / cw; cx <= right / cw; ++cx) {
            const int64_t cellLeft = cx * cw;
            if (cellLeft < right && left < cellLeft + cw &&
                solid_[IndexOf(static_cast<int32_t>(FloorMod(cx, columns_)), static_cast<int32_t>(mapRow))] != 0) {
                return true;
            }
        }
    }
    return false;
}
