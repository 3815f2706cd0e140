#include "ui/game.h"

#include "board/board.h"
#include "board/player_aids.h"
#include "board/puzzle_start.h"
#include "grading/grid_geometry.h"
#include "platform/random.h"
#include "ui/about_dialog.h"
#include "ui/board_input.h"
#include "ui/board_rendering.h"
#include "ui/logo.h"
#include "ui/main_window.h"

void SeedRandomSources(uint64_t seed)
{
    SeedRandom(seed);
    // The grading engine keeps a generator of its own, so that it depends on nothing else;
    // it starts from the same value, so it too draws a new sequence in every run.
    SeedGradingRandom(seed);
}

void StartGame()
{
    ResetBoardState();
    SeedRandomSources(ClockSeed());
    BuildGridGeometry();
    for (WindowId& option : levelOptions) option = noWindow;
    DisplayScale = 1.0;
    boardFont = CreateFont("Arial Black", 16, 400);
    BuildMainWindow();
    DrawBoard();
    StartPuzzle();
}

// The level of a level option, or 0 when the control is none of them.
static Level LevelOfOption(WindowId control)
{
    for (Level i = 1; i <= 4; ++i)
        if (levelOptions[i] == control) return i;
    return 0;
}

bool DispatchMainEvent(const Event& event)
{
    if (event.kind == EventKind::Control) {
        const WindowId control = event.control;
        const bool loaded = gameState.puzzleLoaded == 1;
        if (control == boardCanvas) {
            HandleBoardEvent();
        } else if (control == newPuzzleButton) {
            StartPuzzle();  // focuses the canvas once a puzzle has loaded
        } else if (control == checkButton) {
            if (loaded) CheckBoard();
        } else if (control == hintButton) {
            if (loaded) GiveHint();
        } else if (control == showSolutionButton) {
            if (loaded) ShowSolution();
        } else if (control == aboutButton) {
            ShowAboutDialog(mainWindow, "Vakido 1.00", logoStart, logoEnd);
            SetFocus(boardCanvas);
        } else if (const Level level = LevelOfOption(control); level != 0) {
            if (level != gameState.currentLevel) StartPuzzle();  // focuses the canvas once a puzzle has loaded
        }
    }
    return !(event.kind == EventKind::CloseRequest && event.window == mainWindow);
}

int RunGame()
{
    StartPlatform();
    StartGame();
    while (DispatchMainEvent(WaitForEvent())) {
    }
    StopPlatform();
    return 0;
}
