#include "model/motion.h"

namespace {

bool Fits(const BrickPos& pos, const BrickType& brick, const uint8_t (&grid)[kGridColumns][kGridRows]) {
    if (pos.rotation < 0 || pos.rotation >= brick.rotationCount || pos.rotation >= kMaxRotations) return false;
    for (const auto& cell : brick.rotations[pos.rotation].cell) {
        const int32_t c = pos.column + cell[0], r = pos.row + cell[1];
        if (c < 0 || c >= kGridColumns || r < 0 || r >= kGridRows || grid[c][r] != 0) return false;
    }
    return true;
}

}  // namespace

int MoveBrick(uint32_t command, BrickPos& pos, const BrickType& brick, const uint8_t (&grid)[kGridColumns][kGridRows]) {
    const BrickPos before = pos;
    switch (command) {
        case kMoveLeft: pos.column -= 1; break;
        case kMoveRight: pos.column += 1; break;
        case kMoveDown: pos.row += 1; break;
        case kRotateForward: pos.rotation = pos.rotation >= brick.rotationCount - 1 ? 0 : pos.rotation + 1; break;
        case kRotateBack: pos.rotation = pos.rotation == 0 ? brick.rotationCount - 1 : pos.rotation - 1; break;
        case kDrop:
            while (MoveBrick(kMoveDown, pos, brick, grid) != kLanded) {
            }
            return kLanded;
        default: return kMoved;
    }
    if (Fits(pos, brick, grid)) return kMoved;
    pos = before;
    return command == kMoveDown ? kLanded : kBlocked;
}
