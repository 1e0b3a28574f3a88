// The evaluator against a plain reference that reads the grid cell by cell and the
// rotations' cells directly, on thousands of random legal boards.
#include <cstdlib>
#include <random>

#include "ai/evaluator.h"
#include "test_boards.h"

namespace {

int HeightFromGrid(const Board& board, int column) {
    int top = 0;
    while (!board.grid[column][top]) ++top;
    return kFloorRow - top;
}

int StepValue(int d) { return std::abs(d) > 2 ? 10 * std::abs(d) - 20 : 0; }

struct Reference {
    int32_t score = NoPlacement;
    BrickPos pos{-1, -1, -1};
};

// Every rotation in every column, scored from the grid as the formula reads.
Reference ReferenceBest(const BrickType& brick, const Board& board) {
    int h[kGridColumns] = {};
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) h[c] = HeightFromGrid(board, c);
    Reference best;
    for (int r = 0; r < brick.rotationCount; ++r) {
        const auto& cells = brick.rotations[r].cell;
        int L = 3, R = 0, lowest[4] = {-1, -1, -1, -1}, highest[4] = {9, 9, 9, 9};
        for (const auto& c : cells) {
            L = std::min<int>(L, c[0]);
            R = std::max<int>(R, c[0]);
            lowest[c[0]] = std::max<int>(lowest[c[0]], c[1]);
            highest[c[0]] = std::min<int>(highest[c[0]], c[1]);
        }
        for (int x = 1 - L; x <= 10 - R; ++x) {
            int y = 99;
            for (const auto& c : cells) y = std::min(y, kFloorRow - 1 - h[x + c[0]] - c[1]);
            if (y < 0) continue;
            int covered = 0;
            for (int i = L; i <= R; ++i)
                for (int row = y + lowest[i] + 1; row < kFloorRow && !board.grid[x + i][row]; ++row) ++covered;
            int completed = 0;
            for (int row = y; row < y + 4 && row < kWellRows; ++row) {
                int filled = 0, mine = 0;
                for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) filled += board.grid[c][row];
                for (const auto& c : cells) mine += (y + c[1] == row);
                if (mine > 0 && filled + mine == kWellColumns) ++completed;
            }
            const int cL = x + L, cR = x + R;
            int edges = 0;
            if (cL >= 2) edges -= StepValue(kFloorRow - (y + highest[L]) - h[cL - 1]);
            if (cR + 1 <= 10) edges -= StepValue(kFloorRow - (y + highest[R]) - h[cR + 1]);
            int steps = 0;
            for (int c = std::max(cL, 2); c <= std::min(cR + 1, 10); ++c) steps += StepValue(h[c] - h[c - 1]);
            const int score = y - 30 * covered + 15 * completed + edges + steps;
            if (score > best.score) best = Reference{score, BrickPos{r, x, y}};
        }
    }
    return best;
}

// A block of rows ending at row 23, none full, none empty, with holes anywhere.
Board RandomLegalBoard(std::mt19937& rng) {
    Board board = EmptyBoard();
    const int rows = std::uniform_int_distribution<int>(0, 23)(rng);
    const int density = std::uniform_int_distribution<int>(2, 9)(rng);
    for (int r = kWellRows - rows; r < kWellRows; ++r) {
        char cells[11] = "..........";
        int filled = 0;
        for (int c = 0; c < kWellColumns; ++c)
            if (std::uniform_int_distribution<int>(0, 9)(rng) < density) cells[c] = '#', ++filled;
        if (filled == 0) cells[rng() % 10] = '#';
        if (filled == kWellColumns) cells[rng() % 10] = '.';
        PutRow(board, r, cells);
    }
    return board;
}

TEST(EvaluatorReference, AgreesWithThePlainFormulaOnRandomBoards) {
    std::mt19937 rng(20261206);
    int compared = 0, nothingFits = 0;
    for (int i = 0; i < 6000; ++i) {
        const Board board = RandomLegalBoard(rng);
        ASSERT_TRUE(BoardInvariantsHold(board));
        for (int t = 0; t < kBrickTypes; ++t) {
            const BrickType& brick = ShippedTable().types[t];
            const Reference want = ReferenceBest(brick, board);
            BrickPos got{-1, -1, -1};
            const int32_t score = FindBestPlacement(brick, &got, board);
            ASSERT_EQ(score, want.score) << "board " << i << " type " << t << DrawRows(board, 0, 23);
            ASSERT_TRUE(SamePos(got, want.pos)) << "board " << i << " type " << t << DrawRows(board, 0, 23);
            ASSERT_EQ(FindBestPlacement(brick, nullptr, board), score) << "board " << i << " type " << t;
            ++compared;
            nothingFits += score == NoPlacement;
        }
    }
    EXPECT_GT(nothingFits, 0) << "the boards should reach the top of the well now and then";
    RecordProperty("placements_compared", compared);
}

}  // namespace
