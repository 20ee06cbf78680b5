// The monitor's frame: the simulator values it reads, the squawk check, the turn samples, the hand-overs
// to the first and the next area controller and the terrain refresh, then the descent, arrival and
// landing steps of the other files of the monitor, and waypoint sequencing last.
#include "monitor/NavigationMonitor.h"

#include <cmath>
#include <cstdlib>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesHandOver.h"
#include "comms/PhrasesSpecial.h"
#include "comms/Squawk.h"
#include "monitor/Functions.h"
#include "monitor/Descent.h"
#include "monitor/HeadingVectors.h"
#include "monitor/MonitorSteps.h"
#include "monitor/Terrain.h"
#include "monitor/WaypointSequencing.h"
#include "navdata/CenterFrequency.h"
#include "plugin/Log.h"
#include "plugin/SimDataRefs.h"
#include "speech/AzureTTS.h"
#include "state/FlightGlobals.h"
#include "state/Hooks.h"
#include "ui/Settings.h"

namespace {

const char *const kTag = "NaviCheck_CheckNavigation";
const float kKnotsPerMetreSecond = 1.9438444f;
/// Below this the descent rate setting is no rate at all.
const int kDefaultDescentRate_fpm = 1500;
/// Seconds between two squawk reminders, and between two looks for the next area controller.
const float kSquawkInterval_s = 240, kCenterLookupInterval_s = 130;

/// The IXEG 737's annunciators: another add-on's datarefs, looked for once per flight.
XPLMDataRef gIxegVnavRef = nullptr, gIxegLnavRef = nullptr;

void NaviCheck_findIxeg(pilot *p)
{
    if (p->datarefIxegCercati)
        return;
    p->datarefIxegCercati = true;
    gIxegVnavRef = XPLMFindDataRef("ixeg/733/MCP/mcp_vnav_ann");
    gIxegLnavRef = XPLMFindDataRef("ixeg/733/MCP/mcp_lnav_ann");
}

float NaviCheck_finite(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

/// Step 2: the values of the simulator only the monitor reads, bounded before they become integers.
void NaviCheck_readSimulator(pilot *p)
{
    NaviCheck_findIxeg(p);
    p->statoVNAV_IXEG = gIxegVnavRef != nullptr ? NaviCheck_finite(XPLMGetDataf(gIxegVnavRef)) : 0.0f;
    p->statoLNAV_IXEG = gIxegLnavRef != nullptr ? NaviCheck_finite(XPLMGetDataf(gIxegLnavRef)) : 0.0f;
    const float tas = XPLMGetDataf(gIndicatedTrueAirspeedUserAcfRef);
    p->trueAirspeed = std::isfinite(tas) && tas >= 0 && tas < 1000 ? tas : 0.0f;
    p->velocitaVento = NaviCheck_BoundedInt(XPLMGetDataf(gWindSpeedRef), 0, 300, 0);
    float direction = XPLMGetDataf(gWindHeadingRef);
    direction = std::isfinite(direction) ? std::fmod(std::fmod(direction, 360.0f) + 360.0f, 360.0f) : 0.0f;
    p->windHeading = NaviCheck_BoundedInt(direction, 0, 359, 0);
    p->statoAutopilotaAdesso = XPLMGetDatai(gVNavAutopilotStateRef);
}

/// Step 8: a transponder that differs from the assigned code is pointed out, at most every 240 s.
bool NaviCheck_squawk(pilot *p, const NaviFrame &frame)
{
    if (gIsCopiing != 0 || p->gIsIFRCleared != 1 || checkSquawkCode != 1)
        return false;
    if (p->transponder == 0 || CodiceSquawk() == p->transponder || p->datiPilotaImpostati != 1 ||
        p->clearedToLand != 0 || p->engineRunning != 1 || !frequenzaLibera ||
        frame.now - p->orarioControlloSquawk <= kSquawkInterval_s)
        return false;
    p->orarioControlloSquawk = frame.now;
    AnnounceSquawkIncorrect(p);
    return NaviCheck_CallStarted(frame);
}

/// Step 9: degrees turned in about a second, sampled every four.
void NaviCheck_turnSamples(pilot *p, float now)
{
    if (now - p->orarioCampioneVirata > 4.0f) {
        p->angoloDiVirata = calcolaDifferenzaTraAngoli(p->headingAttuale, p->HeadingPrecedente);
        p->orarioCampioneVirata = now;
        p->orarioCampioneHeading = now;
    }
    if (now - p->orarioCampioneHeading > 1.0f) {
        p->HeadingPrecedente = p->headingAttuale;
        p->orarioCampioneHeading = now;
    }
}

/// Step 13: the departure tower hands the climbing flight to the first area controller.
bool NaviCheck_firstEnRouteCall(pilot *p)
{
    const float margin_ft = p->vfrFlight == 1 ? 100.0f : 500.0f;
    if (p->cicloApproach != 0 || !frequenzaLibera || p->primaChiamataApproachEffettuata != 0 || p->cicloCenter != 0 ||
        p->gActualFrequency != p->parser.towerFrequency || p->gActualFrequency == 0 ||
        p->altitudineFeets <= p->departureRunwayStruct.heightft + margin_ft || p->primaChiamataCenterEffettuata != 0 ||
        p->frequenzaObiettivo != 0 || p->HandoffTorreComunicato || p->isOnGround != 0)
        return false;
    PrintInfo(kTag, "HandOverCenter");
    HandOverCenter(p);
    return true;
}

/// Step 14: the next area controller, looked up at most every 130 s.
bool NaviCheck_nextSector(pilot *p, const NaviFrame &frame)
{
    const char *failing = nullptr;
    if (p->primaChiamataCenterEffettuataMIA != 1)
        failing = "primaChiamataCenterEffettuataMIA";
    else if (p->HandoffTorreComunicato)
        failing = "HandoffTorreComunicato";
    else if (p->cicloApproach != 0)
        failing = "cicloApproach";
    else if (p->frequenzaObiettivo != 0)
        failing = "frequenzaObiettivo";
    else if (!frequenzaLibera)
        failing = "frequenzaLibera";
    if (failing != nullptr) {
        PrintDebug(kTag, "HandOver Center DEBUG ######: %s", failing);
        return false;
    }
    // Radio_settaFrequenzaCenter stamps ultimaRicercaCenter: the one clock of the lookup.
    if (frame.now - (float)p->ultimaRicercaCenter <= kCenterLookupInterval_s)
        return false;
    PrintDebug(kTag, "En-route distance to the arrival procedures: %i nm", (int)GetDistanceToTarget(p));
    const double before = p->frequenzaCenter;
    Radio_settaFrequenzaCenter(p);
    if (p->frequenzaCenter == before)
        return false;
    p->gIsCopiing = 1;
    PrintInfo(kTag, "HandOverCenter2");
    HandOverCenter(p);
    return true;
}

/// Step 15: the highest terrain of the remaining route.
void NaviCheck_obstacles(pilot *p, const NaviFrame &frame)
{
    const bool near = p->distanzaDestinazioneTotale < 61;
    const int period_s = near ? 15 : 60;
    const float step_nm = near ? 0.15f : 0.25f;
    CalcolaAltezzaOstacoli_Continua(p); // a scan longer than a frame's share of probes goes on
    if (p->primaChiamataCenterEffettuataMIA != 1 || p->datiPilotaImpostati != 1 || checkGroundElevation != 1 ||
        (int)frame.now - p->orarioUltimoOstacoli <= period_s || p->HandoffTorreComunicato)
        return;
    PrintInfo(kTag, "ostacoloMassimoFt %i. Frequenza di aggiornamento %i. Step aggiornamento %f", p->ostacoloMassimoFt,
              period_s, step_nm);
    p->ostacoloMassimoFt = CalcolaAltezzaOstacoliPercorso(p, step_nm);
    p->orarioUltimoOstacoli = (int)frame.now;
}

/// An emergency keeps its levels at or below the altitude it was declared at.
void NaviCheck_emergencyLevels(pilot *p)
{
    if (!p->inEmergenza)
        return;
    if (p->altezzaEmergenzaFt == 0)
        p->altezzaEmergenzaFt = std::max(100, (int)p->altitudineFeets / 100 * 100);
    const int cap = p->altezzaEmergenzaFt / 100;
    for (size_t i = (size_t)std::max(0, p->gActualFlightPlanIndex); i < p->flightPlanVec.size(); i++)
        if (p->flightPlanVec[i].fl > cap)
            p->flightPlanVec[i].fl = cap;
}

} // namespace

// MARK: shared helpers

const pilot::flightPlanLoc *NaviCheck_ActiveWaypoint(const pilot *p)
{
    if (p == nullptr || p->gActualFlightPlanIndex < 0 || p->gActualFlightPlanIndex >= (int)p->flightPlanVec.size())
        return nullptr;
    return &p->flightPlanVec[(size_t)p->gActualFlightPlanIndex];
}

int NaviCheck_DescentRate()
{
    if (tdDescentSpeed < kDescentRateMin_fpm)
        return kDefaultDescentRate_fpm;
    return tdDescentSpeed > kDescentRateMax_fpm ? kDescentRateMax_fpm : tdDescentSpeed;
}

float NaviCheck_DistanzaTOD(float altitude_ft, float elevation_ft, float groundSpeed_kt)
{
    const float height_ft = altitude_ft - elevation_ft;
    if (!(height_ft > 0) || !(groundSpeed_kt > 0))
        return 0;
    const float minutes = height_ft / (float)NaviCheck_DescentRate() + 1.0f;
    return minutes * groundSpeed_kt / 60.0f;
}

bool NaviCheck_CallStarted(const NaviFrame &frame)
{
    return queue.size() > frame.queuedAtStart;
}

int NaviCheck_BoundedInt(float value, int lo, int hi, int fallback)
{
    if (!std::isfinite(value) || value < (float)lo || value > (float)hi)
        return fallback;
    return (int)value;
}

bool NaviCheck_EmergencyClimb(const pilot *p)
{
    const pilot::flightPlanLoc *active = NaviCheck_ActiveWaypoint(p);
    return p->inEmergenza && active != nullptr && (float)active->fl * 100.0f > p->altitudineFeets + (float)FLTolerance;
}

// MARK: the frame

void NaviCheck_CheckNavigation(pilot *p)
{
    if (p == nullptr)
        return;
    NaviFrame frame;
    frame.now = XPLMGetElapsedTime();
    frame.queuedAtStart = queue.size();

    AzureTTS_KeepTokenAlive();
    NaviCheck_readSimulator(p);

    // The skip button belongs to a pending vector: cleared only once nothing is pending.
    if (p->gIsCopiing == 0 && queue.empty())
        gShowSkipFix = 0;
    if (p->primaChiamataCenterEffettuataMIA == 0) {
        const int tas_kt = NaviCheck_BoundedInt(p->trueAirspeed * kKnotsPerMetreSecond, 0, 2000, 0);
        if (tas_kt > p->velocitaMassimaRaggiunta)
            p->velocitaMassimaRaggiunta = tas_kt;
    }

    // Once the service has ended (IFR cancelled, or parked) no controller follows the flight any more.
    if (p->gIsFPFiled == 0 || p->flightPlanVec.empty() || p->serviceTerminated)
        return;
    // The destination point is looked up once per arrival airport; its distance is wanted by the landing
    // steps below as well as by the arrival steps.
    NaviCheck_DestinationPoint(p);
    if (p->totalTrip == 0)
        p->totalTrip = (int)p->distanzaDestinazioneLinear;

    if (NaviCheck_squawk(p, frame))
        return;
    NaviCheck_turnSamples(p, frame.now);
    if (NaviCheck_LandingRoll(p, frame))
        return;
    if (p->gActualFrequencyName.empty() || p->clearedToTakeOff == 0)
        return;

    if (NaviCheck_firstEnRouteCall(p) || NaviCheck_nextSector(p, frame))
        return;
    NaviCheck_obstacles(p, frame);
    NaviCheck_emergencyLevels(p);
    const pilot::flightPlanLoc *active = NaviCheck_ActiveWaypoint(p);
    if (p->primaChiamataCenterEffettuata == 1 && active != nullptr)
        p->errorDelta = (int16_t)std::min(32767.0f, std::fabs(p->altitudineFeets - (float)active->fl * 100.0f));

    if (NaviCheck_DescentSteps(p, frame) || NaviCheck_ArrivalCalls(p, frame) || NaviCheck_LevelCalls(p, frame))
        return;
    NaviCheck_SpeedAdvicePermission(p, frame);
    if (NaviCheck_ClearedToLand(p, frame))
        return;
    if (p->primaChiamataCenterEffettuataMIA != 1)
        return;
    if (NaviCheck_ArrivalSetUp(p, frame))
        return;
    // The sequencing measures the heading to the active waypoint itself (CalcolaHeadingError).
    NaviCheck_WaypointSequencing(p);
}
