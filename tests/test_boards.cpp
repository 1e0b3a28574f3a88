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

void SyncBookkeeping(Board& board) { RecomputeBookkeeping(board, board.rowFill, board.colHeight); }
