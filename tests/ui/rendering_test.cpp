// The board picture read back pixel by pixel, at the display scale this run was given
// (QT_SCALE_FACTOR 1, 1.25, 1.5 or 2).
#include <gtest/gtest.h>

#include <QColor>

#include <cmath>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "tests/support/game_harness.h"
#include "tests/support/sample_game_test.h"
#include "ui/board_rendering.h"
#include "ui/main_window.h"

namespace {

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }
const QRgb white = Rgb(255, 255, 255), black = Rgb(0, 0, 0), thinGrey = Rgb(160, 160, 160);
const QRgb selected = Rgb(180, 220, 255), mistake = Rgb(255, 200, 200), given = Rgb(230, 230, 230),
           highlight = Rgb(235, 242, 250);

double ScaleOfThisRun()
{
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    return factor ? std::atof(factor) : 1.0;
}

class Rendering : public SampleGameTest {
protected:
    static QImage Picture() { return CanvasPicture(boardCanvas); }
    static QRgb At(int x, int y) { return Picture().pixel(x, y) | 0xFF000000u; }
    // A point of cell n's box clear of its digit and of the grid lines.
    static QRgb BoxColour(CellNumber n)
    {
        const int x = 2 + 40 * static_cast<int>((n - 1) % 9), y = 2 + 40 * static_cast<int>((n - 1) / 9);
        return At(Scaled(x + 35), Scaled(y + 6));
    }
    static bool BoxHolds(CellNumber n, QRgb colour)
    {
        const int x = 2 + 40 * static_cast<int>((n - 1) % 9), y = 2 + 40 * static_cast<int>((n - 1) / 9);
        const QImage picture = Picture();
        for (int py = Scaled(y + 8); py < Scaled(y + 32); ++py)
            for (int px = Scaled(x + 8); px < Scaled(x + 32); ++px)
                if ((picture.pixel(px, py) | 0xFF000000u) == colour) return true;
        return false;
    }
};

TEST_F(Rendering, GeometryAtThisScale)
{
    const double scale = ScaleOfThisRun();
    const QImage picture = Picture();
    ASSERT_EQ(picture.width(), static_cast<int>(std::lround(364 * scale)));
    ASSERT_EQ(picture.height(), picture.width());
    EXPECT_DOUBLE_EQ(DisplayScale, picture.width() / 364.0);

    struct Expected { double scale; int cellLeft0, cellLeft1, cellSize, thinWidth, thickWidth, thickLength; int thickStarts[4]; };
    const Expected table[] = {
        {1.0, 2, 42, 40, 1, 3, 363, {1, 121, 241, 361}},
        {1.25, 3, 53, 50, 1, 4, 454, {1, 151, 301, 451}},
        {1.5, 3, 63, 60, 2, 5, 545, {2, 182, 362, 542}},
        {2.0, 4, 84, 80, 2, 6, 726, {2, 242, 482, 722}},
    };
    for (const Expected& e : table) {
        if (std::abs(e.scale - scale) > 1e-9) continue;
        EXPECT_EQ(Scaled(2), e.cellLeft0);
        EXPECT_EQ(Scaled(42), e.cellLeft1);
        EXPECT_EQ(Scaled(42) - Scaled(2), e.cellSize);
        EXPECT_EQ(Scaled(1), e.thinWidth);
        EXPECT_EQ(Scaled(3), e.thickWidth);
        EXPECT_EQ(Scaled(363), e.thickLength);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(Scaled(1 + 120 * k), e.thickStarts[k]);
    }

    // Pixel row and column 0 keep the background; thick bars are black over their whole
    // width and length; thin bars are grey, one scaled unit wide, from 2 to 362.
    EXPECT_EQ(At(0, 0), white);
    EXPECT_EQ(At(0, picture.height() / 2), white);
    // (At 1.5 the last bar runs one pixel past the picture's edge and is cut there.)
    const int last = picture.width() - 1;
    for (int k = 0; k < 4; ++k) {
        const int start = Scaled(1 + 120 * k);
        for (int dx = 0; dx < Scaled(3) && start + dx <= last; ++dx) {
            EXPECT_EQ(At(start + dx, Scaled(50)), black);
            EXPECT_EQ(At(Scaled(50), start + dx), black);
        }
        EXPECT_EQ(At(start, Scaled(1)), black);
        EXPECT_EQ(At(start, std::min(last, Scaled(1) + Scaled(363) - 1)), black);
    }
    for (int j : {1, 2, 4, 5, 7, 8}) {
        const int p = Scaled(2 + 40 * j);
        EXPECT_EQ(At(p, Scaled(30)), thinGrey) << j;
        EXPECT_EQ(At(p + Scaled(1) - 1, Scaled(30)), thinGrey) << j;
        EXPECT_EQ(At(p + Scaled(1), Scaled(30)), white) << j;
        EXPECT_EQ(At(Scaled(30), p), thinGrey) << j;
    }
}

TEST_F(Rendering, EmptyBoardShowsNoSelectionBeforeTheFirstPuzzle)
{
    gameState.selectedCell = 41;
    DrawBoard();
    for (CellNumber n = 1; n <= 81; ++n) ASSERT_EQ(BoxColour(n), white) << n;
    const QImage first = Picture();
    DrawBoard();
    EXPECT_EQ(first, Picture());  // the same state draws the same picture
}

TEST_F(Rendering, BoxColoursFollowSelectionMarksAndKinds)
{
    StartPuzzle();
    ASSERT_EQ(gameState.puzzleLoaded, 1);
    // The sample's row 0 is 0 0 6 | 0 2 0 | 0 0 5: cells 3, 5 and 9 are Given.
    gameState.selectedCell = 3;  // selected wins even over a Given
    board.errorFlag[1] = 1;      // a mark in the selection's row keeps its red
    DrawBoard();
    EXPECT_EQ(BoxColour(3), selected);
    EXPECT_EQ(BoxColour(1), mistake);
    EXPECT_EQ(BoxColour(5), given);      // a Given in the selected row keeps its grey
    EXPECT_EQ(BoxColour(2), highlight);  // row
    EXPECT_EQ(BoxColour(4), highlight);
    EXPECT_EQ(BoxColour(12), highlight);  // column 2... cell 12 is row 1, column 2
    EXPECT_EQ(BoxColour(19), highlight);  // box 0
    EXPECT_EQ(BoxColour(13), white);      // row 1, column 3: outside all three
    EXPECT_EQ(BoxColour(81), white);

    // A selected cell that is marked still shows the selection colour.
    gameState.selectedCell = 1;
    DrawBoard();
    EXPECT_EQ(BoxColour(1), selected);
}

TEST_F(Rendering, DigitColoursFollowTheKindAlone)
{
    StartPuzzle();
    gameState.selectedCell = 81;
    board.value[1] = 4;                   // a player's digit: blue
    board.kind[2] = Revealed;             // revealed, then changed by the player: still green
    board.value[2] = 1;
    DrawBoard();
    EXPECT_TRUE(BoxHolds(3, black));      // the Given 6
    EXPECT_TRUE(BoxHolds(1, Rgb(0, 80, 192)));
    EXPECT_TRUE(BoxHolds(2, Rgb(32, 128, 32)));
    EXPECT_FALSE(BoxHolds(4, black));     // empty: no digit
    EXPECT_FALSE(BoxHolds(4, Rgb(0, 80, 192)));
}

}  // namespace
