// The main loop's dispatch table, driven by clicks on the real buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <iterator>
#include <vector>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "platform/random.h"
#include "tests/support/game_harness.h"
#include "ui/game.h"
#include "ui/main_window.h"

namespace {

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeedRandom(3);
        RemovePuzzleFiles();
        WritePuzzleFile(1, {SampleRecord()});
        WritePuzzleFile(3, {SampleRecord(), SampleRecord()});
        NewGameWindow();
    }
    void TearDown() override { RemovePuzzleFiles(); }
};

TEST_F(Dispatch, AidsDoNothingBeforeAPuzzleHasLoaded)
{
    SetFocus(levelOptions[3]);
    for (WindowId button : {checkButton, hintButton, showSolutionButton}) {
        SetFocus(levelOptions[3]);
        Event press;
        press.kind = EventKind::Control;
        press.window = mainWindow;
        press.control = button;
        EXPECT_TRUE(DispatchMainEvent(press));
        EXPECT_EQ(FocusedControl(), levelOptions[3]);
    }
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(gameState.solutionShown, 0);
}

TEST_F(Dispatch, ButtonsAndOptionsRouteToTheirCommands)
{
    ClickControl(newPuzzleButton);
    ASSERT_EQ(gameState.puzzleLoaded, 1);
    EXPECT_EQ(FocusedControl(), boardCanvas);

    ClickControl(checkButton);
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No mistakes found.");
    EXPECT_EQ(FocusedControl(), boardCanvas);

    gameState.selectedCell = 1;  // empty in the sample
    ClickControl(hintButton);
    EXPECT_EQ(board.kind[1], Revealed);
    EXPECT_EQ(FocusedControl(), boardCanvas);

    SetFocus(showSolutionButton);
    ClickControl(showSolutionButton);
    EXPECT_EQ(gameState.solutionShown, 1);
    EXPECT_EQ(FocusedControl(), showSolutionButton) << "Show solution leaves the focus where it is";

    // The option of the level in play starts nothing; another one starts a puzzle.
    const std::string title = WindowTitleOf(mainWindow);
    ClickAt(levelOptions[1], 8, 10);  // on the button itself, not beside its text
    EXPECT_EQ(gameState.solutionShown, 1);
    ClickAt(levelOptions[3], 8, 10);  // on the button itself, not beside its text
    EXPECT_EQ(gameState.currentLevel, 3);
    EXPECT_EQ(gameState.solutionShown, 0);
    EXPECT_EQ(WindowTitleOf(mainWindow).rfind("Vakido - Hard #", 0), 0u);
    EXPECT_EQ(FocusedControl(), boardCanvas);

    // A failed switch leaves another option checked; the level in play still starts nothing.
    ClickAt(levelOptions[2], 8, 10);  // on the button itself, not beside its text
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Puzzle file gemiddeld.vdb not found.\nRun vakidogenerator first.");
    EXPECT_TRUE(IsOptionChecked(levelOptions[2]));
    ClickControl(newPuzzleButton);  // tries the checked level again
    EXPECT_EQ(TakeMessageBoxes().size(), 1u);
    EXPECT_EQ(gameState.currentLevel, 3);
}

// A click anywhere in an option's 120 x 20 rectangle checks it, not only on its circle and
// text: "Medium" at client (545, 68), right of its text, and at its corners.
TEST_F(Dispatch, AClickAnywhereInAnOptionChecksIt)
{
    StartPuzzle();
    const QPointF places[] = {{105, 10}, {119, 19}, {0.5, 0.5}, {60, 2}};
    for (QPointF place : places) {
        CheckOption(levelOptions[1]);
        gameState.currentLevel = 1;
        ClickAt(levelOptions[2], place.x(), place.y());
        EXPECT_TRUE(IsOptionChecked(levelOptions[2])) << place.x() << "," << place.y();
        EXPECT_EQ(TakeMessageBoxes().size(), 1u) << "the switch to Medium starts a puzzle (its file is missing)";
    }
    ClickAt(levelOptions[3], 105, 10);
    EXPECT_EQ(gameState.currentLevel, 3);
}

// Every control of the main window: kind, rectangle in logical units, text, in creation
// order; and the fixed client area.
TEST_F(Dispatch, MainWindowControlsAndClientArea)
{
    enum Kind { Canvas, Option, Button, Label };
    struct Row {
        Kind kind;
        QRect place;
        const char* text;
    };
    const Row rows[] = {
        {Canvas, {30, 30, 364, 364}, ""},
        {Option, {440, 32, 120, 20}, "Easy"},
        {Option, {440, 58, 120, 20}, "Medium"},
        {Option, {440, 84, 120, 20}, "Hard"},
        {Option, {440, 110, 120, 20}, "Expert"},
        {Button, {440, 150, 150, 28}, "New puzzle"},
        {Button, {440, 186, 150, 28}, "Check"},
        {Button, {440, 222, 150, 28}, "Hint"},
        {Button, {440, 258, 150, 28}, "Show solution"},
        {Label, {440, 302, 180, 60}, ""},
        {Button, {440, 366, 150, 28}, "About Vakido"},
    };
    QWidget* window = WidgetOf(mainWindow);
    std::vector<QWidget*> controls;
    for (QObject* child : window->children())
        if (auto* widget = qobject_cast<QWidget*>(child)) controls.push_back(widget);
    ASSERT_EQ(controls.size(), std::size(rows));
    for (size_t i = 0; i < controls.size(); ++i) {
        QWidget* control = controls[i];
        const Row& row = rows[i];
        EXPECT_EQ(control->geometry(), row.place) << "control " << i;
        switch (row.kind) {
        case Canvas: EXPECT_EQ(control, WidgetOf(boardCanvas)); break;
        case Option:
            ASSERT_NE(qobject_cast<QRadioButton*>(control), nullptr) << i;
            EXPECT_EQ(qobject_cast<QRadioButton*>(control)->text().toStdString(), row.text);
            break;
        case Button:
            ASSERT_NE(qobject_cast<QPushButton*>(control), nullptr) << i;
            EXPECT_EQ(qobject_cast<QPushButton*>(control)->text().toStdString(), row.text);
            break;
        case Label:
            ASSERT_NE(qobject_cast<QLabel*>(control), nullptr) << i;
            EXPECT_EQ(qobject_cast<QLabel*>(control)->text().toStdString(), row.text);
            break;
        }
    }
    EXPECT_EQ(window->size(), QSize(640, 440));
    EXPECT_EQ(window->minimumSize(), QSize(640, 440));
    EXPECT_EQ(window->maximumSize(), QSize(640, 440));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(Dispatch, ClosingTheMainWindowEndsTheLoop)
{
    StartPuzzle();
    WidgetOf(mainWindow)->close();  // the close box
    ASSERT_TRUE(HasPendingEvent());
    const Event& request = WaitForEvent();
    EXPECT_EQ(request.kind, EventKind::CloseRequest);
    EXPECT_FALSE(DispatchMainEvent(request));
    EXPECT_TRUE(WidgetOf(mainWindow)->isVisible()) << "the game, not the toolkit, decides";
}

}  // namespace
