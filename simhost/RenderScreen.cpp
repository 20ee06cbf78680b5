// The screen picture: a plain sky, then every visible window back to front, widget windows as their
// widgets stand now and the plug-in's own windows with what their last draw drew.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "Render.h"
#include "WidgetsInternal.h"
#include "XPLMDisplay.h"

namespace simhost {

using namespace detail;

namespace {

const Rgb kSkyTop{40, 66, 104}, kSkyHorizon{106, 134, 166}, kGround{72, 82, 66};
/// XPLMDrawTranslucentDarkBox darkens what lies below it by this much.
const float kDarkBoxAlpha = 0.55f;
const int kSnapshotMargin = 8;

uint8_t Channel(float value)
{
    return (uint8_t)std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f);
}

void DrawCalls(Canvas &canvas, const std::vector<DrawCall> &calls)
{
    for (const DrawCall &call : calls) {
        if (call.isBox) {
            canvas.Fill(call.box.left, call.box.top, call.box.right, call.box.bottom, Rgb{0, 0, 0}, kDarkBoxAlpha);
        } else {
            Rgb colour{Channel(call.text.r), Channel(call.text.g), Channel(call.text.b)};
            DrawText(canvas, call.text.x, call.text.y, call.text.text, colour);
        }
    }
}

} // namespace

bool RenderScreen(Image &out, std::string &error)
{
    if (!FontReady(error))
        return false;
    int width = 0, height = 0;
    XPLMGetScreenSize(&width, &height);
    Canvas canvas;
    canvas.image.width = width;
    canvas.image.height = height;
    canvas.image.rgb.assign((size_t)width * (size_t)height * 3, 0);
    int horizon = height / 3;
    canvas.Gradient(0, height, width, horizon, kSkyTop, kSkyHorizon);
    canvas.Fill(0, horizon, width, 0, kGround);
    for (const ScreenLayer &layer : ScreenLayers()) {
        if (layer.rootWidget != 0)
            DrawWidgetTree(canvas, layer.rootWidget);
        DrawCalls(canvas, layer.calls);
    }
    out = std::move(canvas.image);
    return true;
}

Image CropImage(const Image &image, int left, int top, int right, int bottom)
{
    Image part;
    left = std::clamp(left, 0, image.width);
    right = std::clamp(right, left, image.width);
    bottom = std::clamp(bottom, 0, image.height);
    top = std::clamp(top, bottom, image.height);
    part.width = right - left;
    part.height = top - bottom;
    for (int row = image.height - top; row < image.height - bottom; row++) {
        auto start = image.rgb.begin() + ((std::ptrdiff_t)row * image.width + left) * 3;
        part.rgb.insert(part.rgb.end(), start, start + (std::ptrdiff_t)part.width * 3);
    }
    return part;
}

bool WriteSnapshot(const std::string &path, std::string &error, void *window)
{
    Image screen;
    if (!RenderScreen(screen, error))
        return false;
    if (window != nullptr) {
        const Widget *w = FindWidget(IdOf((XPWidgetID)window));
        if (w == nullptr) {
            error = "no such window";
            return false;
        }
        screen = CropImage(screen, w->left - kSnapshotMargin, w->top + kSnapshotMargin, w->right + kSnapshotMargin,
                           w->bottom - kSnapshotMargin);
        if (screen.width == 0 || screen.height == 0) {
            error = "the window lies outside the screen";
            return false;
        }
    }
    return WritePng(screen, path, error);
}

} // namespace simhost
