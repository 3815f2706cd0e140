#include "ui/board_rendering.h"

#include <cmath>
#include <string>

#include "board/board.h"
#include "platform/canvas.h"
#include "ui/board_accessibility.h"
#include "ui/main_window.h"

double DisplayScale = 1.0;
FontId boardFont = 0;

namespace {

constexpr double layoutWidth = 364.0;
constexpr int cellSize = 40;
constexpr int boardOrigin = 2;

constexpr Colour backgroundColour{255, 255, 255};
constexpr Colour selectedColour{180, 220, 255};
constexpr Colour mistakeColour{255, 200, 200};
constexpr Colour givenColour{230, 230, 230};
constexpr Colour highlightColour{235, 242, 250};
constexpr Colour plainColour{255, 255, 255};
constexpr Colour givenDigitColour{0, 0, 0};
constexpr Colour revealedDigitColour{32, 128, 32};
constexpr Colour playerDigitColour{0, 80, 192};
constexpr Colour thinLineColour{160, 160, 160};
constexpr Colour thickLineColour{0, 0, 0};

Colour BoxColour(CellNumber n, int64_t selectedRow, int64_t selectedColumn)
{
    const int64_t row = (n - 1) / 9, column = (n - 1) % 9;
    const bool loaded = gameState.puzzleLoaded != 0;
    if (loaded && n == gameState.selectedCell) return selectedColour;
    if (board.errorFlag[n] != 0) return mistakeColour;
    if (board.kind[n] == Given) return givenColour;
    const bool sameBox = row / 3 == selectedRow / 3 && column / 3 == selectedColumn / 3;
    if (loaded && (row == selectedRow || column == selectedColumn || sameBox)) return highlightColour;
    return plainColour;
}

Colour DigitColour(CellNumber n)
{
    if (board.kind[n] == Given) return givenDigitColour;
    if (board.kind[n] == Revealed) return revealedDigitColour;
    return playerDigitColour;
}

// A bar given in layout units.
void FillBar(double left, double top, double width, double height, Colour colour)
{
    FillRectangle(Scaled(left), Scaled(top), Scaled(width), Scaled(height), colour);
}

}  // namespace

int Scaled(double x)
{
    const double p = x * DisplayScale;
    return static_cast<int>(p > 0 ? std::floor(p + 0.5) : std::ceil(p - 0.5));
}

void DrawBoard()
{
    // What a screen reader reads changes with the picture.
    UpdateBoardAccessibility();
    if (!BeginDrawing(boardCanvas)) return;
    DisplayScale = OutputWidth() / layoutWidth;
    FillRectangle(0, 0, OutputWidth(), OutputHeight(), backgroundColour);

    const int64_t selectedRow = (gameState.selectedCell - 1) / 9;
    const int64_t selectedColumn = (gameState.selectedCell - 1) % 9;
    SelectFont(boardFont);
    SetTransparentText();

    for (CellNumber n = 1; n <= 81; ++n) {
        const int x = boardOrigin + cellSize * static_cast<int>((n - 1) % 9);
        const int y = boardOrigin + cellSize * static_cast<int>((n - 1) / 9);
        // Each edge is scaled on its own, so neighbouring boxes meet without gap or overlap.
        FillRectangle(Scaled(x), Scaled(y), Scaled(x + cellSize) - Scaled(x), Scaled(y + cellSize) - Scaled(y),
                      BoxColour(n, selectedRow, selectedColumn));
        if (board.value[n] != 0) {
            const std::string text = std::to_string(board.value[n]);
            const TextExtent extent = MeasureText(text);
            DrawText(text, Scaled(x + cellSize / 2) - extent.width / 2, Scaled(y + cellSize / 2) - extent.height / 2,
                     DigitColour(n));
        }
    }

    // Thin lines on the leading edge of every cell column and row but the box edges.
    for (int j = 1; j <= 8; ++j) {
        if (j == 3 || j == 6) continue;
        const int p = boardOrigin + cellSize * j;
        FillBar(p, 2, 1, 360, thinLineColour);
        FillBar(2, p, 360, 1, thinLineColour);
    }
    // Thick lines frame the board and part the boxes, over everything else.
    for (int k = 0; k <= 3; ++k) {
        const int q = 1 + 120 * k;
        FillBar(q, 1, 3, 363, thickLineColour);
        FillBar(1, q, 363, 3, thickLineColour);
    }
    EndDrawing();
}
