// Drives the real game through the real Qt layer (offscreen): builds the main window,
// writes puzzle files beside the test program, clicks and types like a player, and answers
// every message box while recording what it said.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "platform/gui.h"
#include "puzzles/puzzle_file.h"

struct SeenMessageBox {
    std::string caption;
    std::string text;
    MessageIcon icon;
    std::string ownerTitle;  // the title of the window that owns the box; empty for none
    int offCentreX = 0;      // how far the box lies from centred over its owner, in pixels
    int offCentreY = 0;      // (where the screen ends, kept on the screen, as Qt does)
    QImage canvas;           // the board canvas's picture while the box was up
};

// Starts the platform once for the test program; message boxes are answered from then on.
void StartTestPlatform();

// How soon an open message box is answered: every 5 ms unless told otherwise.
void AnswerMessageBoxesEvery(int milliseconds);

// The message boxes shown since the last call, in order; clears the list.
std::vector<SeenMessageBox> TakeMessageBoxes();

// A fresh game: closes the previous window, resets all state, builds the main window and
// draws the empty board; no puzzle is started.
void NewGameWindow();

// A fresh game through the real start-up path (StartGame), which starts an Easy puzzle or
// warns that its file is missing.
void StartRealGame();

// Dispatches every pending platform event as the main loop would.
void PumpEvents();

// A known puzzle with its solution: 39 givens, hardest technique 1.
PuzzleRecord SampleRecord();
// Writes a level's file beside the test program holding these records, or removes it.
void WritePuzzleFile(int level, const std::vector<PuzzleRecord>& records);
void RemovePuzzleFiles();

// Input like a player's: a left click on a control's centre (or at a logical point of it),
// keys and typed text to the focused control. Each pumps the events it caused.
void ClickControl(WindowId control);
void ClickAt(WindowId control, double x, double y);
void PressKey(int qtKey, int modifiers = 0);
void TypeText(const std::string& text);

// What the player sees.
std::string WindowTitleOf(WindowId window);
std::string LabelTextOf(WindowId label);
