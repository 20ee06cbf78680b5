// Which request dialog the frame calls for, and keeping the open one as it is while nothing changes: a
// dialog built again every frame would lose the pilot's clicks.
#include "plugin/RequestDialogRules.h"

#include <cstring>

#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "comms/Squawk.h"
#include "planning/ChooseRunwayWindow.h"
#include "planning/FlightPlanWindow.h"
#include "plugin/FacilityNaming.h"
#include "plugin/Log.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"

namespace
{

const int kDialogLeft = 30, kDialogTop = 100;
const RequestDialogKind kNone;
const RequestDialogKind kDelivery = {"Delivery", 160, 80};
const RequestDialogKind kTower = {"Tower", 160, 80};
const RequestDialogKind kGround = {"Ground", 230, 80};
const RequestDialogKind kApproach = {"Approach", 160, 80};
const RequestDialogKind kCenterPickUp = {"Center", 160, 80};
const RequestDialogKind kCenter = {"Center", 240, 65};

/// The COM1 frequency the open dialog was built on.
double gDialogFrequency = 0;

/// Nothing holds the radio: no read-back awaited, no exchange, no hand-over to complete, nothing queued
/// or on the air.
bool Rules_radioFree(const pilot &r, float now)
{
    return readbackWinIsOpen == 0 && r.gIsCopiing == 0 && gIsCopiing == 0 && r.frequenzaObiettivo == 0 &&
           queue.empty() && !(frequencyBusyUntil != 0 && now < frequencyBusyUntil);
}

/// No choice window (runway, SID, STAR) nor the flight plan window is waiting for the pilot.
bool Rules_screenFree()
{
    return ControlChooseRwyWin == nullptr && ControlChooseSidWin == nullptr && ControlChooseStarWin == nullptr &&
           fileFlightPlanWinIsOpen == 0;
}

/// The cockpit squawk is the assigned one, or it need not be.
bool Rules_squawkSet(const pilot &r)
{
    return checkSquawkCode != 1 || r.datiPilotaImpostati != 1 || CodiceSquawk() == r.transponder;
}

bool Rules_groundWanted(const pilot &r)
{
    const int start = r.gIsEngStartApproved, pushed = r.gIsPBApproved, taxi = r.gIsTaxiingApproved;
    const int engine = r.engineRunning;
    const bool departing = (start == 0 && engine == 0) || (start == 0 && engine == 1 && pushed == 0) ||
                           (start == 0 && engine == 1 && pushed == 1 && taxi == 0) || (start == 1 && pushed == 0) ||
                           (start == 1 && pushed == 1 && taxi == 0);
    const bool arrived = r.clearedToLand == 1 && r.gTargetRunwayVacated == 1 && r.gParkingStruct.id == 0 &&
                         !r.serviceTerminated;
    return r.gIsIFRCleared == 1 && (departing || arrived) && Rules_squawkSet(r);
}

/// The departure waits on the holding point (or at an airport whose tower is its only controller), or the
/// arrival has its landing information and is still on the runway or before it.
bool Rules_towerSituation(const pilot &r)
{
    const Parser &dep = r.parser;
    const bool departure = (r.isOnHoldingPoint == 1 || (dep.groundFrequency == 0 && dep.deliveryFrequency == 0)) &&
                           r.clearedToTakeOff == 0;
    const bool arrival = (r.cicloCenter == 1 || r.cicloApproach == 1) && r.informazioniDiAtterraggioComunicate == 1 &&
                         r.gTargetRunwayVacated == 0 && r.clearedToTakeOff == 1;
    return (departure || arrival) && !r.landedNotified;
}

bool Rules_towerWanted(const pilot &r)
{
    const bool airborne = r.isOnGround == 0;
    if (!Rules_squawkSet(r) || r.distruggereFinestraTower || r.destroyMissedApproach)
        return false;
    const bool informed = r.informazioniDiAtterraggioComunicate == 1;
    const bool phaseFits = (informed && airborne) || (!informed && !airborne);
    if (r.primaChiamataCenterEffettuata == 1)
        return r.HandoffTorreComunicato && phaseFits;
    return r.engineRunning == 1 && phaseFits;
}

} // namespace

RequestDialogKind FrameDriver_WantedDialog(const pilot &r, float now)
{
    if (!Rules_radioFree(r, now) || !Rules_screenFree())
        return kNone;
    // The flags first: names and frequency lists are compared only when they decide.
    const std::string &facility = r.gActualFrequencyName;
    const double f = r.gActualFrequency;
    const bool airborne = r.isOnGround == 0;
    const bool centreTuned = r.frequenzaCenter != 0 && f == r.frequenzaCenter;
    const bool cleared = r.gIsIFRCleared == 1;

    if (centreTuned && airborne && !cleared)
        return kCenterPickUp; // a clearance asked for in the air
    if (!airborne && !cleared && facility == "DELIVERY")
        return Radio_isTunedAny(f, r.parser.deliveryFrequency, r.parser.deliveryFrequencies) ? kDelivery : kTower;
    if (!airborne && cleared && facility == "GROUND" && Rules_groundWanted(r))
        return kGround;
    const Parser &arr = r.targetAirport;
    if (r.primaChiamataApproachEffettuata == 0 && r.cicloApproach == 1 && r.clearedToTakeOff == 1 &&
        Radio_isTunedAny(f, arr.approachFrequency, arr.approachFrequencies))
        return kApproach;
    if ((centreTuned || switchToCenter == 1) && r.clearedToTakeOff == 1 && r.primaChiamataCenterEffettuata == 0 &&
        r.cicloApproach == 0 && airborne && !r.HandoffTorreComunicato)
        return kCenter;
    if (!Rules_towerSituation(r))
        return kNone;
    const bool towerTuned = Radio_isTunedAny(f, r.parser.towerFrequency, r.parser.towerFrequencies) ||
                            Radio_isTunedAny(f, arr.towerFrequency, arr.towerFrequencies);
    return towerTuned && Rules_towerWanted(r) ? kTower : kNone;
}

void FrameDriver_ReadbackCommand()
{
    if (readBackCustomCommand == 0)
        return;
    readBackCustomCommand = 0;
    ReadbackWindow_Readback();
    PrintDebug("FrameDriver_ReadbackCommand", "readBackCustomCommand resetted");
}

void FrameDriver_ManageRequestDialog(pilot &record, float now)
{
    const RequestDialogKind wanted = FrameDriver_WantedDialog(record, now);
    const unsigned buttons = wanted.title != nullptr ? RequestDialog_Buttons(record, true) : 0;
    if (ControlDialogWindow != nullptr) {
        const bool same = record.gActualFrequency == gDialogFrequency && buttons != 0 &&
                          buttons == RequestDialog_OpenButtons() &&
                          strcmp(wanted.title, RequestDialog_OpenTitle()) == 0;
        if (same)
            return;
        RequestDialog_Close();
    }
    if (buttons == 0)
        return;
    PrintDebug("FrameDriver_ManageRequestDialog", "%s dialog opened on COM1 %.0f", wanted.title,
               record.gActualFrequency);
    CreateDialogControl(kDialogLeft, kDialogTop, wanted.width, wanted.height, wanted.title);
    gDialogFrequency = record.gActualFrequency;
}
