// The canvas's accessible table, private to platform/.
#pragma once

class Canvas;

// Lets Qt's accessibility find the table of every canvas. After the application exists.
void InstallAccessibleCanvasFactory();

// Tells a screen reader that the canvas's current cell has the focus, when the canvas has it.
void AnnounceCanvasFocus(Canvas* canvas);
