#pragma once

#include <utility>
#include <vector>

// A field cell: column, row.
using Cell = std::pair<int, int>;

// The cells of a straight line from `from` to `to`, both included, each step to one of the eight
// neighbours (which still walls off a ship that moves only up, down, left and right).
std::vector<Cell> LineCells(Cell from, Cell to);

// The cells of the rectangle with corners `a` and `b`: its border, or all of it when filled.
std::vector<Cell> RectangleCells(Cell a, Cell b, bool filled);
