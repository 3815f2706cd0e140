// The board as the accessibility interface shows it: a 9 x 9 table of named cells with
// values and states, kept in step with the board, at this run's display scale.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include "board/board.h"
#include "board/player_aids.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "tests/support/game_harness.h"
#include "tests/support/sample_game_test.h"
#include "ui/main_window.h"

namespace {

class Accessibility : public SampleGameTest {
protected:
    static QAccessibleInterface* Board() { return QAccessible::queryAccessibleInterface(WidgetOf(boardCanvas)); }
    static std::string Name(int index) { return Board()->child(index)->text(QAccessible::Name).toStdString(); }
    static int Value(int index) { return Board()->child(index)->valueInterface()->currentValue().toInt(); }
};

TEST_F(Accessibility, TheBoardIsATableOfNamedCells)
{
    QAccessibleInterface* board = Board();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->role(), QAccessible::Table);
    EXPECT_EQ(board->text(QAccessible::Name).toStdString(), "Sudoku board");
    ASSERT_EQ(board->childCount(), 81);
    ASSERT_NE(board->tableInterface(), nullptr);
    EXPECT_EQ(board->tableInterface()->rowCount(), 9);
    EXPECT_EQ(board->tableInterface()->columnCount(), 9);
    EXPECT_EQ(board->tableInterface()->cellAt(2, 4), board->child(22));
    EXPECT_EQ(board->child(22)->role(), QAccessible::Cell);
    EXPECT_EQ(board->indexOfChild(board->child(22)), 22);
    EXPECT_EQ(Name(0), "Row 1, column 1: empty");

    StartPuzzle();
    QAccessibleInterface* stable = board->child(40);
    // Sample row 1: 0 0 6 0 2 0 0 0 5; its solution starts 8 3 6.
    EXPECT_EQ(Name(2), "Row 1, column 3: 6, given");
    EXPECT_EQ(Value(2), 6);
    EXPECT_EQ(Name(0), "Row 1, column 1: empty");
    EXPECT_EQ(Value(0), 0);

    gameState.selectedCell = 1;
    EnterDigit(4);  // wrong: the solution has 8
    EXPECT_EQ(Name(0), "Row 1, column 1: 4");
    EXPECT_EQ(Value(0), 4);
    MarkMistakes();
    EXPECT_EQ(Name(0), "Row 1, column 1: 4, marked wrong");
    gameState.selectedCell = 2;  // an empty cell: Hint reveals it
    GiveHint();
    EXPECT_EQ(Name(1), "Row 1, column 2: 3, revealed");
    EXPECT_EQ(Value(1), 3);

    StartPuzzle();  // a new puzzle: every cell afresh, the same objects
    EXPECT_EQ(Name(0), "Row 1, column 1: empty");
    EXPECT_EQ(Name(1), "Row 1, column 2: empty");
    EXPECT_EQ(board->child(40), stable);
}

TEST_F(Accessibility, TheCurrentCellIsSelectedAndFocusedWithTheCanvas)
{
    StartPuzzle();
    gameState.selectedCell = 11;
    SetFocus(boardCanvas);
    ClickAt(boardCanvas, 0, 0);  // a press outside the cells redraws nothing; refocuses
    PressKey(Qt::Key_Right);
    QAccessibleInterface* current = Board()->child(11);  // cell 12
    EXPECT_TRUE(current->state().selected);
    EXPECT_TRUE(current->state().focused);
    EXPECT_FALSE(Board()->child(10)->state().selected);
    EXPECT_EQ(Board()->focusChild(), current);
    EXPECT_EQ(Board()->tableInterface()->selectedCells(), QList<QAccessibleInterface*>{current});

    SetFocus(checkButton);
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(current->state().focused) << "focused only while the canvas has the focus";
}

// Each cell's extent is its drawn box, at this run's display scale.
TEST_F(Accessibility, CellExtentsAreTheDrawnBoxes)
{
    QWidget* canvas = WidgetOf(boardCanvas);
    const double unit = canvas->width() / 364.0;
    for (int index : {0, 8, 40, 80}) {
        const QRect extent = Board()->child(index)->rect();
        const QPoint topLeft = canvas->mapToGlobal(QPoint(static_cast<int>((2 + 40 * (index % 9)) * unit),
                                                          static_cast<int>((2 + 40 * (index / 9)) * unit)));
        EXPECT_LE((extent.topLeft() - topLeft).manhattanLength(), 1) << index;
        EXPECT_NEAR(extent.width(), 40 * unit, 1) << index;
        EXPECT_NEAR(extent.height(), 40 * unit, 1) << index;
    }
}

}  // namespace
