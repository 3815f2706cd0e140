// The About dialog: logo, product line, credits and the tool the game was made with.
#pragma once

#include <string>

#include "platform/gui.h"

// Builds the dialog over `parent`, runs its own event loop until the player closes it
// (Escape, Enter, the close box or Close), tears it down and returns. The parent is
// disabled meanwhile and enabled and active afterwards.
void ShowAboutDialog(WindowId parent, const std::string& productLine, const unsigned char* logoStart,
                     const unsigned char* logoEnd);

// The tool line: language, toolkit, compiler and target.
std::string ToolLine();
