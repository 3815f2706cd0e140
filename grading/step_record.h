// What one ladder step did: the technique, the pattern it found and its effects. The
// engine fills a record only while a caller has handed one to TechniqueStep; rating
// without one pays a test per placement and removal (about 3 %, measured).
#pragma once

#include <vector>

#include "grading/grid_geometry.h"
#include "grading/technique_codes.h"

struct Placement {
    CellIndex cell;
    int digit;
};

struct Removal {
    CellIndex cell;
    int digit;  // one removed candidate
};

struct StepRecord {
    TechniqueCode technique = 0;
    // The pattern, by technique:
    //   naked singles   cells: the cells placed
    //   hidden single   units: the unit; cells: the cell; digits: the digit
    //   pointing        units: the box, then the row and/or column it points along; digits
    //   box-line        units: the row or column, then the box; digits
    //   naked subset    units: the unit; cells: the subset's cells; digits: their candidates
    //   hidden subset   units: the unit; cells: where the digits go; digits: the subset's digits
    //   fish            units: the base lines, then the cover lines (baseLines of them base); digits
    //   wings           cells: the pivot, then the two pincers; digits: the digit removed
    std::vector<Unit> units;
    int baseLines = 0;
    bool boxLine = false;  // code 3 found by box-line reduction rather than by pointing
    std::vector<CellIndex> cells;
    std::vector<CandidateMask> cellCandidates;  // wings: the candidates of those cells
    CandidateMask digits = 0;
    // The effects, in the order they happened.
    std::vector<Placement> placements;
    std::vector<Removal> removals;
};

// The record being filled by the step under way on this thread, or nullptr.
extern thread_local StepRecord* activeStepRecord;

// For the techniques: the record to describe the pattern in, when one is being filled.
inline StepRecord* PatternRecord() { return activeStepRecord; }
