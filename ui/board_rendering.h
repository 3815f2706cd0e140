// Drawing the whole board onto the canvas.
#pragma once

#include "platform/gui.h"

// Canvas pixels per layout unit (the board is laid out on a 364 x 364 square), as set by
// the last DrawBoard that could draw; 1.0 before the first.
extern double DisplayScale;

// The board font, loaded at start-up.
extern FontId boardFont;

// A layout length or position in canvas pixels: times DisplayScale, halves away from zero.
int Scaled(double x);

// Redraws the 81 cell boxes, their digits and the grid lines from the board state.
void DrawBoard();
