// The monitor's descent: the ladder of descent steps (15000 or 10000 ft, then 7000, then the approach
// altitude above the destination), the top of descent, and the level calls: the expedite near the end,
// a new level of the plan, and the calls on a deviation from the cleared level.
#include <cmath>

#include "comms/MessageQueue.h"
#include "monitor/Altitude.h"
#include "monitor/Descent.h"
#include "monitor/Functions.h"
#include "monitor/MonitorSteps.h"
#include "monitor/NavigationMonitor.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Hooks.h"
#include "ui/Settings.h"

namespace {

const char *const kTag = "NaviCheck_CheckNavigation";
const float kKnotsPerMetreSecond = 1.9438444f;
/// A descent step that ran waits this long before it runs again (s), as after a waypoint switch.
const float kStepInterval_s = 30;
/// Index of each step's clock in orarioPassiDiscesa.
enum { STEP_FINAL = 0, STEP_7000 = 1, STEP_FIRST = 2 };

int Descent_approachAltitude(const pilot *p)
{
    return p->vfrFlight == 1 ? altezzaApproachVFR : altezzaApproachIFR;
}

bool Descent_stepDue(const pilot *p, int step, float now)
{
    return now - p->orarioPassiDiscesa[step] > kStepInterval_s && now - p->ultimaAnnuncioNuovoFix > kStepInterval_s;
}

void Descent_markArrivalPath(pilot *p, const char *line)
{
    if (!p->percorsoArrivoRichiesto)
        PrintInfo(kTag, "%s", line);
    p->percorsoArrivoRichiesto = true;
}

/// Step 17: the range of the final descent, shorter when obstacles stand near the approach.
int Descent_finalRange(const pilot *p)
{
    const bool vfr = p->vfrFlight == 1;
    const int range = vfr ? 20 : 33;
    if ((float)Descent_approachAltitude(p) + p->altezzaAeroportoArrivo + 1500.0f < (float)p->ostacoloMassimoFt) {
        const int reduced = vfr ? 10 : 23;
        PrintDebug(kTag, "Distanza massima approach ridotta da %i a %i causa ostacoli sul percorso", range, reduced);
        return reduced;
    }
    return range;
}

/// Step 18: the approach altitude.
bool Descent_final(pilot *p, const NaviFrame &frame)
{
    if (p->faseDiscesa >= 3 || !frequenzaLibera || p->QuotaIntercILSAnnunciata ||
        !(p->distanzaDestinazioneTotale > 0 && p->distanzaDestinazioneTotale < Descent_finalRange(p)) ||
        frame.now - p->gAnnounceVerticalChangeTime <= 60.0f || !Descent_stepDue(p, STEP_FINAL, frame.now))
        return false;
    if (!p->ilsPathCreated) {
        Descent_markArrivalPath(p, "Forzo la generazione dell'ILS per i 3000");
        return false;
    }
    p->orarioPassiDiscesa[STEP_FINAL] = frame.now;
    const int approach_ft = Descent_approachAltitude(p);
    if (approach_ft == 0) {
        PrintDebug(kTag, "Skipping last descent call because the approach altitude setting is 0");
        p->gTODReached = 1;
        return false;
    }
    PrintInfo(kTag,
              "Richiamo altezzaApproachVFR/altezzaApproachIFR perche' sotto le 33 miglia dalla destinazione: %i e "
              "mancano meno di 5 waypoint: %i",
              p->distanzaDestinazioneTotale, (int)p->flightPlanVec.size() - p->gActualFlightPlanIndex);
    NaviCheck_impostafaseDiscesa(p, approach_ft, true, true);
    return NaviCheck_CallStarted(frame);
}

/// Step 19: 7000 ft above the destination (6000 VFR), unless the terrain forbids it.
bool Descent_7000(pilot *p, const NaviFrame &frame)
{
    const bool vfr = p->vfrFlight == 1;
    const int target_ft = vfr ? 6000 : 7000;
    const int range_nm = vfr ? 40 : 55;
    if (p->faseDiscesa >= 2 || !frequenzaLibera || p->primaChiamataCenterEffettuataMIA != 1 ||
        !(p->distanzaDestinazioneTotale > 0 && p->distanzaDestinazioneTotale < range_nm) ||
        !Descent_stepDue(p, STEP_7000, frame.now))
        return false;
    if (!p->ilsPathCreated) {
        Descent_markArrivalPath(p, "Forzo la generazione dell'ILS per i 7000");
        return false;
    }
    p->orarioPassiDiscesa[STEP_7000] = frame.now;
    if ((float)p->ostacoloMassimoFt > p->arrivalRunwayStruct.heightft + (float)target_ft) {
        PrintInfo(kTag, "Ostacoli troppo alti (%i) per chiamare la discesa a %i", p->ostacoloMassimoFt, target_ft);
        return false;
    }
    PrintInfo(kTag, "Announce TOD reached. ACF: %s, Target: %i ClearedAlt: %i", p->nomePilota, target_ft, p->clearedFL);
    p->faseDiscesa = 2;
    if ((float)(p->clearedFL * 100) <= (float)target_ft + p->altezzaAeroportoArrivo) {
        PrintInfo(kTag, "Non richiamo la discesa perche' gia' sotto i %i+altAeroporto: %i > %f", target_ft,
                  p->clearedFL * 100, p->altezzaAeroportoArrivo);
        p->gTODReached = 1;
    } else {
        PrintInfo(kTag, "Richiamo 7000 perche' %i e' superiore a: %i +0, e quest'ultima non e' zero ", p->clearedFL * 100,
                  target_ft);
        NaviCheck_impostafaseDiscesa(p, target_ft, true, false);
    }
    return NaviCheck_CallStarted(frame);
}

/// Step 20: close to the destination without a landing runway, the arrival is set up now.
void Descent_nearDestination(pilot *p)
{
    const float d = p->distanzaDestinazioneLinear;
    if (d >= 1 && d <= 69 && p->arrivalRunwayStruct.name[0] == '\0' && !p->ilsPathCreated)
        Descent_markArrivalPath(p, "Forzo la generazione dell'ILS perche siamo gia vicini alla destinazione (meno di 70nm)");
}

/// Step 22: the first descent step at the top of descent: 15000 ft above the destination from a level of
/// 17001 ft or more, 10000 ft from 12001 ft. It does not wait for the arrival path.
bool Descent_first(pilot *p, const NaviFrame &frame)
{
    const pilot::flightPlanLoc *active = NaviCheck_ActiveWaypoint(p);
    if (active == nullptr || p->faseDiscesa >= 1 || !frequenzaLibera || p->primaChiamataCenterEffettuataMIA != 1 ||
        !(p->distanzaRimanenteEsatta >= 1 && p->distanzaRimanenteEsatta < p->distanzaTODEsatta) ||
        !Descent_stepDue(p, STEP_FIRST, frame.now))
        return false;
    const int level_ft = active->fl * 100;
    const int step_ft = level_ft >= 17001 ? 15000 : (level_ft >= 12001 ? 10000 : 0);
    if (step_ft == 0)
        return false;
    if (!p->ilsPathCreated)
        Descent_markArrivalPath(p, step_ft == 15000 ? "Forzo la generazione dell'ILS per i 15000"
                                                    : "Forzo la generazione dell'ILS per i 10000");
    p->orarioPassiDiscesa[STEP_FIRST] = frame.now;
    PrintInfo(kTag, "Announce TOD reached. ACF: %s, Target: %i ClearedAlt: %i", p->nomePilota,
              (int)(p->altezzaAeroportoArrivo + (float)step_ft) / 100, p->clearedFL);
    if (step_ft == 15000)
        StampaPianoDiVoloAttuale(p, true);
    p->faseDiscesa = 1;
    if ((float)level_ft <= p->altezzaAeroportoArrivo + (float)step_ft) {
        PrintInfo(kTag, "Non richiamo la discesa perche' gia' sotto i %i+altAeroporto: %i > %f", step_ft, level_ft,
                  p->altezzaAeroportoArrivo);
        p->gTODReached = 1;
    } else {
        PrintInfo(kTag, "Richiamo %i perche' %i e' superiore a: %i e quest'ultima non e' zero ", step_ft, level_ft,
                  step_ft);
        NaviCheck_impostafaseDiscesa(p, step_ft, true, false);
    }
    return NaviCheck_CallStarted(frame);
}

/// A level call: an emergency is never told to climb.
bool Levels_call(pilot *p, const NaviFrame &frame, const char *line)
{
    if (NaviCheck_EmergencyClimb(p))
        return false;
    PrintInfo(kTag, "%s", line);
    ControlloAltitudine(p, 0);
    return NaviCheck_CallStarted(frame);
}

/// Step 26: the expedite near the end of the route and a new level of the plan (frequency free).
bool Levels_fromPlan(pilot *p, const NaviFrame &frame)
{
    const int remaining = (int)p->flightPlanVec.size() - p->gActualFlightPlanIndex;
    if (remaining < 4 && p->ilsPathCreated && frame.now - p->orarioUltimaEspediteDiscesa > 180.0f &&
        p->gTODReached == 1 && !p->QuotaIntercILSAnnunciata && p->primaChiamataCenterEffettuataMIA == 1 &&
        p->gIsCopiing == 0 && p->distanzaDestinazioneTotale < 32 &&
        p->altitudineFeets > p->altezzaAeroportoArrivo + 9000.0f) {
        p->orarioUltimaEspediteDiscesa = frame.now;
        expedite = 5;
        if (Levels_call(p, frame, "Calling ControlloAltitudine2"))
            return true;
    }
    const pilot::flightPlanLoc *active = NaviCheck_ActiveWaypoint(p);
    if (active == nullptr || active->order == 6 || active->fl == 0 || p->clearedFL == active->fl ||
        p->clearedFL == active->fl * 100 || p->primaChiamataCenterEffettuataMIA != 1)
        return false;
    if (NaviCheck_EmergencyClimb(p))
        return false;
    PrintInfo(kTag, "Nuovo livello di volo trovato: %i, precedente %i", active->fl, p->clearedFL);
    p->nuovaAltitudineAnnunciata = 1;
    expedite = 0;
    return Levels_call(p, frame, "Calling ControlloAltitudine3");
}

/// Step 28: calls on a deviation from the cleared level, and on a growing one.
bool Levels_deviation(pilot *p, const NaviFrame &frame)
{
    const pilot::flightPlanLoc *active = NaviCheck_ActiveWaypoint(p);
    const float deltaNow = std::fabs((float)(p->clearedFL * 100) - p->altitudineFeets);
    // A deviation is called once it has lasted, never on the final approach (where the aircraft leaves its
    // level on the glide path), and never within 180 s of the last level call.
    const bool lasting = NaviCheck_DeviazioneProlungata(p, frame.now);
    const bool quiet = frequenzaLibera && p->frequenzaObiettivo == 0 && !p->HandoffTorreComunicato &&
                       p->primaChiamataCenterEffettuataMIA == 1 && frame.now - p->gAnnounceVerticalChangeTime > 180.0f;
    if (quiet && p->altitudineFeets >= 2001.0f) {
        if (lasting && active != nullptr && deltaNow > (float)(FLTolerance + 50) && std::fabs(p->verticalSpeed) < 300.0f) {
            p->gAnnounceVerticalChangeTime = frame.now;
            PrintInfo(kTag, "Calling because error delta %i is over FLTolerance %i, and vSpeedDelta is %f", (int)deltaNow,
                      FLTolerance, p->verticalSpeed);
            if (Levels_call(p, frame, "Calling ControlloAltitudine4"))
                return true;
        } else if (deltaNow < (float)FLTolerance) {
            expedite = 0;
        }
    }
    if (active != nullptr) {
        const int trend = isClimbOrDescend((int)p->altitudineFeets, active->fl * 100, p->vertDiff);
        if (quiet && lasting && deltaNow > p->previosVerticalDeltaTime && deltaNow > (float)(2 * FLTolerance) && trend != 0 &&
            p->previosVerticalDeltaTime != 0 && deltaNow > 1000.0f) {
            p->gAnnounceVerticalChangeTime = frame.now;
            PrintInfo(kTag, "Entering CheckNavigation4, previosVerticalDeltaTime: %f %f -- deltaNow %i > FLTolerance*2 %i",
                      p->previosVerticalDeltaTime, deltaNow, (int)deltaNow, FLTolerance * 2);
            if (Levels_call(p, frame, "Calling ControlloAltitudine5")) {
                p->previosVerticalDeltaTime = deltaNow;
                return true;
            }
        }
    }
    p->previosVerticalDeltaTime = deltaNow;
    return false;
}

} // namespace

bool NaviCheck_DescentSteps(pilot *p, const NaviFrame &frame)
{
    if (!p->decollato)
        return false;
    if (Descent_final(p, frame) || Descent_7000(p, frame))
        return true;
    Descent_nearDestination(p);
    p->distanzaTODEsatta =
        NaviCheck_DistanzaTOD(p->altitudineFeets, p->altezzaAeroportoArrivo, p->groundSpeed * kKnotsPerMetreSecond);
    p->distanzaTOD = (int)p->distanzaTODEsatta;
    calcolaDistanzaRimanente(p);
    if (Descent_first(p, frame))
        return true;
    if (p->distanzaDestinazioneTotale >= 1 && p->distanzaDestinazioneTotale <= 52)
        p->gTODReached = 1;
    return false;
}

bool NaviCheck_LevelCalls(pilot *p, const NaviFrame &frame)
{
    if (frequenzaLibera && Levels_fromPlan(p, frame))
        return true;
    return Levels_deviation(p, frame);
}
