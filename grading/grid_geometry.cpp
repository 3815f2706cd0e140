#include "grading/grid_geometry.h"

#include "grading/step_record.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
                if (y < 80) g.peerLanes[x][y] = -1;
            }
        }
    }
    for (int u = 0; u < 27; ++u) {
        for (int j = 0; j < 9; ++j) {
            const int x = g.unitCells[u][j];
            g.unitsOf[x][u / 9] = static_cast<uint8_t>(u);
            g.positionIn[x][u / 9] = static_cast<uint8_t>(j);
        }
    }
    g.bitCount[0] = 0;
    for (int k = 1; k < 1024; ++k) g.bitCount[k] = static_cast<uint8_t>(g.bitCount[k / 2] + k % 2);
    for (int k = 0; k <= 9; ++k) g.digitOfBit[1 << k] = static_cast<uint8_t>(k);
}

// Takes the digits of `removed` off the cell's places in its three units.
static inline void ClearPositions(CellIndex cell, unsigned removed)
{
    const uint8_t* units = gridGeometry.unitsOf[cell];
    const uint8_t* positions = gridGeometry.positionIn[cell];
    for (; removed; removed &= removed - 1) {
        const int d = LowestBitIndex(removed);
        for (int k = 0; k < 3; ++k)
            candidateGrid.digitPositions[units[k]][d] &= static_cast<uint16_t>(~(1u << positions[k]));
    }
}

// Takes the digit out of every peer's candidates.
static inline void RemoveFromPeers(CellIndex cell, int digit)
{
    CandidateMask* candidates = candidateGrid.candidates;
#if defined(__SSE2__)
    // Eight cells at a time: the peers' lanes of the table select where the bit goes.
    const __m128i bit = _mm_set1_epi16(static_cast<int16_t>(1 << digit));
    const int16_t* lanes = gridGeometry.peerLanes[cell];
    for (int first = 0; first < 80; first += 8) {
        auto* at = reinterpret_cast<__m128i*>(candidates + first);
        const __m128i select = _mm_and_si128(_mm_load_si128(reinterpret_cast<const __m128i*>(lanes + first)), bit);
        _mm_storeu_si128(at, _mm_andnot_si128(select, _mm_loadu_si128(at)));
    }
    if (gridGeometry.isPeer[cell][80]) candidates[80] = static_cast<CandidateMask>(candidates[80] & ~(1 << digit));
#else
    const CandidateMask keep = static_cast<CandidateMask>(~(1 << digit));
    for (uint8_t peer : gridGeometry.peers[cell]) candidates[peer] &= keep;
#endif
}

// PlaceDigit on the masks alone; the caller brings digitPositions up to date.
static inline void PlaceDigitInMasks(CellIndex cell, int digit)
{
    CandidateGrid& c = candidateGrid;
    c.placed[cell] = static_cast<uint8_t>(digit);
    c.candidates[cell] = 0;
    ++c.placedCount;
    RemoveFromPeers(cell, digit);
}

// Works digitPositions out afresh from the candidate masks.
static void RebuildDigitPositions()
{
    CandidateGrid& c = candidateGrid;
    std::memset(c.digitPositions, 0, sizeof c.digitPositions);
    std::memset(c.placedDigits, 0, sizeof c.placedDigits);
    for (CellIndex x = 0; x < 81; ++x) {
        const uint8_t* units = gridGeometry.unitsOf[x];
        const uint8_t* positions = gridGeometry.positionIn[x];
        if (c.placed[x])
            for (int k = 0; k < 3; ++k) c.placedDigits[units[k]] |= static_cast<uint16_t>(1u << c.placed[x]);
        for (unsigned digits = static_cast<uint16_t>(c.candidates[x]); digits; digits &= digits - 1) {
            const int d = LowestBitIndex(digits);
            c.digitPositions[units[0]][d] |= static_cast<uint16_t>(1u << positions[0]);
            c.digitPositions[units[1]][d] |= static_cast<uint16_t>(1u << positions[1]);
            c.digitPositions[units[2]][d] |= static_cast<uint16_t>(1u << positions[2]);
        }
    }
}

// LoadGrid given by given, stopping at the first conflict as the contract says. Only
// grids with a conflict take this way.
static int LoadGivenByGiven(const uint8_t grid[81])
{
    CandidateGrid& c = candidateGrid;
    std::memset(c.placed, 0, sizeof c.placed);
    for (CandidateMask& mask : c.candidates) mask = allDigitsMask;
    c.placedCount = 0;
    int loaded = 1;
    for (CellIndex x = 0; x < 81; ++x) {
        int digit = grid[x];
        if (digit == 0) continue;
        // A value above 9 names no digit: shifting by it would leave the mask's range, so
        // such a cell counts as a conflict.
        if (digit > 9 || !(c.candidates[x] & (1 << digit))) {
            loaded = 0;
            break;
        }
        PlaceDigitInMasks(x, digit);
    }
    RebuildDigitPositions();
    return loaded;
}

int LoadGrid(const uint8_t grid[81])
{
    // Most grids have no conflict; their whole state follows at once from which digits each
    // house holds, with no placement one by one. Branch-free, since givens and empty cells
    // alternate at random.
    uint16_t used[27] = {};  // bit d: d is given in the house
    uint16_t rowsWith[10] = {}, columnsWith[10] = {}, boxesWith[10] = {};  // per digit, bit i: house i holds it
    uint16_t open[27] = {};  // bit j: position j of the house is empty
    const GridGeometry& g = gridGeometry;
    unsigned conflict = 0;
    for (CellIndex x = 0; x < 81; ++x) {
        const unsigned digit = grid[x];
        if (digit > 9) return LoadGivenByGiven(grid);
        const int r = g.rowOf[x], k = g.columnOf[x], b = g.boxOf[x];
        const unsigned empty = digit == 0;
        open[r] |= static_cast<uint16_t>(empty << k);
        open[9 + k] |= static_cast<uint16_t>(empty << r);
        open[18 + b] |= static_cast<uint16_t>(empty << g.positionIn[x][2]);
        const uint16_t bit = static_cast<uint16_t>((1u << digit) & ~1u);
        conflict |= (used[r] | used[9 + k] | used[18 + b]) & bit;
        used[r] |= bit;
        used[9 + k] |= bit;
        used[18 + b] |= bit;
        rowsWith[digit] |= static_cast<uint16_t>(1u << r);
        columnsWith[digit] |= static_cast<uint16_t>(1u << k);
        boxesWith[digit] |= static_cast<uint16_t>(1u << b);
    }
    if (conflict) return LoadGivenByGiven(grid);

    CandidateGrid& c = candidateGrid;
    int givens = 0;
    for (CellIndex x = 0; x < 81; ++x) {
        const uint16_t given = static_cast<uint16_t>(grid[x] != 0);
        givens += given;
        c.placed[x] = grid[x];
        c.candidates[x] = static_cast<CandidateMask>(
            (given - 1u) & allDigitsMask & ~(used[g.rowOf[x]] | used[9 + g.columnOf[x]] | used[18 + g.boxOf[x]]));
    }
    c.placedCount = givens;
    std::memcpy(c.placedDigits, used, sizeof used);
    std::memset(c.digitPositions, 0, sizeof c.digitPositions);
    for (int d = 1; d <= 9; ++d) {
        const unsigned rows = rowsWith[d], columns = columnsWith[d], boxes = boxesWith[d];
        // Masks of positions that the digit's boxes rule out: in the rows of band t, the
        // columns of its boxes there; in the columns of stack t, the rows of its boxes there.
        unsigned boxColumns[3], boxRows[3];
        for (int t = 0; t < 3; ++t) {
            unsigned byBand = 0, byStack = 0;
            for (int j = 0; j < 3; ++j) {
                byBand |= (0u - ((boxes >> (3 * t + j)) & 1)) & (7u << (3 * j));
                byStack |= (0u - ((boxes >> (3 * j + t)) & 1)) & (7u << (3 * j));
            }
            boxColumns[t] = byBand;
            boxRows[t] = byStack;
        }
        for (int i = 0; i < 9; ++i) {
            const unsigned rowFree = ((rows >> i) & 1) - 1u, columnFree = ((columns >> i) & 1) - 1u,
                           boxFree = ((boxes >> i) & 1) - 1u;
            c.digitPositions[i][d] = static_cast<uint16_t>(rowFree & open[i] & ~columns & ~boxColumns[i / 3]);
            c.digitPositions[9 + i][d] = static_cast<uint16_t>(columnFree & open[9 + i] & ~rows & ~boxRows[i / 3]);
            // The rows and columns of the box that hold the digit, as positions in the box.
            unsigned ruled = 0;
            for (int j = 0; j < 3; ++j) {
                ruled |= (0u - ((rows >> (3 * (i / 3) + j)) & 1)) & (7u << (3 * j));
                ruled |= (0u - ((columns >> (3 * (i % 3) + j)) & 1)) & (0x49u << j);
            }
            c.digitPositions[18 + i][d] = static_cast<uint16_t>(boxFree & open[18 + i] & ~ruled);
        }
    }
    return 1;
}

// Works placedDigits of the cell's three units out afresh from the placed digits.
static void RebuildPlacedDigits(CellIndex cell)
{
    for (uint8_t u : gridGeometry.unitsOf[cell]) {
        uint16_t digits = 0;
        for (uint8_t x : gridGeometry.unitCells[u])
            if (candidateGrid.placed[x]) digits |= static_cast<uint16_t>(1u << candidateGrid.placed[x]);
        candidateGrid.placedDigits[u] = digits;
    }
}

// Adds the digits of `added` to the cell's places in its three units.
static inline void AddPositions(CellIndex cell, unsigned added)
{
    const uint8_t* units = gridGeometry.unitsOf[cell];
    const uint8_t* positions = gridGeometry.positionIn[cell];
    for (; added; added &= added - 1) {
        const int d = LowestBitIndex(added);
        for (int k = 0; k < 3; ++k) candidateGrid.digitPositions[units[k]][d] |= static_cast<uint16_t>(1u << positions[k]);
    }
}

void ReloadGrid(const CandidateGrid& saved)
{
    if (&saved != &candidateGrid) candidateGrid = saved;
}

void ReloadGridWithout(const CandidateGrid& saved, CellIndex cell)
{
    ReloadGrid(saved);
    if (cell < 0 || cell > 80) return;
    CandidateGrid& c = candidateGrid;
    const GridGeometry& g = gridGeometry;
    const int digit = c.placed[cell];
    if (digit == 0) return;
    const uint16_t bit = static_cast<uint16_t>(1u << digit);
    c.placed[cell] = 0;
    --c.placedCount;
    for (const uint8_t u : g.unitsOf[cell]) c.placedDigits[u] &= static_cast<uint16_t>(~bit);
    // Candidates are exactly the digits that no house of the cell holds.
    auto houseDigits = [&](CellIndex x) {
        return c.placedDigits[g.rowOf[x]] | c.placedDigits[9 + g.columnOf[x]] | c.placedDigits[18 + g.boxOf[x]];
    };
    c.candidates[cell] = static_cast<CandidateMask>(allDigitsMask & ~houseDigits(cell));
    AddPositions(cell, static_cast<uint16_t>(c.candidates[cell]));
    for (const uint8_t peer : g.peers[cell]) {
        if (c.placed[peer] != 0 || (houseDigits(peer) & bit)) continue;
        c.candidates[peer] = static_cast<CandidateMask>(c.candidates[peer] | bit);
        AddPositions(peer, bit);
    }
}

void PlaceDigit(CellIndex cell, int digit)
{
    // A cell or digit out of range would index past the tables: such a call changes nothing.
    if (cell < 0 || cell > 80 || digit < 1 || digit > 9) return;
    CandidateGrid& c = candidateGrid;
    const GridGeometry& g = gridGeometry;
    ClearPositions(cell, static_cast<uint16_t>(c.candidates[cell]));
    const bool replacing = c.placed[cell] != 0;
    c.placedCount += !replacing;
    c.placed[cell] = static_cast<uint8_t>(digit);
    c.candidates[cell] = 0;
    RemoveFromPeers(cell, digit);
    if (activeStepRecord) activeStepRecord->placements.push_back({cell, digit});

    // The digit leaves the cell's row, column and box: in each unit, the places of those
    // cells go. Places the digit did not hold are cleared all the same, which changes
    // nothing and needs no test.
    const int r = g.rowOf[cell], k = g.columnOf[cell], b = g.boxOf[cell];
    const int band = r / 3, stack = k / 3;
    uint16_t (*places)[16] = c.digitPositions;
    for (int i = 0; i < 9; ++i) {
        places[i][digit] &= static_cast<uint16_t>(~(1u << k));      // column k in every row
        places[9 + i][digit] &= static_cast<uint16_t>(~(1u << r));  // row r in every column
    }
    for (int i = 0; i < 3; ++i) {
        places[3 * band + i][digit] &= static_cast<uint16_t>(~(7u << (3 * stack)));   // box b in its rows
        places[9 + 3 * stack + i][digit] &= static_cast<uint16_t>(~(7u << (3 * band)));  // and its columns
        places[18 + 3 * band + i][digit] &= static_cast<uint16_t>(~(7u << (3 * (r % 3))));  // row r in its boxes
        places[18 + 3 * i + stack][digit] &= static_cast<uint16_t>(~(0x49u << (k % 3)));   // column k in its boxes
    }
    places[r][digit] = places[9 + k][digit] = places[18 + b][digit] = 0;
    if (replacing) {
        // The old digit may still stand elsewhere in a unit, so its bit is worked out again.
        RebuildPlacedDigits(cell);
        return;
    }
    c.placedDigits[r] |= static_cast<uint16_t>(1u << digit);
    c.placedDigits[9 + k] |= static_cast<uint16_t>(1u << digit);
    c.placedDigits[18 + b] |= static_cast<uint16_t>(1u << digit);
}

int RemoveCandidates(CellIndex cell, CandidateMask bits)
{
    // Only cells 0..80 and digits 1..9 exist; anything else is refused unchanged.
    if (cell < 0 || cell > 80 || (bits & ~allDigitsMask) != 0) return 0;
    CandidateMask& mask = candidateGrid.candidates[cell];
    const unsigned removed = static_cast<uint16_t>(mask & bits);
    if (removed == 0) return 0;
    mask = static_cast<CandidateMask>(mask & ~bits);
    ClearPositions(cell, removed);
    if (activeStepRecord)
        for (unsigned digits = removed; digits; digits &= digits - 1)
            activeStepRecord->removals.push_back({cell, LowestBitIndex(digits)});
    return 1;
}

void SetCandidates(CellIndex cell, CandidateMask mask)
{
    if (cell < 0 || cell > 80) return;
    CandidateGrid& c = candidateGrid;
    ClearPositions(cell, static_cast<uint16_t>(c.candidates[cell]));
    c.candidates[cell] = static_cast<CandidateMask>(mask & allDigitsMask);
    AddPositions(cell, static_cast<uint16_t>(c.candidates[cell]));
}

void ClearUsedDigitMasks() { std::memset(&usedDigitMasks, 0, sizeof usedDigitMasks); }

int FillRandomGrid(uint8_t grid[81], CellIndex cell)
{
    if (cell < 0 || cell > 81) return 0;  // no such cell to start from
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
