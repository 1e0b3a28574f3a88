// The spread of a sample as the simulator sums games up: mean, the half-width of the
// 95% interval from Student's t, median and extremes, at the sizes where the
// computation changes (none, one, a table value, beyond the table).
#include <gtest/gtest.h>

#include <vector>

#include "sim/summary.h"

namespace {

std::vector<uint32_t> Upto(uint32_t n) {
    std::vector<uint32_t> values;
    for (uint32_t v = 0; v < n; ++v) values.push_back(v);
    return values;
}

TEST(Summary, SpreadOfSamples) {
    const struct {
        std::vector<uint32_t> values;
        double mean, halfWidth, median;
        uint32_t min, max;
    } cases[] = {
        {{}, 0, 0, 0, 0, 0},
        {{7}, 7, 0, 7, 7, 7},
        {{3, 1}, 2, 12.706, 2, 1, 3},            // t(1) = 12.706, s = sqrt 2
        {{4, 1, 3}, 8 / 3.0, 3.7949, 3, 1, 4},   // t(2) = 4.303, s = 1.5275
        {Upto(32), 15.5, 3.38215, 15.5, 0, 31},  // t(31) = 2.039513, s = sqrt 88
    };
    for (const auto& c : cases) {
        const Spread s = SpreadOf(c.values);
        EXPECT_DOUBLE_EQ(s.mean, c.mean) << c.values.size() << " values";
        EXPECT_NEAR(s.halfWidth, c.halfWidth, 2.5e-4) << c.values.size() << " values";
        EXPECT_EQ(s.median, c.median) << c.values.size() << " values";
        EXPECT_EQ(s.min, c.min) << c.values.size() << " values";
        EXPECT_EQ(s.max, c.max) << c.values.size() << " values";
    }
}

}  // namespace
