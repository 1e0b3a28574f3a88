#include "model/board.h"

#include <cstring>

namespace {

bool IsWellCell(int32_t column, int32_t row) {
    return column >= kFirstWellColumn && column <= kLastWellColumn && row >= 0 && row < kWellRows;
}

void CopyRow(Board& board, int32_t from, int32_t to) {
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) board.grid[c][to] = board.grid[c][from];
    board.rowFill[to] = board.rowFill[from];
}

void EmptyRow(Board& board, int32_t row) {
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) board.grid[c][row] = 0;
    board.rowFill[row] = 0;
}

}  // namespace

void ResetBoard(Board& board) {
    board.bricksDealt = 0;
    memset(board.brickTypeCount, 0, sizeof board.brickTypeCount);
    board.rowsTotal = 0;
    memset(board.clearsBySize, 0, sizeof board.clearsBySize);
    memset(board.grid, 0, sizeof board.grid);
    memset(board.rowFill, 0, sizeof board.rowFill);
    memset(board.colHeight, 0, sizeof board.colHeight);
    board.mode = 0;
    board.isComputer = 0;
    for (int c = 0; c < kGridColumns; ++c) board.grid[c][kFloorRow] = 1;
    for (int r = 0; r < kGridRows; ++r) {
        board.grid[0][r] = 1;
        board.grid[kGridColumns - 1][r] = 1;
    }
    board.dirtyTop = -1;
    board.dirtyBottom = -1;
}

int FixBrick(const BrickRotation& rotation, const BrickPos& pos, Board& board) {
    if (pos.column == SpawnPos.column && pos.row == SpawnPos.row) return 0;
    // A position that overlaps anything but empty well cells would corrupt the grid
    // (or write outside it); it can only come from a brick that fits nowhere, whose
    // stale place may even name an unused, all-zero rotation entry.
    for (int i = 0; i < kBrickCells; ++i) {
        const int32_t c = pos.column + rotation.cell[i][0], r = pos.row + rotation.cell[i][1];
        if (!IsWellCell(c, r) || board.grid[c][r] != 0) return 0;
        for (int j = 0; j < i; ++j)
            if (rotation.cell[j][0] == rotation.cell[i][0] && rotation.cell[j][1] == rotation.cell[i][1]) return 0;
    }
    for (const auto& cell : rotation.cell) {
        board.grid[pos.column + cell[0]][pos.row + cell[1]] = 1;
        board.rowFill[pos.row + cell[1]] += 1;
    }
    for (const auto& cell : rotation.cell) {
        const int32_t height = kFloorRow - (pos.row + cell[1]);
        if (board.colHeight[pos.column + cell[0]] < height) board.colHeight[pos.column + cell[0]] = height;
    }
    const int n = ClearFullRows(pos.row + rotation.bottom, pos.row + rotation.top, board);
    board.clearsBySize[n] += 1;
    board.rowsTotal += n;
    return 1;
}

int ClearFullRows(int32_t bottom, int32_t top, Board& board) {
    if (bottom > kWellRows - 1) bottom = kWellRows - 1;
    if (top < 0) top = 0;
    board.dirtyBottom = -1;
    int32_t n = 0;
    int32_t src = bottom;
    if (bottom >= top) {
        for (;;) {
            if (src >= 0 && board.rowFill[src] == kWellColumns) {
                // A full row is dropped: the row that moves into it overwrites it later.
                ++n;
                if (board.dirtyBottom == -1) board.dirtyBottom = src;
            } else if (n > 0) {
                if (src >= 0)
                    CopyRow(board, src, src + n);
                else
                    EmptyRow(board, src + n);  // above row 0 everything is empty
            }
            --src;
            if (src >= top) continue;
            // Above the brick's rows: go on while the row that would receive row src
            // still holds cells; every row above the first empty one is empty too.
            if (n > 0 && src + n >= 0 && board.rowFill[src + n] != 0) continue;
            break;
        }
    }
    // With no row removed every column keeps its height.
    for (int c = kFirstWellColumn; n > 0 && c <= kLastWellColumn; ++c) {
        int32_t h = board.colHeight[c] - n;
        if (h < 0) h = 0;
        while (h > 0 && board.grid[c][kFloorRow - h] == 0) --h;
        board.colHeight[c] = h;
    }
    board.dirtyTop = src >= 0 ? src + 1 : 0;
    return n;
}
