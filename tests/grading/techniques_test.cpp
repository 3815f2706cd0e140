// Hand-made candidate grids that show each technique's pattern, a pattern that removes
// nothing (the search must go on), and two patterns where the first in search order wins.
#include <gtest/gtest.h>

#include "grading/techniques.h"
#include "tests/grading/test_grids.h"

namespace {

// Every cell empty with all nine candidates, then shaped by the test.
class Techniques : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid empty{};
        LoadGrid(empty.data());
    }
    static CandidateMask Mask(int cell) { return candidateGrid.candidates[cell]; }
    static void Set(int cell, std::initializer_list<int> digits) { SetCandidates(cell, Digits(digits)); }
    static bool Has(int cell, int digit) { return Mask(cell) & (1 << digit); }
    // Removes the digit from every cell of the unit except the listed positions.
    static void KeepOnlyAt(int unit, int digit, std::initializer_list<int> positions)
    {
        for (int j = 0; j < 9; ++j) {
            bool keep = false;
            for (int p : positions) keep |= p == j;
            if (!keep) RemoveCandidates(gridGeometry.unitCells[unit][j], Digits({digit}));
        }
    }
    static CandidateGrid Snapshot() { return candidateGrid; }
};

TEST_F(Techniques, NothingAppliesToAnEmptyGrid)
{
    const CandidateGrid before = Snapshot();
    EXPECT_EQ(ApplyNakedSingles(), 0);
    EXPECT_EQ(ApplyHiddenSingle(), 0);
    EXPECT_EQ(ApplyPointingBoxLine(), 0);
    for (int size : {2, 3}) {
        EXPECT_EQ(ApplyNakedSubset(size), 0);
        EXPECT_EQ(ApplyHiddenSubset(size), 0);
        EXPECT_EQ(ApplyFish(size), 0);
    }
    EXPECT_EQ(ApplyXYWing(), 0);
    EXPECT_EQ(ApplyXYZWing(), 0);
    EXPECT_TRUE(SameCandidateGrid(before, candidateGrid));
}

TEST_F(Techniques, NakedSinglesPlaceLaterCellsInTheSamePassOnly)
{
    Grid solution = RandomSolution(11);
    Grid puzzle = solution;
    puzzle[80] = 0;
    LoadGrid(puzzle.data());
    EXPECT_EQ(ApplyNakedSingles(), 1);
    EXPECT_EQ(candidateGrid.placed[80], solution[80]);
    EXPECT_EQ(ApplyNakedSingles(), 0);

    // Cell 10 single; cell 11 also holds cell 10's digit: both fall in one pass.
    puzzle = solution;
    puzzle[10] = puzzle[11] = 0;
    LoadGrid(puzzle.data());
    Set(11, {solution[10], solution[11]});
    EXPECT_EQ(ApplyNakedSingles(), 1);
    EXPECT_EQ(candidateGrid.placed[10], solution[10]);
    EXPECT_EQ(candidateGrid.placed[11], solution[11]);

    // Cell 9 comes before the single at cell 10: it waits for the next pass.
    puzzle = solution;
    puzzle[9] = puzzle[10] = 0;
    LoadGrid(puzzle.data());
    Set(9, {solution[9], solution[10]});
    EXPECT_EQ(ApplyNakedSingles(), 1);
    EXPECT_EQ(candidateGrid.placed[10], solution[10]);
    EXPECT_EQ(candidateGrid.placed[9], 0);
    EXPECT_EQ(ApplyNakedSingles(), 1);
    EXPECT_EQ(candidateGrid.placed[9], solution[9]);
}

TEST_F(Techniques, HiddenSingleTakesRowsBeforeColumnsOnePerCall)
{
    KeepOnlyAt(9, 6, {5});  // column 0: 6 only in row 5 (cell 45)
    KeepOnlyAt(2, 8, {4});  // row 2: 8 only at cell 22
    KeepOnlyAt(2, 4, {7});  // row 2: 4 only at cell 25, a lower digit of the same row
    EXPECT_EQ(ApplyHiddenSingle(), 1);
    EXPECT_EQ(candidateGrid.placed[25], 4);
    EXPECT_EQ(candidateGrid.placed[22], 0);
    EXPECT_EQ(candidateGrid.placed[45], 0);
    EXPECT_EQ(ApplyHiddenSingle(), 1);
    EXPECT_EQ(candidateGrid.placed[22], 8);
    EXPECT_EQ(ApplyHiddenSingle(), 1);
    EXPECT_EQ(candidateGrid.placed[45], 6);
}

TEST_F(Techniques, PointingRunsBeforeBoxLineAndSkipsPatternsThatRemoveNothing)
{
    // Box 0, digit 2: confined to row 0, which holds no 2 outside the box: nothing to do.
    for (int cell : {9, 10, 11, 18, 19, 20, 3, 4, 5, 6, 7, 8}) RemoveCandidates(cell, Digits({2}));
    // Box 0, digit 7: only cell 10, so 7 leaves row 1 and column 1 outside the box.
    for (int cell : {0, 1, 2, 9, 11, 18, 19, 20}) RemoveCandidates(cell, Digits({7}));
    // Row 5, digit 3: only inside box 5, a box-line pattern for the second call.
    KeepOnlyAt(5, 3, {6, 7, 8});

    EXPECT_EQ(ApplyPointingBoxLine(), 1);
    for (int cell = 12; cell <= 17; ++cell) EXPECT_FALSE(Has(cell, 7)) << cell;
    for (int row = 3; row <= 8; ++row) EXPECT_FALSE(Has(9 * row + 1, 7)) << row;
    EXPECT_TRUE(Has(10, 7));
    EXPECT_TRUE(Has(33, 3));  // the box-line pattern waits

    EXPECT_EQ(ApplyPointingBoxLine(), 1);
    for (int cell : {33, 34, 35, 42, 43, 44}) EXPECT_FALSE(Has(cell, 3)) << cell;
    for (int cell : {51, 52, 53}) EXPECT_TRUE(Has(cell, 3)) << cell;
}

TEST_F(Techniques, NakedPairLeavesTheBoxForALaterCall)
{
    // Row 0, cells 0 and 1: a pair {5,6} whose row and box hold neither digit elsewhere.
    Set(0, {5, 6});
    Set(1, {5, 6});
    for (int cell : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 18, 19, 20}) RemoveCandidates(cell, Digits({5, 6}));
    // Row 3, cells 28 and 29 (also box 3): the pair {2,7}.
    Set(28, {2, 7});
    Set(29, {2, 7});

    EXPECT_EQ(ApplyNakedSubset(2), 1);
    for (int cell : {27, 30, 31, 35}) EXPECT_EQ(Mask(cell), allDigitsMask & ~Digits({2, 7})) << cell;
    EXPECT_TRUE(Has(36, 2));  // box 3 outside row 3 keeps the digits for now
    EXPECT_EQ(ApplyNakedSubset(2), 1);  // the box (unit 21) follows
    EXPECT_FALSE(Has(36, 2));
}

TEST_F(Techniques, NakedTripleNeedsOnlyTheUnionToHaveThreeDigits)
{
    // Column 4 at rows 0, 2 and 6: {1,2}, {2,3}, {1,3}.
    Set(4, {1, 2});
    Set(22, {2, 3});
    Set(58, {1, 3});
    EXPECT_EQ(ApplyNakedSubset(2), 0);
    EXPECT_EQ(ApplyNakedSubset(3), 1);
    for (int row : {1, 3, 4, 5, 7, 8}) EXPECT_EQ(Mask(9 * row + 4), allDigitsMask & ~Digits({1, 2, 3})) << row;
    EXPECT_EQ(Mask(22), Digits({2, 3}));
}

TEST_F(Techniques, HiddenPairStripsItsCellsAndSkipsAPairThatIsAlreadyBare)
{
    // Column 0: 4 and 9 only in rows 2 and 6, whose cells hold nothing else already.
    KeepOnlyAt(9, 4, {2, 6});
    KeepOnlyAt(9, 9, {2, 6});
    Set(18, {4, 9});
    Set(54, {4, 9});
    // Column 3: 4 and 9 only in rows 2 and 6 (cells 21 and 57), among other candidates.
    KeepOnlyAt(12, 4, {2, 6});
    KeepOnlyAt(12, 9, {2, 6});

    EXPECT_EQ(ApplyHiddenSubset(2), 1);
    EXPECT_EQ(Mask(21), Digits({4, 9}));
    EXPECT_EQ(Mask(57), Digits({4, 9}));
    EXPECT_EQ(ApplyHiddenSubset(2), 0);
}

TEST_F(Techniques, FishSearchesRowsThenColumnsAndSkipsEmptyCovers)
{
    // Digit 3: rows 0 and 4 only in columns 1 and 5, which hold no other 3: removes nothing.
    KeepOnlyAt(0, 3, {1, 5});
    KeepOnlyAt(4, 3, {1, 5});
    KeepOnlyAt(10, 3, {0, 4});
    KeepOnlyAt(14, 3, {0, 4});
    // Digit 5: rows 1 and 6 only in columns 2 and 7.
    KeepOnlyAt(1, 5, {2, 7});
    KeepOnlyAt(6, 5, {2, 7});

    EXPECT_EQ(ApplyFish(2), 1);
    for (int row : {0, 2, 3, 4, 5, 7, 8}) {
        EXPECT_FALSE(Has(9 * row + 2, 5)) << row;
        EXPECT_FALSE(Has(9 * row + 7, 5)) << row;
        EXPECT_TRUE(Has(9 * row + 3, 5)) << row;
    }
    EXPECT_TRUE(Has(11, 5));
    EXPECT_EQ(ApplyFish(2), 0);
}

TEST_F(Techniques, SwordfishCoversThreeLines)
{
    KeepOnlyAt(0, 8, {0, 4});
    KeepOnlyAt(3, 8, {4, 8});
    KeepOnlyAt(6, 8, {0, 8});
    EXPECT_EQ(ApplyFish(2), 0);
    EXPECT_EQ(ApplyFish(3), 1);
    for (int row : {1, 2, 4, 5, 7, 8})
        for (int column : {0, 4, 8}) EXPECT_FALSE(Has(9 * row + column, 8)) << row << "," << column;
    EXPECT_TRUE(Has(10, 8));
}

TEST_F(Techniques, XYWingRemovesFromCellsThatSeeBothPincers)
{
    Set(0, {1, 2});
    Set(4, {1, 3});
    Set(18, {2, 3});
    EXPECT_EQ(ApplyXYWing(), 1);
    for (int cell : {1, 2, 21, 22, 23}) EXPECT_FALSE(Has(cell, 3)) << cell;
    for (int cell : {3, 5, 13, 19, 27}) EXPECT_TRUE(Has(cell, 3)) << cell;
    EXPECT_EQ(Mask(4), Digits({1, 3}));
    EXPECT_EQ(Mask(18), Digits({2, 3}));
    EXPECT_EQ(ApplyXYWing(), 0);
}

TEST_F(Techniques, XYZWingRemovesFromCellsThatSeeAllThree)
{
    Set(0, {1, 2, 3});
    Set(5, {2, 3});
    Set(10, {1, 3});
    EXPECT_EQ(ApplyXYZWing(), 1);
    EXPECT_FALSE(Has(1, 3));
    EXPECT_FALSE(Has(2, 3));
    for (int cell : {3, 4, 9, 11, 14, 19}) EXPECT_TRUE(Has(cell, 3)) << cell;
    EXPECT_EQ(ApplyXYZWing(), 0);

    // Equal pincers give a union of two digits: never a wing.
    SetUp();
    Set(0, {1, 2, 3});
    Set(5, {2, 3});
    Set(10, {2, 3});
    EXPECT_EQ(ApplyXYZWing(), 0);
}

}  // namespace
