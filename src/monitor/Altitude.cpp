// Altitude clearances: the verb from the direction and the escalation, the phrase form from the flight's
// state, and the read-back the pilot gives.
#include "monitor/Altitude.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "XPLMProcessing.h"
#include "comms/PhraseCommon.h"
#include "comms/RadioTexts.h"
#include "monitor/Functions.h"
#include "monitor/HeadingVectors.h"
#include "monitor/LevelText.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

const char *kTag = "ControlloAltitudine";
/// Deviation warnings in a row before the controller stops repeating them.
const int kMaxDeviationWarnings = 20;
/// Below this heading error no heading goes with the clearance.
const float kSilentHeadingError_deg = 2.5f;

/// "turn <side> heading #hhh#, " when a heading goes with the clearance, else "".
std::string Altitude_headingPrefix(pilot *p, int forzaHeading)
{
    if (p->autopilotaRilevato) {
        PrintDebug(kTag, "ControlloAltitudine - entering function - silencing heading because autopilot");
        return "";
    }
    CalcolaHeadingError(p);
    if (p->headingError < kSilentHeadingError_deg) {
        PrintDebug(kTag, "ControlloAltitudine - silencing heading because headingError %f < 2.5f", p->headingError);
        return "";
    }
    if (p->headingError > (float)maxHeadingError)
        PrintDebug(kTag, "ControlloAltitudine - forcing heading in because headingError %f < maxHeadingError %i",
                   p->headingError, maxHeadingError);
    else if (forzaHeading != 1)
        return "";
    int h = (int)p->headingTarget;
    const char *side = p->direzioneVirataStringa.c_str();
    if (!preciseHeading) {
        h = (h + 2) / 5 * 5;
        side = GetLeftRightDirectionStringa(p->headingAttuale, (float)h);
        PrintDebug(kTag, "ControlloAltitudine - Heading rounded from %f to %i", p->headingTarget, h);
    }
    const float now = XPLMGetElapsedTime();
    p->orarioUltimoHeading = now;
    p->orarioUltimaIstruzione = now;
    return std::string("turn ") + side + " heading #" + FormatHeading(h, 3) + "#, ";
}

/// Whether one of the waypoints after the active one has another level than it; its level then.
bool Altitude_nextLevel(const pilot *p, size_t active, int &level)
{
    for (size_t i = active + 1; i < p->flightPlanVec.size(); i++)
        if (p->flightPlanVec[i].fl != p->flightPlanVec[active].fl) {
            level = p->flightPlanVec[i].fl;
            return true;
        }
    return false;
}

/// One time in fifteen, from a generator seeded from the clock.
bool Altitude_oneInFifteen()
{
    static std::minstd_rand generator((unsigned)time(nullptr));
    return generator() % 15 == 0;
}

} // namespace

int isClimbOrDescend(int current, int target, int trend)
{
    (void)trend;
    if (current + FLTolerance < target)
        return -1;
    if (current - FLTolerance > target)
        return 1;
    return 0;
}

void ControlloAltitudine(pilot *record, int forzaHeading)
{
    pilot *p = record;
    const std::vector<pilot::flightPlanLoc> &plan = p->flightPlanVec;
    if (plan.empty()) {
        PrintDebug(kTag, "ControlloAltitudine - no waypoint ahead, no clearance");
        return;
    }
    // Past the end of the plan the last waypoint's level holds.
    const size_t active = (size_t)std::min(std::max(p->gActualFlightPlanIndex, 0), (int)plan.size() - 1);
    const int activeFl = plan[active].fl;
    const int altitude = (int)p->altitudineFeets;
    const int climbSink = isClimbOrDescend(altitude, activeFl * 100, p->vertDiff);
    if (climbSink == -1 && p->inEmergenza) {
        PrintDebug(kTag, "returning from controllaltitudine as CLIMB on EMERGENCY");
        return;
    }

    const std::string prefix = Altitude_headingPrefix(p, forzaHeading);
    const float now = XPLMGetElapsedTime();
    p->gIsCopiing = 1;
    gIsCopiingSince = now;
    p->gAnnounceVerticalChangeTime = now;
    p->vertDiff = std::abs(altitude / 100 - p->plannedFL);

    int delta = std::min(std::abs(altitude - activeFl * 100), (int)INT16_MAX);
    PrintDebug(kTag, "error delta prima dell'arrotondamento: %i", delta);
    if ((delta > 100 && delta < 1000) || delta > 1000)
        delta = delta / 100 * 100;
    p->errorDelta = (int16_t)delta;
    PrintDebug(kTag, "error delta dopo l'arrotondamento: %i", delta);

    // A deviation is the aircraft leaving a level it was cleared to; a level it was not cleared to yet is a
    // new clearance.
    const bool deviation = !requestedFLChange && delta >= 1 && delta <= FLTolerance + 1500 &&
                           !p->nuovaAltitudineAnnunciata && p->datiPilotaImpostati == 1 &&
                           p->avvisiDeviazione < kMaxDeviationWarnings && p->clearedFL == activeFl;
    char verb[96] = "maintain", readVerb[96] = "";
    bool warning = false;
    if (climbSink == 0) {
        PrintDebug(kTag, "climbSink is m: %s", plan[active].name.c_str());
        p->avvisiDeviazione = 0;
        expedite = 0;
    } else if (climbSink == -1) {
        PrintDebug(kTag, "climbSink is c: %s", plan[active].name.c_str());
        if (expedite >= 5) {
            snprintf(verb, sizeof verb, "%s", requestedFLChange ? "cleared to climb" : "expedite climb to");
        } else {
            if (requestedFLChange) {
                snprintf(verb, sizeof verb, "climb to");
                expedite = 0;
            } else if (deviation) {
                warning = true;
                snprintf(verb, sizeof verb, "you are %i feet below your clearance altitude, climb and maintain", delta);
                snprintf(readVerb, sizeof readVerb, "climbing to");
                PrintDebug(kTag, "plane %s below altitude: actual altitude %i, cleared altitude now: %i, errorDelta: %i",
                           p->nomePilota, altitude, activeFl * 100, delta);
            } else {
                snprintf(verb, sizeof verb, "climb to");
            }
            if (firstCallToThisCenter) {
                warning = false;
                snprintf(verb, sizeof verb, "climb to");
                firstCallToThisCenter = 0;
            }
        }
    } else {
        PrintDebug(kTag, "climbSink is d: %s", plan[active].name.c_str());
        PrintDebug(kTag, "tmpPilot->errorDelta: %i (tmpPilot->nuovaAltitudineAnnunciata %s)", delta,
                   p->nuovaAltitudineAnnunciata ? "true" : "false");
        if (expedite >= 5) {
            snprintf(verb, sizeof verb, "%s", requestedFLChange ? "descend to" : "expedite descent to");
            snprintf(readVerb, sizeof readVerb, "%s", requestedFLChange ? "descend to" : "expediting descent to");
        } else if (deviation) {
            warning = true;
            snprintf(verb, sizeof verb, "you are %i feet above your clearance altitude, descend to and maintain", delta);
            snprintf(readVerb, sizeof readVerb, "descending to");
            PrintDebug(kTag, "plane %s above altitude: actual altitude %i, cleared altitude now: %i, errorDelta: %i",
                       p->nomePilota, altitude, activeFl * 100, delta);
        } else {
            snprintf(verb, sizeof verb, "descend to");
        }
    }
    if (warning) {
        p->avvisiDeviazione++;
        expedite++;
    } else {
        p->avvisiDeviazione = 0;
    }
    if (readVerb[0] == '\0')
        snprintf(readVerb, sizeof readVerb, "%s", verb);

    const std::string level = Utils_FeetsOrFL(activeFl * 100);
    const char *C = Phrase_Callsign(p);
    const char *P = prefix.c_str();
    int nextFl = 0;
    const bool nextDiffers = Altitude_nextLevel(p, active, nextFl);
    Phrase phrase;
    if (requestedFLChange) {
        const std::string planned = Utils_FeetsOrFL(p->plannedFL * 100);
        if (p->plannedFL == activeFl) {
            Phrase_Format(phrase.text, sizeof phrase.text, "%s, %s%s %s", C, P, verb, planned.c_str());
            Phrase_Format(phrase.readback, sizeof phrase.readback, "%s%s %s, %s", P, readVerb, planned.c_str(), C);
        } else {
            const std::string held = climbSink == 0 ? Utils_FeetsOrFL(altitude / 100 * 100) : level;
            Phrase_Format(phrase.text, sizeof phrase.text, "%s, cleared altitude %s, %s %s", C, planned.c_str(), verb,
                          held.c_str());
            Phrase_Format(phrase.readback, sizeof phrase.readback, "cleared altitude %s, %s %s, %s", planned.c_str(),
                          readVerb, held.c_str(), C);
        }
    } else if (climbSink == 1 && !nextDiffers && activeFl < gTransLevelFLArr && altitude > gTransLevelFLArr * 100) {
        const std::string altimeter = printAltimeter(true);
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, descend to %s, %s, transition level #%i#", C, level.c_str(),
                      altimeter.c_str(), gTransLevelFLArr);
        Phrase_Format(phrase.readback, sizeof phrase.readback, "descend to %s, %s, transition level #%i#, %s",
                      level.c_str(), altimeter.c_str(), gTransLevelFLArr, C);
    } else if (nextDiffers && expedite < 5 && p->gTODReached == 0 && Altitude_oneInFifteen()) {
        const std::string next = Utils_FeetsOrFL(nextFl * 100);
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, %s%s %s, expect %s", C, P, verb, level.c_str(), next.c_str());
        Phrase_Format(phrase.readback, sizeof phrase.readback, "%s%s %s, expect %s, %s.", P, readVerb, level.c_str(),
                      next.c_str(), C);
    } else if (climbSink == 1 && !warning && expedite < 5 && p->informazioniDiAtterraggioComunicate != 0 &&
               p->starAnnunciata == 0 && p->numeroDiStarTrovate >= 1 && p->faseDiscesa >= 1 &&
               plan[active].order == 2 && p->selectedSTAR >= 0 && (size_t)p->selectedSTAR < p->stars.size()) {
        const std::string star = Phrase_ProcedureName(p->stars[(size_t)p->selectedSTAR].name);
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, %sdescend via STAR %s to %s", C, P, star.c_str(),
                      level.c_str());
        Phrase_Format(phrase.readback, sizeof phrase.readback, "%sdescend via STAR %s to %s, %s.", P, star.c_str(),
                      level.c_str(), C);
        p->starAnnunciata = 1;
    } else {
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, %s%s %s", C, P, verb, level.c_str());
        Phrase_Format(phrase.readback, sizeof phrase.readback, "%s%s %s, %s.", P, readVerb, level.c_str(), C);
    }

    p->nuovaAltitudineAnnunciata = 0;
    requestedFLChange = false;
    p->clearedFL = activeFl;
    if (p->cicloApproach == 0) {
        PrintDebug(kTag, "Assigning center frequency to %s, cicloApproach: %i", phrase.text, p->cicloApproach);
        Phrase_QueueForReadback(p, "CENTER", 520, phrase);
    } else {
        PrintDebug(kTag, "Assigning approach frequency to %s, cicloApproach: %i", phrase.text, p->cicloApproach);
        Phrase_QueueForReadback(p, "APPROACH", 525, phrase);
    }
}

bool NaviCheck_DeviazioneProlungata(pilot *record, float now)
{
    const float off = std::fabs(record->clearedFL * 100.0f - record->altitudineFeets);
    const std::vector<pilot::flightPlanLoc> &plan = record->flightPlanVec;
    const int active = record->gActualFlightPlanIndex;
    const bool onFinal = record->faseDiscesa >= 3 &&
                         (active < 0 || (size_t)active >= plan.size() || plan[(size_t)active].order >= 4);
    if (record->clearedFL == 0 || onFinal || !(off > (float)FLTolerance)) {
        record->orarioInizioDeviazione = 0;
        return false;
    }
    if (record->orarioInizioDeviazione == 0)
        record->orarioInizioDeviazione = now;
    return now - record->orarioInizioDeviazione >= kDeviazioneProlungata_s;
}
