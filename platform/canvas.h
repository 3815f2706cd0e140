// Drawing on a canvas's retained picture, in device pixels. The canvas repaints itself
// from the picture on exposure; only EndDrawing changes what is shown.
#pragma once

#include <string>

#include "platform/gui.h"

struct TextExtent {
    double width;
    double height;  // the font's line height, not the glyph's ink
};

// Starts drawing on the canvas's picture, sized to the canvas in device pixels. False
// when there is no picture to draw on.
bool BeginDrawing(WindowId canvas);
int OutputWidth();
int OutputHeight();
void FillRectangle(int left, int top, int width, int height, Colour colour);
void SelectFont(FontId font);
void SetTransparentText();
TextExtent MeasureText(const std::string& text);
// Draws text with its top-left corner at (x, y), cut to whole pixels by dropping the fraction.
void DrawText(const std::string& text, double x, double y, Colour colour);
// Ends drawing and shows the new picture at once.
void EndDrawing();
