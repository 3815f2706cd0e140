#include "ui/board_accessibility.h"

#include "platform/gui.h"
#include "ui/main_window.h"

std::string CellDescription(CellNumber n)
{
    std::string text = "Row " + std::to_string((n - 1) / 9 + 1) + ", column " + std::to_string((n - 1) % 9 + 1) + ": ";
    if (board.value[n] == 0) return text + "empty";
    text += std::to_string(board.value[n]);
    if (board.kind[n] == Given) text += ", given";
    if (board.kind[n] == Revealed) text += ", revealed";
    if (board.errorFlag[n] != 0) text += ", marked wrong";
    return text;
}

void MakeBoardAccessible()
{
    SetAccessibleGrid(boardCanvas, "Sudoku board", 9, 9);
    UpdateBoardAccessibility();
}

void UpdateBoardAccessibility()
{
    for (CellNumber n = 1; n <= 81; ++n)
        SetAccessibleCell(boardCanvas, static_cast<int>(n - 1), CellDescription(n), static_cast<int>(board.value[n]));
    SetAccessibleCurrentCell(boardCanvas, static_cast<int>(gameState.selectedCell - 1));
}
