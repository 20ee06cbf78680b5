// The ATC dialog window: its rows, built from the flight's state each time it opens, and its buttons.
// The emergency declaration lives in ui/AtcDialogEmergency.cpp.
#include "ui/AtcDialog.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "XPLMNavigation.h"
#include "XPStandardWidgets.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesSpecial.h"
#include "planning/Fms.h"
#include "planning/JumpToWaypoint.h"
#include "planning/Procedures.h"
#include "plugin/FirstFrame.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Clipboard.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"
#include "ui/WidgetHelpers.h"

XPWidgetID AtcDialogWin = nullptr;
int AtcDialogIsOpen = 0;

namespace {

const char *const kTag = "AtcDialogWinHandler";

// Layout, in pixels from the window's left and top edges: one row per offer, the hidden ones take no row.
const int kFirstRowTop = 30, kRowPitch = 25, kRowHeight = 20;
const int kCaptionLeft = 10, kCaptionRight = 290;
const int kFieldLeft = 300, kFieldRight = 370;
const int kButtonLeft = 380, kButtonRight = 510;
/// Longest text read back from a field: more than any level or identifier, so that junk is seen whole.
const int kFieldTextSize = 64;
const int kNavIdSize = 32;

/// The widgets of the open window; a row not offered has no widgets.
struct AtcDialogWidgets {
    XPWidgetID levelField = nullptr, levelButton = nullptr;
    XPWidgetID emergencyField = nullptr, emergencyButton = nullptr;
    XPWidgetID jumpButton = nullptr, cancelButton = nullptr, todButton = nullptr;
};
AtcDialogWidgets gWidgets;

/// Builds rows from the top of the window.
struct RowBuilder {
    int left = 0, top = 0;
    int row = 0;
    int rowTop() const { return top - kFirstRowTop - kRowPitch * row; }
    void caption(const char *text) const
    {
        Utils_CreateCaption(left + kCaptionLeft, rowTop(), left + kCaptionRight, rowTop() - kRowHeight, text,
                            AtcDialogWin);
    }
    XPWidgetID field(const char *text) const
    {
        XPWidgetID field = Utils_CreateTextField(left + kFieldLeft, rowTop(), left + kFieldRight,
                                                 rowTop() - kRowHeight, text, AtcDialogWin);
        Utils_AttachCutCopyPaste(field);
        return field;
    }
    XPWidgetID button(const char *label) const
    {
        return Utils_CreatePushButton(left + kButtonLeft, rowTop(), left + kButtonRight, rowTop() - kRowHeight, label,
                                      AtcDialogWin);
    }
};

/// The identifier of the airport nearest to the aircraft, or the departure airport when none is found.
std::string AtcDialog_nearestAirport(const pilot &p)
{
    float lat = (float)p.latitudine, lon = (float)p.longitudine;
    XPLMNavRef ref = XPLMFindNavAid(nullptr, nullptr, &lat, &lon, nullptr, xplm_Nav_Airport);
    if (ref == XPLM_NAV_NOT_FOUND)
        return gActualAptICAO;
    char id[kNavIdSize] = "";
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, nullptr, nullptr);
    id[kNavIdSize - 1] = 0;
    PrintInfo("Windows_CreaAtcDialog", "Emergency airport found: %s", id);
    return id;
}

std::string AtcDialog_fieldText(XPWidgetID field)
{
    char text[kFieldTextSize] = "";
    XPGetWidgetDescriptor(field, text, sizeof text - 1);
    text[kFieldTextSize - 1] = 0;
    return text;
}

/// Why nothing can be requested now: before a flight plan is filed there is no service, no level and no
/// destination to change; once the service has ended (IFR cancelled, the flight parked, the service
/// stopped) nobody listens. Null while requests are offered.
const char *AtcDialog_noService(const pilot &p)
{
    if (p.gIsFPFiled != 1)
        return "No flight plan filed";
    if (p.serviceTerminated || gPluginEnabled != 1)
        return "ATC service ended";
    return nullptr;
}

} // namespace

void Windows_CreaAtcDialog(int left, int top, int width, int height)
{
    AtcDialog_Destroy();
    const pilot &p = pilotObj;
    AtcDialogWin = Utils_CreateMainWindow(left, top, left + width, top - height, "ATC Dialog");
    XPAddWidgetCallback(AtcDialogWin, AtcDialogWinHandler);
    AtcDialogIsOpen = 1;
    RowBuilder rows;
    rows.left = left;
    rows.top = top;
    if (const char *reason = AtcDialog_noService(p)) {
        PrintInfo("Windows_CreaAtcDialog", "ATC dialog without requests: %s", reason);
        rows.caption(reason);
        return;
    }

    if (p.faseDiscesa == 0) {
        char level[16];
        snprintf(level, sizeof level, "%i", p.plannedFL);
        rows.caption("Request cruising altitude change FL (eg: 320)");
        gWidgets.levelField = rows.field(level);
        gWidgets.levelButton = rows.button("Request new FL");
    } else {
        rows.caption("Top of descent reached");
    }
    rows.row++;

    if (p.cicloApproach == 0) {
        rows.caption("Declare emergency and land to ");
        gWidgets.emergencyField = rows.field(AtcDialog_nearestAirport(p).c_str());
    } else {
        char caption[128];
        snprintf(caption, sizeof caption, "Declare emergency and land to: %s", p.arrAirportICAO.c_str());
        rows.caption(caption);
    }
    gWidgets.emergencyButton = rows.button("Declare emergency");
    rows.row++;

    if (p.flightPlanVec.size() >= 2) {
        rows.caption("Jump to waypoint");
        gWidgets.jumpButton = rows.button("Choose waypoint");
        rows.row++;
    }

    gWidgets.cancelButton = rows.button(p.vfrFlight ? "Cancel VFR" : "Cancel IFR");
    rows.row++;

    // Once the descent has begun the top of descent is behind: nothing to force.
    if (p.gTODReached == 0 && p.faseDiscesa == 0)
        gWidgets.todButton = rows.button("Set TOD (Experimental)");
}

void AtcDialog_Destroy()
{
    Utils_DestroyWindow(&AtcDialogWin);
    gWidgets = AtcDialogWidgets();
    AtcDialogIsOpen = 0;
}

void AtcDialog_Toggle()
{
    if (AtcDialogIsOpen == 0)
        Windows_CreaAtcDialog(400, 600, 520, 180);
    else
        AtcDialog_Destroy();
}

bool AtcDialog_CruiseLevel(const char *text, int *level)
{
    double value = 0;
    // NaN fails the first test, fractions the second.
    if (!Utils_ParseDouble(text, &value) || value != std::floor(value) || value < 1 || value > ATC_DIALOG_MAX_FL)
        return false;
    *level = (int)value;
    return true;
}

bool AtcDialog_RequestNewFL(pilot *p, const char *text)
{
    int level = 0;
    if (!AtcDialog_CruiseLevel(text, &level)) {
        PrintInfo(kTag, "Flight level '%s' refused: a whole number from 1 to %i", text, (int)ATC_DIALOG_MAX_FL);
        CreateWarningWinControl(400, 400, 160, 90, "Vellomir - Warning", "flight level incorrect");
        return false;
    }
    p->plannedFL = level;
    PrintInfo(kTag, "AtcDialogWinHandler - setting new FL to: %i", level);
    // The FMS flies the levels: it gets them once they are redrawn.
    drawFlighLevels(p);
    ProgramFMS(p);
    requestedFLChange = true;
    expedite = 0;
    CenterInitialCallFlightLevelChange(p);
    return true;
}

int AtcDialogWinHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        AtcDialog_Destroy();
        return 1;
    }
    if (message != xpMsg_PushButtonPressed)
        return 0;
    pilot *p = &pilotObj;
    const XPWidgetID button = (XPWidgetID)param1;
    const AtcDialogWidgets w = gWidgets;
    if (button == nullptr) {
        return 1;
    } else if (button == w.levelButton) {
        if (AtcDialog_RequestNewFL(p, AtcDialog_fieldText(w.levelField).c_str()))
            AtcDialog_Destroy();
    } else if (button == w.emergencyButton) {
        const std::string typed = w.emergencyField != nullptr ? AtcDialog_fieldText(w.emergencyField) : "";
        if (AtcDialog_DeclareEmergency(p, w.emergencyField != nullptr ? typed.c_str() : nullptr))
            AtcDialog_Destroy();
    } else if (button == w.jumpButton) {
        AtcDialog_Destroy();
        JumpToWaypoint(p);
    } else if (button == w.cancelButton) {
        AtcDialog_Destroy();
        Radio_CancelIFR(p);
    } else if (button == w.todButton) {
        AtcDialog_Destroy();
        PrintInfo(kTag, "Top of descent set by the pilot");
        p->gTODReached = 1;
    }
    return 1;
}
