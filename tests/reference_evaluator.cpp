#include "reference_evaluator.h"

#include <algorithm>
#include <cstdlib>

#include "ai/evaluator.h"

namespace {

int HeightFromGrid(const Board& board, int column) {
    int top = 0;
    while (!board.grid[column][top]) ++top;
    return kFloorRow - top;
}

int StepValue(int d) { return std::abs(d) > 2 ? 10 * std::abs(d) - 20 : 0; }

}  // namespace

ReferencePlacement ReferenceBestPlacement(const BrickType& brick, const Board& board) {
    int h[kGridColumns] = {};
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) h[c] = HeightFromGrid(board, c);
    ReferencePlacement best{NoPlacement, BrickPos{-1, -1, -1}};
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
            if (score > best.score) best = ReferencePlacement{score, BrickPos{r, x, y}};
        }
    }
    return best;
}
