#include "app/edit/Shapes.h"

#include <algorithm>
#include <cstdlib>

std::vector<Cell> LineCells(Cell from, Cell to) {
    std::vector<Cell> cells;
    auto [x, y] = from;
    const int dx = std::abs(to.first - x);
    const int dy = -std::abs(to.second - y);
    const int sx = x < to.first ? 1 : -1;
    const int sy = y < to.second ? 1 : -1;
    int error = dx + dy;
    while (true) {
        cells.emplace_back(x, y);
        if (x == to.first && y == to.second) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return cells;
}

std::vector<Cell> RectangleCells(Cell a, Cell b, bool filled) {
    const int left = std::min(a.first, b.first), right = std::max(a.first, b.first);
    const int top = std::min(a.second, b.second), bottom = std::max(a.second, b.second);
    std::vector<Cell> cells;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (filled || row == top || row == bottom || column == left || column == right) {
                cells.emplace_back(column, row);
            }
        }
    }
    return cells;
}
