// The board's rules, the player's aids and starting a puzzle, through the real Qt layer.
#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <fstream>
#include <set>
#include <vector>

#include "board/board.h"
#include "board/player_aids.h"
#include "board/puzzle_start.h"
#include "platform/random.h"
#include "puzzles/puzzle_lookup.h"
#include "tests/support/game_harness.h"
#include "platform/qt_access.h"
#include "ui/board_rendering.h"
#include "ui/main_window.h"

namespace {

const std::string congratulation = "Congratulations, the puzzle is solved!";

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeedRandom(1);
        RemovePuzzleFiles();
        WritePuzzleFile(1, {SampleRecord()});
        NewGameWindow();
    }
    void TearDown() override { RemovePuzzleFiles(); }

    static void StartSample()
    {
        StartPuzzle();
        ASSERT_EQ(gameState.puzzleLoaded, 1);
        TakeMessageBoxes();
    }
    // Types the solution into every cell that differs from it, last of all `lastCell`.
    static void FillAllBut(CellNumber lastCell)
    {
        for (CellNumber n = 1; n <= 81; ++n) {
            if (n == lastCell || board.kind[n] == Given) continue;
            gameState.selectedCell = n;
            EnterDigit(SolutionDigit(n));
        }
        gameState.selectedCell = lastCell;
    }
    static int Count(const std::vector<SeenMessageBox>& boxes, const std::string& text)
    {
        int count = 0;
        for (const auto& box : boxes) count += box.text == text;
        return count;
    }
    static CellNumber FirstOpenCell()
    {
        for (CellNumber n = 1; n <= 81; ++n)
            if (board.kind[n] == Open) return n;
        return 0;
    }
};

TEST_F(BoardTest, DigitsAreIgnoredBeforeAPuzzleAndRefusedOnGivens)
{
    EnterDigit(5);
    EXPECT_EQ(board.value[1], 0);

    StartSample();
    EXPECT_EQ(board.kind[3], Given);  // the 6 of the sample's first row
    gameState.selectedCell = 3;
    EnterDigit(1);
    EnterDigit(0);
    EXPECT_EQ(board.value[3], 6);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(BoardTest, EveryWriteClearsTheMarkAndKindStays)
{
    StartSample();
    const CellNumber n = FirstOpenCell();
    gameState.selectedCell = n;
    const int wrong = SolutionDigit(n) % 9 + 1;
    EnterDigit(wrong);
    EXPECT_EQ(MarkMistakes(), 1);
    EXPECT_EQ(board.errorFlag[n], 1);
    EnterDigit(wrong);  // the same digit again still removes the mark
    EXPECT_EQ(board.errorFlag[n], 0);
    MarkMistakes();
    EnterDigit(0);
    EXPECT_EQ(board.errorFlag[n], 0);
    EXPECT_EQ(board.value[n], 0);
    EXPECT_EQ(board.kind[n], Open);

    // A Revealed cell takes a wrong digit, stays Revealed, and the next check counts it.
    RevealCell(n);
    EnterDigit(wrong);
    EXPECT_EQ(board.kind[n], Revealed);
    EXPECT_EQ(MarkMistakes(), 1);
}

TEST_F(BoardTest, CongratulationComesOncePerPuzzleAfterATypedDigit)
{
    StartSample();
    const CellNumber last = FirstOpenCell();
    FillAllBut(last);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EnterDigit(0);  // clearing never congratulates
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EnterDigit(SolutionDigit(last));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vakido");
    EXPECT_EQ(boxes[0].text, congratulation);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(gameState.solvedAnnounced, 1);

    // Clearing and typing the digit again shows nothing more.
    EnterDigit(0);
    EnterDigit(SolutionDigit(last));
    EXPECT_TRUE(TakeMessageBoxes().empty());

    // The next puzzle congratulates again.
    StartSample();
    FillAllBut(last);
    EnterDigit(SolutionDigit(last));
    EXPECT_EQ(Count(TakeMessageBoxes(), congratulation), 1);
}

TEST_F(BoardTest, HintFillingTheLastCellWaitsForTheNextTypedDigit)
{
    StartSample();
    const CellNumber last = FirstOpenCell();
    FillAllBut(last);
    GiveHint();  // the selected cell is empty: it is revealed, the selection stays
    EXPECT_EQ(gameState.selectedCell, last);
    EXPECT_EQ(board.kind[last], Revealed);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(gameState.solutionShown, 0);

    // Any correct non-zero digit typed into a non-Given cell brings it now.
    gameState.selectedCell = last;
    EnterDigit(SolutionDigit(last));
    EXPECT_EQ(Count(TakeMessageBoxes(), congratulation), 1);

    // Hint on a complete board: nothing at all.
    SetFocus(newPuzzleButton);
    const CellNumber before = gameState.selectedCell;
    GiveHint();
    EXPECT_EQ(gameState.selectedCell, before);
    EXPECT_EQ(FocusedControl(), newPuzzleButton);
}

TEST_F(BoardTest, ShowSolutionRevealsWhatDiffersAndSuppressesTheCongratulation)
{
    StartSample();
    const CellNumber right = FirstOpenCell();
    gameState.selectedCell = right;
    EnterDigit(SolutionDigit(right));
    CellNumber wrongCell = right + 1;
    while (board.kind[wrongCell] != Open) ++wrongCell;
    gameState.selectedCell = wrongCell;
    EnterDigit(SolutionDigit(wrongCell) % 9 + 1);
    MarkMistakes();

    ShowSolution();
    EXPECT_EQ(gameState.solutionShown, 1);
    EXPECT_EQ(gameState.selectedCell, wrongCell);
    EXPECT_EQ(board.kind[right], Open);        // a correct player digit stays the player's
    EXPECT_EQ(board.kind[wrongCell], Revealed);
    EXPECT_EQ(board.errorFlag[wrongCell], 0);
    EXPECT_TRUE(IsSolved());
    EXPECT_EQ(MarkMistakes(), 0);

    EnterDigit(SolutionDigit(wrongCell));  // completing again shows nothing
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EnterDigit(SolutionDigit(wrongCell) % 9 + 1);  // a wrong digit over a Revealed cell counts
    EXPECT_EQ(MarkMistakes(), 1);
}

TEST_F(BoardTest, CheckReportsTheCountOfCellsWrongNow)
{
    StartSample();
    CheckBoard();
    int wrongDigits = 0;
    for (CellNumber n = 1; n <= 81 && wrongDigits < 3; ++n) {
        if (board.kind[n] != Open) continue;
        gameState.selectedCell = n;
        EnterDigit(SolutionDigit(n) % 9 + 1);
        ++wrongDigits;
    }
    CheckBoard();
    CheckBoard();  // the same count again: all wrong cells now, not only new ones
    ShowSolution();
    CheckBoard();
    const auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "No mistakes found.");
    EXPECT_EQ(boxes[1].text, "3 cell(s) wrong, marked red.");
    EXPECT_EQ(boxes[2].text, "3 cell(s) wrong, marked red.");
    EXPECT_EQ(boxes[3].text, "No mistakes found.");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "Vakido");
        EXPECT_EQ(box.icon, MessageIcon::None);
    }
    EXPECT_EQ(FocusedControl(), boardCanvas);
}

TEST_F(BoardTest, HintOnAGivenOrCorrectCellRevealsARandomCellThatDiffers)
{
    // A malformed record: one Given disagrees with the solution. Check never marks it,
    // but the random hint list ignores the kind.
    PuzzleRecord record = SampleRecord();
    record.givens[2] = 7;  // cell 3; its solution digit is 6
    WritePuzzleFile(1, {record});
    StartSample();
    gameState.selectedCell = 1;  // not Given; type its solution digit
    EnterDigit(SolutionDigit(1));
    EXPECT_EQ(MarkMistakes(), 0);

    int emptyOrWrong = 0;
    for (CellNumber n = 1; n <= 81; ++n) emptyOrWrong += board.value[n] != SolutionDigit(n);
    for (int hint = 0; hint < emptyOrWrong; ++hint) {
        const CellNumber before = gameState.selectedCell;
        ASSERT_EQ(board.value[before], SolutionDigit(before));  // so the random path is taken
        GiveHint();
        const CellNumber revealed = gameState.selectedCell;
        EXPECT_NE(revealed, before);
        EXPECT_EQ(board.kind[revealed], Revealed);
        EXPECT_EQ(board.value[revealed], SolutionDigit(revealed));
        EXPECT_EQ(FocusedControl(), boardCanvas);
    }
    EXPECT_TRUE(IsSolved());
    EXPECT_EQ(board.kind[3], Revealed);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

// The board is redrawn before each message box appears: the completing digit and the red
// marks are already on the canvas while the box is up.
TEST_F(BoardTest, EveryMessageBoxComesAfterTheRedraw)
{
    StartSample();
    const CellNumber wrongCell = FirstOpenCell();
    gameState.selectedCell = wrongCell;
    EnterDigit(SolutionDigit(wrongCell) % 9 + 1);
    gameState.selectedCell = 81;
    CheckBoard();
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].canvas, CanvasPicture(boardCanvas));
    const int x = 2 + 40 * static_cast<int>((wrongCell - 1) % 9), y = 2 + 40 * static_cast<int>((wrongCell - 1) / 9);
    EXPECT_EQ(boxes[0].canvas.pixel(Scaled(x + 35), Scaled(y + 6)) | 0xFF000000u, qRgb(255, 200, 200))
        << "the mark was not drawn when the box showed";

    const CellNumber last = wrongCell;
    FillAllBut(last);
    TakeMessageBoxes();
    EnterDigit(SolutionDigit(last));
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, congratulation);
    EXPECT_EQ(boxes[0].canvas, CanvasPicture(boardCanvas)) << "the completing digit was not drawn first";
}

// The random hint varies over every wrong or empty cell from seed to seed, and only over them.
TEST_F(BoardTest, HintsRandomChoiceVariesOverTheWrongCells)
{
    StartSample();
    std::vector<CellNumber> differing;
    for (CellNumber n = 1; n <= 81; ++n)
        if (board.value[n] != SolutionDigit(n)) differing.push_back(n);
    const Board fresh = board;
    std::set<CellNumber> chosen;
    for (uint64_t seed = 1; seed <= 400; ++seed) {
        board = fresh;
        gameState.selectedCell = 3;  // a Given: the random path
        SeedRandom(seed);
        GiveHint();
        const CellNumber cell = gameState.selectedCell;
        EXPECT_NE(std::find(differing.begin(), differing.end(), cell), differing.end()) << "seed " << seed;
        chosen.insert(cell);
    }
    // 400 draws over 42 cells miss one with a chance below 1e-7.
    EXPECT_EQ(chosen.size(), differing.size());
}

// A new puzzle clears the previous one's marks and Revealed kinds.
TEST_F(BoardTest, LoadingAPuzzleClearsMarksAndRevealedKinds)
{
    StartSample();
    const CellNumber wrongCell = FirstOpenCell();
    gameState.selectedCell = wrongCell;
    EnterDigit(SolutionDigit(wrongCell) % 9 + 1);
    MarkMistakes();
    gameState.selectedCell = wrongCell + 1;
    GiveHint();
    ASSERT_EQ(board.errorFlag[wrongCell], 1);

    StartSample();
    for (CellNumber n = 1; n <= 81; ++n) {
        EXPECT_EQ(board.errorFlag[n], 0) << n;
        EXPECT_EQ(board.kind[n], board.record.givens[n - 1] ? Given : Open) << n;
        EXPECT_EQ(board.value[n], board.record.givens[n - 1]) << n;
    }
}

// Show solution on a board the player has already solved (the congratulation shown or not)
// still blocks a later congratulation for this puzzle.
TEST_F(BoardTest, ShowSolutionOnASolvedBoardStillBlocksTheCongratulation)
{
    StartSample();
    const CellNumber last = FirstOpenCell();
    FillAllBut(last);
    GiveHint();  // fills the last cell: solved, but not congratulated
    ASSERT_TRUE(IsSolved());
    const Board solved = board;
    ShowSolution();
    EXPECT_EQ(std::memcmp(board.value, solved.value, sizeof board.value), 0) << "no cell changes";
    EnterDigit(SolutionDigit(last));
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(BoardTest, StartingAPuzzleSetsTitleLabelAndFocus)
{
    PuzzleRecord odd = SampleRecord();
    odd.hardestTechnique = 0;
    odd.givenCount = 7;
    WritePuzzleFile(2, {SampleRecord(), SampleRecord(), odd});
    gameState.selectedCell = 3;
    StartSample();
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido - Easy #1");
    EXPECT_EQ(LabelTextOf(infoLabel), "39 given digits\nHardest technique:\nNaked single");
    EXPECT_EQ(FocusedControl(), boardCanvas);
    EXPECT_EQ(gameState.selectedCell, 3);  // the selection stays, even on a Given
    EXPECT_EQ(gameState.currentLevel, 1);

    CheckOption(levelOptions[2]);
    for (int i = 0; i < 40; ++i) {
        StartPuzzle();
        if (WindowTitleOf(mainWindow) == "Vakido - Medium #3") break;
    }
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido - Medium #3");
    EXPECT_EQ(LabelTextOf(infoLabel), "7 given digits\nHardest technique:\n-");
    EXPECT_EQ(gameState.currentLevel, 2);
}

TEST_F(BoardTest, MissingOrInvalidFilesWarnAndKeepThePuzzleInPlay)
{
    RemovePuzzleFiles();
    StartPuzzle();  // nothing in either place at start-up
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vakido");
    EXPECT_EQ(boxes[0].text, "Puzzle file makkelijk.vdb not found.\nRun vakidogenerator first.");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido");
    EXPECT_EQ(LabelTextOf(infoLabel), "");
    EXPECT_EQ(gameState.puzzleLoaded, 0);

    WritePuzzleFile(1, {SampleRecord()});
    StartSample();
    const PuzzleRecord inPlay = board.record;
    SetFocus(hintButton);

    // Medium's file is missing: the warning names it; everything else stays.
    CheckOption(levelOptions[2]);
    StartPuzzle();
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Puzzle file gemiddeld.vdb not found.\nRun vakidogenerator first.");
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido - Easy #1");
    EXPECT_EQ(gameState.currentLevel, 1);
    EXPECT_TRUE(IsOptionChecked(levelOptions[2]));
    EXPECT_EQ(FocusedControl(), hintButton);

    // A file with a bad header reads the same; one without records shows nothing at all.
    std::ofstream(ProgramDirectory() + "gemiddeld.vdb") << "VKDO\x02 not a puzzle file";
    StartPuzzle();
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Puzzle file gemiddeld.vdb not found.\nRun vakidogenerator first.");
    std::vector<PuzzleRecord> none;
    WritePuzzleFile(2, none);
    StartPuzzle();
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(std::memcmp(&board.record, &inPlay, sizeof inPlay), 0);
    EXPECT_EQ(gameState.currentLevel, 1);
}

}  // namespace
