// Workloads whose instructions `make bench` counts with callgrind: each runs in a
// function of its own (Counted...), which callgrind alone collects, so the count
// leaves out the start-up and the setting up of boards. Usage:
//   kvader_count evaluate|reference|choose-better|choose-worse|game-random|game-better|game-worse N
// runs the workload N times (N evaluations, choices or landed bricks).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "mid_game.h"
#include "model/board.h"
#include "model/brick.h"
#include "reference_evaluator.h"

namespace {

BrickTable table;

}  // namespace

extern "C" {

// The seven bricks in turn on the board, n evaluations in all.
__attribute__((noinline)) int32_t CountedEvaluations(const Board& board, long n) {
    int32_t sum = 0;
    for (long i = 0; i < n; ++i) {
        BrickPos pos;
        sum += FindBestPlacement(table.types[i % kBrickTypes], &pos, board);
    }
    return sum;
}

__attribute__((noinline)) int32_t CountedReferences(const Board& board, long n) {
    int32_t sum = 0;
    for (long i = 0; i < n; ++i) sum += ReferenceBestPlacement(table.types[i % kBrickTypes], board).score;
    return sum;
}

// n steered choices on the board (only its counters change).
__attribute__((noinline)) long CountedChoices(Board& board, long n) {
    long types = 0;
    for (long i = 0; i < n; ++i) types += ChooseBrick(table, board) - table.types;
    return types;
}

// An automatic game of n landed bricks; a game that ends starts again.
__attribute__((noinline)) long CountedGame(Board& board, long n) {
    long games = 1;
    for (long i = 0; i < n; ++i) {
        const BrickType& brick = *ChooseBrick(table, board);
        BrickPos pos = SpawnPos;
        FindBestPlacement(brick, &pos, board);
        if (!FixBrick(brick.rotations[pos.rotation], pos, board)) ResetBoard(board), ++games;
    }
    return games;
}
}

int main(int argc, char** argv) {
    const long n = argc == 3 ? atol(argv[2]) : 0;
    if (n <= 0 || !LoadBrickTable(table)) {
        fprintf(stderr, "usage: kvader_count WORKLOAD N, from the folder that holds kvader.dat\n");
        return 2;
    }
    const char* w = argv[1];
    Board board = MidGameBoard(table);
    const int mode = strstr(w, "better") ? kMoreSuitable : strstr(w, "worse") ? kLessSuitable : kRandomSelection;
    SetBrickSelection(mode, 5);
    srand(11);
    long result = 0;
    if (strcmp(w, "evaluate") == 0)
        result = CountedEvaluations(board, n);
    else if (strcmp(w, "reference") == 0)
        result = CountedReferences(board, n);
    else if (strncmp(w, "choose-", 7) == 0 && mode != kRandomSelection)
        result = CountedChoices(board, n);
    else if (strncmp(w, "game-", 5) == 0)
        ResetBoard(board), result = CountedGame(board, n);
    else
        return fprintf(stderr, "unknown workload %s\n", w), 2;
    printf("%s %ld: %ld\n", w, n, result);
    return 0;
}
