// The real start-up path: the first puzzle or the warning that its file is missing, and the
// random sources that start-up seeds.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <vector>

#include "board/board.h"
#include "grading/grid_geometry.h"
#include "platform/qt_access.h"
#include "tests/support/game_harness.h"
#include "ui/game.h"
#include "ui/main_window.h"

namespace {

using Grid = std::vector<uint8_t>;

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { RemovePuzzleFiles(); }
    void TearDown() override { RemovePuzzleFiles(); }
};

TEST_F(StartUp, MissingEasyFileWarnsOverTheMainWindowThenTheGameRuns)
{
    StartRealGame();
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Puzzle file makkelijk.vdb not found.\nRun vakidogenerator first.");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(boxes[0].ownerTitle, "Vakido") << "the box must be owned by the main window";
    EXPECT_LE(std::abs(boxes[0].offCentreX), 1);
    EXPECT_LE(std::abs(boxes[0].offCentreY), 1);

    // After OK the main window is active again, and the loop runs with no puzzle.
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), WidgetOf(mainWindow));
    EXPECT_EQ(gameState.puzzleLoaded, 0);
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido");
    EXPECT_EQ(LabelTextOf(infoLabel), "");

    // The file appears; New puzzle loads Easy.
    WritePuzzleFile(1, {SampleRecord()});
    ClickControl(newPuzzleButton);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(gameState.puzzleLoaded, 1);
    EXPECT_EQ(gameState.currentLevel, 1);
    EXPECT_EQ(WindowTitleOf(mainWindow), "Vakido - Easy #1");
    EXPECT_EQ(FocusedControl(), boardCanvas);
}

TEST_F(StartUp, EveryMessageBoxIsCentredOverTheWindowShown)
{
    WritePuzzleFile(1, {SampleRecord()});
    StartRealGame();
    ASSERT_TRUE(TakeMessageBoxes().empty());
    ClickControl(checkButton);
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].ownerTitle, "Vakido - Easy #1");
    EXPECT_LE(std::abs(boxes[0].offCentreX), 1);
    EXPECT_LE(std::abs(boxes[0].offCentreY), 1);
    EXPECT_EQ(FocusedControl(), boardCanvas);
}

// Filling a grid right after start-up: the engine's generator is seeded from the clock too.
Grid FillAfterStartUp()
{
    StartRealGame();
    uint8_t grid[81];
    ClearUsedDigitMasks();
    FillRandomGrid(grid, 0);
    return Grid(grid, grid + 81);
}

TEST_F(StartUp, TheEngineDrawsADifferentSequenceInEachRun)
{
    WritePuzzleFile(1, {SampleRecord()});
    EXPECT_NE(FillAfterStartUp(), FillAfterStartUp());

    // One seed for both sources: the same seed fills the same grid, another seed another.
    auto fillWithSeed = [](uint64_t seed) {
        SeedRandomSources(seed);
        uint8_t grid[81];
        ClearUsedDigitMasks();
        FillRandomGrid(grid, 0);
        return Grid(grid, grid + 81);
    };
    EXPECT_EQ(fillWithSeed(41), fillWithSeed(41));
    EXPECT_NE(fillWithSeed(41), fillWithSeed(42));
}

}  // namespace
