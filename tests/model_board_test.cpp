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
    EXPECT_TRUE(BoardInvariantsHold(board));
    for (int r = 0; r < kWellRows; ++r) EXPECT_EQ(board.rowFill[r], 0);
    EXPECT_EQ(board.bricksDealt, 0u);
    EXPECT_EQ(board.rowsTotal, 0);
    for (int n = 0; n <= kMaxClear; ++n) EXPECT_EQ(board.clearsBySize[n], 0);
    for (int t = 0; t < kBrickTypes; ++t) EXPECT_EQ(board.brickTypeCount[t], 0);
    EXPECT_EQ(board.dirtyTop, -1);
    EXPECT_EQ(board.dirtyBottom, -1);
    EXPECT_EQ(board.mode, 0);
    EXPECT_EQ(board.isComputer, 0);
    EXPECT_EQ(board.curBrick, &ShippedTable().types[kTee]);
    EXPECT_EQ(board.curPos.column, 3);
    EXPECT_EQ(board.hintPos.row, 9);
}

TEST(Board, BrickAtTheSpawnPlaceIsRefusedInEveryRotation) {
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& type = ShippedTable().types[t];
        for (int r = 0; r < type.rotationCount; ++r) {
            Board board = EmptyBoard();
            const Board before = board;
            EXPECT_EQ(FixBrick(type.rotations[r], BrickPos{r, 4, 0}, board), 0) << "type " << t << " rotation " << r;
            EXPECT_EQ(0, memcmp(&board, &before, sizeof board)) << "type " << t << " rotation " << r;
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

void ExpectRows(const Board& board, int firstRow, std::initializer_list<const char*> rows, const char* what) {
    int r = firstRow;
    for (const char* row : rows) {
        for (int i = 0; i < kWellColumns; ++i)
            EXPECT_EQ(board.grid[kFirstWellColumn + i][r], row[i] == '#' ? 1 : 0)
                << what << ": row " << r << " column " << kFirstWellColumn + i << DrawRows(board, firstRow, 23);
        ++r;
    }
    for (int above = 0; above < firstRow; ++above) EXPECT_EQ(board.rowFill[above], 0) << what << ": row " << above;
}

void ExpectHeights(const Board& board, std::initializer_list<int> heights, const char* what) {
    int c = kFirstWellColumn;
    for (int h : heights) EXPECT_EQ(board.colHeight[c++], h) << what << ": column " << c - 1;
}

TEST(Board, FullRowIsRemovedAndTheRowsAboveDrop) {
    Board board = EmptyBoard();
    PutRow(board, 23, "#########.");
    ASSERT_EQ(FixBrick(VerticalBar(), BrickPos{1, 9, 20}, board), 1);
    ExpectRows(board, 21, {".........#", ".........#", ".........#"}, "single");
    ExpectHeights(board, {0, 0, 0, 0, 0, 0, 0, 0, 0, 3}, "single");
    EXPECT_EQ(board.dirtyTop, 19);
    EXPECT_EQ(board.dirtyBottom, 23);
    EXPECT_EQ(board.clearsBySize[1], 1);
    EXPECT_EQ(board.rowsTotal, 1);
    EXPECT_TRUE(BoardInvariantsHold(board));
}

TEST(Board, TwoSeparateRowsAreRemovedAndTheGapsCloseUp) {
    Board board = EmptyBoard();
    PutRow(board, 20, "####.####.");
    PutRow(board, 21, "#########.");
    PutRow(board, 22, "####.####.");
    PutRow(board, 23, "#########.");
    ASSERT_EQ(FixBrick(VerticalBar(), BrickPos{1, 9, 20}, board), 1);
    ExpectRows(board, 20, {"..........", "..........", "####.#####", "####.#####"}, "double");
    ExpectHeights(board, {2, 2, 2, 2, 0, 2, 2, 2, 2, 2}, "double");
    EXPECT_EQ(board.dirtyTop, 18);
    EXPECT_EQ(board.dirtyBottom, 23);
    EXPECT_EQ(board.clearsBySize[2], 1);
    EXPECT_EQ(board.rowsTotal, 2);
    EXPECT_TRUE(BoardInvariantsHold(board));
}

TEST(Board, HeightFallsToTheNextFilledCellNotToAHole) {
    Board board = EmptyBoard();
    PutRow(board, 22, "########..");
    PutRow(board, 23, "##.#####..");
    ASSERT_EQ(FixBrick(Square(), BrickPos{0, 9, 21}, board), 1);
    ExpectRows(board, 22, {"........##", "##.#####.."}, "hole");
    ExpectHeights(board, {1, 1, 0, 1, 1, 1, 1, 1, 2, 2}, "hole");
    EXPECT_EQ(board.dirtyTop, 20);
    EXPECT_EQ(board.dirtyBottom, 22);
    EXPECT_TRUE(BoardInvariantsHold(board));
}

TEST(Board, FourRowsAtTheTopOfAFullWell) {
    Board board = EmptyBoard();
    for (int r = 0; r < kWellRows; ++r) PutRow(board, r, r < 4 ? "#########." : "#.........");
    ASSERT_EQ(FixBrick(VerticalBar(), BrickPos{1, 9, 0}, board), 1);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(board.rowFill[r], 0) << "row " << r;
    for (int r = 4; r < kWellRows; ++r) EXPECT_EQ(board.rowFill[r], 1) << "row " << r;
    EXPECT_EQ(board.colHeight[1], 20);
    EXPECT_EQ(board.dirtyTop, 0);
    EXPECT_EQ(board.dirtyBottom, 3);
    EXPECT_EQ(board.clearsBySize[4], 1);
    EXPECT_EQ(board.rowsTotal, 4);
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Positions a brick that fits nowhere could be left at: refused, nothing written.
TEST(Board, PositionsOverlappingCellsOrOutsideTheWellAreRefused) {
    const BrickPos bad[] = {
        {0, 0, 10},    // left wall
        {0, 10, 10},   // right wall
        {0, 3, 23},    // floor
        {0, 3, -1},    // above the well
        {0, -40, 5},   // far outside the grid
        {0, 3, 400},
        {0, 7, 22},    // onto fixed cells
    };
    for (const BrickPos& pos : bad) {
        Board board = EmptyBoard();
        PutRow(board, 23, "#######...");
        const Board before = board;
        EXPECT_EQ(FixBrick(Square(), pos, board), 0) << "column " << pos.column << " row " << pos.row;
        EXPECT_EQ(0, memcmp(&board, &before, sizeof board)) << "column " << pos.column << " row " << pos.row;
    }
}

}  // namespace
