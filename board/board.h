// The playing state of the puzzle on screen, and the rules for changing a cell.
#pragma once

#include <cstdint>

#include "puzzles/puzzle_file.h"

// CellNumber: the game numbers cells 1..81 row by row; cell n lies in row (n - 1) / 9 and
// column (n - 1) % 9, cell 1 top left. Per-cell arrays have 82 entries, entry 0 unused.
using CellNumber = int64_t;

enum CellKind : int64_t {
    Open = 0,      // a cell the player fills
    Given = 1,     // a clue of the puzzle
    Revealed = 2,  // filled from the solution by Hint or Show solution
};

struct Board {
    int64_t value[82];      // 0 = empty, 1..9 = the digit in the cell
    int64_t kind[82];       // the cell's CellKind
    int64_t errorFlag[82];  // 1 = marked as a mistake by the last check
    PuzzleRecord record;    // the puzzle on the board; the solution is read from here
};

struct GameState {
    int64_t currentLevel;     // the Level of the puzzle on the board; 0 before the first
    int64_t selectedCell;     // always 1..81
    int64_t puzzleLoaded;     // 1 once a puzzle has loaded; never back to 0
    int64_t solvedAnnounced;  // 1 once the congratulation was shown for this puzzle
    int64_t solutionShown;    // 1 once Show solution was used on this puzzle
};

extern Board board;
extern GameState gameState;

// Clears the board and the game state to their start-up values.
void ResetBoardState();

// The solution digit of cell n.
inline int64_t SolutionDigit(CellNumber n) { return board.record.solution[n - 1]; }

// Puts the freshly read record on the board for `level`; the selection stays.
void LoadBoard(int64_t level);

// Stores digit 0..9 (0 clears) in the selected cell unless it is Given or no puzzle is
// loaded, redraws, and congratulates once when a typed digit completes the solution.
void EnterDigit(int64_t digit);

// True when all 81 cells hold their solution digit.
bool IsSolved();
