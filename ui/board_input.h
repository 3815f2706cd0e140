// Turning mouse presses, arrow keys and typed digits on the board canvas into game actions.
#pragma once

// Acts on the current event of the board canvas.
void HandleBoardEvent();
