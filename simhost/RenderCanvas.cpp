// Drawing primitives of the screen renderer on an RGB image in screen coordinates.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Render.h"

namespace simhost {
namespace detail {

void Canvas::Blend(int x, int y, Rgb colour, float alpha)
{
    int row = image.height - 1 - y;
    if (x < 0 || x >= image.width || row < 0 || row >= image.height || alpha <= 0.0f)
        return;
    unsigned char *p = &image.rgb[((size_t)row * (size_t)image.width + (size_t)x) * 3];
    if (alpha >= 1.0f) {
        p[0] = colour.r;
        p[1] = colour.g;
        p[2] = colour.b;
        return;
    }
    const uint8_t channels[3] = {colour.r, colour.g, colour.b};
    for (int i = 0; i < 3; i++)
        p[i] = (unsigned char)std::lround(p[i] + (channels[i] - p[i]) * alpha);
}

void Canvas::Fill(int left, int top, int right, int bottom, Rgb colour, float alpha)
{
    left = std::max(left, 0);
    bottom = std::max(bottom, 0);
    right = std::min(right, image.width);
    top = std::min(top, image.height);
    for (int y = bottom; y < top; y++)
        for (int x = left; x < right; x++)
            Blend(x, y, colour, alpha);
}

void Canvas::Outline(int left, int top, int right, int bottom, Rgb colour)
{
    Bevel(left, top, right, bottom, colour, colour);
}

void Canvas::Bevel(int left, int top, int right, int bottom, Rgb light, Rgb dark)
{
    Fill(left, top, right, top - 1, light);
    Fill(left, top, left + 1, bottom, light);
    Fill(left, bottom + 1, right, bottom, dark);
    Fill(right - 1, top - 1, right, bottom, dark);
}

void Canvas::Gradient(int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour)
{
    int height = std::max(1, top - bottom - 1);
    for (int y = bottom; y < top; y++) {
        float t = (float)(top - 1 - y) / (float)height;
        Rgb c{(uint8_t)std::lround(topColour.r + (bottomColour.r - topColour.r) * t),
              (uint8_t)std::lround(topColour.g + (bottomColour.g - topColour.g) * t),
              (uint8_t)std::lround(topColour.b + (bottomColour.b - topColour.b) * t)};
        Fill(left, y + 1, right, y, c);
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb colour)
{
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int error = dx + dy;;) {
        Blend(x0, y0, colour, 1.0f);
        if (x0 == x1 && y0 == y1)
            break;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

} // namespace detail
} // namespace simhost
