// The request dialog: which calls the flight may make now, the window that offers them, and what each
// button starts.
#include "comms/RequestDialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "XPStandardWidgets.h"
#include "comms/DialogState.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesTower.h"
#include "planning/FlightPlanWindow.h"
#include "plugin/FacilityNaming.h"
#include "plugin/Log.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlDialogWindow = nullptr;
XPWidgetID OpenFileFlightPlanDialogBtn = nullptr, RequestIFRBtn = nullptr, RequestEngStartBtn = nullptr,
           RequestEngStartAndPushBackBtn = nullptr, RequestPBBtn = nullptr, RequestTaxiBtn = nullptr,
           GroundInitialCallBtn = nullptr, RequestTakeOffBtn = nullptr, TowerInitialBtn = nullptr,
           TowerMissedApproachBtn = nullptr, CenterInitialBtn = nullptr, ApproachInitialBtn = nullptr;

namespace
{

const char *const kTag = "ControlDialogHandler";
/// Where and how large the flight plan window opens.
const int kFlightPlanLeft = 100, kFlightPlanTop = 550, kFlightPlanWidth = 850, kFlightPlanHeight = 360;
/// Button widths: the single-call buttons, the ground requests, the centre's named call.
const int kNarrowButton = 140, kGroundButton = 210, kCenterButton = 220;

unsigned gOpenButtons = 0;
char gOpenTitle[16] = "";

/// One button of the dialog: its flag, its handle, its width and what pressing it starts.
struct ButtonEntry {
    RequestButton flag;
    XPWidgetID *handle;
    int width;
    void (*press)(pilot *record);
};

void Request_fileFlightPlan(pilot *record)
{
    if (record->gIsFPFiled != 0)
        return;
    PrintInfo(kTag, "Calling CreateFileFlightPlanControl");
    CreateFileFlightPlanControl(kFlightPlanLeft, kFlightPlanTop, kFlightPlanWidth, kFlightPlanHeight);
}

void Request_clearance(pilot *record)
{
    if (record->gIsIFRCleared != 0)
        return;
    PrintInfo(kTag, "Btn rqst IFR clearance...");
    FlightPlanning_RequestIFRClearance(record);
}

void Request_taxi(pilot *record)
{
    // Asking for taxi counts as having pushed back.
    record->gIsPBApproved = 1;
    gIsPBApproved = 1;
    Ground_RequestTaxi(record);
}

// In the dialog's order, top to bottom.
const ButtonEntry kButtons[] = {
    {REQUEST_FILE_FLIGHT_PLAN, &OpenFileFlightPlanDialogBtn, kNarrowButton, Request_fileFlightPlan},
    {REQUEST_CLEARANCE, &RequestIFRBtn, kNarrowButton, Request_clearance},
    {REQUEST_ENGINE_STARTUP, &RequestEngStartBtn, kGroundButton, Ground_RequestEngineStartup},
    {REQUEST_STARTUP_AND_PUSHBACK, &RequestEngStartAndPushBackBtn, kGroundButton,
     Ground_RequestEngineStartupAndPushback},
    {REQUEST_PUSHBACK, &RequestPBBtn, kGroundButton, Ground_RequestPushback},
    {REQUEST_TAXI, &RequestTaxiBtn, kGroundButton, Request_taxi},
    {REQUEST_GROUND_INITIAL_CALL, &GroundInitialCallBtn, kGroundButton, Ground_InitialCall},
    {REQUEST_TAKEOFF, &RequestTakeOffBtn, kNarrowButton, Takeoff_RequestTakeOff},
    {REQUEST_TOWER_INITIAL_CALL, &TowerInitialBtn, kNarrowButton, TowerArrival_InitialCall},
    {REQUEST_MISSED_APPROACH, &TowerMissedApproachBtn, kNarrowButton, Tower_MissedApproach},
    {REQUEST_CENTER_INITIAL_CALL, &CenterInitialBtn, kCenterButton, CenterInitialCall},
    {REQUEST_APPROACH_INITIAL_CALL, &ApproachInitialBtn, kNarrowButton, ApproachInitialCall},
};

/// The label of a button; the centre's call carries the centre's name.
std::string Request_label(const pilot &r, RequestButton flag)
{
    switch (flag) {
    case REQUEST_FILE_FLIGHT_PLAN: return "File flight plan";
    case REQUEST_CLEARANCE: return r.vfrFlight == 1 ? "Request VFR Clearance" : "Request IFR Clearance";
    case REQUEST_ENGINE_STARTUP: return "Request engine startup";
    case REQUEST_STARTUP_AND_PUSHBACK: return "Request engine startup and pushback";
    case REQUEST_PUSHBACK: return "Request pushback";
    case REQUEST_TAXI: return "Request taxi";
    case REQUEST_GROUND_INITIAL_CALL: return "Ground initial call";
    case REQUEST_TAKEOFF: return "Request Takeoff";
    case REQUEST_TOWER_INITIAL_CALL: return "Tower initial call";
    case REQUEST_MISSED_APPROACH: return "Report missed approach";
    case REQUEST_CENTER_INITIAL_CALL: return std::string(r.nomeCenter) + " initial call";
    case REQUEST_APPROACH_INITIAL_CALL: return "Approach initial call";
    }
    return "";
}

/// The ground requests of a departure (engine start-up, push-back, taxi), and the arrival's first call
/// to ground.
unsigned Request_groundButtons(const pilot &r, bool sidReady)
{
    const double f = r.gActualFrequency;
    unsigned buttons = 0;
    // Asked of ground controllers only: in the air none of them means anything.
    if (r.isOnGround == 1) {
        if (r.gIsEngStartApproved == 0 && sidReady && r.clearedToTakeOff == 0)
            buttons |= REQUEST_ENGINE_STARTUP | REQUEST_STARTUP_AND_PUSHBACK;
        if (r.gIsEngStartApproved == 1 && r.gIsPBApproved == 0 && sidReady && r.isOnHoldingPoint == 0)
            buttons |= REQUEST_PUSHBACK;
        if (r.gIsEngStartApproved == 1 && r.isOnHoldingPoint == 0 && r.gIsTaxiingApproved == 0)
            buttons |= REQUEST_TAXI;
    }
    // The flags first: the frequency lists are searched only when they decide.
    const Parser &dep = r.parser, &arr = r.targetAirport;
    const bool arrivalDone = r.gTargetRunwayVacated == 1 && (r.cicloCenter == 1 || r.cicloApproach == 1) &&
                             r.clearedToLand == 1 && r.gParkingStruct.id == 0;
    if ((arrivalDone && sidReady && Radio_isTunedAny(f, dep.groundFrequency, dep.groundFrequencies)) ||
        (r.HandoffTorreComunicato && r.isOnGround == 1 &&
         Radio_isTunedAny(f, arr.groundFrequency, arr.groundFrequencies)))
        buttons |= REQUEST_GROUND_INITIAL_CALL;
    return buttons;
}

unsigned Request_towerButtons(const pilot &r, bool sidReady)
{
    const double f = r.gActualFrequency;
    auto departureTower = [&] { return Radio_isTunedAny(f, r.parser.towerFrequency, r.parser.towerFrequencies); };
    auto arrivalTower = [&] {
        return Radio_isTunedAny(f, r.targetAirport.towerFrequency, r.targetAirport.towerFrequencies);
    };
    unsigned buttons = 0;
    if (sidReady && r.isOnHoldingPoint == 1 && r.clearedToTakeOff == 0 && departureTower())
        buttons |= REQUEST_TAKEOFF;
    const bool arriving = r.HandoffTorreComunicato || r.gTargetAirportTowerInitialCallDone == 1;
    if (arriving && (departureTower() || arrivalTower())) {
        if (r.HandoffTorreComunicato && r.gTargetAirportTowerInitialCallDone == 0 && r.clearedToTakeOff == 1 &&
            !r.landedNotified) {
            PrintDebug("CreateDialogControl", "Button shown: Tower initial call");
            buttons |= REQUEST_TOWER_INITIAL_CALL;
        }
        if (r.gTargetAirportTowerInitialCallDone == 1 && r.gTargetRunwayVacated == 0 && !r.landedNotified)
            buttons |= REQUEST_MISSED_APPROACH;
    }
    return buttons;
}

void Request_forgetButtons()
{
    for (const ButtonEntry &entry : kButtons)
        *entry.handle = nullptr;
    gOpenButtons = 0;
    gOpenTitle[0] = '\0';
}

} // namespace

unsigned RequestDialog_Buttons(const pilot &r, bool radioFree)
{
    if (r.gIsFPFiled == 0)
        return REQUEST_FILE_FLIGHT_PLAN;
    const bool sidReady = r.sidSelezionata || lookForSID == 0;
    if (radioFree && r.gIsIFRCleared == 0 && sidReady)
        return REQUEST_CLEARANCE;
    unsigned buttons = Request_groundButtons(r, sidReady) | Request_towerButtons(r, sidReady);
    const double f = r.gActualFrequency;
    if (r.frequenzaCenter != 0 && f == r.frequenzaCenter && r.primaChiamataCenterEffettuata == 0 &&
        r.clearedToTakeOff == 1)
        buttons |= REQUEST_CENTER_INITIAL_CALL;
    const Parser &arr = r.targetAirport;
    if (r.cicloApproach == 1 && r.primaChiamataApproachEffettuata == 0 &&
        Radio_isTunedAny(f, arr.approachFrequency, arr.approachFrequencies))
        buttons |= REQUEST_APPROACH_INITIAL_CALL;
    return buttons;
}

void CreateDialogControl(int left, int top, int width, int height, const char *title)
{
    RequestDialog_Close();
    const pilot &r = pilotObj;
    const unsigned buttons = RequestDialog_Buttons(r, true);
    int rows = 0;
    for (const ButtonEntry &entry : kButtons)
        rows += (buttons & entry.flag) != 0 ? 1 : 0;
    Dialog_OpeningPosition(&left, &top);
    height = Dialog_HeightForRows(rows, height);
    ControlDialogWindow = Utils_CreateMainWindow(left, top, left + width, top - height, title);
    int row = 0;
    for (const ButtonEntry &entry : kButtons) {
        if ((buttons & entry.flag) == 0)
            continue;
        const std::string label = Request_label(r, entry.flag);
        *entry.handle = Dialog_CreateRowButton(ControlDialogWindow, left, top, row++, entry.width, label.c_str());
    }
    if ((buttons & REQUEST_CENTER_INITIAL_CALL) != 0)
        PrintDebug("CreateDialogControl", "gActualFrequency, pilotObj.frequenzaCenter %f %f", r.gActualFrequency,
                   r.frequenzaCenter);
    gOpenButtons = buttons;
    snprintf(gOpenTitle, sizeof gOpenTitle, "%s", title != nullptr ? title : "");
    dialogIsOpen = 1;
    XPAddWidgetCallback(ControlDialogWindow, ControlDialogHandler);
}

void RequestDialog_Close()
{
    if (ControlDialogWindow != nullptr) {
        Dialog_RememberPosition(ControlDialogWindow);
        Utils_DestroyWindow(&ControlDialogWindow);
    }
    Request_forgetButtons();
    dialogIsOpen = 0;
}

unsigned RequestDialog_OpenButtons()
{
    return ControlDialogWindow != nullptr ? gOpenButtons : 0;
}

const char *RequestDialog_OpenTitle()
{
    return gOpenTitle;
}

int ControlDialogHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        RequestDialog_Close();
        return 1;
    }
    if (message != xpMsg_PushButtonPressed)
        return 0;
    for (const ButtonEntry &entry : kButtons) {
        if (*entry.handle == nullptr || *entry.handle != (XPWidgetID)param1)
            continue;
        // The dialog goes before the exchange starts: the call may open other windows.
        RequestDialog_Close();
        entry.press(&pilotObj);
        return 1;
    }
    return 0;
}
