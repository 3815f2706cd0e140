#include "grading/grid_geometry.h"

#include <cstring>

GridGeometry gridGeometry;
thread_local CandidateGrid candidateGrid;
thread_local UsedDigitMasks usedDigitMasks;

void BuildGridGeometry()
{
    GridGeometry& g = gridGeometry;
    std::memset(&g, 0, sizeof g);
    for (int x = 0; x < 81; ++x) {
        g.rowOf[x] = static_cast<uint8_t>(x / 9);
        g.columnOf[x] = static_cast<uint8_t>(x % 9);
        g.boxOf[x] = static_cast<uint8_t>(3 * (g.rowOf[x] / 3) + g.columnOf[x] / 3);
    }
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 9; ++j) {
            g.unitCells[i][j] = static_cast<uint8_t>(9 * i + j);
            g.unitCells[9 + i][j] = static_cast<uint8_t>(9 * j + i);
            g.unitCells[18 + i][j] =
                static_cast<uint8_t>(9 * (3 * (i / 3) + j / 3) + 3 * (i % 3) + j % 3);
        }
    }
    for (int x = 0; x < 81; ++x) {
        int count = 0;
        for (int y = 0; y < 81; ++y) {
            bool shares = g.rowOf[x] == g.rowOf[y] || g.columnOf[x] == g.columnOf[y] ||
                          g.boxOf[x] == g.boxOf[y];
            if (y != x && shares) {
                g.isPeer[x][y] = 1;
                g.peers[x][count++] = static_cast<uint8_t>(y);
                g.peerSet[x] |= CellSet{1} << y;
            }
        }
    }
    g.bitCount[0] = 0;
    for (int k = 1; k < 1024; ++k) g.bitCount[k] = static_cast<uint8_t>(g.bitCount[k / 2] + k % 2);
    for (int k = 0; k <= 9; ++k) g.digitOfBit[1 << k] = static_cast<uint8_t>(k);
}

int LoadGrid(const uint8_t grid[81])
{
    CandidateGrid& c = candidateGrid;
    std::memset(c.placed, 0, sizeof c.placed);
    for (CandidateMask& mask : c.candidates) mask = allDigitsMask;
    for (CellIndex x = 0; x < 81; ++x) {
        int digit = grid[x];
        if (digit == 0) continue;
        // A value above 9 names no digit: shifting by it would leave the mask's range, so
        // such a cell counts as a conflict.
        if (digit > 9 || !(c.candidates[x] & (1 << digit))) return 0;
        PlaceDigit(x, digit);
    }
    return 1;
}

void PlaceDigit(CellIndex cell, int digit)
{
    CandidateGrid& c = candidateGrid;
    c.placed[cell] = static_cast<uint8_t>(digit);
    c.candidates[cell] = 0;
    const CandidateMask keep = static_cast<CandidateMask>(~(1 << digit));
    for (uint8_t peer : gridGeometry.peers[cell]) c.candidates[peer] &= keep;
}

int RemoveCandidates(CellIndex cell, CandidateMask bits)
{
    CandidateMask& mask = candidateGrid.candidates[cell];
    if ((mask & bits) == 0) return 0;
    mask = static_cast<CandidateMask>(mask & ~bits);
    return 1;
}

void ClearUsedDigitMasks() { std::memset(&usedDigitMasks, 0, sizeof usedDigitMasks); }

int FillRandomGrid(uint8_t grid[81], CellIndex cell)
{
    if (cell == 81) return 1;
    UsedDigitMasks& used = usedDigitMasks;
    const int r = gridGeometry.rowOf[cell];
    const int k = gridGeometry.columnOf[cell];
    const int b = gridGeometry.boxOf[cell];
    const int free = ~(used.rowUsed[r] | used.columnUsed[k] | used.boxUsed[b]) & allDigitsMask;
    if (free == 0) return 0;

    int digits[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 8; i > 0; --i) {
        int j = static_cast<int>(UniformRandom(i));
        int t = digits[i];
        digits[i] = digits[j];
        digits[j] = t;
    }
    for (int d : digits) {
        const int16_t bit = static_cast<int16_t>(1 << d);
        if (!(free & bit)) continue;
        grid[cell] = static_cast<uint8_t>(d);
        used.rowUsed[r] |= bit;
        used.columnUsed[k] |= bit;
        used.boxUsed[b] |= bit;
        if (FillRandomGrid(grid, cell + 1)) return 1;
        used.rowUsed[r] &= static_cast<int16_t>(~bit);
        used.columnUsed[k] &= static_cast<int16_t>(~bit);
        used.boxUsed[b] &= static_cast<int16_t>(~bit);
    }
    grid[cell] = 0;
    return 0;
}

// splitmix64: small, fast and good enough for shuffling digits.
static thread_local uint64_t randomState = 0x9E3779B97F4A7C15ull;

void SeedGradingRandom(uint64_t seed) { randomState = seed; }

static uint64_t NextRandom()
{
    uint64_t z = (randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int64_t UniformRandom(int64_t n)
{
    if (n <= 0) return 0;
    // Rejection keeps every value of 0..n equally likely.
    const uint64_t range = static_cast<uint64_t>(n) + 1;
    const uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    uint64_t r;
    do r = NextRandom(); while (r >= limit);
    return static_cast<int64_t>(r % range);
}
