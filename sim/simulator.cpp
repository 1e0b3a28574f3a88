#include "sim/simulator.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/board.h"

namespace {

// The chooser reads its draws through a plain function, so each thread keeps its
// own generator state.
thread_local uint32_t drawState = 0;

int NextDraw() {
    drawState = drawState * kDrawMultiplier + kDrawIncrement;
    return static_cast<int>((drawState >> 16) & 32767);
}

GameResult PlayGame(const BrickTable& table, uint32_t seed, uint32_t maxBricks) {
    drawState = seed;
    Board board{};
    ResetBoard(board);
    board.mode = kAutomaticGame;
    GameResult result{};
    result.seed = seed;
    for (;;) {
        if (result.bricks >= maxBricks) {
            result.capped = true;
            break;
        }
        const BrickType& brick = *ChooseBrick(table, board);
        BrickPos pos = SpawnPos;
        FindBestPlacement(brick, &pos, board);
        if (!FixBrick(brick.rotations[pos.rotation], pos, board)) break;
        ++result.bricks;
    }
    result.rows = static_cast<uint32_t>(board.rowsTotal);
    for (int n = 1; n <= kMaxClear; ++n) result.clears[n] = static_cast<uint32_t>(board.clearsBySize[n]);
    return result;
}

}  // namespace

std::vector<GameResult> PlayGames(const BrickTable& table, uint32_t firstSeed, uint32_t games, uint32_t maxBricks,
                                  unsigned jobs, const std::function<void(uint32_t)>& progress) {
    std::vector<GameResult> results(games);
    // Games are handed out one at a time, so a long game on one thread does not
    // leave the others idle; each game writes only its own entry.
    std::atomic<uint32_t> next{0}, finished{0};
    auto work = [&] {
        for (uint32_t i = next++; i < games; i = next++) {
            results[i] = PlayGame(table, firstSeed + i, maxBricks);
            ++finished;
        }
    };
    if (jobs < 1) jobs = 1;
    SetRandomDraw(NextDraw);
    std::vector<std::thread> threads;
    for (unsigned j = 0; j < jobs; ++j) threads.emplace_back(work);
    if (progress) {
        while (finished < games) {
            progress(finished);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        progress(finished);
    }
    for (std::thread& t : threads) t.join();
    return results;
}
