// Fuzz target: a byte string read as a game. Without a falling brick, a byte deals
// one (its type, or a draw for the chooser in a selection the byte picks) and says
// whether the computer places it at once; with one, a byte is a move command, 0 to
// 7 (0 and 7 are not commands). Every landing is checked with the tests' own checker,
// and every row it changed must lie in the band it reports for repainting; a refused
// landing must leave the board as it was, and a new game starts. The soak test plays
// a million bricks through it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "board_check.h"
#include "model/motion.h"

uint64_t boardFuzzLandings = 0;  // landings so far in this process, for the soak

namespace {

BrickTable table;
int nextDraw = 0;
int FuzzDraw() { return nextDraw; }

void Land(Board& board, const BrickType& brick, const BrickPos& pos) {
    Board before = board;
    std::string fault;
    if (!FixBrick(brick.rotations[pos.rotation], pos, board)) {
        if (!SameBoard(board, before)) fault = "a refused landing changed the board";
        ResetBoard(board);
    } else if (++boardFuzzLandings, fault = BoardFault(board), fault.empty()) {
        for (const auto& cell : brick.rotations[pos.rotation].cell)
            before.grid[pos.column + cell[0]][pos.row + cell[1]] = 1;
        for (int r = 0; r < kWellRows; ++r)
            for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c)
                if (before.grid[c][r] != board.grid[c][r] &&
                    (board.dirtyBottom == -1 || r < board.dirtyTop || r > board.dirtyBottom))
                    fault = "row " + std::to_string(r) + " changed outside the repaint band\n" + DrawRows(board);
    }
    if (!fault.empty()) fprintf(stderr, "%s\n", fault.c_str()), abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!LoadBrickTableFrom(KVADER_BRICK_FILE, table)) fprintf(stderr, "cannot read " KVADER_BRICK_FILE "\n"), abort();
    SetRandomDraw(FuzzDraw);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Board board{};
    ResetBoard(board);
    const BrickType* brick = nullptr;
    BrickPos pos = SpawnPos;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = data[i];
        if (brick != nullptr) {
            if (MoveBrick(b % 8, pos, *brick, board.grid) == kLanded) Land(board, *brick, pos), brick = nullptr;
            continue;
        }
        if (b & 0x40) {
            SetBrickSelection((b >> 3) % 3, 1 + (b & 7) * 3);
            nextDraw = (b * 2654435761u >> 7) & (kDrawRange - 1);
            brick = ChooseBrick(table, board);
        } else {
            brick = &table.types[b % kBrickTypes];
            board.bricksDealt += 1;
            board.brickTypeCount[b % kBrickTypes] += 1;
        }
        pos = SpawnPos;
        if (b & 0x80) {  // the computer's place, or the spawn place when it fits nowhere
            FindBestPlacement(*brick, &pos, board);
            Land(board, *brick, pos), brick = nullptr;
        }
    }
    return 0;
}
