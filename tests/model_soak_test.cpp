// A million bricks through the game driver of the board fuzz target, which checks
// the board and the repaint band after every landing: games of random bytes, nine
// in ten bricks placed by the computer as the automatic game does (so that games
// run long), the rest dropped after random commands, over every selection and
// intensity the bytes pick. The sanitizer build runs it under AddressSanitizer and
// UndefinedBehaviorSanitizer, for faults only long play meets.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ai/chooser.h"

extern "C" int LLVMFuzzerInitialize(int*, char***);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern uint64_t boardFuzzLandings;

namespace {

TEST(Soak, AMillionBricksKeepTheBoardSound) {
    std::mt19937 rng(20261207);
    LLVMFuzzerInitialize(nullptr, nullptr);
    std::vector<uint8_t> game(4000);
    while (boardFuzzLandings < 1000000) {
        for (uint8_t& b : game) b = static_cast<uint8_t>(rng() | (rng() % 10 ? 0x80 : 0));
        LLVMFuzzerTestOneInput(game.data(), game.size());
    }
    SetRandomDraw(nullptr);
    SetBrickSelection(kRandomSelection, 5);
}

}  // namespace
