#include "ui/board_input.h"

#include <cmath>

#include "board/board.h"
#include "platform/gui.h"
#include "ui/board_rendering.h"

namespace {

void Select(int64_t row, int64_t column)
{
    gameState.selectedCell = row * 9 + column + 1;
    DrawBoard();
}

// Pixels back to layout units: halves go to the even neighbour (nearbyint in the default
// rounding mode), unlike Scaled.
int64_t ToLayout(int pixel) { return static_cast<int64_t>(std::nearbyint(pixel / DisplayScale - 2)); }

}  // namespace

void HandleBoardEvent()
{
    const Event& event = CurrentEvent();
    const int64_t row = (gameState.selectedCell - 1) / 9;
    const int64_t column = (gameState.selectedCell - 1) % 9;
    switch (event.input) {
    case CanvasInput::LeftButtonDown: {
        const int64_t lx = ToLayout(event.x), ly = ToLayout(event.y);
        if (lx >= 0 && lx < 360 && ly >= 0 && ly < 360) {
            gameState.selectedCell = (ly / 40) * 9 + (lx / 40) + 1;
            DrawBoard();
        }
        break;
    }
    case CanvasInput::Character:
        if (event.character >= U'1' && event.character <= U'9') EnterDigit(event.character - U'0');
        else if (event.character == U'0' || event.character == U' ') EnterDigit(0);
        break;
    case CanvasInput::KeyDown:
        switch (event.keyCode) {
        case keyLeft: Select(row, (column + 8) % 9); break;
        case keyUp: Select((row + 8) % 9, column); break;
        case keyRight: Select(row, (column + 1) % 9); break;
        case keyDown: Select((row + 1) % 9, column); break;
        case keyDelete:
        case keyBackspace: EnterDigit(0); break;
        default: break;
        }
        break;
    case CanvasInput::None: break;
    }
}
