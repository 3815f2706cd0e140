#include "ui/main_window.h"

#include "board/puzzle_start.h"
#include "ui/board_accessibility.h"

WindowId mainWindow;
WindowId boardCanvas;
WindowId newPuzzleButton;
WindowId checkButton;
WindowId hintButton;
WindowId showSolutionButton;
WindowId infoLabel;
WindowId aboutButton;

static constexpr Colour white{255, 255, 255};
static constexpr int boardSize = 360;
static constexpr int buttonWidth = 150;
static constexpr int buttonHeight = 28;
static constexpr int buttonStep = buttonHeight + 8;

void BuildMainWindow()
{
    mainWindow = CreateMainWindow("Vakido", 100, 100, 640, 440);
    SetWindowBackground(mainWindow, white);
    boardCanvas = CreateCanvas(mainWindow, 30, 30, boardSize + 4, boardSize + 4);
    MakeBoardAccessible();

    // The right-hand column, top to bottom, from a running top t.
    int t = 32;
    for (Level level = 1; level <= 4; ++level) {
        levelOptions[level] = CreateOptionButton(mainWindow, LevelName(level), 440, t, 120, 20);
        t += 26;
    }
    CheckOption(levelOptions[1]);

    t += 14;
    newPuzzleButton = CreatePushButton(mainWindow, "New puzzle", 440, t, buttonWidth, buttonHeight, false);
    t += buttonStep;
    checkButton = CreatePushButton(mainWindow, "Check", 440, t, buttonWidth, buttonHeight, false);
    t += buttonStep;
    hintButton = CreatePushButton(mainWindow, "Hint", 440, t, buttonWidth, buttonHeight, false);
    t += buttonStep;
    showSolutionButton = CreatePushButton(mainWindow, "Show solution", 440, t, buttonWidth, buttonHeight, false);

    t += 44;
    infoLabel = CreateTextLabel(mainWindow, "", 440, t, 180, 60);
    SetLabelBackground(infoLabel, white);

    // Its bottom edge (394) lines up with the canvas's.
    aboutButton = CreatePushButton(mainWindow, "About Vakido", 440, boardSize + 6, buttonWidth, buttonHeight, false);
}
