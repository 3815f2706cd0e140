// Naked and hidden subsets (pairs and triples) within one unit.
#include "grading/candidate_scans.h"
#include "grading/step_record.h"
#include "grading/subset_enumeration.h"
#include "grading/techniques.h"

// Describes a subset pattern in the step record, when one is being filled.
static void RecordSubset(Unit u, unsigned positions, unsigned digits)
{
    StepRecord* record = PatternRecord();
    if (!record) return;
    record->units = {u};
    record->cells.clear();
    ForEachMember(positions, [&](int j) { record->cells.push_back(gridGeometry.unitCells[u][j]); });
    record->digits = static_cast<CandidateMask>(digits);
}

// A naked subset is `size` unplaced cells of one unit whose candidates together hold
// exactly `size` digits: those digits leave the unit's other cells. Units 0..26; within a
// unit, position sets in ascending numeric order. A cell with more candidates than the
// size can never be a member, and a placed cell drops the set, so only the sets of
// unplaced cells with at most `size` candidates are looked at.
int ApplyNakedSubset(int size)
{
    const CandidateMask* candidates = candidateGrid.candidates;
    uint16_t pools[27];
    SmallCellPools(size, pools);
    for (Unit u = 0; u < 27; ++u) {
        const uint8_t* cells = gridGeometry.unitCells[u];
        const unsigned pool = pools[u];
        const bool found = ForEachSubsetOfSize(pool, size, [&](unsigned s) {
            unsigned digits = 0;
            ForEachMember(s, [&](int j) { digits |= static_cast<uint16_t>(candidates[cells[j]]); });
            if (CountBits(digits) != size) return false;
            int removed = 0;
            for (int j = 0; j < 9; ++j)
                if (!(s & (1u << j))) removed |= RemoveCandidates(cells[j], static_cast<CandidateMask>(digits));
            if (removed) RecordSubset(u, s, digits);
            return removed != 0;
        });
        if (found) return 1;
    }
    return 0;
}

// A hidden subset is `size` digits, none placed in the unit, whose candidate cells in the
// unit are exactly `size` cells: every other digit leaves those cells. Units 0..26; within
// a unit, digit sets in ascending numeric order (bit k of a set stands for digit k + 1).
// A digit with more possible cells than the size can never be a member.
int ApplyHiddenSubset(int size)
{
    const CandidateMask* candidates = candidateGrid.candidates;
    for (Unit u = 0; u < 27; ++u) {
        const uint8_t* cells = gridGeometry.unitCells[u];
        const uint16_t* positionsOf = candidateGrid.digitPositions[u];
        const unsigned pool = FewPlaceDigits(u, size);
        const bool found = ForEachSubsetOfSize(pool, size, [&](unsigned s) {
            unsigned positions = 0;
            ForEachMember(s, [&](int k) { positions |= positionsOf[k + 1]; });
            if (CountBits(positions) != size) return false;
            const unsigned digitMask = s << 1;
            int removed = 0;
            ForEachMember(positions, [&](int j) {
                const CellIndex x = cells[j];
                removed |= RemoveCandidates(x, static_cast<CandidateMask>(candidates[x] & ~digitMask));
            });
            if (removed) RecordSubset(u, positions, digitMask);
            return removed != 0;
        });
        if (found) return 1;
    }
    return 0;
}
