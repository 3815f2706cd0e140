// Check, Hint and Show solution: the player's aids, used only while a puzzle is loaded.
#pragma once

#include "board/board.h"

// Marks every non-Given cell whose digit differs from the solution; redraws; gives how
// many cells are wrong now (marks from earlier checks stay, as those cells are still wrong).
int64_t MarkMistakes();

// The "Check" command: marks, reports the count in a message box, focuses the board.
void CheckBoard();

// Copies the solution digit into cell n and makes it Revealed, clearing its mark.
void RevealCell(CellNumber n);

// Reveals the selected cell when it is empty or wrong, else a random cell that differs from
// the solution (moving the selection there); nothing at all when every cell is right.
void GiveHint();

// Reveals every cell that differs from the solution, and suppresses the congratulation for
// this puzzle. Focus stays where it is.
void ShowSolution();
