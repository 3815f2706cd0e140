// The exact solver: bit boards per digit and band, propagation to a fixed point before each
// branch, and a copy of the whole state (120 bytes) on a guess instead of an undo.
//
// The grid is three bands of three rows. For each digit and band one 27-bit word holds the
// cells of the band where the digit can still go: bit 9 * row + column, row 0..2 within the
// band. A placed digit keeps its own bit, so "exactly one bit in a row" means the row's
// digit is settled, placed or forced.
//
// One band of one digit is a small puzzle of its own: the digit goes once into each of the
// band's three rows and once into each of its three boxes, so the row-box segments that
// hold it form a permutation. A table gives, for the 512 possible sets of occupied
// segments, the segments that lie on at least one permutation; the rest go. That one
// lookup does pointing and box-line reduction within the band, and finds empty rows and
// boxes. Columns tie the bands together: a settled row clears its column in the other two
// bands, and a column with one place left settles there.
#include "generator/solution_counter.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr uint32_t rowBits = 0x1FF;                   // one row of a band
constexpr uint32_t bandBits = 0x7FFFFFF;              // all 27 cells of a band
constexpr uint32_t columnInBand = 1u | 1u << 9 | 1u << 18;  // column 0 of a band's rows

struct Tables {
    // Per row of 9 bits: which of the band's three boxes the row touches (bit k = box k).
    uint8_t boxesOfRow[512];
    // Per set of occupied segments (bit 3 * row + box): those that lie on a permutation.
    uint16_t onPermutation[512];
    // Per set of segments: the cells they cover, as a 27-bit band word.
    uint32_t cellsOfSegments[512];
    // Per cell of a band: its row, and its box, as band words.
    uint32_t rowOf[27], boxOf[27];
};

constexpr Tables MakeTables()
{
    Tables t{};
    for (int row = 0; row < 512; ++row)
        for (int box = 0; box < 3; ++box)
            if (row & (7 << (3 * box))) t.boxesOfRow[row] |= static_cast<uint8_t>(1 << box);
    constexpr int permutations[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (int segments = 0; segments < 512; ++segments) {
        for (const auto& boxFor : permutations) {
            int chosen = 0;
            for (int row = 0; row < 3; ++row) chosen |= 1 << (3 * row + boxFor[row]);
            if ((segments & chosen) == chosen) t.onPermutation[segments] |= static_cast<uint16_t>(chosen);
        }
        for (int bit = 0; bit < 9; ++bit)
            if (segments & (1 << bit)) t.cellsOfSegments[segments] |= 7u << (9 * (bit / 3) + 3 * (bit % 3));
    }
    for (int cell = 0; cell < 27; ++cell) {
        t.rowOf[cell] = rowBits << (9 * (cell / 9));
        t.boxOf[cell] = (7u * columnInBand) << (3 * (cell % 9 / 3));
    }
    return t;
}

constexpr Tables tables = MakeTables();

struct State {
    uint32_t places[9][3];  // digit 0..8, band: cells where the digit can go
    uint32_t unsolved[3];   // band: cells without a digit yet
    uint32_t dirty;         // bit 3 * digit + band: that band word changed since the band logic ran
    uint32_t touched;       // the same, since the column and cell checks ran
};

constexpr uint32_t allDirty = (1u << 27) - 1;
constexpr uint32_t bandOfEveryDigit = 0x1249249;  // bit 3 * digit for every digit, band 0
constexpr uint32_t dirtyBandsOf[9] = {7u, 7u << 3, 7u << 6, 7u << 9, 7u << 12, 7u << 15, 7u << 18, 7u << 21, 7u << 24};

struct Search {
    int limit = 1;
    int found = 0;
    uint8_t* firstSolution = nullptr;

    // Puts digit d (0..8) in cell `bit` of band b: the other digits leave the cell, d leaves
    // the cell's row and box in the band and its column in the other bands.
    static void Place(State& s, int d, int b, int cell)
    {
        const uint32_t bit = 1u << cell;
        // Every digit's word is written, with no test per digit: the branches cost more
        // than the stores (about 12 % of a solve, measured on the default puzzles).
        uint32_t changed = 0;
        for (int e = 0; e < 9; ++e) {
            const uint32_t word = s.places[e][b];
            changed |= static_cast<uint32_t>((word & bit) != 0) << (3 * e + b);
            s.places[e][b] = word & ~bit;
        }
        s.places[d][b] |= bit;
        changed &= ~(1u << (3 * d + b));
        const uint32_t own = (s.places[d][b] & ~(tables.rowOf[cell] | tables.boxOf[cell])) | bit;
        if (own != s.places[d][b]) {
            s.places[d][b] = own;
            changed |= 1u << (3 * d + b);
        }
        const uint32_t column = columnInBand << (cell % 9);
        for (int other = 0; other < 3; ++other)
            if (other != b && (s.places[d][other] & column)) {
                s.places[d][other] &= ~column;
                changed |= 1u << (3 * d + other);
            }
        s.unsolved[b] &= ~bit;
        // Only the words that changed need the band logic again.
        s.dirty |= changed;
        s.touched |= changed;
    }

    // The band logic for digit d in band b: drops the segments on no permutation, settles
    // the digit where a row has one place left (the other digits leave those cells), and
    // clears each settled row's column from the other bands. False when a row or box of the
    // band has no place left.
    static bool UpdateBand(State& s, int d, int b)
    {
        uint32_t* band = s.places[d];
        const uint32_t cells = band[b];
        const int segments = tables.boxesOfRow[cells & rowBits] | tables.boxesOfRow[(cells >> 9) & rowBits] << 3 |
                             tables.boxesOfRow[cells >> 18] << 6;
        const int kept = tables.onPermutation[segments];
        if (kept == 0) return false;
        const uint32_t narrowed = cells & tables.cellsOfSegments[kept];
        if (narrowed != cells) {
            band[b] = narrowed;
            s.touched |= 1u << (3 * d + b);
        }
        // A row settled in one segment leaves the other rows no place in that box, so the
        // lookup above has already taken the box from them.
        uint32_t settled = 0;
        for (int row = 0; row < 3; ++row) {
            const uint32_t r = narrowed & (rowBits << (9 * row));
            if (std::has_single_bit(r)) settled |= r;
        }
        if (const uint32_t fresh = settled & s.unsolved[b]) {
            s.unsolved[b] &= ~fresh;
            uint32_t changed = 0;  // written without a test per digit, as in Place
            for (int e = 0; e < 9; ++e) {
                const uint32_t word = s.places[e][b];
                changed |= static_cast<uint32_t>((word & fresh) != 0) << (3 * e + b);
                s.places[e][b] = word & ~fresh;
            }
            s.places[d][b] = narrowed;
            changed &= ~(1u << (3 * d + b));
            s.dirty |= changed;
            s.touched |= changed;
        }
        const uint32_t columns = (settled | settled >> 9 | settled >> 18) & rowBits;
        const uint32_t clear = ~(columns * columnInBand);
        for (int other = 0; other < 3; ++other) {
            if (other == b || !(band[other] & ~clear)) continue;
            band[other] &= clear;
            s.dirty |= 1u << (3 * d + other);
            s.touched |= 1u << (3 * d + other);
        }
        return true;
    }

    // Columns of digit d: each holds the digit once; a column with one place settles there.
    static bool UpdateColumns(State& s, int d)
    {
        const uint32_t* band = s.places[d];
        uint32_t once = 0, twice = 0;
        for (int b = 0; b < 3; ++b)
            for (int row = 0; row < 3; ++row) {
                const uint32_t r = (band[b] >> (9 * row)) & rowBits;
                twice |= once & r;
                once |= r;
            }
        if (once != rowBits) return false;
        const uint32_t lone = once & ~twice;
        for (int b = 0; b < 3 && lone; ++b) {
            for (uint32_t forced = band[b] & (lone * columnInBand) & s.unsolved[b]; forced; forced &= forced - 1) {
                // An earlier placement here may have taken the place; the next round then
                // finds its column empty.
                const int cell = std::countr_zero(forced);
                if (band[b] & (1u << cell)) Place(s, d, b, cell);
            }
        }
        return true;
    }

    // Cells of band b: none may be left without a digit; a cell with one digit takes it.
    static bool UpdateCells(State& s, int b)
    {
        uint32_t once = 0, twice = 0;
        for (int d = 0; d < 9; ++d) {
            twice |= once & s.places[d][b];
            once |= s.places[d][b];
        }
        if ((once & s.unsolved[b]) != s.unsolved[b]) return false;
        for (uint32_t singles = s.unsolved[b] & ~twice; singles; singles &= singles - 1) {
            const int cell = std::countr_zero(singles);
            int d = 0;
            while (d < 9 && !(s.places[d][b] & (1u << cell))) ++d;
            if (d == 9) return false;  // an earlier single of this pass took its last digit
            Place(s, d, b, cell);
        }
        return true;
    }

    // Applies the band logic, hidden and naked singles until nothing changes. False when
    // the grid has no solution.
    static bool Propagate(State& s)
    {
        while (s.dirty) {
            while (s.dirty) {
                const int next = std::countr_zero(s.dirty);
                s.dirty &= s.dirty - 1;
                if (!UpdateBand(s, next / 3, next % 3)) return false;
            }
            // Only digits and bands whose words changed since the last checks need them again.
            const uint32_t touched = s.touched;
            s.touched = 0;
            // Naked singles first: they settle more per look than the columns do.
            for (int b = 0; b < 3; ++b)
                if ((touched & bandOfEveryDigit << b) && !UpdateCells(s, b)) return false;
            if (s.dirty) {
                s.touched |= touched;  // the column checks are still owed
                continue;
            }
            for (int d = 0; d < 9; ++d)
                if ((touched & dirtyBandsOf[d]) && !UpdateColumns(s, d)) return false;
        }
        return true;
    }

    // Searches from s, which it changes; each guess works on a copy.
    void Run(State& s)
    {
        if (!Propagate(s)) return;
        if ((s.unsolved[0] | s.unsolved[1] | s.unsolved[2]) == 0) {
            if (found++ == 0 && firstSolution) Write(s, firstSolution);
            return;
        }
        // Branch on a cell with two digits when there is one, else on the cell with fewest.
        int bestBand = -1, bestCell = 0, bestCount = 10;
        for (int b = 0; b < 3 && bestCount > 2; ++b) {
            uint32_t once = 0, twice = 0, thrice = 0;
            for (int d = 0; d < 9; ++d) {
                thrice |= twice & s.places[d][b];
                twice |= once & s.places[d][b];
                once |= s.places[d][b];
            }
            const uint32_t pairs = s.unsolved[b] & twice & ~thrice;
            if (pairs) {
                bestBand = b, bestCell = std::countr_zero(pairs), bestCount = 2;
                break;
            }
            for (uint32_t open = s.unsolved[b]; open; open &= open - 1) {
                const int cell = std::countr_zero(open);
                int count = 0;
                for (int d = 0; d < 9; ++d) count += (s.places[d][b] >> cell) & 1;
                if (count < bestCount) bestBand = b, bestCell = cell, bestCount = count;
            }
        }
        const uint32_t bit = 1u << bestCell;
        for (int d = 0; d < 9 && found < limit; ++d) {
            if (!(s.places[d][bestBand] & bit)) continue;
            State guess = s;
            Place(guess, d, bestBand, bestCell);
            Run(guess);
            s.places[d][bestBand] &= ~bit;  // that digit is done with here
        }
    }

    static void Write(const State& s, uint8_t* grid)
    {
        for (int b = 0; b < 3; ++b)
            for (int d = 0; d < 9; ++d)
                for (uint32_t cells = s.places[d][b] & bandBits; cells; cells &= cells - 1)
                    grid[27 * b + std::countr_zero(cells)] = static_cast<uint8_t>(d + 1);
    }
};

// The state of a grid's givens; false when they conflict or a value is above 9. Built at
// once from which rows, columns and boxes hold each digit, rather than given by given:
// while digging, grids of sixty givens and more are loaded thousands of times a second.
bool Load(const uint8_t grid[81], State& s)
{
    uint32_t given[3] = {}, own[9][3] = {};
    uint16_t rowsWith[9] = {}, columnsWith[9] = {}, boxesWith[9] = {};
    for (int x = 0; x < 81; ++x) {
        const int value = grid[x];
        if (value == 0) continue;
        if (value > 9) return false;
        const int d = value - 1, row = x / 9, column = x % 9, box = row / 3 * 3 + column / 3;
        const uint16_t rowBit = static_cast<uint16_t>(1u << row), columnBit = static_cast<uint16_t>(1u << column),
                       boxBit = static_cast<uint16_t>(1u << box);
        if ((rowsWith[d] & rowBit) || (columnsWith[d] & columnBit) || (boxesWith[d] & boxBit)) return false;
        rowsWith[d] |= rowBit;
        columnsWith[d] |= columnBit;
        boxesWith[d] |= boxBit;
        given[x / 27] |= 1u << (x % 27);
        own[d][x / 27] |= 1u << (x % 27);
    }
    for (int d = 0; d < 9; ++d) {
        const uint32_t columns = columnsWith[d] * columnInBand;
        for (int b = 0; b < 3; ++b) {
            uint32_t excluded = columns;
            for (int i = 0; i < 3; ++i) {
                if (rowsWith[d] & (1u << (3 * b + i))) excluded |= rowBits << (9 * i);
                if (boxesWith[d] & (1u << (3 * b + i))) excluded |= (7u * columnInBand) << (3 * i);
            }
            s.places[d][b] = (bandBits & ~given[b] & ~excluded) | own[d][b];
        }
    }
    for (int b = 0; b < 3; ++b) s.unsolved[b] = bandBits & ~given[b];
    s.dirty = s.touched = allDirty;
    return true;
}

}  // namespace

int CountSolutions(const uint8_t grid[81], int limit, uint8_t* solution)
{
    State s;
    if (limit < 1 || !Load(grid, s)) return 0;
    Search search;
    search.limit = limit;
    search.firstSolution = solution;
    search.Run(s);
    return search.found;
}

bool HasSolutionWithout(const uint8_t grid[81], int cell, int digit)
{
    State s;
    if (cell < 0 || cell > 80 || digit < 1 || digit > 9 || grid[cell] != 0 || !Load(grid, s)) return false;
    s.places[digit - 1][cell / 27] &= ~(1u << (cell % 27));
    Search search;
    search.Run(s);
    return search.found > 0;
}
