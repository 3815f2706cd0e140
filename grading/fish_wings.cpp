// Fish (X-Wing, Swordfish) and the two wings (XY-Wing, XYZ-Wing).
#include "grading/candidate_scans.h"
#include "grading/step_record.h"
#include "grading/subset_enumeration.h"
#include "grading/techniques.h"

// A fish of size n: for one digit, n base lines (rows, or columns) whose candidate cells
// for the digit all lie in the same n cover lines (columns, or rows); the digit then
// leaves every other cell of the cover lines. Digits 1..9; for each digit rows as base
// lines first, then columns; base sets in ascending numeric order. A base line without
// the digit never belongs to a base set, and one with more than n cells never fits.
int ApplyFish(int size)
{
    const GridGeometry& g = gridGeometry;
    for (int d = 1; d <= 9; ++d) {
        const CandidateMask bit = static_cast<CandidateMask>(1 << d);
        for (int orientation = 0; orientation < 2; ++orientation) {
            unsigned positions[9];
            unsigned pool = 0;
            for (int k = 0; k < 9; ++k) {
                positions[k] = candidateGrid.digitPositions[9 * orientation + k][d];
                if (positions[k] != 0 && CountBits(positions[k]) <= size) pool |= 1u << k;
            }
            const bool found = ForEachSubsetOfSize(pool, size, [&](unsigned s) {
                unsigned cover = 0;
                ForEachMember(s, [&](int k) { cover |= positions[k]; });
                if (CountBits(cover) != size) return false;
                int removed = 0;
                ForEachMember(cover, [&](int m) {
                    const uint8_t* coverCells = g.unitCells[9 * (1 - orientation) + m];
                    for (int p = 0; p < 9; ++p)
                        if (!(s & (1u << p))) removed |= RemoveCandidates(coverCells[p], bit);
                });
                if (removed) {
                    if (StepRecord* record = PatternRecord()) {
                        record->units.clear();
                        ForEachMember(s, [&](int k) { record->units.push_back(9 * orientation + k); });
                        record->baseLines = size;
                        ForEachMember(cover, [&](int m) { record->units.push_back(9 * (1 - orientation) + m); });
                        record->digits = bit;
                    }
                }
                return removed != 0;
            });
            if (found) return 1;
        }
    }
    return 0;
}

// Removes `bits` from every cell of `targets`; returns 1 when any went.
static int RemoveFromCells(CellSet targets, CandidateMask bits)
{
    int removed = 0;
    for (int base = 0; base < 128; base += 64) {
        for (uint64_t half = static_cast<uint64_t>(targets >> base); half; half &= half - 1)
            removed |= RemoveCandidates(base + std::countr_zero(half), bits);
    }
    return removed;
}

// Describes a wing in the step record, when one is being filled.
static void RecordWing(CellIndex pivot, CellIndex pincer1, CellIndex pincer2, unsigned digit)
{
    if (StepRecord* record = PatternRecord()) {
        record->cells = {pivot, pincer1, pincer2};
        record->cellCandidates = {candidateGrid.candidates[pivot], candidateGrid.candidates[pincer1],
                                  candidateGrid.candidates[pincer2]};
        record->digits = static_cast<CandidateMask>(digit);
    }
}

// XY-Wing: a pivot with two candidates {a, b}, a pincer {a, z} and a pincer {b, z}, both
// seen by the pivot. One of the pincers holds z, so z leaves every cell that sees both.
// Pivots in ascending cell order; the first pincer in the pivot's peer order, then the
// second pincer (fixed by its mask) in the same order.
int ApplyXYWing()
{
    const GridGeometry& g = gridGeometry;
    const CandidateMask* candidates = candidateGrid.candidates;
    for (CellIndex x = 0; x < 81; ++x) {
        const unsigned pivotMask = static_cast<uint16_t>(candidates[x]);
        if (CountBits(pivotMask) != 2) continue;
        for (int i = 0; i < 20; ++i) {
            const CellIndex p1 = g.peers[x][i];
            const unsigned m1 = static_cast<uint16_t>(candidates[p1]);
            if (CountBits(m1) != 2 || m1 == pivotMask || CountBits(m1 & pivotMask) != 1) continue;
            const unsigned z = m1 & ~pivotMask;
            const unsigned wanted = z | (pivotMask & ~m1);
            for (int j = 0; j < 20; ++j) {
                const CellIndex p2 = g.peers[x][j];
                if (static_cast<uint16_t>(candidates[p2]) != wanted) continue;
                if (RemoveFromCells(g.peerSet[p1] & g.peerSet[p2], static_cast<CandidateMask>(z))) {
                    RecordWing(x, p1, p2, z);
                    return 1;
                }
            }
        }
    }
    return 0;
}

// XYZ-Wing: a pivot {a, b, z} with pincers {a, z} and {b, z} that it sees. One of the three
// holds z, so z leaves every cell that sees all three. Pivots in ascending cell order; each
// unordered pincer pair once, the first earlier in the pivot's peer order.
int ApplyXYZWing()
{
    const GridGeometry& g = gridGeometry;
    const CandidateMask* candidates = candidateGrid.candidates;
    for (CellIndex x = 0; x < 81; ++x) {
        const unsigned pivotMask = static_cast<uint16_t>(candidates[x]);
        if (CountBits(pivotMask) != 3) continue;
        for (int i = 0; i < 20; ++i) {
            const CellIndex p1 = g.peers[x][i];
            const unsigned m1 = static_cast<uint16_t>(candidates[p1]);
            if (CountBits(m1) != 2 || (m1 & ~pivotMask) != 0) continue;
            for (int j = i + 1; j < 20; ++j) {
                const CellIndex p2 = g.peers[x][j];
                const unsigned m2 = static_cast<uint16_t>(candidates[p2]);
                if (CountBits(m2) != 2 || (m2 & ~pivotMask) != 0 || (m1 | m2) != pivotMask) continue;
                const CellSet targets = g.peerSet[x] & g.peerSet[p1] & g.peerSet[p2];
                if (RemoveFromCells(targets, static_cast<CandidateMask>(m1 & m2))) {
                    RecordWing(x, p1, p2, m1 & m2);
                    return 1;
                }
            }
        }
    }
    return 0;
}
