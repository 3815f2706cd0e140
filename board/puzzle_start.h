// Starting a puzzle of the checked level, and the levels themselves.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui.h"

// Level: 1 Easy, 2 Medium, 3 Hard, 4 Expert.
using Level = int64_t;

// The option buttons of levels 1..4 (entry 0 unused), filled by BuildMainWindow.
extern WindowId levelOptions[5];

// "Easy", "Medium", "Hard", "Expert" for levels 1..4.
std::string LevelName(Level level);

// The level whose option is checked; 1 when none is.
Level CheckedLevel();

// Draws a random puzzle of the checked level from its file and puts it on the board, with
// title and information text. A missing or invalid file is reported and changes nothing.
void StartPuzzle();
