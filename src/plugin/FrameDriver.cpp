// The driver window: created at start, drawn every frame, draggable by a strip along its top edge.
#include "plugin/FrameDriver.h"

#include "XPLMGraphics.h"
#include "XPLMProcessing.h"
#include "comms/DialogBox.h"
#include "comms/MessageQueue.h"
#include "plugin/PluginGlobals.h"
#include "speech/Wave.h"
#include "ui/Settings.h"

int gAlreadyChecked = 0;
int gLeft = 0, gTop = 0, gRight = 0, gBottom = 0;
std::string gActualFrequencyName = "NONE";

namespace {

/// Height of the strip along the window's top edge that drags the window.
const int kDragStripHeight = 15;

struct DragState {
    int dragging = 0;
    int offsetX = 0, offsetY = 0; ///< mouse position relative to the window's left/top
    int width = 0, height = 0;
};
DragState gDrag;

/// The dark box is shown unless it is switched off or auto-hide has hidden it since the last message.
bool FrameDriver_darkBoxShown()
{
    if (gShowDarkWindows != 1)
        return false;
    return autoHideDarkBox == 0 || XPLMGetElapsedTime() - autoHideDarkBoxCounter < (float)autoHideDarkBoxTimeOut;
}

} // namespace

void MyDrawWindowCallback(XPLMWindowID window, void *)
{
    XPLMGetWindowGeometry(window, &gLeft, &gTop, &gRight, &gBottom);
    bool darkBoxShown = FrameDriver_darkBoxShown();
    if (darkBoxShown)
        XPLMDrawTranslucentDarkBox(gLeft, gTop, gRight, gBottom);

    Queue_CheckAbandonedExchange();
    if (darkBoxShown)
        ShowDialogMessages();

    Wave_ReleaseFinishedUtterances();
    Queue_DeliverNextMessage();
}

void MyHandleKeyCallback(XPLMWindowID, char, XPLMKeyFlags, char, void *, int)
{
}

int MyHandleMouseClickCallback(XPLMWindowID window, int x, int y, XPLMMouseStatus status, void *)
{
    int left, top, right, bottom;
    XPLMGetWindowGeometry(window, &left, &top, &right, &bottom);
    switch (status) {
    case xplm_MouseDown:
        if (x >= left && x < right && y >= top - kDragStripHeight && y < top) {
            gDrag.dragging = 1;
            gDrag.offsetX = x - left;
            gDrag.offsetY = y - top;
            gDrag.width = right - left;
            gDrag.height = top - bottom;
            return 1;
        }
        return 0;
    case xplm_MouseDrag:
        if (!gDrag.dragging)
            return 0;
        left = x - gDrag.offsetX;
        top = y - gDrag.offsetY;
        XPLMSetWindowGeometry(window, left, top, left + gDrag.width, top - gDrag.height);
        return 1;
    case xplm_MouseUp:
        if (!gDrag.dragging)
            return 0;
        gDrag.dragging = 0;
        return 1;
    default:
        return 0;
    }
}

void System_CreateDriverWindow()
{
    gWindow = XPLMCreateWindow(200, 43, 1550, 5, 1, MyDrawWindowCallback, MyHandleKeyCallback,
                               MyHandleMouseClickCallback, nullptr);
}

void System_DestroyDriverWindow()
{
    if (gWindow != nullptr)
        XPLMDestroyWindow(gWindow);
    gWindow = nullptr;
}
