#include "board/player_aids.h"

#include <string>

#include "platform/gui.h"
#include "platform/random.h"
#include "ui/board_rendering.h"
#include "ui/main_window.h"

int64_t MarkMistakes()
{
    int64_t count = 0;
    for (CellNumber n = 1; n <= 81; ++n) {
        if (board.kind[n] != Given && board.value[n] != 0 && board.value[n] != SolutionDigit(n)) {
            board.errorFlag[n] = 1;
            ++count;
        }
    }
    DrawBoard();
    return count;
}

void CheckBoard()
{
    const int64_t count = MarkMistakes();
    const std::string text = count == 0 ? "No mistakes found." : std::to_string(count) + " cell(s) wrong, marked red.";
    ShowMessageBox("Vakido", text, MessageIcon::None);
    SetFocus(boardCanvas);
}

void RevealCell(CellNumber n)
{
    board.value[n] = SolutionDigit(n);
    board.kind[n] = Revealed;
    board.errorFlag[n] = 0;
}

void GiveHint()
{
    const CellNumber s = gameState.selectedCell;
    if (board.kind[s] != Given && board.value[s] != SolutionDigit(s)) {
        RevealCell(s);
    } else {
        CellNumber wrong[81];
        int64_t count = 0;
        for (CellNumber n = 1; n <= 81; ++n)
            if (board.value[n] != SolutionDigit(n)) wrong[count++] = n;
        if (count == 0) return;
        gameState.selectedCell = wrong[RandomInteger(count - 1)];
        RevealCell(gameState.selectedCell);
    }
    DrawBoard();
    SetFocus(boardCanvas);
}

void ShowSolution()
{
    gameState.solutionShown = 1;
    for (CellNumber n = 1; n <= 81; ++n)
        if (board.value[n] != SolutionDigit(n)) RevealCell(n);
    DrawBoard();
}
