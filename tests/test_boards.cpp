#include "test_boards.h"

#include <cstring>

const BrickTable& ShippedTable() {
    static BrickTable table;
    static const int loaded = LoadBrickTable(table);
    EXPECT_EQ(loaded, 1) << "kvader.dat must be in the working directory";
    return table;
}

void Draw(Board& board, const char* picture) {
    int row = kWellRows - static_cast<int>((strlen(picture) + 1) / (kWellColumns + 1));
    for (const char* p = picture; *p; ++row) {
        for (int i = 0; i < kWellColumns; ++i) board.grid[kFirstWellColumn + i][row] = p[i] == '#';
        p += p[kWellColumns] == '/' ? kWellColumns + 1 : kWellColumns;
    }
    RecomputeBookkeeping(board, board.rowFill, board.colHeight);
}

std::string Rows(const char* row, int times) {
    std::string rows;
    for (int i = 0; i < times; ++i) rows += (i ? "/" : "") + std::string(row);
    return rows;
}

std::string NearlyFullWell() { return "#########./" + Rows(".#########/#########.", 11); }

Board Well(const char* picture) {
    Board board{};
    ResetBoard(board);
    Draw(board, picture);
    return board;
}
