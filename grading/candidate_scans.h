// Scans over the candidate grid that look at many cells or digits at once (eight lanes of
// 16 bits with SSE2, one at a time without it).
#pragma once

#include "grading/grid_geometry.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The lowest cell of a non-empty cell set.
inline CellIndex LowestCell(CellSet nonEmpty)
{
    const uint64_t low = static_cast<uint64_t>(nonEmpty);
    return low ? std::countr_zero(low) : 64 + std::countr_zero(static_cast<uint64_t>(nonEmpty >> 64));
}

#if defined(__SSE2__)
// Lanes whose value has exactly one bit set.
inline __m128i SingleBitLanes(__m128i v)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i atMostOne = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_sub_epi16(v, _mm_set1_epi16(1))), zero);
    return _mm_andnot_si128(_mm_cmpeq_epi16(v, zero), atMostOne);
}
#endif

// The cells whose candidate mask holds exactly one digit (placed cells hold none).
inline CellSet SingleCandidateCells(const CandidateMask candidates[81])
{
    uint64_t low = 0, high = 0;
#if defined(__SSE2__)
    auto singles = [&](int first) {
        const __m128i single = SingleBitLanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(candidates + first)));
        // One bit per cell: packing keeps one byte per 16-bit lane.
        return static_cast<uint64_t>(_mm_movemask_epi8(_mm_packs_epi16(single, _mm_setzero_si128())) & 0xFF);
    };
    for (int first = 0; first < 64; first += 8) low |= singles(first) << first;
    for (int first = 64; first < 80; first += 8) high |= singles(first) << (first - 64);
    high |= static_cast<uint64_t>(IsSingleBit(static_cast<uint16_t>(candidates[80]))) << 16;
#else
    for (int x = 0; x < 64; ++x) low |= static_cast<uint64_t>(IsSingleBit(static_cast<uint16_t>(candidates[x]))) << x;
    for (int x = 64; x < 81; ++x) high |= static_cast<uint64_t>(IsSingleBit(static_cast<uint16_t>(candidates[x]))) << (x - 64);
#endif
    return (static_cast<CellSet>(high) << 64) | low;
}

#if defined(__SSE2__)
// Lanes whose value has at most `size` bits set (size 0..3): each round drops the lowest.
inline __m128i AtMostBits(__m128i v, int size)
{
    const __m128i one = _mm_set1_epi16(1);
    for (int i = 0; i < size; ++i) v = _mm_and_si128(v, _mm_sub_epi16(v, one));
    return _mm_cmpeq_epi16(v, _mm_setzero_si128());
}
#endif

// The unplaced cells whose candidates number at most `size`, as a pool of positions per
// unit: bit j of pools[u] stands for position j of unit u.
inline void SmallCellPools(int size, uint16_t pools[27])
{
    for (int u = 0; u < 27; ++u) pools[u] = 0;
    auto add = [&](CellIndex x) {
        for (int k = 0; k < 3; ++k)
            pools[gridGeometry.unitsOf[x][k]] |= static_cast<uint16_t>(1u << gridGeometry.positionIn[x][k]);
    };
    const CandidateMask* candidates = candidateGrid.candidates;
    const uint8_t* placed = candidateGrid.placed;
#if defined(__SSE2__)
    if (size >= 0 && size <= 3) {
        const __m128i zero = _mm_setzero_si128();
        for (int first = 0; first < 80; first += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(candidates + first));
            const __m128i digits = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(placed + first)), zero);
            const __m128i small = _mm_and_si128(AtMostBits(v, size), _mm_cmpeq_epi16(digits, zero));
            for (unsigned lanes = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(small, zero))) & 0xFF; lanes;
                 lanes &= lanes - 1)
                add(first + LowestBitIndex(lanes));
        }
        if (placed[80] == 0 && CountBits(static_cast<uint16_t>(candidates[80])) <= size) add(80);
        return;
    }
#endif
    for (CellIndex x = 0; x < 81; ++x)
        if (placed[x] == 0 && CountBits(static_cast<uint16_t>(candidates[x])) <= size) add(x);
}

// The digits (bit d - 1 for digit d) of a unit that are not placed there and have at most
// `size` places in it.
inline unsigned FewPlaceDigits(Unit u, int size)
{
    const uint16_t* places = candidateGrid.digitPositions[u];
    unsigned few = 0;
#if defined(__SSE2__)
    if (size >= 0 && size <= 3) {
        const __m128i low = AtMostBits(_mm_load_si128(reinterpret_cast<const __m128i*>(places)), size);
        const __m128i high = AtMostBits(_mm_load_si128(reinterpret_cast<const __m128i*>(places + 8)), size);
        few = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
    } else
#endif
    {
        for (int d = 0; d < 16; ++d) few |= static_cast<unsigned>(CountBits(places[d]) <= size) << d;
    }
    return ((few & ~static_cast<unsigned>(candidateGrid.placedDigits[u])) >> 1) & 0x1FF;
}

// Digits present in exactly one of three masks.
inline unsigned InExactlyOne(unsigned a, unsigned b, unsigned c)
{
    return (a ^ b ^ c) & ~(a & b & c);
}

// Bit d set for each entry d of the sixteen that has exactly one bit set.
inline unsigned SingleBitEntries(const uint16_t entries[16])
{
#if defined(__SSE2__)
    const __m128i low = SingleBitLanes(_mm_load_si128(reinterpret_cast<const __m128i*>(entries)));
    const __m128i high = SingleBitLanes(_mm_load_si128(reinterpret_cast<const __m128i*>(entries + 8)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
#else
    unsigned bits = 0;
    for (int d = 0; d < 16; ++d) bits |= static_cast<unsigned>(IsSingleBit(entries[d])) << d;
    return bits;
#endif
}
