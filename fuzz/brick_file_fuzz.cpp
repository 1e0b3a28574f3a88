// Fuzz target: the brick-file reader on any bytes. A refused file must leave the
// table exactly as it was; an accepted one must meet every constraint that the rest
// of the program relies on, and each of its bricks must play on a board that stays
// sound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ai/evaluator.h"
#include "board_check.h"
#include "model/board.h"
#include "model/brick.h"
#include "model/motion.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "%s\n", what.c_str());
    abort();
}

// The constraints on a rotation and its derived fields, recomputed from its cells.
std::string RotationFault(const BrickRotation& rot) {
    BrickRotation want{};
    bool colUsed[kBrickBox] = {}, rowUsed[kBrickBox] = {};
    for (int i = 0; i < kBrickCells; ++i) {
        const int dx = rot.cell[i][0], dy = rot.cell[i][1];
        if (dx >= kBrickBox || dy >= kBrickBox) return "a cell outside the box";
        if (i > 0 && dy < rot.cell[i - 1][1]) return "cells out of order";
        for (int j = 0; j < i; ++j)
            if (rot.cell[j][0] == dx && rot.cell[j][1] == dy) return "two cells alike";
        want.rowCount[dy] += 1;
        if (!colUsed[dx]) want.colTop[dx] = static_cast<uint8_t>(dy);
        if (want.colBottom[dx] < dy + 1) want.colBottom[dx] = static_cast<uint8_t>(dy + 1);
        colUsed[dx] = rowUsed[dy] = true;
    }
    int left = 0;
    while (!colUsed[left]) ++left;
    int right = left;
    while (right + 1 < kBrickBox && colUsed[right + 1]) ++right;
    for (int i = right + 1; i < kBrickBox; ++i)
        if (colUsed[i]) return "a gap between columns";
    if (left > 1) return "the columns start beyond local column 1";
    for (int j = rot.cell[0][1]; j <= rot.cell[3][1]; ++j)
        if (!rowUsed[j]) return "a gap between rows";
    if (rot.left != left || rot.right != right || rot.top != rot.cell[0][1] || rot.bottom != rot.cell[3][1])
        return "box not as the cells give it";
    if (memcmp(rot.rowCount, want.rowCount, kBrickBox) || memcmp(rot.colBottom, want.colBottom, kBrickBox) ||
        memcmp(rot.colTop, want.colTop, kBrickBox))
        return "profiles not as the cells give them";
    return {};
}

// Every type on an empty board: the computer places it until a landing is refused,
// then the player drops it from the spawn place; the board is checked every time.
void PlayEveryType(const BrickTable& table) {
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& brick = table.types[t];
        Board board{};
        ResetBoard(board);
        for (int n = 0; n < 40; ++n) {
            BrickPos pos = SpawnPos;
            FindBestPlacement(brick, &pos, board);
            if (!FixBrick(brick.rotations[pos.rotation], pos, board)) break;
            const std::string fault = BoardFault(board);
            if (!fault.empty()) Fail("type " + std::to_string(t) + " placed by the computer: " + fault);
        }
        ResetBoard(board);
        BrickPos pos = SpawnPos;
        MoveBrick(kRotateForward, pos, brick, board.grid);
        MoveBrick(kDrop, pos, brick, board.grid);
        if (FixBrick(brick.rotations[pos.rotation], pos, board) && !BoardFault(board).empty())
            Fail("type " + std::to_string(t) + " dropped: " + BoardFault(board));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // fmemopen refuses an empty buffer; an empty temporary file reads the same.
    FILE* file = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : tmpfile();
    if (file == nullptr) return 0;
    BrickTable table, before;
    memset(&table, 0xA5, sizeof table);
    before = table;
    const int read = ReadBrickTable(file, table);
    fclose(file);
    if (!read) {
        if (memcmp(&table, &before, sizeof table) != 0) Fail("a refused file changed the table");
        return 0;
    }
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& type = table.types[t];
        if (type.rotationCount < 1 || type.rotationCount > kMaxRotations) Fail("rotation count out of range");
        for (int r = 0; r < kMaxRotations; ++r) {
            const BrickRotation& rot = type.rotations[r];
            if (r >= type.rotationCount) {
                const BrickRotation zero{};
                if (memcmp(&rot, &zero, sizeof rot) != 0) Fail("an unused rotation is not zero");
                continue;
            }
            const std::string fault = RotationFault(rot);
            if (!fault.empty()) Fail("type " + std::to_string(t) + " rotation " + std::to_string(r) + ": " + fault);
        }
    }
    PlayEveryType(table);
    return 0;
}
