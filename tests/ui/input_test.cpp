// Mouse, arrow keys and typed characters on the canvas, and keyboard navigation, sent as
// real Qt input events.
#include <gtest/gtest.h>

#include <QApplication>

#include <cmath>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "tests/support/game_harness.h"
#include "tests/support/sample_game_test.h"
#include "ui/board_rendering.h"
#include "ui/main_window.h"

namespace {

class BoardInput : public SampleGameTest {
protected:
    void SetUp() override
    {
        SampleGameTest::SetUp();
        SetFocus(boardCanvas);
    }

    // A press at a device pixel of the canvas picture.
    static void PressAtPixel(int px, int py)
    {
        const double scale = WidgetOf(boardCanvas)->devicePixelRatioF();
        ClickAt(boardCanvas, px / scale, py / scale);
    }
};

TEST_F(BoardInput, PointerMapsPixelsToCells)
{
    const double scale = WidgetOf(boardCanvas)->devicePixelRatioF();
    struct Case { double scale; int px, py; CellNumber cell; };  // cell 0: ignored
    const Case table[] = {
        {1.0, 2, 2, 1},      {1.0, 41, 41, 1},    {1.0, 42, 2, 2},     {1.0, 361, 361, 81},
        {1.0, 1, 50, 0},     {1.0, 362, 100, 0},
        {2.0, 3, 4, 1},      {2.0, 81, 4, 1},     {2.0, 83, 4, 2},     {2.0, 723, 4, 0},
        {2.0, 4, 723, 0},    {2.0, 721, 721, 81},
        {1.25, 52, 4, 2},    {1.25, 51, 4, 1},    {1.25, 452, 4, 0},   {1.25, 4, 452, 0},   {1.25, 451, 451, 81},
        {1.5, 62, 4, 1},     {1.5, 63, 4, 2},     {1.5, 4, 63, 10},    {1.5, 542, 4, 9},    {1.5, 543, 4, 0},
    };
    int ran = 0;
    for (int loaded = 0; loaded < 2; ++loaded) {
        if (loaded) StartPuzzle();
        for (const Case& c : table) {
            if (std::abs(c.scale - scale) > 1e-9) continue;
            ++ran;
            gameState.selectedCell = 41;
            const QImage before = CanvasPicture(boardCanvas);
            PressAtPixel(c.px, c.py);
            EXPECT_EQ(gameState.selectedCell, c.cell ? c.cell : 41) << c.px << "," << c.py;
            if (!c.cell) {
                EXPECT_EQ(before, CanvasPicture(boardCanvas)) << "an ignored press redrew";
            }
        }
    }
    if (ran == 0) GTEST_SKIP() << "no pointer cases at scale " << scale;
}

TEST_F(BoardInput, ArrowsWrapWithinRowAndColumn)
{
    struct Case { CellNumber from; int key; CellNumber to; };
    const Case table[] = {
        {1, Qt::Key_Left, 9}, {1, Qt::Key_Up, 73}, {9, Qt::Key_Right, 1}, {81, Qt::Key_Down, 9},
        {41, Qt::Key_Left, 40}, {41, Qt::Key_Down, 50},
    };
    for (const Case& c : table) {
        gameState.selectedCell = c.from;
        PressKey(c.key);
        EXPECT_EQ(gameState.selectedCell, c.to) << c.from;
        gameState.selectedCell = c.from;
        PressKey(c.key, Qt::ShiftModifier | Qt::ControlModifier);  // modifiers are not looked at
        EXPECT_EQ(gameState.selectedCell, c.to) << c.from << " with modifiers";
    }
}

TEST_F(BoardInput, DigitsAndClearingKeys)
{
    gameState.selectedCell = 1;
    TypeText("7");
    EXPECT_EQ(board.value[1], 0) << "no puzzle yet";

    StartPuzzle();
    ASSERT_EQ(board.kind[1], Open);
    gameState.selectedCell = 1;
    TypeText("7");
    EXPECT_EQ(board.value[1], 7);
    TypeText("a");
    EXPECT_EQ(board.value[1], 7);
    PressKey(Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(board.value[1], 3);

    struct Clear { const char* how; int key; const char* text; };
    const Clear clears[] = {{"0", 0, "0"}, {"space", 0, " "}, {"Delete", Qt::Key_Delete, nullptr},
                            {"Backspace", Qt::Key_Backspace, nullptr}};
    for (const Clear& c : clears) {
        TypeText("5");
        ASSERT_EQ(board.value[1], 5);
        if (c.text) TypeText(c.text);
        else PressKey(c.key);
        EXPECT_EQ(board.value[1], 0) << c.how;
    }
}

TEST_F(BoardInput, TabVisitsEveryControlInCreationOrder)
{
    const WindowId order[] = {boardCanvas, levelOptions[1], levelOptions[2], levelOptions[3], levelOptions[4],
                              newPuzzleButton, checkButton, hintButton, showSolutionButton, aboutButton, boardCanvas};
    SetFocus(boardCanvas);
    const CellNumber selection = gameState.selectedCell;
    for (int i = 1; i <= 10; ++i) {
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(FocusedControl(), order[i]) << "after " << i << " Tab(s): "
            << (WidgetOf(FocusedControl()) ? WidgetOf(FocusedControl())->metaObject()->className() : "none");
    }
    PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedControl(), aboutButton);
    EXPECT_EQ(gameState.selectedCell, selection);
}

}  // namespace
