// Naked singles, hidden singles and the intersections of a box with a row or a column.
#include "grading/candidate_scans.h"
#include "grading/step_record.h"
#include "grading/subset_enumeration.h"
#include "grading/techniques.h"

// A naked single is a cell with one candidate left. One pass places them all in ascending
// cell order; a placement takes effect at once, so a later cell that it leaves with a
// single candidate is placed in the same pass, an earlier one in the next.
int ApplyNakedSingles()
{
    const CandidateMask* candidates = candidateGrid.candidates;
    CellSet singles = SingleCandidateCells(candidates);
    int progress = 0;
    while (singles) {
        const CellIndex x = LowestCell(singles);
        singles &= singles - 1;
        // An earlier placement of this pass may have taken the cell's last candidate.
        const unsigned mask = static_cast<uint16_t>(candidates[x]);
        if (!IsSingleBit(mask)) continue;
        PlaceDigit(x, LowestBitIndex(mask));
        progress = 1;
        // Cells after x that this placement left with one candidate join the pass.
        singles = SingleCandidateCells(candidates) & ~((CellSet{2} << x) - 1);
    }
    if (StepRecord* record = PatternRecord())
        for (const Placement& placement : record->placements) record->cells.push_back(placement.cell);
    return progress;
}

// A hidden single is a digit with one possible cell in a unit. Units are searched 0..26 and
// digits 1..9 within each unit; the first one found is placed.
int ApplyHiddenSingle()
{
    for (Unit u = 0; u < 27; ++u) {
        const unsigned singles = SingleBitEntries(candidateGrid.digitPositions[u]);
        if (!singles) continue;
        const int digit = LowestBitIndex(singles);
        const int position = LowestBitIndex(candidateGrid.digitPositions[u][digit]);
        const CellIndex cell = gridGeometry.unitCells[u][position];
        PlaceDigit(cell, digit);
        if (StepRecord* record = PatternRecord()) {
            record->units = {u};
            record->cells = {cell};
            record->digits = static_cast<CandidateMask>(1 << digit);
        }
        return 1;
    }
    return 0;
}

// Removes `bit` from the cells of unit u that lie outside box b; returns 1 when any went.
static int RemoveFromLineOutsideBox(Unit u, int b, CandidateMask bit)
{
    int removed = 0;
    for (uint8_t cell : gridGeometry.unitCells[u])
        if (gridGeometry.boxOf[cell] != b) removed |= RemoveCandidates(cell, bit);
    return removed;
}

// Pointing: when a digit's candidates inside a box all lie in one row (or column), the digit
// leaves the rest of that row (or column). Boxes 0..8, digits 1..9; for one box and digit
// the row and the column eliminations both run before the call returns.
//
// Box-line reduction, tried only when no pointing pattern removed anything: when a digit's
// candidates inside a row or column all lie in one box, the digit leaves the rest of that
// box. Rows then columns (units 0..17), digits 1..9.
int ApplyPointingBoxLine()
{
    const GridGeometry& g = gridGeometry;
    const CandidateMask* candidates = candidateGrid.candidates;
    for (int b = 0; b < 9; ++b) {
        const uint8_t* cells = g.unitCells[18 + b];
        unsigned rowDigits[3], columnDigits[3];
        for (int i = 0; i < 3; ++i) {
            rowDigits[i] = static_cast<uint16_t>(candidates[cells[3 * i]] | candidates[cells[3 * i + 1]] |
                                                 candidates[cells[3 * i + 2]]);
            columnDigits[i] = static_cast<uint16_t>(candidates[cells[i]] | candidates[cells[i + 3]] |
                                                    candidates[cells[i + 6]]);
        }
        const unsigned inOneRow = InExactlyOne(rowDigits[0], rowDigits[1], rowDigits[2]);
        const unsigned inOneColumn = InExactlyOne(columnDigits[0], columnDigits[1], columnDigits[2]);
        // The box's places in each of its rows and columns, to tell at once whether the line
        // holds the digit outside the box; a pattern with nothing to remove is passed over.
        const unsigned boxInRow = 7u << (3 * (b % 3)), boxInColumn = 7u << (3 * (b / 3));
        for (unsigned digits = inOneRow | inOneColumn; digits; digits &= digits - 1) {
            const unsigned bit = digits & -digits;
            const int d = LowestBitIndex(bit);
            int removed = 0;
            Unit lines[2];
            int lineCount = 0;
            if (inOneRow & bit) {
                const int i = (rowDigits[0] & bit) ? 0 : (rowDigits[1] & bit) ? 1 : 2;
                const Unit row = g.rowOf[cells[3 * i]];
                if (candidateGrid.digitPositions[row][d] & ~boxInRow &&
                    RemoveFromLineOutsideBox(row, b, static_cast<CandidateMask>(bit))) {
                    removed = 1;
                    lines[lineCount++] = row;
                }
            }
            if (inOneColumn & bit) {
                const int i = (columnDigits[0] & bit) ? 0 : (columnDigits[1] & bit) ? 1 : 2;
                const Unit column = 9 + g.columnOf[cells[i]];
                if (candidateGrid.digitPositions[column][d] & ~boxInColumn &&
                    RemoveFromLineOutsideBox(column, b, static_cast<CandidateMask>(bit))) {
                    removed = 1;
                    lines[lineCount++] = column;
                }
            }
            if (removed) {
                if (StepRecord* record = PatternRecord()) {
                    record->units.assign({18 + b});
                    record->units.insert(record->units.end(), lines, lines + lineCount);
                    record->digits = static_cast<CandidateMask>(bit);
                }
                return 1;
            }
        }
    }

    for (Unit u = 0; u < 18; ++u) {
        const uint8_t* cells = g.unitCells[u];
        // The line's positions 0-2, 3-5 and 6-8 lie in three different boxes.
        unsigned segment[3];
        for (int i = 0; i < 3; ++i)
            segment[i] = static_cast<uint16_t>(candidates[cells[3 * i]] | candidates[cells[3 * i + 1]] |
                                               candidates[cells[3 * i + 2]]);
        for (unsigned digits = InExactlyOne(segment[0], segment[1], segment[2]); digits; digits &= digits - 1) {
            const unsigned bit = digits & -digits;
            const int i = (segment[0] & bit) ? 0 : (segment[1] & bit) ? 1 : 2;
            const int b = g.boxOf[cells[3 * i]];
            const unsigned lineInBox = u < 9 ? 7u << (3 * (u % 3)) : 0x49u << ((u - 9) % 3);
            if (!(candidateGrid.digitPositions[18 + b][LowestBitIndex(bit)] & ~lineInBox)) continue;
            int removed = 0;
            for (uint8_t cell : g.unitCells[18 + b]) {
                const bool onLine = u < 9 ? g.rowOf[cell] == u : g.columnOf[cell] == u - 9;
                if (!onLine) removed |= RemoveCandidates(cell, static_cast<CandidateMask>(bit));
            }
            if (removed) {
                if (StepRecord* record = PatternRecord()) {
                    record->units = {u, 18 + b};
                    record->boxLine = true;
                    record->digits = static_cast<CandidateMask>(bit);
                }
                return 1;
            }
        }
    }
    return 0;
}
