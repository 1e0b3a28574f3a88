#include "ai/evaluator.h"

#include "ai/lanes.h"

namespace {

constexpr int kInBox = kBrickBox - 1;  // masks a local row or column into the box

constexpr int32_t kCoveredCellCost = 30;
constexpr int32_t kCompletedRowGain = 15;
constexpr int32_t kStepFree = 2;     // steps up to this height count nothing
constexpr int32_t kStepCost = 10;    // a step costs this much for each row beyond kStepFree
constexpr int32_t kLeftOut = 25000;  // taken off a lane whose brick would stand above the well

const Lanes kLaneIndex{0, 1, 2, 3, 4, 5, 6, 7};  // each lane's place among the eight columns of a vector

// The rows of a step between heights a and b (0 or more) beyond kStepFree, lane by lane;
// a step costs kStepCost for each.
Lanes StepRows(Lanes a, Lanes b) { return Excess(Distance(a, b), Splat(kStepFree)); }

// How the search is made fast. The simulator and the steered selection evaluate
// millions of bricks, each in about twenty-five placements. Written out for a brick
// w columns wide whose left column is cL, landing at y = 24 - reach (reach: the
// height of the highest point it rests on), the score is
//
//   (24 + 30 * sum of colBottom)            per rotation
//   + base[w][cL]                           per board: 30 * (the heights under the
//                                           brick) + the steps under and beside it, S
//   - (1 + 30 * w) * reach                  per placement
//   - E_left - E_right + 15 * F(y)          per placement
//
// 1. The board is summed up once (BoardSummary): the heights, raised by each bottom
//    a brick's column can have, base for every width and left column (each column's
//    height and the step after it summed once, then added up width by width), the
//    tallest column, and for each number of cells v from 1 to 4 the rows that lack
//    exactly v cells and lie above the lowest column's top: a row with an empty cell
//    under every column's top can never be completed. The rows are compared sixteen
//    at a time as bytes. The steered selection shares one summary among its seven
//    bricks.
// 2. Each rotation is summed up once per board (Profile) from what the brick file's
//    reader derived: the bottom of each of its columns (read as one word) and their
//    sum, and the topmost cell of its two edge columns.
// 3. The placements of a rotation are scored eight left columns at once, one 16-bit
//    lane each (ai/lanes.h): reach is the largest of the raised heights under the
//    brick, an edge column whose topmost cell is dy stands reach - dy high beside its
//    neighbour (the rows of each step beyond the free ones from saturating
//    subtractions, the two edges weighed with one product), and F is added for each
//    row the rotation's local rows can complete, found from the rows that lack as
//    many cells as the local row holds. A lane whose brick would stand above the well
//    is marked only where some column comes within a brick's height of the top.
// 4. One compare against the best so far, held in every lane, passes over a rotation
//    that beats nothing; otherwise the best is reduced into every lane and the
//    leftmost lane that has it found from the compare's bits, so the order of the
//    search is that of a plain loop over rotations and then columns from left to
//    right. Where only the score is wanted (the steered selection) the place is not
//    worked out at all.
// 5. The brick's width is a template argument: the columns under the brick are read
//    in straight-line code.
//
// The formula's weights are the four constants above. Every score lies within about
// -5,000 and 5,000, well inside a 16-bit lane.

}  // namespace

void SummarizeBoard(const Board& board, BoardSummary& s) {
    int16_t* h = s.raised[0];
    // Columns 0..7, then 3..10 over them, held to 0..24; 11..23 are beyond the wall.
    Store(h + 11, Splat(0));
    Store(h + 16, Splat(0));
    Store(h, Min(Max(LoadNarrow(board.colHeight), Splat(0)), Splat(kWellRows)));
    Store(h + 3, Min(Max(LoadNarrow(board.colHeight + 3), Splat(0)), Splat(kWellRows)));
    h[0] = 0;
    // Columns 1..8 and 9..16, eight at a time. step[c]: the step between columns c - 1
    // and c, 0 at the walls; under[c] = 30 * h[c] + step[c + 1], what column c adds to
    // a brick over it; base[w][c] = step[c] + under[c] + ... + under[c + w - 1], each
    // row from the one before, for the left columns a brick w wide can have.
    int16_t step[24] = {}, under[24] = {};
    for (int v = 0; v < 2; ++v) {
        const Lanes column = kLaneIndex + Splat(kFirstWellColumn + 8 * v);
        Store(step + kFirstWellColumn + 8 * v,
              Times(StepRows(Load(h + kFirstWellColumn + 8 * v), Load(h + 8 * v)), kStepCost) &
                  (column > Splat(kFirstWellColumn)) & (column <= Splat(kLastWellColumn)));
    }
    for (int v = 0; v < 2; ++v) {
        const int at = kFirstWellColumn + 8 * v;
        Store(under + at, Times(Load(h + at), kCoveredCellCost) + Load(step + at + 1));
    }
    for (int v = 0; v < 2; ++v) {
        const int at = kFirstWellColumn + 8 * v;
        Lanes base = Load(step + at) + Load(under + at);
        Store(s.base[1] + at, base);
        for (int w = 2; w <= (v == 0 ? kBrickBox : 2); ++w) {  // a brick 3 or 4 wide has eight places at most
            base += Load(under + at + w - 1);
            Store(s.base[w] + at, base);
        }
    }
    for (int b = 1; b < 8; ++b) {  // columns 16..23 are beyond the wall, 0 high
        for (int at = 0; at < 16; at += 8) Store(s.raised[b] + at, Load(h + at) + Splat(b));
        Store(s.raised[b] + 16, Splat(b));
    }
    // Rows 0..15 and 16..23 sixteen at a time; a row above every top lacks all ten
    // cells, more than a brick holds, and a full row (none is left on a board in play)
    // completes nothing more.
    const Bytes low = Narrow(LoadNarrow(board.rowFill), LoadNarrow(board.rowFill + 8));
    const Bytes high = Narrow(LoadNarrow(board.rowFill + 16), Splat(0));
    s.tallest = LargestInEveryLane(Max(Load(h + kFirstWellColumn), Load(h + kLastWellColumn - 7)))[0];
    // A row at or under the lowest column's top has no empty cell a brick can reach.
    const int32_t lowest = -LargestInEveryLane(-Min(Load(h + kFirstWellColumn), Load(h + kLastWellColumn - 7)))[0];
    const uint32_t reachable = 0xFFFFFFu >> lowest;
    s.lacking[0] = 0;
    for (int v = 1; v <= kBrickCells; ++v) {
        const Bytes lacks = Bytes{} + static_cast<int8_t>(kWellColumns - v);
        s.lacking[v] = (ByteBits(low == lacks) | ByteBits(high == lacks) << 16) & reachable;
    }
    for (int v = kBrickCells + 1; v < 8; ++v) s.lacking[v] = 0;
}

namespace {

struct Profile {
    int32_t bottom[kBrickBox];  // colBottom of local columns left, left + 1, ...
    int32_t constant;           // 24 + 30 * their sum
    int32_t leftTop, rightTop;  // colTop of the two edge columns
};

// Local columns are taken round the box (left + i modulo 4) and each bottom held to
// 0..7: a rotation from the brick file never needs it, and no other one can make a
// read outside the record. The four bottoms are read as one word, a byte each.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the bottoms are read as a little-endian word");
void TakeProfile(const BrickRotation& rot, int32_t width, Profile& p) {
    uint32_t bottoms;
    memcpy(&bottoms, rot.colBottom, sizeof bottoms);
    const uint32_t shift = 8 * (rot.left & kInBox);
    bottoms = (bottoms >> shift | bottoms << ((32 - shift) & 31)) & 0x07070707u;  // left's bottom first
    for (int i = 0; i < width; ++i) p.bottom[i] = static_cast<int32_t>(bottoms >> 8 * i & 7);
    const uint32_t inWidth = bottoms & (width == 4 ? ~0u : (1u << 8 * width) - 1);
    p.constant = kFloorRow + kCoveredCellCost * static_cast<int32_t>(inWidth * 0x01010101u >> 24);
    p.leftTop = rot.colTop[rot.left & kInBox] & kInBox;
    p.rightTop = rot.colTop[rot.right & kInBox] & kInBox;
}

// The best so far; bar holds its score in every lane (INT16_MIN / 2 before any lane
// fits), so that one compare tells whether a rotation beats it.
struct Best {
    int32_t score;
    BrickPos pos;
    Lanes bar;
};

// Scores every column of one rotation whose occupied local columns are
// left .. left + kWidth - 1, eight left columns a vector, and keeps the best in best
// when it scores higher: the leftmost of equals, as a search from left to right would.
// A lane whose left edge is at a wall counts no step there; a lane beyond the last
// column, or whose brick would stand above the well, is left out.
template <int kWidth, bool kMayStandAbove, bool kWantPlace>
void ScoreRotation(const BrickRotation& rot, int32_t index, const BoardSummary& s, Best& best) {
    Profile p;
    TakeProfile(rot, kWidth, p);
    constexpr int kLastLeft = kLastWellColumn - kWidth + 1;  // the left edge when the right one meets the wall
    constexpr int kVectors = (kLastLeft + 7) / 8;
    Lanes score[kVectors], landing[kVectors];
    for (int v = 0; v < kVectors; ++v) {
        const int at = kFirstWellColumn + 8 * v;  // the left edge of lane 0's brick
        const Lanes column = kLaneIndex + Splat(at);
        Lanes reach = Load(s.raised[p.bottom[0]] + at);  // heights raised by the brick's bottoms
        for (int i = 1; i < kWidth; ++i) reach = Max(reach, Load(s.raised[p.bottom[i]] + at + i));
        landing[v] = Splat(kFloorRow) - reach;
        Lanes sc = Splat(p.constant) + Load(s.base[kWidth] + at) - Times(reach, 1 + kCoveredCellCost * kWidth);
        const Lanes left = StepRows(reach, Load(s.raised[p.leftTop] + at - 1)) & (column > Splat(kFirstWellColumn));
        const Lanes right = StepRows(reach, Load(s.raised[p.rightTop] + at + kWidth)) & (column < Splat(kLastLeft));
        sc -= Times(left + right, kStepCost);
        // A lane left out scores below INT16_MIN / 2 whatever else it scores.
        if (kMayStandAbove) sc -= (landing[v] < Splat(0)) & Splat(kLeftOut);
        score[v] = Min(sc, Select(column <= Splat(kLastLeft), Splat(INT16_MAX), Splat(INT16_MIN)));
    }
    // F: local row j landed at y completes row y + j when that row lacks as many cells as
    // local row j holds; a lane whose landing row is such a y gains for it.
    for (int j = rot.top & kInBox; j <= (rot.bottom & kInBox); ++j)
        for (uint32_t rows = s.lacking[rot.rowCount[j] & 7] >> j; rows != 0; rows &= rows - 1) {  // seldom many
            const Lanes row = Splat(__builtin_ctz(rows));
            for (int v = 0; v < kVectors; ++v) score[v] += (landing[v] == row) & Splat(kCompletedRowGain);
        }
    Lanes top = score[0];
    for (int v = 1; v < kVectors; ++v) top = Max(top, score[v]);
    if (ByteBits(reinterpret_cast<Bytes>(top > best.bar)) == 0)
        return;  // nothing fits (F may lift a lane left out), or nothing better
    const Lanes most = LargestInEveryLane(top);
    if (!kWantPlace) {  // the score alone
        best.score = most[0], best.bar = most;
        return;
    }
    // The leftmost lane that scores most: the lowest of the bits, two a lane, of those that do.
    uint32_t tops = 0;
    for (int v = 0; v < kVectors; ++v) tops |= ByteBits(reinterpret_cast<Bytes>(score[v] == most)) << 16 * v;
    const int32_t at = __builtin_ctz(tops) / 2;
    best = Best{most[0], BrickPos{index, kFirstWellColumn + at - rot.left, landing[at / 8][at % 8]}, most};
}

}  // namespace

int32_t FindBestPlacement(const BrickType& brick, BrickPos* out, const Board& board) {
    BoardSummary s;
    SummarizeBoard(board, s);
    return FindBestPlacementOn(brick, out, s);
}

namespace {

// Every rotation in every column. kMayStandAbove is false where no column is within a
// brick's height of the top, so that no brick can stand above the well; kWantPlace is
// false where only the score is asked for.
template <bool kMayStandAbove, bool kWantPlace>
Best Search(const BrickType& brick, int32_t rotations, const BoardSummary& s) {
    Best best{NoPlacement, {}, Splat(INT16_MIN / 2)};
    for (int32_t r = 0; r < rotations; ++r) {
        const BrickRotation& rot = brick.rotations[r];
        switch (rot.right - rot.left + 1) {
            case 1: ScoreRotation<1, kMayStandAbove, kWantPlace>(rot, r, s, best); break;
            case 2: ScoreRotation<2, kMayStandAbove, kWantPlace>(rot, r, s, best); break;
            case 3: ScoreRotation<3, kMayStandAbove, kWantPlace>(rot, r, s, best); break;
            case 4: ScoreRotation<4, kMayStandAbove, kWantPlace>(rot, r, s, best); break;
            default: break;  // no cells: the rotation fits nowhere
        }
    }
    return best;
}

}  // namespace

int32_t FindBestPlacementOn(const BrickType& brick, BrickPos* out, const BoardSummary& s) {
    const int32_t rotations = brick.rotationCount < kMaxRotations ? brick.rotationCount : kMaxRotations;
    if (rotations <= 0) return NoPlacement;
    const bool nearTop = s.tallest > kFloorRow - kBrickBox;  // a brick may stand above the well
    if (out == nullptr)                                      // the score alone: the place is not worked out
        return nearTop ? Search<true, false>(brick, rotations, s).score
                       : Search<false, false>(brick, rotations, s).score;
    const Best best = nearTop ? Search<true, true>(brick, rotations, s) : Search<false, true>(brick, rotations, s);
    // Written once, after the search: out is left alone when nothing fits.
    if (best.score != NoPlacement) *out = best.pos;
    return best.score;
}
