#include "board/puzzle_start.h"

#include "board/board.h"
#include "grading/technique_codes.h"
#include "puzzles/puzzle_file.h"
#include "puzzles/puzzle_lookup.h"
#include "ui/board_rendering.h"
#include "ui/main_window.h"

WindowId levelOptions[5];

std::string LevelName(Level level)
{
    switch (level) {
    case 1: return "Easy";
    case 2: return "Medium";
    case 3: return "Hard";
    case 4: return "Expert";
    default: return "";
    }
}

Level CheckedLevel()
{
    for (Level i = 1; i <= 4; ++i)
        if (IsOptionChecked(levelOptions[i])) return i;
    return 1;
}

void StartPuzzle()
{
    const Level level = CheckedLevel();
    const PuzzleFile file = OpenPuzzleFile(PuzzleFilePath(static_cast<int>(level)));
    if (file == noPuzzleFile) {
        ShowMessageBox("Vakido",
                       "Puzzle file " + PuzzleFileName(static_cast<int>(level)) + " not found.\nRun vakidogenerator first.",
                       MessageIcon::Warning);
        return;
    }
    const int64_t index = ReadRandomPuzzle(file, board.record);
    ClosePuzzleFile(file);
    if (index < 0) return;

    LoadBoard(level);
    SetWindowTitle(mainWindow, "Vakido - " + LevelName(level) + " #" + std::to_string(index + 1));
    SetLabelText(infoLabel, std::to_string(board.record.givenCount) + " given digits\nHardest technique:\n" +
                                std::string(TechniqueName(board.record.hardestTechnique)));
    DrawBoard();
    SetFocus(boardCanvas);
}
