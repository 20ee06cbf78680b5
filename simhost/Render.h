// The screen renderer's internals: an RGB canvas in X-Plane's screen coordinates (origin at the bottom
// left, y up), text in a TrueType font, the standard widgets' look and the windows to draw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Harness.h"

namespace simhost {
namespace detail {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

/// The image being drawn; every call clips to it. Rectangles are left, top, right, bottom in screen
/// pixels: x from left to right - 1, y from bottom to top - 1.
struct Canvas {
    Image image;
    void Blend(int x, int y, Rgb colour, float alpha);
    void Fill(int left, int top, int right, int bottom, Rgb colour, float alpha = 1.0f);
    /// A one-pixel outline.
    void Outline(int left, int top, int right, int bottom, Rgb colour);
    /// Raised (light top and left edges, dark bottom and right) or, swapping the two, sunken.
    void Bevel(int left, int top, int right, int bottom, Rgb light, Rgb dark);
    /// Top to bottom from one colour to the other.
    void Gradient(int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour);
    void Line(int x0, int y0, int x1, int y1, Rgb colour);
};

/// Width of every character of the simulator's fonts (XPLMGetFontDimensions, XPLMMeasureString).
const int kCharWidth = 8;
const int kCharHeight = 12;

enum FontStyle { kTextFont, kBoldFont, kTitleFont, kFontStyles };
/// Draws text with its baseline at y, at most maxChars characters (-1: all): one character cell of
/// kCharWidth pixels each, or proportional in the title font. False when no font can be opened.
bool DrawText(Canvas &canvas, int x, int y, const std::string &text, Rgb colour, FontStyle style = kTextFont,
              int maxChars = -1);
/// Pixel width of a text in the title font.
int TitleWidth(const std::string &text);
/// The font in use, or why there is none.
bool FontReady(std::string &error);
/// Characters of a UTF-8 text as drawn (each takes one cell).
int TextCells(const std::string &text);

/// Draws a root widget and its visible descendants as X-Plane's standard widgets look.
void DrawWidgetTree(Canvas &canvas, intptr_t rootWidget);

/// What a window showed at its last draw: its drawing calls, in order.
struct DrawCall {
    bool isBox = false;
    DrawnString text;
    DrawnBox box;
};
/// A visible window, back to front: a widget window (rootWidget) or a window the plug-in draws.
struct ScreenLayer {
    intptr_t rootWidget = 0;
    std::vector<DrawCall> calls;
};
std::vector<ScreenLayer> ScreenLayers();

} // namespace detail
} // namespace simhost
