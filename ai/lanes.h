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

// a times k, lane by lane, as one multiply: the compiler would otherwise spell a product
// by a constant out in shifts and adds, three to five instructions for one.
inline Lanes Times(Lanes a, int32_t k) {
    Lanes factor = Splat(k);
#if defined(__SSE2__)
    __asm__("" : "+x"(factor));
#endif
    return a * factor;
}

// How far a exceeds b (0 where it does not), for lanes of 0 or more.
inline Lanes Excess(Lanes a, Lanes b) {
#if defined(__SSE2__)
    return reinterpret_cast<Lanes>(_mm_subs_epu16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
#else
    return Max(a - b, Splat(0));
#endif
}

// |a - b| for lanes of 0 or more.
inline Lanes Distance(Lanes a, Lanes b) { return Excess(a, b) | Excess(b, a); }

// Eight 32-bit integers narrowed to lanes (saturated on x86, which their values never need).
inline Lanes LoadNarrow(const int32_t* at) {
#if defined(__SSE2__)
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 4));
    return reinterpret_cast<Lanes>(_mm_packs_epi32(low, high));
#else
    return Lanes{static_cast<int16_t>(at[0]), static_cast<int16_t>(at[1]), static_cast<int16_t>(at[2]),
                 static_cast<int16_t>(at[3]), static_cast<int16_t>(at[4]), static_cast<int16_t>(at[5]),
                 static_cast<int16_t>(at[6]), static_cast<int16_t>(at[7])};
#endif
}

// Sixteen 8-bit integers handled as one, for comparing many small counts at once.
typedef int8_t Bytes __attribute__((vector_size(16)));

// The lanes of a, then those of b, narrowed to bytes (saturated on x86, which values
// from -128 to 127 never need).
inline Bytes Narrow(Lanes a, Lanes b) {
#if defined(__SSE2__)
    return reinterpret_cast<Bytes>(_mm_packs_epi16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
#else
    Bytes bytes;
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<int8_t>(a[i]), bytes[i + 8] = static_cast<int8_t>(b[i]);
    return bytes;
#endif
}

// Bit i set for each byte i of mask that is set.
inline uint32_t ByteBits(Bytes mask) {
#if defined(__SSE2__)
    return static_cast<uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(mask)));
#else
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i) bits |= (mask[i] != 0 ? 1u : 0u) << i;
    return bits;
#endif
}

// The largest of the eight lanes, in every lane.
inline Lanes LargestInEveryLane(Lanes v) {
    v = Max(v, __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3));
    v = Max(v, __builtin_shufflevector(v, v, 2, 3, 0, 1, 6, 7, 4, 5));
    return Max(v, __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6));
}
