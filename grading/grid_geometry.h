// The grading engine's view of the grid: constant geometry tables, the candidate state
// of the grid being solved, and the operations that change that state.
#pragma once

#include <bit>
#include <cstdint>

// CellIndex: the engine numbers cells 0..80 row by row, cell = 9 * row + column.
//
//          column 0  1  2    3  4  5    6  7  8
//   row 0         0  1  2 |  3  4  5 |  6  7  8        boxes   0 | 1 | 2
//   row 1         9 10 11 | 12 13 14 | 15 16 17               ---+---+---
//   row 2        18 19 20 | 21 22 23 | 24 25 26                3 | 4 | 5
//                ---------+----------+---------               ---+---+---
//   ...                                                        6 | 7 | 8
//   row 8        72 73 74 | 75 76 77 | 78 79 80
//
// (The game itself numbers the same cells 1..81; see board/board.h.)
using CellIndex = int;

// Unit: the 27 houses. Units 0..8 are rows 0..8, 9..17 are columns 0..8 and 18..26 are
// boxes 0..8. A cell's position (0..8) within its unit is its column in a row, its row in
// a column, and its place in a box read row by row; 9-bit sets of positions use bit j for
// position j.
using Unit = int;

// CandidateMask: bit d (d = 1..9) set means digit d is still possible in the cell. Bit 0
// and bits 10..15 stay clear, so a mask lies in 0..1022.
using CandidateMask = int16_t;
constexpr CandidateMask allDigitsMask = 1022;

// A set of cells, bit x for CellIndex x.
__extension__ typedef unsigned __int128 CellSet;

struct GridGeometry {
    uint8_t rowOf[81];
    uint8_t columnOf[81];
    uint8_t boxOf[81];
    uint8_t unitCells[27][9];   // unitCells[u][j]: the cell at position j of unit u
    uint8_t peers[81][20];      // the 20 cells that share a house with the cell, ascending
    uint8_t isPeer[81][81];     // 1 when two distinct cells share a house
    uint8_t bitCount[1024];     // number of set bits of the index
    uint8_t digitOfBit[1024];   // k at index 2^k, 0 elsewhere
    CellSet peerSet[81];        // peers[x] as a set, for intersecting neighbourhoods
    alignas(16) int16_t peerLanes[81][80];  // -1 at the peers of the cell among cells 0..79
    uint8_t unitsOf[81][3];     // the cell's row, column and box units
    uint8_t positionIn[81][3];  // the cell's position within each of those units
};

// The working state of the grid being solved. Each thread has its own, so that a tool may
// rate puzzles on several threads; the game uses one thread only.
struct CandidateGrid {
    uint8_t placed[81];          // 0 for an empty cell, else the digit placed in it
    CandidateMask candidates[81];  // digits still possible; 0 once a digit is placed
    // The same candidates seen from the units: bit j of digitPositions[u][d] is set when
    // the cell at position j of unit u holds d among its candidates. Kept in step by
    // LoadGrid, PlaceDigit, RemoveCandidates and SetCandidates, so that the techniques
    // read a digit's places in a unit at once instead of scanning nine cells. Rows are
    // sixteen wide for vector scans; entries 0 and 10..15 stay 0.
    alignas(16) uint16_t digitPositions[27][16];
    uint16_t placedDigits[27];  // bit d set when d is placed in the unit
    int placedCount;            // cells with a digit placed
};

// State of FillRandomGrid only: bit d set when the filler has put digit d into that house.
struct UsedDigitMasks {
    int16_t rowUsed[9];
    int16_t columnUsed[9];
    int16_t boxUsed[9];
};

// Constant after BuildGridGeometry, shared by every thread.
extern GridGeometry gridGeometry;
extern thread_local CandidateGrid candidateGrid;
extern thread_local UsedDigitMasks usedDigitMasks;

// Fills every table of gridGeometry. Runs once, before any other engine operation.
void BuildGridGeometry();

// Resets the candidate grid and places the givens (81 bytes, 0 = empty) in ascending cell
// order. Returns 1, or 0 at the first given that an earlier given has ruled out of its
// cell; the givens before it stay placed.
int LoadGrid(const uint8_t grid[81]);

// Loads again a grid whose loaded state was saved: a copy of candidateGrid made after a
// LoadGrid that returned 1, with perhaps more givens placed since by PlaceDigit but
// nothing removed by a technique. The state is the one LoadGrid gives for those givens; ReloadGridWithout gives
// the one for them less the given at `cell` (a cell that is empty or outside 0..80 is
// left as it is). Searches that rate many puzzles one given apart load one and derive the
// others, rather than read all 81 cells each time. Both count as loads: candidates only
// shrink from one load to the next.
void ReloadGrid(const CandidateGrid& saved);
void ReloadGridWithout(const CandidateGrid& saved, CellIndex cell);

// Puts digit 1..9 in the cell and removes it from the cell's peers. It does not check that
// the digit was a candidate; a cell outside 0..80 or a digit outside 1..9 changes nothing.
void PlaceDigit(CellIndex cell, int digit);

// Clears `bits` from the cell's candidates. Returns 1 when any of them was a candidate.
// A cell outside 0..80, or bits outside 1..9, are refused: 0, and nothing changes.
int RemoveCandidates(CellIndex cell, CandidateMask bits);

// Completes grid from `cell` onwards with random digits by backtracking over the
// used-digit masks, which must hold exactly the digits of cells 0..cell-1. Returns 1 when
// a completion was written, 0 when none exists or `cell` lies outside 0..81.
int FillRandomGrid(uint8_t grid[81], CellIndex cell);

// Sets a cell's candidates outright, for building hand-made grids (tests); keeps
// digitPositions in step. The engine's own operations never need it.
void SetCandidates(CellIndex cell, CandidateMask mask);

// Clears the used-digit masks, as a caller must before each fill from cell 0.
void ClearUsedDigitMasks();

// The engine's random source for FillRandomGrid: one generator per thread, so that a fill
// depends only on its own seed. UniformRandom(n) is uniform over 0..n inclusive.
void SeedGradingRandom(uint64_t seed);
int64_t UniformRandom(int64_t n);

// Small bit helpers over masks and position sets.
inline int CountBits(unsigned bits) { return std::popcount(bits); }
inline bool IsSingleBit(unsigned bits) { return std::has_single_bit(bits); }
inline int LowestBitIndex(unsigned nonzeroBits) { return std::countr_zero(nonzeroBits); }
