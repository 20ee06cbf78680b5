// The driver window: created at start, drawn every frame, draggable by a strip along its top edge. Its
// draw callback is the frame driver, the plug-in's only periodic entry.
#include "plugin/FrameDriver.h"

#include <cmath>

#include "XPLMGraphics.h"
#include "XPLMProcessing.h"
#include "comms/DialogBox.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesTower.h"
#include "monitor/NavigationMonitor.h"
#include "monitor/RadioMonitor.h"
#include "plugin/FacilityNaming.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameReads.h"
#include "plugin/Menu.h"
#include "plugin/PluginGlobals.h"
#include "plugin/ProcedureSetup.h"
#include "plugin/RequestDialogRules.h"
#include "speech/SpeechWorker.h"
#include "speech/Wave.h"
#include "state/Pilot.h"
#include "ui/OnScreenInformations.h"
#include "ui/OnScreenPrinters.h"
#include "ui/Settings.h"
#include "update/UpdateCheck.h"
#include "update/UpdateWorker.h"

int gAlreadyChecked = 0;
int gLeft = 0, gTop = 0, gRight = 0, gBottom = 0;
int gFPSCount = 0, gLastFPS = 0;
float gLastFPSSecond = 0;

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
bool FrameDriver_darkBoxShown(float now)
{
    if (gShowDarkWindows != 1)
        return false;
    return autoHideDarkBox == 0 || now - autoHideDarkBoxCounter < (float)autoHideDarkBoxTimeOut;
}

/// Counts the frame; when the whole second of elapsed time changes, the count becomes gLastFPS.
void FrameDriver_countFrame(float now)
{
    gFPSCount++;
    if ((int)now != (int)gLastFPSSecond) {
        gLastFPS = gFPSCount;
        gFPSCount = 0;
        gLastFPSSecond = std::floor(now);
    }
}

/// Item 3 ("ATC dialog") is offered once the first centre call is made, while the aircraft is airborne and
/// until an emergency has taken it to another destination; never while the service is stopped or ended,
/// when the item would do nothing.
void FrameDriver_offerAtcDialog(const pilot &record)
{
    System_MenuEnableAtcDialog(record.primaChiamataCenterEffettuataMIA == 1 && record.isOnGround == 0 &&
                               !record.divertedInFlight && gPluginEnabled == 1 && !record.serviceTerminated);
}

} // namespace

void MyDrawWindowCallback(XPLMWindowID window, void *)
{
    pilot &record = pilotObj;
    const float now = XPLMGetElapsedTime();

    FrameDriver_ReadOnGround(record);
    FrameDriver_ProcedureSetup(record, now);
    FrameDriver_countFrame(now);

    XPLMGetWindowGeometry(window, &gLeft, &gTop, &gRight, &gBottom);
    const bool darkBoxShown = FrameDriver_darkBoxShown(now);
    if (darkBoxShown)
        XPLMDrawTranslucentDarkBox(gLeft, gTop, gRight, gBottom);

    if (gAlreadyChecked == 0) {
        FrameDriver_FirstFrame(record);
        gAlreadyChecked = 1;
    }
    FrameDriver_ReadAltitude(record);
    FrameDriver_ReadCom1(record);
    Queue_CheckAbandonedExchange();
    if (darkBoxShown)
        ShowDialogMessages();
    OnScreen_ResetRows();
    FrameDriver_NameTunedFacility(record);
    FrameDriver_ReadEngines(record);

    Wave_ReleaseFinishedUtterances();
    SpeechWorker_Collect();
    Queue_DeliverNextMessage();

    FrameDriver_ReadPositionAndMotion(record);
    FrameDriver_ReadPause();
    if (record.isOnHoldingPoint == 0)
        CheckIsOnHoldingPoint(&record);
    else
        HandOverTowerWhenFree(&record);
    // While paused nothing follows the flight (the on-screen information and the navigation monitor
    // belong with the menu item); the radio above is delivered all the same, and its state published.
    NaviCheck_UpdateRadio(&record);
    if (simulatorPause == 0) {
        printOnScreenInformations(&record);
        NaviCheck_CheckNavigation(&record);
        FrameDriver_offerAtcDialog(record);
        Update_AutomaticCheck(now);
    }
    UpdateWorker_Poll();
    FrameDriver_CompleteHandOver(record);
    // The request dialogs open and close last.
    FrameDriver_ReadbackCommand();
    FrameDriver_ManageRequestDialog(record, now);
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
