// The board as a screen reader reads it: a table of 81 named cells beside the picture.
#pragma once

#include <string>

#include "board/board.h"

// "Row 3, column 5: 7, given", "Row 3, column 5: empty", "Row 3, column 5: 4, marked wrong".
std::string CellDescription(CellNumber n);

// Gives the canvas its accessible table; once, when the main window is built.
void MakeBoardAccessible();

// Brings every cell's name and value, and the current cell, up to date with the board;
// the platform announces what changed. Runs with every redraw.
void UpdateBoardAccessibility();
