// The monitor's landing steps: the flight counts as airborne from its take-off on, a touchdown near the
// destination starts the landing roll, and a roll slowed below 60 kt ends with the runway vacated. A
// touch-and-go lifts the blocks the touchdown set.
#include "XPLMProcessing.h"
#include "comms/DialogState.h"
#include "comms/PhrasesArrival.h"
#include "monitor/Functions.h"
#include "monitor/MonitorSteps.h"
#include "plugin/Log.h"
#include "state/Hooks.h"

namespace {

const char *const kTag = "NaviCheck_CheckNavigation";
const float kKnotsPerMetreSecond = 1.9438444f;
/// A touchdown this close to the destination point or the landing threshold is the landing, nm.
const float kLandingRadius_nm = 2.0f;

/// Distance from the aircraft to the landing runway's threshold, nm; -1 without a landing runway.
float Landing_thresholdDistance(const pilot *p)
{
    const pilot::runwayStruct &runway = p->arrivalRunwayStruct;
    if (runway.name[0] == '\0' || (runway.lat == 0.0f && runway.lon == 0.0f))
        return -1;
    distanceToCoord d = {0, 0, 0};
    CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, runway.lat, runway.lon, &d, nullptr);
    return d.distance;
}

bool Landing_nearDestination(const pilot *p)
{
    const float toPoint = NaviCheck_DistanceToDestination(p);
    if (p->latDestinazione != 0.0f && toPoint <= kLandingRadius_nm)
        return true;
    const float toThreshold = Landing_thresholdDistance(p);
    return toThreshold >= 0 && toThreshold <= kLandingRadius_nm;
}

void Landing_closeRequestDialog()
{
    RequestDialog_Close();
    dialogIsOpen = 0;
}

} // namespace

bool NaviCheck_LandingRoll(pilot *p, const NaviFrame &frame)
{
    // The arrival steps wait for the take-off: on a short route the top of descent lies on the departure
    // runway.
    if (p->clearedToTakeOff == 1 && p->isOnGround == 0 && !p->decollato) {
        p->decollato = true;
        if (p->orarioDiDecollo == 0)
            p->orarioDiDecollo = frame.now;
    }
    if (p->gTODReached == 1 && p->decollato)
        p->distanzaDestinazioneLinear = NaviCheck_DistanceToDestination(p);
    if (p->datiPilotaImpostati != 1)
        return false;

    if (p->isOnGround == 0 && p->decollato && !p->landedNotified &&
        (p->destroyMissedApproach || p->distruggereFinestraTower)) {
        // Airborne again after a touch-and-go: the tower may be called again.
        PrintInfo(kTag, "Airborne again after a touchdown: missed approach and tower dialogs allowed again");
        p->destroyMissedApproach = false;
        p->distruggereFinestraTower = false;
    }
    if (p->isOnGround == 0 || !p->decollato || p->landedNotified || !Landing_nearDestination(p)) {
        p->orarioAtterraggio = frame.now;
        return false;
    }
    const float sinceTouchdown_s = frame.now - p->orarioAtterraggio;
    const float groundSpeed_kt = p->groundSpeed * kKnotsPerMetreSecond;
    if (sinceTouchdown_s > 12.0f && groundSpeed_kt < 60.0f) {
        PrintInfo(kTag, "Passati 12 secondi (%f), e velocita' sotto ai 60 nodi (%f), lancio handoff", sinceTouchdown_s,
                  groundSpeed_kt);
        p->gTODReached = 1;
        p->distruggereFinestraTower = true;
        p->landedNotified = true;
        p->destroyMissedApproach = true;
        p->gTargetRunwayVacated = 1;
        Landing_closeRequestDialog();
        Tower_RunwayVacatedResponse(p);
        return true;
    }
    if (sinceTouchdown_s > 3.0f && !p->destroyMissedApproach) {
        PrintInfo(kTag, "passati 3 secondi (%f) %f, chiudo finestra missed approach", sinceTouchdown_s, groundSpeed_kt);
        p->destroyMissedApproach = true;
        p->distruggereFinestraTower = true;
        Landing_closeRequestDialog();
    }
    return false;
}
