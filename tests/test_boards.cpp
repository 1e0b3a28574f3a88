#include "test_boards.h"

#include <string>

const BrickTable& ShippedTable() {
    static BrickTable table;
    static const int loaded = LoadBrickTable(table);
    EXPECT_EQ(loaded, 1) << "kvader.dat must be in the working directory";
    return table;
}

Board EmptyBoard() {
    Board board{};
    ResetBoard(board);
    return board;
}

void PutRow(Board& board, int row, const char* cells) {
    for (int i = 0; i < kWellColumns; ++i) board.grid[kFirstWellColumn + i][row] = cells[i] == '#' ? 1 : 0;
    SyncBookkeeping(board);
}

void RecomputeBookkeeping(const Board& board, int32_t (&rowFill)[kGridRows], int32_t (&colHeight)[kLastWellColumn + 1]) {
    for (int r = 0; r < kGridRows; ++r) {
        rowFill[r] = 0;
        if (r == kFloorRow) continue;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) rowFill[r] += board.grid[c][r];
    }
    colHeight[0] = 0;
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) {
        int r = 0;
        while (board.grid[c][r] == 0) ++r;
        colHeight[c] = kFloorRow - r;
    }
}

void SyncBookkeeping(Board& board) { RecomputeBookkeeping(board, board.rowFill, board.colHeight); }

std::string DrawRows(const Board& board, int first, int last) {
    std::string out;
    for (int r = first; r <= last; ++r) {
        out += "\n" + std::to_string(r) + "\t";
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) out += board.grid[c][r] ? '#' : '.';
    }
    return out;
}

::testing::AssertionResult BoardInvariantsHold(const Board& board) {
    for (int r = 0; r < kGridRows; ++r)
        if (!board.grid[0][r] || !board.grid[kGridColumns - 1][r])
            return ::testing::AssertionFailure() << "wall cell missing at row " << r;
    for (int c = 0; c < kGridColumns; ++c)
        if (!board.grid[c][kFloorRow]) return ::testing::AssertionFailure() << "floor cell missing at column " << c;
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r)
            if (board.grid[c][r] > 1)
                return ::testing::AssertionFailure() << "cell (" << c << "," << r << ") holds " << int(board.grid[c][r]);
    int32_t rowFill[kGridRows], colHeight[kLastWellColumn + 1];
    RecomputeBookkeeping(board, rowFill, colHeight);
    for (int r = 0; r < kGridRows; ++r)
        if (board.rowFill[r] != rowFill[r])
            return ::testing::AssertionFailure() << "rowFill[" << r << "] got " << board.rowFill[r] << " expected "
                                                 << rowFill[r] << DrawRows(board, 0, 23);
    for (int c = 0; c <= kLastWellColumn; ++c)
        if (board.colHeight[c] != colHeight[c])
            return ::testing::AssertionFailure() << "colHeight[" << c << "] got " << board.colHeight[c] << " expected "
                                                 << colHeight[c] << DrawRows(board, 0, 23);
    bool emptySeen = false;
    for (int r = kWellRows - 1; r >= 0; --r) {
        if (rowFill[r] == kWellColumns) return ::testing::AssertionFailure() << "row " << r << " is full";
        if (rowFill[r] == 0) emptySeen = true;
        else if (emptySeen)
            return ::testing::AssertionFailure() << "row " << r << " holds cells above an empty row"
                                                 << DrawRows(board, 0, 23);
    }
    return ::testing::AssertionSuccess();
}
