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

std::string Fault(const Board& board, const std::string& what) { return what + DrawRows(board, 0, kWellRows - 1); }

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
    for (int r = 0; r < kGridRows; ++r)
        if (!board.grid[0][r] || !board.grid[kGridColumns - 1][r])
            return Fault(board, "wall cell missing at row " + std::to_string(r));
    for (int c = 0; c < kGridColumns; ++c)
        if (!board.grid[c][kFloorRow]) return Fault(board, "floor cell missing at column " + std::to_string(c));
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r)
            if (board.grid[c][r] > 1)
                return Fault(board, "cell (" + std::to_string(c) + "," + std::to_string(r) + ") holds " +
                                        std::to_string(board.grid[c][r]));
    int32_t rowFill[kGridRows], colHeight[kLastWellColumn + 1];
    RecomputeBookkeeping(board, rowFill, colHeight);
    for (int r = 0; r < kGridRows; ++r)
        if (board.rowFill[r] != rowFill[r])
            return Fault(board, "rowFill[" + std::to_string(r) + "] got " + std::to_string(board.rowFill[r]) +
                                    " expected " + std::to_string(rowFill[r]));
    for (int c = 0; c <= kLastWellColumn; ++c)
        if (board.colHeight[c] != colHeight[c])
            return Fault(board, "colHeight[" + std::to_string(c) + "] got " + std::to_string(board.colHeight[c]) +
                                    " expected " + std::to_string(colHeight[c]));
    bool emptySeen = false;
    for (int r = kWellRows - 1; r >= 0; --r) {
        if (rowFill[r] == kWellColumns) return Fault(board, "row " + std::to_string(r) + " is full");
        if (rowFill[r] == 0)
            emptySeen = true;
        else if (emptySeen)
            return Fault(board, "row " + std::to_string(r) + " holds cells above an empty row");
    }
    int32_t rows = 0, dealt = 0;
    for (int n = 0; n <= kMaxClear; ++n) rows += n * board.clearsBySize[n];
    for (int32_t count : board.brickTypeCount) dealt += count;
    if (rows != board.rowsTotal)
        return "rowsTotal " + std::to_string(board.rowsTotal) + " but the clears add up to " + std::to_string(rows);
    if (static_cast<uint32_t>(dealt) != board.bricksDealt)
        return "bricksDealt " + std::to_string(board.bricksDealt) + " but the types add up to " + std::to_string(dealt);
    return {};
}
