// Eight 16-bit integers handled as one: the vector type that GCC and Clang provide,
// which they compile to SSE2 on x86 (one instruction for all eight lanes) and to
// plain code where a target lacks vectors. The evaluator scores eight columns at once.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

typedef int16_t Lanes __attribute__((vector_size(16)));

inline Lanes Splat(int32_t x) {
    const int16_t v = static_cast<int16_t>(x);
    return Lanes{v, v, v, v, v, v, v, v};
}

// Lanes from eight consecutive values, wherever they stand in memory.
inline Lanes Load(const int16_t* at) {
    Lanes v;
    memcpy(&v, at, sizeof v);
    return v;
}

inline void Store(int16_t* at, Lanes v) { memcpy(at, &v, sizeof v); }

// mask holds -1 (all bits) or 0 in each lane, as a comparison gives it.
inline Lanes Select(Lanes mask, Lanes a, Lanes b) { return (a & mask) | (b & ~mask); }
#if defined(__SSE2__)
inline Lanes Max(Lanes a, Lanes b) {
    return reinterpret_cast<Lanes>(_mm_max_epi16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
}
inline Lanes Min(Lanes a, Lanes b) {
    return reinterpret_cast<Lanes>(_mm_min_epi16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
}
#else
inline Lanes Max(Lanes a, Lanes b) { return Select(a > b, a, b); }
inline Lanes Min(Lanes a, Lanes b) { return Select(a < b, a, b); }
#endif

// The largest and the smallest of the eight lanes.
inline int16_t LargestLane(Lanes v) {
    v = Max(v, __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3));
    v = Max(v, __builtin_shufflevector(v, v, 2, 3, 0, 1, 2, 3, 0, 1));
    return Max(v, __builtin_shufflevector(v, v, 1, 0, 1, 0, 1, 0, 1, 0))[0];
}
inline int16_t SmallestLane(Lanes v) {
    v = Min(v, __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3));
    v = Min(v, __builtin_shufflevector(v, v, 2, 3, 0, 1, 2, 3, 0, 1));
    return Min(v, __builtin_shufflevector(v, v, 1, 0, 1, 0, 1, 0, 1, 0))[0];
}
