#pragma once

#include "platform/base/Rect.h"
#include "sprite/Sprite.h"

#include <cstdint>
#include <vector>

class TPictureCollectionItem;

// A tile map: a grid of cells, each the index of a pattern of one picture item (negative:
// empty), laid out from the sprite's position one pattern-sized cell after another. Only
// the cells that can reach the surface are drawn. With Wrap the grid repeats endlessly.
class TBackgroundSprite : public TSprite {
public:
    explicit TBackgroundSprite(const TSpriteJoin& join);

    TPictureCollectionItem* Image = nullptr; // followed, not owned
    bool Wrap = false;

    int32_t Columns() const { return columns_; }
    int32_t Rows() const { return rows_; }
    // Sets the size and resets every cell to 0 and solid; the same size changes nothing, and
    // a zero or negative dimension makes the map 0 by 0.
    void Resize(int32_t columns, int32_t rows);
    // The pattern index at (column, row); -1 outside the map.
    int32_t Cells(int32_t column, int32_t row) const;
    // Ignored outside the map.
    void SetCells(int32_t column, int32_t row, int32_t value);
    // The collision flag at (column, row); false outside the map.
    bool Solid(int32_t column, int32_t row) const;

    void Render() override;
    // The whole map, or the engine's surface when wrapping; empty without Image.
    TRect GetBounds() const override;
    // Whether a solid cell lies under the part of the other sprite's rectangle that meets the map.
    bool HitTest(const TSprite& other) const override;

private:
    bool Inside(int32_t column, int32_t row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rows_;
    }
    std::size_t IndexOf(int32_t column, int32_t row) const {
        return static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
    }
    // The size of pattern 0, or false when it has no area (the item is not built yet).
    bool CellSize(int32_t& width, int32_t& height) const;

    int32_t columns_ = 0;
    int32_t rows_ = 0;
    std::vector<int32_t> cells_; // row by row: column + row * Columns
    std::vector<uint8_t> solid_; // likewise; nonzero is solid
};
