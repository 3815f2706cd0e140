#include "board/board.h"

#include <cstring>

#include "platform/gui.h"
#include "ui/board_rendering.h"

Board board;
GameState gameState;

void ResetBoardState()
{
    std::memset(&board, 0, sizeof board);
    gameState = GameState{0, 1, 0, 0, 0};
}

void LoadBoard(int64_t level)
{
    for (CellNumber n = 1; n <= 81; ++n) {
        board.value[n] = board.record.givens[n - 1];
        board.errorFlag[n] = 0;
        board.kind[n] = board.value[n] != 0 ? Given : Open;
    }
    gameState.puzzleLoaded = 1;
    gameState.solvedAnnounced = 0;
    gameState.solutionShown = 0;
    gameState.currentLevel = level;
}

void EnterDigit(int64_t digit)
{
    const CellNumber n = gameState.selectedCell;
    if (gameState.puzzleLoaded == 0 || board.kind[n] == Given) return;
    board.value[n] = digit;
    board.errorFlag[n] = 0;
    DrawBoard();
    if (digit != 0 && gameState.solvedAnnounced == 0 && gameState.solutionShown == 0 && IsSolved()) {
        gameState.solvedAnnounced = 1;
        ShowMessageBox("Vakido", "Congratulations, the puzzle is solved!", MessageIcon::Information);
    }
}

bool IsSolved()
{
    for (CellNumber n = 1; n <= 81; ++n)
        if (board.value[n] != SolutionDigit(n)) return false;
    return true;
}
