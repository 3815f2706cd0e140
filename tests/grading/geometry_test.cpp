#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "grading/grid_geometry.h"
#include "grading/technique_codes.h"
#include "tests/grading/test_grids.h"

static std::vector<int> UnitCells(int u) { return {gridGeometry.unitCells[u], gridGeometry.unitCells[u] + 9}; }
static std::vector<int> Peers(int x) { return {gridGeometry.peers[x], gridGeometry.peers[x] + 20}; }

static bool IsValidSolution(const Grid& grid)
{
    for (int u = 0; u < 27; ++u) {
        int seen = 0;
        for (uint8_t cell : gridGeometry.unitCells[u]) seen |= 1 << grid[cell];
        if (seen != allDigitsMask) return false;
    }
    return true;
}

TEST(GridGeometry, UnitsPeersAndBitTables)
{
    EXPECT_EQ(UnitCells(0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(UnitCells(9), (std::vector<int>{0, 9, 18, 27, 36, 45, 54, 63, 72}));
    EXPECT_EQ(UnitCells(18), (std::vector<int>{0, 1, 2, 9, 10, 11, 18, 19, 20}));
    EXPECT_EQ(UnitCells(22), (std::vector<int>{30, 31, 32, 39, 40, 41, 48, 49, 50}));
    EXPECT_EQ(UnitCells(26), (std::vector<int>{60, 61, 62, 69, 70, 71, 78, 79, 80}));
    EXPECT_EQ(Peers(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 18, 19, 20, 27, 36, 45, 54, 63, 72}));
    EXPECT_EQ(Peers(40), (std::vector<int>{4, 13, 22, 30, 31, 32, 36, 37, 38, 39, 41, 42, 43, 44, 48, 49, 50, 58, 67, 76}));
    EXPECT_EQ(gridGeometry.boxOf[80], 8);
    EXPECT_EQ(gridGeometry.boxOf[33], 5);

    for (int x = 0; x < 81; ++x) {
        int count = 0;
        for (int y = 0; y < 81; ++y) {
            count += gridGeometry.isPeer[x][y];
            EXPECT_EQ(gridGeometry.isPeer[x][y], gridGeometry.isPeer[y][x]);
            EXPECT_EQ(gridGeometry.isPeer[x][y] != 0, static_cast<bool>((gridGeometry.peerSet[x] >> y) & 1));
        }
        EXPECT_EQ(count, 20);
        EXPECT_EQ(gridGeometry.isPeer[x][x], 0);
    }

    struct { int index, bitCount, digitOfBit; } table[] = {
        {0, 0, 0}, {1, 1, 0}, {6, 2, 0}, {512, 1, 9}, {1022, 9, 0}, {1023, 10, 0}, {16, 1, 4},
    };
    for (auto row : table) {
        EXPECT_EQ(gridGeometry.bitCount[row.index], row.bitCount) << row.index;
        EXPECT_EQ(gridGeometry.digitOfBit[row.index], row.digitOfBit) << row.index;
    }
}

// Every entry of every table against values worked out here from coordinates alone, with
// no engine table in sight.
TEST(GridGeometry, EveryTableMatchesAnIndependentComputation)
{
    const GridGeometry& g = gridGeometry;
    auto box = [](int row, int column) { return (row / 3) * 3 + column / 3; };
    for (int row = 0; row < 9; ++row)
        for (int column = 0; column < 9; ++column) {
            const int cell = row * 9 + column;
            EXPECT_EQ(g.rowOf[cell], row);
            EXPECT_EQ(g.columnOf[cell], column);
            EXPECT_EQ(g.boxOf[cell], box(row, column));
            // The cell's position in its row, its column and its box.
            EXPECT_EQ(g.unitCells[row][column], cell);
            EXPECT_EQ(g.unitCells[9 + column][row], cell);
            EXPECT_EQ(g.unitCells[18 + box(row, column)][(row % 3) * 3 + column % 3], cell);

            std::vector<int> peers;
            for (int other = 0; other < 81; ++other) {
                const int r = other / 9, c = other % 9;
                const bool sees = other != cell && (r == row || c == column || box(r, c) == box(row, column));
                if (sees) peers.push_back(other);
                EXPECT_EQ(g.isPeer[cell][other], sees ? 1 : 0) << cell << "," << other;
            }
            EXPECT_EQ(Peers(cell), peers) << cell;
        }
    for (int k = 0; k < 1024; ++k) {
        int bits = 0, only = 0;
        for (int b = 0; b < 10; ++b)
            if (k & (1 << b)) ++bits, only = b;
        EXPECT_EQ(g.bitCount[k], bits) << k;
        EXPECT_EQ(g.digitOfBit[k], bits == 1 ? only : 0) << k;
    }
}

TEST(LoadGrid, EmptyGridConflictsAndOutOfRangeValues)
{
    Grid empty{};
    ASSERT_EQ(LoadGrid(empty.data()), 1);
    for (int x = 0; x < 81; ++x) {
        EXPECT_EQ(candidateGrid.placed[x], 0);
        EXPECT_EQ(candidateGrid.candidates[x], allDigitsMask);
    }

    // Two 5s in row 0: the later one is the conflict; the earlier stays placed and the
    // cells after it are left as the placements so far made them.
    Grid row{};
    row[0] = 5;
    row[8] = 5;
    row[40] = 3;
    EXPECT_EQ(LoadGrid(row.data()), 0);
    EXPECT_EQ(candidateGrid.placed[0], 5);
    EXPECT_EQ(candidateGrid.placed[8], 0);
    EXPECT_EQ(candidateGrid.placed[40], 0);
    EXPECT_EQ(candidateGrid.candidates[8], allDigitsMask & ~Digits({5}));
    EXPECT_EQ(candidateGrid.candidates[40], allDigitsMask);

    // The same in a column (cells 4 and 67) and in a box (cells 30 and 50): the later cell.
    struct Conflict {
        int first, second;
    };
    for (Conflict c : {Conflict{4, 67}, Conflict{30, 50}}) {
        Grid grid{};
        grid[c.first] = 2;
        grid[c.second] = 2;
        EXPECT_EQ(LoadGrid(grid.data()), 0) << c.first << "," << c.second;
        EXPECT_EQ(candidateGrid.placed[c.first], 2);
        EXPECT_EQ(candidateGrid.placed[c.second], 0);
        EXPECT_EQ(candidateGrid.candidates[c.second], allDigitsMask & ~Digits({2}));
    }

    // Values above 9 name no digit: a conflict, never a shift past the mask.
    for (uint8_t bad : {10, 15, 16, 200, 255}) {
        Grid grid{};
        grid[3] = 7;
        grid[20] = bad;
        EXPECT_EQ(LoadGrid(grid.data()), 0) << int(bad);
        EXPECT_EQ(candidateGrid.placed[3], 7);
        EXPECT_EQ(candidateGrid.placed[20], 0);
    }

    // A given that leaves another cell without candidates still loads.
    Grid starved = ParseGrid("12345678.........9");
    EXPECT_EQ(LoadGrid(starved.data()), 1);
    EXPECT_EQ(candidateGrid.candidates[8], 0);
}

// A grid without conflicts is loaded all at once; the state must be the one that placing its
// givens one by one on an empty grid leaves.
TEST(LoadGrid, MatchesPlacingTheGivensOneByOne)
{
    const Grid empty{};
    for (uint64_t seed = 1; seed <= 300; ++seed) {
        // From an empty grid to a full one.
        const Grid grid = KeepRandomCells(RandomSolution(seed), static_cast<int>(seed % 82), seed);
        ASSERT_EQ(LoadGrid(grid.data()), 1);
        ASSERT_TRUE(DigitPositionsMatchCandidates()) << "seed " << seed;
        const CandidateGrid loaded = candidateGrid;
        LoadGrid(empty.data());
        for (int x = 0; x < 81; ++x)
            if (grid[x]) PlaceDigit(x, grid[x]);
        ASSERT_TRUE(SameCandidateGrid(loaded, candidateGrid)) << "seed " << seed;
    }
}

// Reloading a saved grid less a given must leave what loading the grid without it leaves;
// an empty cell or one out of range is left as it is.
TEST(ReloadGridWithout, MatchesLoadingTheGridWithoutIt)
{
    const Grid empty{};
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        const Grid grid = KeepRandomCells(RandomSolution(seed), 17 + static_cast<int>(seed % 65), seed);
        for (int cell = static_cast<int>(seed % 3); cell < 81; cell += 3) {
            Grid without = grid;
            without[cell] = 0;
            ASSERT_EQ(LoadGrid(without.data()), 1);
            const CandidateGrid expected = candidateGrid;
            LoadGrid(grid.data());
            const CandidateGrid saved = candidateGrid;
            LoadGrid(empty.data());  // the reload must not depend on what was loaded last
            ReloadGridWithout(saved, cell);
            ASSERT_TRUE(SameCandidateGrid(expected, candidateGrid)) << "seed " << seed << ", cell " << cell;
            ASSERT_TRUE(DigitPositionsMatchCandidates()) << "seed " << seed << ", cell " << cell;
        }
    }
    LoadGrid(empty.data());
    const CandidateGrid before = candidateGrid;
    for (int cell : {-1, 0, 40, 81}) ReloadGridWithout(candidateGrid, cell);
    EXPECT_TRUE(SameCandidateGrid(before, candidateGrid));
    EXPECT_TRUE(DigitPositionsMatchCandidates());
}

TEST(PlaceAndRemove, PlaceDigitClearsPeersAndRemoveReportsChange)
{
    Grid empty{};
    LoadGrid(empty.data());
    PlaceDigit(40, 6);
    EXPECT_EQ(candidateGrid.placed[40], 6);
    EXPECT_EQ(candidateGrid.candidates[40], 0);
    for (int y = 0; y < 81; ++y)
        if (y != 40) {
            EXPECT_EQ((candidateGrid.candidates[y] & Digits({6})) == 0, gridGeometry.isPeer[40][y] != 0) << y;
        }

    EXPECT_EQ(RemoveCandidates(40, Digits({1, 2})), 0);  // a placed cell has nothing to lose
    SetCandidates(0, Digits({1, 2, 3}));
    EXPECT_EQ(RemoveCandidates(0, Digits({4, 5})), 0);
    EXPECT_EQ(candidateGrid.candidates[0], Digits({1, 2, 3}));
    EXPECT_EQ(RemoveCandidates(0, Digits({3, 4})), 1);  // one shared digit: only that one goes
    EXPECT_EQ(candidateGrid.candidates[0], Digits({1, 2}));
}

// A wrong argument never reaches past a table: the call is refused and nothing changes.
TEST(PlaceAndRemove, OutOfRangeArgumentsAreRefused)
{
    Grid some = ParseGrid("5.......3....7....");
    LoadGrid(some.data());
    const CandidateGrid before = candidateGrid;
    auto unchanged = [&] { return std::memcmp(&before, &candidateGrid, sizeof before) == 0; };

    struct Placement {
        int cell, digit;
    };
    for (Placement p : {Placement{40, 0}, Placement{40, 10}, Placement{40, -1}, Placement{-1, 5}, Placement{81, 5},
                        Placement{1000, 5}}) {
        PlaceDigit(p.cell, p.digit);
        EXPECT_TRUE(unchanged()) << "PlaceDigit(" << p.cell << ", " << p.digit << ")";
    }
    struct Removal {
        int cell;
        CandidateMask bits;
    };
    for (Removal r : {Removal{-1, Digits({4})}, Removal{81, Digits({4})}, Removal{40, 1}, Removal{40, 1 << 10},
                      Removal{40, static_cast<CandidateMask>(Digits({4}) | 1 << 12)}, Removal{40, -1}}) {
        EXPECT_EQ(RemoveCandidates(r.cell, r.bits), 0) << "RemoveCandidates(" << r.cell << ", " << r.bits << ")";
        EXPECT_TRUE(unchanged()) << "RemoveCandidates(" << r.cell << ", " << r.bits << ")";
    }

    Grid grid;
    grid.fill(7);
    for (int start : {-1, 82, 500}) {
        ClearUsedDigitMasks();
        EXPECT_EQ(FillRandomGrid(grid.data(), start), 0) << start;
        for (uint8_t d : grid) ASSERT_EQ(d, 7);
    }
}

// Placing over a placed cell: the old digit leaves the units' bookkeeping, as it leaves the
// grid, so the faster searches keep seeing what the plain ones see.
TEST(PlaceAndRemove, PlacingOverAPlacedCellKeepsTheBookkeepingExact)
{
    Grid empty{};
    LoadGrid(empty.data());
    PlaceDigit(40, 5);
    PlaceDigit(40, 6);
    EXPECT_EQ(candidateGrid.placed[40], 6);
    EXPECT_EQ(candidateGrid.placedCount, 1);
    EXPECT_TRUE(DigitPositionsMatchCandidates());

    // The old digit stays counted where another cell of the unit still holds it.
    PlaceDigit(0, 3);
    PlaceDigit(4, 3);  // the same row as cell 0, against the rules: nothing checks
    PlaceDigit(4, 8);
    EXPECT_TRUE(DigitPositionsMatchCandidates());
    EXPECT_TRUE(candidateGrid.placedDigits[0] & (1 << 3));
}

TEST(FillRandomGrid, FillsValidGridsAndStopsAt81)
{
    Grid untouched;
    untouched.fill(4);
    EXPECT_EQ(FillRandomGrid(untouched.data(), 81), 1);
    for (uint8_t d : untouched) EXPECT_EQ(d, 4);

    Grid previous{};
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        Grid grid = RandomSolution(seed);
        EXPECT_TRUE(IsValidSolution(grid)) << seed;
        EXPECT_NE(grid, previous);
        for (int16_t mask : usedDigitMasks.rowUsed) EXPECT_EQ(mask, allDigitsMask);
        previous = grid;
    }
    EXPECT_EQ(RandomSolution(7), RandomSolution(7));
}

TEST(FillRandomGrid, CompletesAPartlyFilledGridOrReportsNone)
{
    // Cells 0..8 hold row 0 of a valid grid; the masks say so; the rest is filled.
    Grid grid{};
    ClearUsedDigitMasks();
    for (int c = 0; c < 9; ++c) {
        int d = c + 1;
        grid[c] = static_cast<uint8_t>(d);
        usedDigitMasks.rowUsed[0] |= static_cast<int16_t>(1 << d);
        usedDigitMasks.columnUsed[c] |= static_cast<int16_t>(1 << d);
        usedDigitMasks.boxUsed[c / 3] |= static_cast<int16_t>(1 << d);
    }
    ASSERT_EQ(FillRandomGrid(grid.data(), 9), 1);
    EXPECT_TRUE(IsValidSolution(grid));

    // Every digit already used in the cell's row: nothing fits and the cell stays as it was.
    ClearUsedDigitMasks();
    usedDigitMasks.rowUsed[0] = allDigitsMask;
    Grid blocked{};
    blocked[0] = 3;
    EXPECT_EQ(FillRandomGrid(blocked.data(), 0), 0);
    EXPECT_EQ(blocked[0], 3);
}

TEST(TechniqueCodes, NamesAndLevelBands)
{
    EXPECT_EQ(TechniqueName(0), "-");
    EXPECT_EQ(TechniqueName(12), "-");
    EXPECT_EQ(TechniqueName(-1), "-");
    EXPECT_EQ(TechniqueName(3), "Pointing / box-line");
    EXPECT_EQ(TechniqueName(1), "Naked single");
    EXPECT_EQ(TechniqueName(11), "XYZ-Wing");
    EXPECT_EQ(TechniqueName(8), "X-Wing");
    const int codes[] = {0, 1, 2, 3, 5, 6, 9, 10, 11, 12, -5};
    const int levels[] = {1, 1, 1, 2, 2, 3, 3, 4, 4, 1, 1};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(TechniqueLevel(codes[i]), levels[i]) << codes[i];
}
