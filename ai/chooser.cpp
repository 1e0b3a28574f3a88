#include "ai/chooser.h"

#include <cmath>
#include <cstdlib>

#include "ai/evaluator.h"

namespace {

constexpr int kRanks = kBrickTypes;

int32_t chooserMode = kRandomSelection;
double rankScale = 0.0;    // (x^7 - 1) / 32768, x = intensity / 10 + 1
double rankLogBase = 0.0;  // ln x

int DefaultDraw() { return rand(); }
int (*drawNumber)() = DefaultDraw;

int32_t Draw() { return drawNumber() & (kDrawRange - 1); }

// k = 6 for the best rank, 0 for the last. v runs from 1 up to just below x^7, so
// floor(log_x v) is 0 to 6; the clamp only guards against rounding.
int DrawRankIndex() {
    const double v = Draw() * rankScale + 1.0;
    int k = static_cast<int>(log(v) / rankLogBase);
    if (k < 0) k = 0;
    if (k > kRanks - 1) k = kRanks - 1;
    return k;
}

}  // namespace

void SetBrickSelection(int32_t mode, int32_t intensity) {
    chooserMode = mode;
    if (mode == kRandomSelection) return;
    if (intensity < 1) intensity = 1;
    const double x = intensity / 10.0 + 1.0;
    rankScale = (pow(x, 7.0) - 1.0) / kDrawRange;
    rankLogBase = log(x);
}

const BrickType* ChooseBrick(const BrickTable& table, Board& board) {
    int type = 0;
    if (chooserMode == kRandomSelection) {
        type = kBrickTypes * Draw() / kDrawRange;
    } else {
        int32_t score[kBrickTypes];
        BoardSummary summary;  // one for the seven bricks
        SummarizeBoard(board, summary);
        const int32_t sign = chooserMode == kMoreSuitable ? 1 : -1;
        for (int t = 0; t < kBrickTypes; ++t) score[t] = sign * FindBestPlacementOn(table.types[t], nullptr, summary);
        type = PickNthLargest(score, kBrickTypes, kRanks - DrawRankIndex());
    }
    board.bricksDealt += 1;
    board.brickTypeCount[type] += 1;
    return &table.types[type];
}

int PickNthLargest(int32_t* values, int count, int n) {
    int index = 0;
    for (int pass = 0; pass < n; ++pass) {
        int32_t best = NoPlacement;
        for (int i = 0; i < count; ++i) {
            if (values[i] > best) {
                best = values[i];
                index = i;
            }
        }
        if (best != NoPlacement) values[index] = NoPlacement;
    }
    return index;
}

void SetRandomDraw(int (*draw)()) { drawNumber = draw != nullptr ? draw : DefaultDraw; }

uint32_t LaunchSeed(uint32_t seconds, uint32_t fineClock) {
    uint32_t h = seconds ^ (fineClock * 0x9E3779B9u);  // the golden ratio's odd multiplier
    h ^= h >> 16;  // the finalizer of MurmurHash3: every input bit reaches every output bit
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    return h ^ (h >> 16);
}
