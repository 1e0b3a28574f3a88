#include "board_check.h"

void RecomputeBookkeeping(const Board& board, int32_t (&rowFill)[kGridRows],
                          int32_t (&colHeight)[kLastWellColumn + 1]) {
    for (int r = 0; r < kGridRows; ++r) {
        rowFill[r] = 0;
        if (r == kFloorRow) continue;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) rowFill[r] += board.grid[c][r];
    }
    colHeight[0] = 0;
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) {
        int r = 0;
        while (r < kFloorRow && board.grid[c][r] == 0) ++r;
        colHeight[c] = kFloorRow - r;
    }
}

std::string DrawRows(const Board& board, int first, int last) {
    std::string out;
    for (int r = first; r <= last; ++r) {
        out += "\n" + std::to_string(r) + "\t";
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) out += board.grid[c][r] ? '#' : '.';
    }
    return out;
}

namespace {

template <typename T, size_t N>
bool SameArray(const T (&a)[N], const T (&b)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace

bool SameBoard(const Board& a, const Board& b) {
    for (int c = 0; c < kGridColumns; ++c)
        if (!SameArray(a.grid[c], b.grid[c])) return false;
    return a.bricksDealt == b.bricksDealt && SameArray(a.brickTypeCount, b.brickTypeCount) &&
           a.rowsTotal == b.rowsTotal && SameArray(a.clearsBySize, b.clearsBySize) && SameArray(a.rowFill, b.rowFill) &&
           SameArray(a.colHeight, b.colHeight) && a.dirtyTop == b.dirtyTop && a.dirtyBottom == b.dirtyBottom &&
           a.mode == b.mode && a.isComputer == b.isComputer && a.curBrick == b.curBrick &&
           a.curPos.rotation == b.curPos.rotation && a.curPos.column == b.curPos.column &&
           a.curPos.row == b.curPos.row && a.hintPos.rotation == b.hintPos.rotation &&
           a.hintPos.column == b.hintPos.column && a.hintPos.row == b.hintPos.row;
}

std::string BoardFault(const Board& board) {
    auto fault = [&board](const std::string& what, int i) {
        return what + " " + std::to_string(i) + DrawRows(board, 0, kWellRows - 1);
    };
    int32_t rowFill[kGridRows], colHeight[kLastWellColumn + 1];
    RecomputeBookkeeping(board, rowFill, colHeight);
    for (int r = 0; r < kGridRows; ++r) {
        if (!board.grid[0][r] || !board.grid[kGridColumns - 1][r]) return fault("wall cell missing at row", r);
        if (board.rowFill[r] != rowFill[r]) return fault("rowFill wrong at row", r);
        for (int c = 0; c < kGridColumns; ++c)
            if (board.grid[c][r] > 1) return fault("a cell holds more than 1 in row", r);
    }
    for (int c = 0; c < kGridColumns; ++c)
        if (!board.grid[c][kFloorRow]) return fault("floor cell missing at column", c);
    for (int c = 0; c <= kLastWellColumn; ++c)
        if (board.colHeight[c] != colHeight[c]) return fault("colHeight wrong at column", c);
    bool emptySeen = false;
    for (int r = kWellRows - 1; r >= 0; --r) {
        if (rowFill[r] == kWellColumns) return fault("full row", r);
        if (rowFill[r] != 0 && emptySeen) return fault("cells above an empty row in row", r);
        emptySeen |= rowFill[r] == 0;
    }
    int32_t rows = 0, dealt = 0;
    for (int n = 0; n <= kMaxClear; ++n) rows += n * board.clearsBySize[n];
    for (int32_t count : board.brickTypeCount) dealt += count;
    if (rows != board.rowsTotal) return fault("the clears add up to other than rowsTotal:", rows);
    if (static_cast<uint32_t>(dealt) != board.bricksDealt)
        return fault("the types add up to other than bricksDealt:", dealt);
    return {};
}
