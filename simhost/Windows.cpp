// Windows: creation, z-order, the frame's drawing pass, mouse and keyboard routing, and the drawing
// calls whose output is recorded so that a test can read the screen.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "Render.h"
#include "XPLMDisplay.h"
#include "XPLMGraphics.h"

namespace simhost {
namespace detail {

struct Window {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool visible = false;
    bool alive = true;
    XPLMDrawWindow_f draw = nullptr;
    XPLMHandleKey_f key = nullptr;
    XPLMHandleMouseClick_f mouse = nullptr;
    void *ref = nullptr;
    intptr_t rootWidget = 0; ///< non-zero for the window under a root widget
    std::vector<DrawCall> drawing; ///< what its last draw drew (for the screen renderer)
};

namespace {

std::vector<std::unique_ptr<Window>> gWindows; ///< alive
Retired<Window> gRetiredWindows;
std::vector<Window *> gOrder; ///< back to front
Window *gCapture = nullptr;   ///< the window that took the mouse-down
Window *gFocus = nullptr;     ///< the window with keyboard focus
std::vector<DrawnString> gStrings;
std::vector<DrawnBox> gBoxes;
Window *gDrawing = nullptr; ///< the window being drawn: its drawing calls are kept with it

Window *Resolve(XPLMWindowID id, const char *call)
{
    for (const auto &w : gWindows)
        if (w.get() == id)
            return w.get();
    if (gRetiredWindows.Holds(id))
        HostError("%s on a destroyed window", call);
    else
        HostError("%s with an invalid window", call);
    return nullptr;
}

Window *NewWindow(int left, int top, int right, int bottom, int visible)
{
    gWindows.push_back(std::make_unique<Window>());
    Window *w = gWindows.back().get();
    w->left = left;
    w->top = top;
    w->right = right;
    w->bottom = bottom;
    w->visible = visible != 0;
    gOrder.push_back(w);
    return w;
}

bool Contains(const Window *w, int x, int y)
{
    return x >= w->left && x <= w->right && y >= w->bottom && y <= w->top;
}

int DeliverMouse(Window *w, int x, int y, int status)
{
    if (w->rootWidget != 0)
        return WidgetMouse(w->rootWidget, x, y, status);
    if (w->mouse == nullptr)
        return 0;
    return w->mouse(w, x, y, status, w->ref);
}

void Kill(Window *w)
{
    if (w == gFocus) {
        gFocus = nullptr;
        if (w->key != nullptr)
            w->key(w, 0, 0, 0, w->ref, 1);
    }
    w->alive = false;
    if (gCapture == w)
        gCapture = nullptr;
    gOrder.erase(std::remove(gOrder.begin(), gOrder.end(), w), gOrder.end());
    // A window destroyed in a draw pass is still in that pass's list: it stays allocated, marked dead.
    w->drawing.clear();
    w->drawing.shrink_to_fit();
    Retire(gWindows, gRetiredWindows, w);
}

/// Wall-clock time of the window draw callbacks: in the last frame, and the longest frame since Reset.
double gLastDrawSeconds = 0, gLongestDrawSeconds = 0;
/// The part of gLastDrawSeconds the drawing thread spent waiting for a processor (preempted by others).
double gLastDrawRunQueueSeconds = 0, gLongestPluginSeconds = 0;

/// Seconds this thread has waited on the kernel's run queue (the second field of
/// /proc/thread-self/schedstat); 0 when the kernel does not keep it. The file stays open for the
/// process's drawing thread.
double RunQueueWaitSeconds()
{
    static int fd = open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128];
    ssize_t n = pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return 0;
    text[n] = 0;
    char *end = nullptr;
    strtoull(text, &end, 10);
    return (double)strtoull(end, nullptr, 10) / 1e9;
}

} // namespace

void ResetWindows()
{
    gLastDrawSeconds = gLongestDrawSeconds = gLastDrawRunQueueSeconds = gLongestPluginSeconds = 0;
    gWindows.clear();
    gRetiredWindows.Clear();
    gOrder.clear();
    gCapture = gFocus = nullptr;
    gStrings.clear();
    gBoxes.clear();
    gDrawing = nullptr;
}

void BeginFrameRecording()
{
    gStrings.clear();
    gBoxes.clear();
}

void DrawWindows()
{
    std::vector<Window *> order = gOrder; // a draw callback may create or destroy windows
    double drawSeconds = 0, waitSeconds = 0;
    for (Window *w : order) {
        if (!w->alive || !w->visible)
            continue;
        gDrawing = w;
        w->drawing.clear();
        if (w->rootWidget != 0) {
            WidgetDraw(w->rootWidget);
        } else if (w->draw != nullptr) {
            double waited = RunQueueWaitSeconds();
            auto start = std::chrono::steady_clock::now();
            w->draw(w, w->ref);
            drawSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            waitSeconds += RunQueueWaitSeconds() - waited;
        }
        gDrawing = nullptr;
    }
    gLastDrawSeconds = drawSeconds;
    gLastDrawRunQueueSeconds = std::min(waitSeconds, drawSeconds);
    gLongestDrawSeconds = std::max(gLongestDrawSeconds, drawSeconds);
    gLongestPluginSeconds = std::max(gLongestPluginSeconds, drawSeconds - gLastDrawRunQueueSeconds);
}

} // namespace detail

double LastFrameDrawSeconds()
{
    return detail::gLastDrawSeconds;
}

double LongestFrameDrawSeconds()
{
    return detail::gLongestDrawSeconds;
}

double LongestFramePluginSeconds()
{
    return detail::gLongestPluginSeconds;
}

double LastFrameDrawRunQueueSeconds()
{
    return detail::gLastDrawRunQueueSeconds;
}

namespace detail {

void *CreateWidgetWindow(int left, int top, int right, int bottom, int visible, intptr_t rootWidget)
{
    Window *w = NewWindow(left, top, right, bottom, visible);
    w->rootWidget = rootWidget;
    return w;
}

void DestroyWidgetWindow(void *window)
{
    if (Window *w = Resolve(window, "XPDestroyWidget"))
        Kill(w);
}

void SetWidgetWindowGeometry(void *window, int left, int top, int right, int bottom)
{
    if (Window *w = Resolve(window, "XPSetWidgetGeometry")) {
        w->left = left;
        w->top = top;
        w->right = right;
        w->bottom = bottom;
    }
}

void SetWidgetWindowVisible(void *window, int visible)
{
    if (Window *w = Resolve(window, "XPShowWidget"))
        w->visible = visible != 0;
}

void BringWindowToFront(void *window)
{
    Window *w = Resolve(window, "XPLMBringWindowToFront");
    if (w == nullptr)
        return;
    gOrder.erase(std::remove(gOrder.begin(), gOrder.end(), w), gOrder.end());
    gOrder.push_back(w);
}

bool WindowIsInFront(void *window)
{
    return !gOrder.empty() && gOrder.back() == window;
}

std::vector<ScreenLayer> ScreenLayers()
{
    std::vector<ScreenLayer> layers;
    for (Window *w : gOrder) {
        if (!w->alive || !w->visible)
            continue;
        layers.push_back(ScreenLayer{w->rootWidget, w->drawing});
    }
    return layers;
}

void TakeWindowFocus(void *window)
{
    Window *w = window != nullptr ? Resolve(window, "XPLMTakeKeyboardFocus") : nullptr;
    if (gFocus == w)
        return;
    Window *previous = gFocus;
    gFocus = w;
    if (previous != nullptr && previous->alive && previous->key != nullptr)
        previous->key(previous, 0, 0, 0, previous->ref, 1);
}

} // namespace detail

using namespace detail;

std::vector<WindowInfo> Windows()
{
    std::vector<WindowInfo> list;
    for (Window *w : gOrder)
        list.push_back(WindowInfo{w, w->left, w->top, w->right, w->bottom, w->visible, w->rootWidget != 0});
    return list;
}

std::vector<DrawnString> FrameStrings()
{
    return gStrings;
}

std::vector<DrawnBox> FrameBoxes()
{
    return gBoxes;
}

bool MouseDown(int x, int y)
{
    host().mouseX = x;
    host().mouseY = y;
    std::vector<Window *> order(gOrder.rbegin(), gOrder.rend()); // front to back
    for (Window *w : order) {
        if (!w->alive || !w->visible || !Contains(w, x, y))
            continue;
        if (DeliverMouse(w, x, y, xplm_MouseDown)) {
            gCapture = w->alive ? w : nullptr;
            return true;
        }
    }
    return false;
}

void MouseDrag(int x, int y)
{
    host().mouseX = x;
    host().mouseY = y;
    if (gCapture != nullptr && gCapture->alive)
        DeliverMouse(gCapture, x, y, xplm_MouseDrag);
}

void MouseUp(int x, int y)
{
    host().mouseX = x;
    host().mouseY = y;
    Window *w = gCapture;
    gCapture = nullptr;
    if (w != nullptr && w->alive)
        DeliverMouse(w, x, y, xplm_MouseUp);
}

bool Click(int x, int y)
{
    bool taken = MouseDown(x, y);
    MouseUp(x, y);
    return taken;
}

void KeyPress(char key, int flags, char virtualKey)
{
    if (WidgetKey(key, flags, virtualKey))
        return;
    if (gFocus != nullptr && gFocus->alive && gFocus->rootWidget == 0 && gFocus->key != nullptr)
        gFocus->key(gFocus, key, flags, virtualKey, gFocus->ref, 0);
}

size_t DestroyedObjectsKept()
{
    return gRetiredWindows.Size() + RetiredProbes();
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API XPLMWindowID XPLMCreateWindow(int inLeft, int inTop, int inRight, int inBottom, int inIsVisible,
                                       XPLMDrawWindow_f inDrawCallback, XPLMHandleKey_f inKeyCallback,
                                       XPLMHandleMouseClick_f inMouseCallback, void *inRefcon)
{
    Window *w = NewWindow(inLeft, inTop, inRight, inBottom, inIsVisible);
    w->draw = inDrawCallback;
    w->key = inKeyCallback;
    w->mouse = inMouseCallback;
    w->ref = inRefcon;
    return w;
}

XPLM_API XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t *inParams)
{
    if (inParams == nullptr || inParams->structSize < (int)offsetof(XPLMCreateWindow_t, decorateAsFloatingWindow)) {
        HostError("XPLMCreateWindowEx with a bad structSize");
        return nullptr;
    }
    Window *w = NewWindow(inParams->left, inParams->top, inParams->right, inParams->bottom, inParams->visible);
    w->draw = inParams->drawWindowFunc;
    w->key = inParams->handleKeyFunc;
    w->mouse = inParams->handleMouseClickFunc;
    w->ref = inParams->refcon;
    return w;
}

XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID)
{
    Window *w = Resolve(inWindowID, "XPLMDestroyWindow");
    if (w == nullptr)
        return;
    if (w->rootWidget != 0) {
        HostError("XPLMDestroyWindow on a widget's window");
        return;
    }
    Kill(w);
}

XPLM_API void XPLMGetScreenSize(int *outWidth, int *outHeight)
{
    if (outWidth != nullptr)
        *outWidth = 1920;
    if (outHeight != nullptr)
        *outHeight = 1080;
}

XPLM_API void XPLMGetScreenBoundsGlobal(int *outLeft, int *outTop, int *outRight, int *outBottom)
{
    if (outLeft != nullptr)
        *outLeft = 0;
    if (outTop != nullptr)
        *outTop = 1080;
    if (outRight != nullptr)
        *outRight = 1920;
    if (outBottom != nullptr)
        *outBottom = 0;
}

XPLM_API void XPLMGetMouseLocation(int *outX, int *outY)
{
    if (outX != nullptr)
        *outX = host().mouseX;
    if (outY != nullptr)
        *outY = host().mouseY;
}

XPLM_API void XPLMGetWindowGeometry(XPLMWindowID inWindowID, int *outLeft, int *outTop, int *outRight,
                                    int *outBottom)
{
    Window *w = Resolve(inWindowID, "XPLMGetWindowGeometry");
    if (outLeft != nullptr)
        *outLeft = w != nullptr ? w->left : 0;
    if (outTop != nullptr)
        *outTop = w != nullptr ? w->top : 0;
    if (outRight != nullptr)
        *outRight = w != nullptr ? w->right : 0;
    if (outBottom != nullptr)
        *outBottom = w != nullptr ? w->bottom : 0;
}

XPLM_API void XPLMSetWindowGeometry(XPLMWindowID inWindowID, int inLeft, int inTop, int inRight, int inBottom)
{
    if (Window *w = Resolve(inWindowID, "XPLMSetWindowGeometry")) {
        w->left = inLeft;
        w->top = inTop;
        w->right = inRight;
        w->bottom = inBottom;
    }
}

XPLM_API int XPLMGetWindowIsVisible(XPLMWindowID inWindowID)
{
    Window *w = Resolve(inWindowID, "XPLMGetWindowIsVisible");
    return w != nullptr && w->visible;
}

XPLM_API void XPLMSetWindowIsVisible(XPLMWindowID inWindowID, int inIsVisible)
{
    if (Window *w = Resolve(inWindowID, "XPLMSetWindowIsVisible"))
        w->visible = inIsVisible != 0;
}

XPLM_API void *XPLMGetWindowRefCon(XPLMWindowID inWindowID)
{
    Window *w = Resolve(inWindowID, "XPLMGetWindowRefCon");
    return w != nullptr ? w->ref : nullptr;
}

XPLM_API void XPLMSetWindowRefCon(XPLMWindowID inWindowID, void *inRefcon)
{
    if (Window *w = Resolve(inWindowID, "XPLMSetWindowRefCon"))
        w->ref = inRefcon;
}

XPLM_API void XPLMTakeKeyboardFocus(XPLMWindowID inWindow)
{
    TakeWindowFocus(inWindow);
}

XPLM_API int XPLMHasKeyboardFocus(XPLMWindowID inWindow)
{
    return inWindow != nullptr && gFocus == inWindow;
}

XPLM_API void XPLMBringWindowToFront(XPLMWindowID inWindow)
{
    BringWindowToFront(inWindow);
}

XPLM_API int XPLMIsWindowInFront(XPLMWindowID inWindow)
{
    return WindowIsInFront(inWindow) ? 1 : 0;
}

XPLM_API void XPLMSetWindowTitle(XPLMWindowID inWindowID, const char *)
{
    Resolve(inWindowID, "XPLMSetWindowTitle");
}

// MARK: drawing

XPLM_API void XPLMSetGraphicsState(int, int, int, int, int, int, int)
{
}

XPLM_API void XPLMBindTexture2d(int, int)
{
}

XPLM_API void XPLMGenerateTextureNumbers(int *outTextureIDs, int inCount)
{
    for (int i = 0; outTextureIDs != nullptr && i < inCount; i++)
        outTextureIDs[i] = i + 1;
}

XPLM_API void XPLMDrawString(float *inColorRGB, int inXOffset, int inYOffset, const char *inChar, int *,
                             XPLMFontID inFontID)
{
    simhost::DrawnString s;
    s.text = inChar != nullptr ? inChar : "";
    s.x = inXOffset;
    s.y = inYOffset;
    if (inColorRGB != nullptr) {
        s.r = inColorRGB[0];
        s.g = inColorRGB[1];
        s.b = inColorRGB[2];
    }
    s.font = inFontID;
    gStrings.push_back(s);
    if (gDrawing != nullptr && gDrawing->alive)
        gDrawing->drawing.push_back(DrawCall{false, s, simhost::DrawnBox()});
}

XPLM_API void XPLMDrawNumber(float *inColorRGB, int inXOffset, int inYOffset, double inValue, int inDigits,
                             int inDecimals, int inShowSign, XPLMFontID inFontID)
{
    char text[64];
    snprintf(text, sizeof text, inShowSign ? "%+*.*f" : "%*.*f", inDigits, inDecimals, inValue);
    XPLMDrawString(inColorRGB, inXOffset, inYOffset, text, nullptr, inFontID);
}

XPLM_API void XPLMDrawTranslucentDarkBox(int inLeft, int inTop, int inRight, int inBottom)
{
    gBoxes.push_back(simhost::DrawnBox{inLeft, inTop, inRight, inBottom});
    if (gDrawing != nullptr && gDrawing->alive)
        gDrawing->drawing.push_back(DrawCall{true, simhost::DrawnString(), gBoxes.back()});
}

XPLM_API void XPLMGetFontDimensions(XPLMFontID, int *outCharWidth, int *outCharHeight, int *outDigitsOnly)
{
    if (outCharWidth != nullptr)
        *outCharWidth = 8;
    if (outCharHeight != nullptr)
        *outCharHeight = 12;
    if (outDigitsOnly != nullptr)
        *outDigitsOnly = 0;
}

XPLM_API float XPLMMeasureString(XPLMFontID, const char *inChar, int inNumChars)
{
    return inChar != nullptr ? 8.0f * (float)inNumChars : 0.0f;
}
