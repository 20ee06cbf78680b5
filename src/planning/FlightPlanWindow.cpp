// The flight plan window's widgets, prefill and callback.
#include "planning/FlightPlanWindow.h"

#include <string>

#include "XPStandardWidgets.h"
#include "planning/FlightPlanFiles.h"
#include "planning/FlightPlanFiling.h"
#include "planning/FlightPlanText.h"
#include "plugin/FirstFrame.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "ui/Clipboard.h"
#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlFileFlightPlanWindow = nullptr;
XPWidgetID ControlIcaoFlightName = nullptr, ControlIcaoFlightNumber = nullptr, ControlDepartureEdit = nullptr,
           ControlArrivalEdit = nullptr;
XPWidgetID ControlTLDep = nullptr, ControlTLArr = nullptr, ControlFlightlevelEdit = nullptr,
           ControlDescentSpeed = nullptr, ControlFlightPlanEdit = nullptr;
XPWidgetID ControlOptionsSIDDiscovery = nullptr, ControlOptionsChooseSid = nullptr,
           ControlOptionsSTARDiscovery = nullptr, ControlOptionsChooseStar = nullptr,
           ControlOptionsVFRDiscovery = nullptr;
XPWidgetID ControlApplyButton = nullptr;
int fileFlightPlanWinIsOpen = 0;

namespace {

const int kRowHeight = 22;
const int kFieldHeight = 18;
/// Longest texts read back from the fields (the route's is larger than the route allowed, so that an
/// over-long route is seen and refused rather than cut).
const int kCodeFieldMax = 16, kNumberFieldMax = 512, kNameFieldMax = 255, kRouteFieldMax = 1024;

/// The text of a field, read into a buffer one larger than max and terminated; a text longer than max
/// comes back as max + 1 characters so that the check sees it is too long.
std::string FlightPlanWindow_text(XPWidgetID field, int max)
{
    std::string buffer((size_t)max + 2, '\0');
    int length = XPGetWidgetDescriptor(field, &buffer[0], max + 1);
    if (length < 0)
        length = 0;
    if (length > max + 1)
        length = max + 1;
    buffer.resize((size_t)length);
    return buffer.substr(0, buffer.find('\0'));
}

int FlightPlanWindow_ticked(XPWidgetID box)
{
    return XPGetWidgetProperty(box, xpProperty_ButtonState, nullptr) != 0 ? 1 : 0;
}

/// A caption at the left of row `row` and, when field is given, a text field right of it.
XPWidgetID FlightPlanWindow_row(int left, int top, int row, const char *caption, const std::string &text,
                                int fieldRight = 415)
{
    int rowTop = top - 30 - row * kRowHeight;
    Utils_CreateCaption(left + 10, rowTop, left + 290, rowTop - kFieldHeight, caption, ControlFileFlightPlanWindow);
    return Utils_CreateTextField(left + 295, rowTop, left + fieldRight, rowTop - kFieldHeight, text.c_str(),
                                 ControlFileFlightPlanWindow);
}

/// A check box and its label from x at row `row`.
XPWidgetID FlightPlanWindow_check(int x, int top, int row, int state, const char *label, int labelWidth)
{
    int rowTop = top - 30 - row * kRowHeight;
    XPWidgetID box = Utils_CreateCheckBox(x, rowTop, x + 20, rowTop - kFieldHeight, state, ControlFileFlightPlanWindow);
    Utils_CreateCaption(x + 22, rowTop, x + 22 + labelWidth, rowTop - kFieldHeight, label, ControlFileFlightPlanWindow);
    return box;
}

FlightPlanForm FlightPlanWindow_form()
{
    FlightPlanForm form;
    form.flightName = FlightPlanWindow_text(ControlIcaoFlightName, kNameFieldMax);
    form.flightNumber = FlightPlanWindow_text(ControlIcaoFlightNumber, kCodeFieldMax);
    form.departure = FlightPlanWindow_text(ControlDepartureEdit, kCodeFieldMax);
    form.arrival = FlightPlanWindow_text(ControlArrivalEdit, kNumberFieldMax);
    form.transDep = FlightPlanWindow_text(ControlTLDep, kNumberFieldMax);
    form.transArr = FlightPlanWindow_text(ControlTLArr, kNumberFieldMax);
    form.flightLevel = FlightPlanWindow_text(ControlFlightlevelEdit, kNumberFieldMax);
    form.descentSpeed = FlightPlanWindow_text(ControlDescentSpeed, kNumberFieldMax);
    form.route = FlightPlanWindow_text(ControlFlightPlanEdit, kRouteFieldMax);
    form.lookForSID = FlightPlanWindow_ticked(ControlOptionsSIDDiscovery);
    form.manualSID = FlightPlanWindow_ticked(ControlOptionsChooseSid);
    form.lookForSTAR = FlightPlanWindow_ticked(ControlOptionsSTARDiscovery);
    form.manualSTAR = FlightPlanWindow_ticked(ControlOptionsChooseStar);
    form.vfr = FlightPlanWindow_ticked(ControlOptionsVFRDiscovery);
    return form;
}

} // namespace

void CreateFileFlightPlanControl(int left, int top, int width, int height)
{
    // One window at a time: an open (or hidden) one is shown and brought to the front, even when its
    // open flag was cleared meanwhile.
    if (ControlFileFlightPlanWindow != nullptr) {
        XPShowWidget(ControlFileFlightPlanWindow);
        XPBringRootWidgetToFront(ControlFileFlightPlanWindow);
        fileFlightPlanWinIsOpen = 1;
        return;
    }
    fileFlightPlanWinIsOpen = 1;

    // The last filing fills the fields; what the files lack comes from the flight as it stands.
    SavedFlightPlan saved;
    FlightPlan_ReadFiles(&saved);
    std::string route = saved.hasPlan ? saved.route : pilotObj.pianoDiVolo;
    std::string arrival = saved.hasPlan ? saved.arrival : pilotObj.arrAirportICAO;
    std::string name = saved.hasName ? saved.name : IcaoFlightName;
    std::string number = saved.hasNumber ? saved.number : IcaoFlightNumber;
    int level = saved.hasLevel ? saved.plannedFL : pilotObj.plannedFL;
    int transDep = saved.hasTransDep ? saved.transDep : gTransLevelFLDep;
    int transArr = saved.hasTransArr ? saved.transArr : gTransLevelFLArr;
    if (route.size() > FLIGHT_PLAN_ROUTE_MAX) {
        PrintInfo("CreateFileFlightPlanControl", "size fp: %i, skipping flight plan field filling...", (int)route.size());
        route.clear();
    }

    int right = left + width, bottom = top - height;
    ControlFileFlightPlanWindow = Utils_CreateMainWindow(left, top, right, bottom, "Control");
    ControlIcaoFlightName = FlightPlanWindow_row(left, top, 0, "Flight Number (eg. AAL 67/Cessna D-IEVX):", name);
    XPSetWidgetProperty(ControlIcaoFlightName, xpProperty_MaxCharacters, FLIGHT_NAME_MAX);
    int rowTop = top - 30;
    ControlIcaoFlightNumber = Utils_CreateTextField(left + 420, rowTop, left + 520, rowTop - kFieldHeight,
                                                    number.c_str(), ControlFileFlightPlanWindow);
    XPSetWidgetProperty(ControlIcaoFlightNumber, xpProperty_MaxCharacters, FLIGHT_NUMBER_MAX);
    ControlDepartureEdit = FlightPlanWindow_row(left, top, 1, "Departure ICAO:", gActualAptICAO);
    ControlArrivalEdit = FlightPlanWindow_row(left, top, 2, "Arrival ICAO (eg. EDDL):", arrival);
    ControlTLDep = FlightPlanWindow_row(left, top, 3, "Departure transition level [feet]:", std::to_string(transDep * 100));
    ControlTLArr = FlightPlanWindow_row(left, top, 4, "Arrival transition level [feet]:", std::to_string(transArr * 100));
    ControlFlightlevelEdit = FlightPlanWindow_row(left, top, 5, "Flightlevel (eg. 320):", std::to_string(level));
    ControlDescentSpeed =
        FlightPlanWindow_row(left, top, 6, "Expected descent vertical speed [fpm]:", std::to_string(tdDescentSpeed));
    rowTop = top - 30 - 7 * kRowHeight;
    Utils_CreateCaption(left + 10, rowTop, left + 290, rowTop - kFieldHeight, "Flightplan:", ControlFileFlightPlanWindow);
    rowTop -= kRowHeight;
    ControlFlightPlanEdit = Utils_CreateTextField(left + 10, rowTop, left + 710, rowTop - kFieldHeight, route.c_str(),
                                                  ControlFileFlightPlanWindow);
    Utils_AttachCutCopyPaste(ControlFlightPlanEdit);
    rowTop -= kRowHeight;
    Utils_CreateCaption(left + 10, rowTop, left + 710, rowTop - kFieldHeight,
                        "Example: BASUM OSN HMM XAMOD (DO NOT file SIDs, STARs or Airports)", ControlFileFlightPlanWindow);
    rowTop -= kRowHeight;
    Utils_CreateCaption(left + 10, rowTop, left + 710, rowTop - kFieldHeight,
                        "Force specific flight level: <waypoint>.FL.<flightlevel> (eg. BASUM.FL.200)",
                        ControlFileFlightPlanWindow);
    ControlOptionsSIDDiscovery = FlightPlanWindow_check(left + 10, top, 11, lookForSID, "Look for SIDs", 100);
    ControlOptionsChooseSid = FlightPlanWindow_check(left + 140, top, 11, manualChooseSID, "Manual select SID", 110);
    ControlOptionsSTARDiscovery = FlightPlanWindow_check(left + 280, top, 11, lookForSTAR, "Look for STARs", 100);
    ControlOptionsChooseStar = FlightPlanWindow_check(left + 410, top, 11, manualChooseSTAR, "Manual select STAR", 120);
    ControlOptionsVFRDiscovery = FlightPlanWindow_check(left + 560, top, 11, pilotObj.vfrFlight, "VFR Flight", 80);
    rowTop = top - 30 - 11 * kRowHeight;
    ControlApplyButton = Utils_CreatePushButton(left + 720, rowTop, left + 840, rowTop - kFieldHeight,
                                                "Insert Flightplan", ControlFileFlightPlanWindow);
    XPAddWidgetCallback(ControlFileFlightPlanWindow, ControlFileFlightPlanHandler);
}

void FlightPlanWindow_Destroy()
{
    Utils_DestroyWindow(&ControlFileFlightPlanWindow);
    fileFlightPlanWinIsOpen = 0;
}

int ControlFileFlightPlanHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        FlightPlanWindow_Destroy();
        return 1;
    }
    if (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == ControlApplyButton) {
        FlightPlan_File(FlightPlanWindow_form(), &pilotObj);
        return 1;
    }
    return 0;
}
