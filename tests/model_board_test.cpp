// Landing and row clearing: the refusal at the spawn place, the clearing cases that
// move rows, heights and the repaint band, and the guard against bad positions.
#include <cstring>

#include "test_boards.h"

namespace {

const BrickRotation& Rotation(int type, int rotation) { return ShippedTable().types[type].rotations[rotation]; }
const BrickRotation& Square() { return Rotation(kSquare, 0); }
const BrickRotation& VerticalBar() { return Rotation(kBar, 1); }  // cells (1,0)..(1,3)

TEST(Board, ResetEmptiesTheWellAndKeepsTheFallingBrick) {
    Board board;
    memset(&board, 0x5A, sizeof board);
    board.curBrick = &ShippedTable().types[kTee];
    board.curPos = {2, 3, 7};
    board.hintPos = {1, 5, 9};
    ResetBoard(board);
    Board empty{};  // every field zero but the walls, the floor and the band
    empty.curBrick = &ShippedTable().types[kTee];
    empty.curPos = {2, 3, 7};
    empty.hintPos = {1, 5, 9};
    for (int c = 0; c < kGridColumns; ++c) empty.grid[c][kFloorRow] = 1;
    for (int r = 0; r < kGridRows; ++r) empty.grid[0][r] = empty.grid[kGridColumns - 1][r] = 1;
    empty.dirtyTop = empty.dirtyBottom = -1;
    EXPECT_TRUE(SameBoard(board, empty));
}

TEST(Board, BrickAtTheSpawnPlaceIsRefusedInEveryRotation) {
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& type = ShippedTable().types[t];
        for (int r = 0; r < type.rotationCount; ++r) {
            Board board = EmptyBoard();
            const Board before = board;
            EXPECT_EQ(FixBrick(type.rotations[r], BrickPos{r, 4, 0}, board), 0) << "type " << t << " rotation " << r;
            EXPECT_TRUE(SameBoard(board, before)) << "type " << t << " rotation " << r;
        }
    }
    Board board = EmptyBoard();
    EXPECT_EQ(FixBrick(Square(), BrickPos{0, 3, 0}, board), 1);
    EXPECT_EQ(FixBrick(Square(), BrickPos{0, 5, 0}, board), 1);
    Board other = EmptyBoard();
    EXPECT_EQ(FixBrick(Square(), BrickPos{0, 4, 1}, other), 1);
}

TEST(Board, LandingThatCompletesNoRow) {
    Board board = EmptyBoard();
    ASSERT_EQ(FixBrick(Rotation(kTee, 0), BrickPos{0, 2, 22}, board), 1);  // rows 22 and 23
    EXPECT_EQ(board.dirtyBottom, -1);
    EXPECT_EQ(board.dirtyTop, 22);
    EXPECT_EQ(board.clearsBySize[0], 1);
    EXPECT_EQ(board.rowsTotal, 0);
    EXPECT_EQ(board.colHeight[3], 2);
    EXPECT_EQ(board.colHeight[2], 2);  // the overhang counts as the column's top
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// A board drawn row by row, one brick fixed on it, and the rows, heights and band
// that must follow.
struct ClearCase {
    const char* what;
    bool wellFullInColumn1;  // every row of the well holds a cell in column 1 first
    int firstRow;
    const char* before[4];  // rows firstRow.., nullptr ends
    const BrickRotation& (*rotation)();
    BrickPos pos;
    int removed, dirtyTop, dirtyBottom;
    int afterRow;
    const char* after[4];  // rows afterRow.., nullptr ends; rows above afterRow are empty
    int heights[kWellColumns];
};

const ClearCase kClears[] = {
    {"one row: the rows above drop",
     false,
     23,
     {"#########."},
     VerticalBar,
     {1, 9, 20},
     1,
     19,
     23,
     21,
     {".........#", ".........#", ".........#"},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 3}},
    {"two rows apart: the gaps close up",
     false,
     20,
     {"####.####.", "#########.", "####.####.", "#########."},
     VerticalBar,
     {1, 9, 20},
     2,
     18,
     23,
     22,
     {"####.#####", "####.#####"},
     {2, 2, 2, 2, 0, 2, 2, 2, 2, 2}},
    {"a height falls to the next cell, not to a hole",
     false,
     22,
     {"########..", "##.#####.."},
     Square,
     {0, 9, 21},
     1,
     20,
     22,
     22,
     {"........##", "##.#####.."},
     {1, 1, 0, 1, 1, 1, 1, 1, 2, 2}},
    {"four rows at the top of a full well",
     true,
     0,
     {"#########.", "#########.", "#########.", "#########."},
     VerticalBar,
     {1, 9, 0},
     4,
     0,
     3,
     0,
     {"..........", "..........", "..........", ".........."},
     {20, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(Board, FullRowsAreRemovedAndTheRowsAboveDrop) {
    for (const ClearCase& c : kClears) {
        Board board = EmptyBoard();
        if (c.wellFullInColumn1)
            for (int r = 0; r < kWellRows; ++r) PutRow(board, r, "#.........");
        for (int i = 0; i < 4 && c.before[i]; ++i) PutRow(board, c.firstRow + i, c.before[i]);
        ASSERT_EQ(FixBrick(c.rotation(), c.pos, board), 1) << c.what;
        EXPECT_EQ(board.rowsTotal, c.removed) << c.what;
        EXPECT_EQ(board.clearsBySize[c.removed], 1) << c.what;
        EXPECT_EQ(board.dirtyTop, c.dirtyTop) << c.what;
        EXPECT_EQ(board.dirtyBottom, c.dirtyBottom) << c.what;
        for (int i = 0; i < 4 && c.after[i]; ++i)
            for (int col = 0; col < kWellColumns; ++col)
                EXPECT_EQ(board.grid[kFirstWellColumn + col][c.afterRow + i], c.after[i][col] == '#' ? 1 : 0)
                    << c.what << ": row " << c.afterRow + i << " column " << kFirstWellColumn + col
                    << DrawRows(board, c.afterRow, 23);
        for (int r = 0; r < c.afterRow; ++r) EXPECT_EQ(board.rowFill[r], 0) << c.what << ": row " << r;
        for (int col = 0; col < kWellColumns; ++col)
            EXPECT_EQ(board.colHeight[kFirstWellColumn + col], c.heights[col]) << c.what << ": column " << col + 1;
        EXPECT_TRUE(BoardInvariantsHold(board)) << c.what;
    }
}

// Positions a brick that fits nowhere could be left at: refused, nothing written.
TEST(Board, PositionsOverlappingCellsOrOutsideTheWellAreRefused) {
    const BrickPos bad[] = {
        {0, 0, 10},               // left wall
        {0, 10, 10},              // right wall
        {0, 3, 23},               // floor
        {0, 3, -1},               // above the well
        {0, -40, 5},              // far outside the grid
        {0, 3, 400}, {0, 7, 22},  // onto fixed cells
    };
    for (const BrickPos& pos : bad) {
        Board board = EmptyBoard();
        PutRow(board, 23, "#######...");
        const Board before = board;
        EXPECT_EQ(FixBrick(Square(), pos, board), 0) << "column " << pos.column << " row " << pos.row;
        EXPECT_TRUE(SameBoard(board, before)) << "column " << pos.column << " row " << pos.row;
    }
}

}  // namespace
