// Speed of the computer player: one evaluation, one steered choice (seven
// evaluations and a draw), and whole automatic games, brick by brick.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/board.h"
#include "model/brick.h"

namespace {

const BrickTable& Table() {
    static BrickTable table;
    static const int loaded = LoadBrickTable(table);
    if (!loaded) {
        fprintf(stderr, "kvader.dat must be in the working directory\n");
        exit(1);
    }
    return table;
}

// A board from the middle of a game: the computer plays 60 bricks on it.
Board MidGameBoard() {
    srand(7);
    Board board{};
    ResetBoard(board);
    SetBrickSelection(kRandomSelection, 5);
    for (int i = 0; i < 60; ++i) {
        const BrickType& brick = *ChooseBrick(Table(), board);
        BrickPos pos{};
        if (FindBestPlacement(brick, &pos, board) == NoPlacement || !FixBrick(brick.rotations[pos.rotation], pos, board))
            break;
    }
    return board;
}

void BM_FindBestPlacement(benchmark::State& state) {
    const Board board = MidGameBoard();
    int type = 0;
    for (auto _ : state) {
        BrickPos pos;
        benchmark::DoNotOptimize(FindBestPlacement(Table().types[type], &pos, board));
        type = (type + 1) % kBrickTypes;
    }
}
BENCHMARK(BM_FindBestPlacement);

void BM_ChooseBrickSteered(benchmark::State& state) {
    Board board = MidGameBoard();
    SetBrickSelection(kMoreSuitable, 5);
    for (auto _ : state) benchmark::DoNotOptimize(ChooseBrick(Table(), board));
    SetBrickSelection(kRandomSelection, 5);
}
BENCHMARK(BM_ChooseBrickSteered);

// The automatic game with steered bricks, as fast as it can go; a game that ends
// starts again. Items are bricks landed.
void BM_AutomaticGame(benchmark::State& state) {
    srand(11);
    SetBrickSelection(static_cast<int32_t>(state.range(0)), 5);
    Board board{};
    ResetBoard(board);
    int64_t bricks = 0, rows = 0, games = 1;
    for (auto _ : state) {
        const BrickType& brick = *ChooseBrick(Table(), board);
        BrickPos pos = SpawnPos;
        FindBestPlacement(brick, &pos, board);
        if (!FixBrick(brick.rotations[pos.rotation], pos, board)) {
            rows += board.rowsTotal;
            ResetBoard(board);
            ++games;
        }
        ++bricks;
    }
    rows += board.rowsTotal;
    state.SetItemsProcessed(bricks);
    state.counters["rows_per_brick"] = static_cast<double>(rows) / static_cast<double>(bricks);
    state.counters["games"] = static_cast<double>(games);
    state.counters["board_bytes"] = sizeof(Board);
    state.counters["table_bytes"] = sizeof(BrickTable);
    SetBrickSelection(kRandomSelection, 5);
}
BENCHMARK(BM_AutomaticGame)->Arg(kRandomSelection)->Arg(kMoreSuitable)->Arg(kLessSuitable);

}  // namespace

BENCHMARK_MAIN();
