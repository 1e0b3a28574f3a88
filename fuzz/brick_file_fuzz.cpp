// Fuzz target: the brick-file reader on any bytes. A refused file must leave the
// table exactly as it was; an accepted one must hold what the rest of the program
// relies on (1 to 4 rotations, the unused ones zero, every cell inside the box and
// the box and profiles as its cells give them), and each of its bricks, placed by the
// computer on an empty well until the well is full, must keep the board sound.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ai/evaluator.h"
#include "board_check.h"

namespace {

// Whether the cells of rot lie in the box, distinct and by rows, and its box and
// profiles are those of its cells.
bool Derived(const BrickRotation& rot) {
    BrickRotation want{};
    memcpy(want.cell, rot.cell, sizeof want.cell);
    want.left = want.top = 3;
    unsigned cells = 0;
    for (int i = 0; i < kBrickCells; ++i) {
        const uint8_t x = rot.cell[i][0], y = rot.cell[i][1];
        if (x > 3 || y > 3 || (cells & 1u << (4 * y + x)) || (i > 0 && y < rot.cell[i - 1][1])) return false;
        cells |= 1u << (4 * y + x);
        want.left = std::min(want.left, x), want.right = std::max(want.right, x);
        want.top = std::min(want.top, y), want.bottom = std::max(want.bottom, y);
        want.rowCount[y] += 1;
        if (want.colBottom[x] == 0) want.colTop[x] = y;  // the first cell of a column is its topmost
        want.colBottom[x] = static_cast<uint8_t>(y + 1);
    }
    return memcmp(&want, &rot, sizeof rot) == 0;
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
    std::string fault = !read && memcmp(&table, &before, sizeof table) ? "a refused file changed the table" : "";
    for (int t = 0; read && t < kBrickTypes && fault.empty(); ++t) {
        const BrickType& type = table.types[t];
        const BrickRotation zero{};
        for (int r = 0; r < kMaxRotations; ++r)
            if (r < type.rotationCount ? !Derived(type.rotations[r]) : memcmp(&type.rotations[r], &zero, sizeof zero))
                fault = "type " + std::to_string(t) + " rotation " + std::to_string(r) + " not as its cells give it";
        if (type.rotationCount < 1 || type.rotationCount > kMaxRotations) fault = "rotation count out of range";
        Board board{};
        ResetBoard(board);
        BrickPos pos = SpawnPos;
        for (int n = 0; n < 40 && fault.empty() && FindBestPlacement(type, &pos, board) != NoPlacement; ++n)
            if (!FixBrick(type.rotations[pos.rotation], pos, board) || !(fault = BoardFault(board)).empty()) break;
    }
    if (!fault.empty()) fprintf(stderr, "%s\n", fault.c_str()), abort();
    return 0;
}
