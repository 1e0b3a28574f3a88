#include "ai/evaluator.h"

namespace {

constexpr int32_t kCoveredCellCost = 30;
constexpr int32_t kCompletedRowGain = 15;
constexpr int32_t kStepFree = 2;  // steps up to this height count nothing

// Cost of a step of height d; the same amount is earned for covering one.
int32_t StepWeight(int32_t d) {
    if (d < 0) d = -d;
    return d > kStepFree ? 10 * d - 20 : 0;
}

// Height that local column i of the rotation reaches when the box stands on row y:
// the first cell listed in that column is its topmost.
int32_t EdgeHeight(const BrickRotation& rot, int i, int32_t y) {
    for (const auto& cell : rot.cell)
        if (cell[0] == i) return kFloorRow - (y + cell[1]);
    return 0;
}

int32_t ScorePlacement(const BrickRotation& rot, int32_t x, int32_t y, const Board& board) {
    const int32_t* h = board.colHeight;
    const int32_t cL = x + rot.left, cR = x + rot.right;
    int32_t covered = 0;
    for (int i = rot.left; i <= rot.right; ++i) covered += rot.colBottom[i] + h[x + i] + y - kFloorRow;
    int32_t completed = 0;
    for (int j = 0; j < kBrickBox; ++j)
        if (y + j < kWellRows && board.rowFill[y + j] + rot.rowCount[j] == kWellColumns) ++completed;
    int32_t edges = 0;
    if (cL >= kFirstWellColumn + 1) edges -= StepWeight(EdgeHeight(rot, rot.left, y) - h[cL - 1]);
    if (cR + 1 <= kLastWellColumn) edges -= StepWeight(EdgeHeight(rot, rot.right, y) - h[cR + 1]);
    int32_t steps = 0;
    for (int32_t c = cL; c <= cR + 1; ++c)
        if (c >= kFirstWellColumn + 1 && c <= kLastWellColumn) steps += StepWeight(h[c] - h[c - 1]);
    return y + kCoveredCellCost * covered + kCompletedRowGain * completed + edges + steps;
}

}  // namespace

int32_t FindBestPlacement(const BrickType& brick, BrickPos* out, const Board& board) {
    int32_t best = NoPlacement;
    const int32_t rotations = brick.rotationCount < kMaxRotations ? brick.rotationCount : kMaxRotations;
    for (int32_t r = 0; r < rotations; ++r) {
        const BrickRotation& rot = brick.rotations[r];
        for (int32_t x = kFirstWellColumn - rot.left; x <= kLastWellColumn - rot.right; ++x) {
            int32_t y = kWellRows;
            for (int i = rot.left; i <= rot.right; ++i) {
                const int32_t rest = kFloorRow - rot.colBottom[i] - board.colHeight[x + i];
                if (rest < y) y = rest;
            }
            if (y < 0) continue;
            const int32_t score = ScorePlacement(rot, x, y, board);
            if (score > best) {
                best = score;
                if (out != nullptr) *out = BrickPos{r, x, y};
            }
        }
    }
    return best;
}
