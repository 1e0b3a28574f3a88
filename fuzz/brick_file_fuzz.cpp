// Fuzz target: the brick-file reader on any bytes. A refused file must leave the
// table exactly as it was; an accepted one must have 1 to 4 rotations a type, the
// unused ones zero, and each brick, placed by the computer on an empty well until it
// fits no more, must keep the board sound and be placed where the plain reference,
// which reads the cells alone, places it: so every derived field must be the cells'.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ai/evaluator.h"
#include "board_check.h"
#include "reference_evaluator.h"

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
        for (int r = type.rotationCount; r < kMaxRotations; ++r)
            if (memcmp(&type.rotations[r], &zero, sizeof zero)) fault = "an unused rotation is not zero";
        if (type.rotationCount < 1 || type.rotationCount > kMaxRotations) fault = "rotation count out of range";
        Board board{};
        ResetBoard(board);
        BrickPos pos = SpawnPos;
        for (int n = 0; n < 40 && fault.empty() && FindBestPlacement(type, &pos, board) != NoPlacement; ++n) {
            const ReferencePlacement want = ReferenceBestPlacement(type, board);
            if (memcmp(&want.pos, &pos, sizeof pos))
                fault = "type " + std::to_string(t) + " placed unlike the reference";
            if (!FixBrick(type.rotations[pos.rotation], pos, board) || !(fault += BoardFault(board)).empty()) break;
        }
    }
    if (!fault.empty()) fprintf(stderr, "%s\n", fault.c_str()), abort();
    return 0;
}
