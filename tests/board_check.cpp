#include "board_check.h"

#include <cstddef>
#include <cstring>

namespace {

void Bookkeeping(const Board& board, int32_t (&rowFill)[kGridRows], int32_t (&colHeight)[kLastWellColumn + 1]) {
    for (int r = 0; r < kGridRows; ++r) {
        rowFill[r] = 0;
        for (int c = kFirstWellColumn; c <= kLastWellColumn && r < kFloorRow; ++c) rowFill[r] += board.grid[c][r];
    }
    colHeight[0] = 0;
    for (int c = kFirstWellColumn, r = 0; c <= kLastWellColumn; ++c, r = 0) {
        while (r < kFloorRow && board.grid[c][r] == 0) ++r;
        colHeight[c] = kFloorRow - r;
    }
}

}  // namespace

void Draw(Board& board, const std::string& picture) {
    for (size_t at = 0, row = kWellRows - (picture.size() + 1) / (kWellColumns + 1); at < picture.size(); ++row)
        for (int i = 0; i <= kWellColumns; ++i, ++at)
            if (i < kWellColumns) board.grid[kFirstWellColumn + i][row] = picture[at] == '#';
    Bookkeeping(board, board.rowFill, board.colHeight);
}

std::string DrawRows(const Board& board) {
    std::string out;
    for (int r = 0, seen = 0; r < kWellRows; ++r) {
        std::string row;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) row += board.grid[c][r] ? '#' : '.';
        if ((seen |= row != "..........")) out += "    |" + row + "| " + std::to_string(r) + "\n";
    }
    return out;
}

std::string Pos(const BrickPos& p) {
    return std::to_string(p.rotation) + "," + std::to_string(p.column) + "," + std::to_string(p.row);
}

// Every field before curBrick is a 4-byte integer or the byte grid, which ends on a
// 4-byte boundary: no padding to compare.
static_assert(offsetof(Board, rowFill) == offsetof(Board, grid) + sizeof(Board::grid));
bool SameBoard(const Board& a, const Board& b) {
    return memcmp(&a, &b, offsetof(Board, curBrick)) == 0 && a.curBrick == b.curBrick &&
           memcmp(&a.curPos, &b.curPos, sizeof a.curPos) == 0 && memcmp(&a.hintPos, &b.hintPos, sizeof a.hintPos) == 0;
}

std::string BoardFault(const Board& board) {
    const auto fault = [&board](const std::string& what, int i) {
        return what + " " + std::to_string(i) + "\n" + DrawRows(board);
    };
    int32_t rowFill[kGridRows], colHeight[kLastWellColumn + 1], rows = 0, dealt = 0;
    Bookkeeping(board, rowFill, colHeight);
    for (int r = 0; r < kGridRows; ++r) {
        if (!board.grid[0][r] || !board.grid[kGridColumns - 1][r]) return fault("wall cell missing at row", r);
        if (board.rowFill[r] != rowFill[r]) return fault("rowFill wrong at row", r);
        for (int c = 0; c < kGridColumns; ++c)
            if (board.grid[c][r] > 1 || (r == kFloorRow && !board.grid[c][r])) return fault("bad cell in row", r);
    }
    for (int c = 0; c <= kLastWellColumn; ++c)
        if (board.colHeight[c] != colHeight[c]) return fault("colHeight wrong at column", c);
    for (int r = kWellRows - 1, emptySeen = 0; r >= 0; emptySeen |= rowFill[r] == 0, --r)
        if (rowFill[r] == kWellColumns || (rowFill[r] != 0 && emptySeen))
            return fault("full row or cells above an empty one in row", r);
    for (int n = 0; n <= kMaxClear; ++n) rows += n * board.clearsBySize[n];
    for (int32_t count : board.brickTypeCount) dealt += count;
    if (rows != board.rowsTotal) return fault("the clears add up to other than rowsTotal:", rows);
    if (static_cast<uint32_t>(dealt) != board.bricksDealt)
        return fault("the types add up to other than bricksDealt:", dealt);
    return {};
}
