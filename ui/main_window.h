// The game's main window and the identities of its controls.
#pragma once

#include "platform/gui.h"

extern WindowId mainWindow;
extern WindowId boardCanvas;
extern WindowId newPuzzleButton;
extern WindowId checkButton;
extern WindowId hintButton;
extern WindowId showSolutionButton;
extern WindowId infoLabel;
extern WindowId aboutButton;
// The level options are levelOptions (board/puzzle_start.h).

// Creates the main window, 640 x 440 at (100, 100), and its controls, Easy checked.
void BuildMainWindow();
