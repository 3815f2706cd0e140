// Start-up, the main event loop and shut-down.
#pragma once

#include <cstdint>

#include "platform/gui.h"

// Seeds the program's random source and the grading engine's from one value.
void SeedRandomSources(uint64_t seed);

// Creates all state, builds the engine's tables and the main window, draws the empty board
// and starts an Easy puzzle. The platform must have been started.
void StartGame();

// Acts on one event of the main loop. False when it was the close request of the main
// window, which ends the loop.
bool DispatchMainEvent(const Event& event);

// The whole program: start-up, the loop until the main window is closed, shut-down.
// Returns the exit code, 0.
int RunGame();
