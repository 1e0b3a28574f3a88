#include "sim/simulator.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
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

// Appends one line of the game log.
void LogBrick(std::string& log, uint32_t game, uint32_t brick, int32_t type, const BrickPos& pos, int32_t score,
              int32_t rows) {
    char line[96];
    const int n = snprintf(line, sizeof line, "%u,%u,%d,%d,%d,%d,%d,%d\n", game, brick, type, pos.rotation, pos.column,
                           pos.row, score, rows);
    log.append(line, static_cast<size_t>(n));
}

GameResult PlayGame(const BrickTable& table, uint32_t game, uint32_t seed, uint32_t maxBricks, std::string* log) {
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
        const int32_t score = FindBestPlacement(brick, &pos, board);
        const int32_t rowsBefore = board.rowsTotal;
        const bool landed = FixBrick(brick.rotations[pos.rotation], pos, board) != 0;
        if (log)
            LogBrick(*log, game, result.bricks + 1, static_cast<int32_t>(&brick - table.types), pos, score,
                     landed ? board.rowsTotal - rowsBefore : -1);
        if (!landed) break;
        ++result.bricks;
    }
    result.rows = static_cast<uint32_t>(board.rowsTotal);
    for (int n = 1; n <= kMaxClear; ++n) result.clears[n] = static_cast<uint32_t>(board.clearsBySize[n]);
    return result;
}

}  // namespace

std::vector<GameResult> PlayGames(const BrickTable& table, uint32_t firstSeed, uint32_t games, uint32_t maxBricks,
                                  unsigned jobs, const std::function<void(uint32_t)>& progress, FILE* log) {
    std::vector<GameResult> results(games);
    std::vector<std::string> logs(log ? games : 0);
    std::vector<bool> done(games);  // these three and finished are guarded by mutex
    uint32_t finished = 0;
    std::mutex mutex;
    std::condition_variable changed;
    // Games are handed out one at a time, so a long game on one thread does not
    // leave the others idle; each game writes only its own entries.
    std::atomic<uint32_t> next{0};
    auto work = [&] {
        for (uint32_t i = next++; i < games; i = next++) {
            std::string text;
            const GameResult result = PlayGame(table, i, firstSeed + i, maxBricks, log ? &text : nullptr);
            const std::lock_guard<std::mutex> lock(mutex);
            results[i] = result;
            if (log) logs[i] = std::move(text);
            done[i] = true;
            ++finished;
            changed.notify_one();
        }
    };
    if (jobs < 1) jobs = 1;
    SetRandomDraw(NextDraw);
    std::vector<std::thread> threads;
    threads.reserve(jobs);
    for (unsigned j = 0; j < jobs; ++j) threads.emplace_back(work);
    // The calling thread writes each game's log as soon as the games before it are
    // written, so that only the games still out of turn are held in memory.
    uint32_t written = log ? 0 : games;
    std::unique_lock<std::mutex> lock(mutex);
    while (finished < games || written < games) {
        changed.wait_for(lock, std::chrono::milliseconds(100));
        while (written < games && done[written]) {
            const std::string text = std::move(logs[written++]);
            lock.unlock();
            fwrite(text.data(), 1, text.size(), log);
            lock.lock();
        }
        if (progress) progress(finished);
    }
    lock.unlock();
    for (std::thread& t : threads) t.join();
    return results;
}
