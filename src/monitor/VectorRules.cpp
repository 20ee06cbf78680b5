// Heading vectors, the destination tower's hand-over and speed advice: the calls of the last monitor stage.
#include <algorithm>
#include <cstdio>

#include "XPLMProcessing.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesHandOver.h"
#include "monitor/Functions.h"
#include "monitor/HeadingVectors.h"
#include "monitor/WaypointSequencing.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

HeadingRuleList WhyTrueList, WhyFalseList;

namespace {

const char *const kTag = "NaviCheck_HeadingVectors";
/// Degrees turned in the last sampled second above which the aircraft counts as turning.
const float kTurningIfr_deg = 0.2f, kTurningVfr_deg = 1.0f;
/// Bounds of the settings as used: an error margin of 0 would ask for a vector every frame, one of 180 never.
const int kMinHeadingError_deg = 2, kMaxHeadingError_deg = 90;
const int kMaxAnnounceDelay_s = 300;
const float kSpeedAdviceEvery_s = 180.0f;

struct Frame {
    float now, d, error;
    int order, remaining, margin;
    bool newFix;
};

int Rules_Margin()
{
    return std::min(std::max(maxHeadingError, kMinHeadingError_deg), kMaxHeadingError_deg);
}

void Rules_Add(HeadingRuleList &list, int rule)
{
    if (list.count < HeadingRuleList::CAPACITY)
        list.rules[list.count++] = rule;
}

Frame Rules_Frame(const pilot *p, float now)
{
    const int k = p->gActualFlightPlanIndex;
    Frame f;
    f.now = now;
    f.d = p->distanzaWaypointAttuale;
    f.error = p->headingError;
    f.order = p->flightPlanVec[(size_t)k].order;
    f.remaining = (int)p->flightPlanVec.size() - k;
    f.margin = Rules_Margin();
    f.newFix = p->prossimoFixTrigged;
    return f;
}

/// Seconds that must pass since the last vector.
float Rules_Interval(const pilot *p, const Frame &f)
{
    if (p->prossimoFixTrigged)
        return 60;
    if ((p->autopilotaRilevato || reduceVectorCalls == 1) && f.order <= 3)
        return 320;
    return f.remaining > 4 && p->ilsPathCreated ? 120 : 80;
}

/// The rule chain: each rule that fires overwrites the outcome; the last one wins.
bool Rules_Evaluate(pilot *p, const Frame &f)
{
    WhyTrueList.count = WhyFalseList.count = 0;
    bool call = p->chiamaHeading;
    auto fire = [&](int rule, bool outcome) {
        call = outcome;
        Rules_Add(outcome ? WhyTrueList : WhyFalseList, rule);
    };
    const float E = f.error, d = f.d;
    const int M = f.margin, order = f.order, R = f.remaining;
    if (E > M)
        fire(1, true);
    if (d > 4 && d < 9 && order >= 4 && E > 4)
        fire(2, true);
    if (order >= 3 && d > 2 && E > M)
        fire(3, true);
    if (d < 4 && order <= 2)
        fire(4, false);
    if (!p->primoHeadingChiamato && E < M) {
        fire(5, true);
        p->primoHeadingChiamato = true;
    }
    p->autopilotaRilevato = isAutopilotActive(p->statoAutopilotaAdesso) || p->statoLNAV_IXEG > 0;
    if (E < M && order <= 2)
        fire(6, false);
    if (p->angoloDiVirata > (p->vfrFlight == 1 ? kTurningVfr_deg : kTurningIfr_deg))
        fire(7, false);
    const std::string &name = p->flightPlanVec[(size_t)p->gActualFlightPlanIndex].name;
    if (d < 8 && order != 5 && R > 2 && E > 10 && !f.newFix && name.find("Approxi") == std::string::npos)
        fire(8, false);
    if (p->autopilotaRilevato && order >= 4)
        fire(9, true);
    if (E < (R <= 3 ? 4 : 4 + (p->ilsPathCreated ? 1 : 0)))
        fire(10, false);
    if (E < M && (order == 2 || R > 3))
        fire(11, false);
    if (d < 4 && !f.newFix)
        fire(12, false);
    if (f.newFix && R <= 2 && p->ilsPathCreated && !p->autopilotaRilevato)
        fire(13, true);
    if (E > 0 && d < 6 && !f.newFix)
        fire(14, false);
    if (f.now - p->orarioUltimoHeading < Rules_Interval(p, f))
        fire(15, false);
    return call;
}

/// The vector goes out on the centre, or the approach once its cycle began: it is given only when the pilot
/// listens there, so that it is heard rather than dropped and still counted.
bool Rules_WillBeHeard(const pilot *p)
{
    std::string filter;
    SetFrequencyFilter(filter, p->cicloApproach == 0 ? "CENTER" : "APPROACH");
    return p->gActualFrequencyName == filter;
}

void Rules_LogReasons(const pilot *p)
{
    char text[LOG_LINE_SIZE];
    PrintDebug(kTag, "WhyTrueList");
    for (int i = 0; i < WhyTrueList.count; i++) {
        NaviCheck_HeadingRuleText(p, WhyTrueList.rules[i], text, sizeof text);
        PrintDebug(kTag, "%s", text);
    }
    PrintDebug(kTag, "WhyFalseList");
    for (int i = 0; i < WhyFalseList.count; i++) {
        NaviCheck_HeadingRuleText(p, WhyFalseList.rules[i], text, sizeof text);
        PrintDebug(kTag, "%s", text);
    }
}

} // namespace

void NaviCheck_HeadingRuleText(const pilot *p, int rule, char *out, int size)
{
    const int E = (int)p->headingError, M = Rules_Margin();
    const float d = p->distanzaWaypointAttuale;
    switch (rule) {
    case 1:
        snprintf(out, (size_t)size,
                 "HEADING! TRUE perche' il margine di heading error e' stato sforato: %i/%i - heading/heading target "
                 "%f/%f",
                 E, M, p->headingAttuale, p->headingTarget);
        break;
    case 2:
        snprintf(out, (size_t)size,
                 "HEADING! TRUE perche' siamo in ILS PATH AVANZATO (4 o 5) (ma sotto le 9nm), in questo caso chiamo "
                 "l'heading se l'errore e' superiore a 4: %i e se la distanza e' sotto le 4nm: %f",
                 E, d);
        break;
    case 3:
        snprintf(out, (size_t)size, "HEADING! TRUE il waypoint e' ILS PATH e abbiamo sforato il margine di errore!: %i/%i",
                 E, M);
        break;
    case 4:
        snprintf(out, (size_t)size,
                 "HEADING! FALSE perche' siamo sotto le 4 miglia nautiche dal prossimo e non siamo in ILS avanzato");
        break;
    case 5:
        snprintf(out, (size_t)size, "HEADING! TRUE perche' e' il primo e siamo sotto il margine di errore!");
        break;
    case 6:
        snprintf(out, (size_t)size, "HEADING! FALSE perche' non e' ILS path e siamo sotto il margine di errore %i/%i", E,
                 M);
        break;
    case 7:
        snprintf(out, (size_t)size, "HEADING! FALSE perche' sta virando");
        break;
    case 8:
        snprintf(out, (size_t)size,
                 "HEADING! FALSE se siamo dentro le 8 nm, e non e' un nuovo fix, non e' ILS 5 ne il penultimo, ne "
                 "Approximation, evito di sparare heading enormi, quindi sopra il margine di errore 10 non chiamo "
                 "l'heading. Ma solo se non siamo in ILS avanzato");
        break;
    case 9:
        snprintf(out, (size_t)size, "HEADING! TRUE perche anche se siamo in autopilota, e ILS path avanzato 4 o 5!!!");
        break;
    case 10:
        snprintf(out, (size_t)size, "HEADING! FALSE perche' errore sotto il margine di %i non serve mai chiamare l'heading!",
                 p->flightPlanVec.size() - (size_t)p->gActualFlightPlanIndex <= 3 ? 4 : 4 + (p->ilsPathCreated ? 1 : 0));
        break;
    case 11:
        snprintf(out, (size_t)size,
                 "HEADING! FALSE perche' errore sotto il margine di %i, ed e' un order 2 o comunqe mancano piu' di tre "
                 "waypoint non serve mai chiamare l'heading!",
                 M);
        break;
    case 12:
        snprintf(out, (size_t)size, "HEADING! FALSE non annuncio mai sotto le 4 e non e' un nuovo fix: %f", d);
        break;
    case 13:
        snprintf(out, (size_t)size,
                 "HEADING! TRUE perche se sono gli ultimi due fix ed e' un fix nuovo, sparo senza aspettare nessun "
                 "secondo!!!");
        break;
    case 14:
        snprintf(out, (size_t)size,
                 "HEADING! FALSE non annuncio mai sotto le 6 miglia, il prossimo heading error e piu' dell'attuale "
                 "heading error: %f",
                 p->headingError);
        break;
    case 15:
        out[0] = '\0';
        if (p->gActualFlightPlanIndex >= 0 && p->gActualFlightPlanIndex < (int)p->flightPlanVec.size()) {
            const float now = XPLMGetElapsedTime();
            snprintf(out, (size_t)size, "HEADING! FALSE perche' non sono passati %i secondi: %f",
                     (int)Rules_Interval(p, Rules_Frame(p, now)), now - p->orarioUltimoHeading);
        }
        break;
    default:
        snprintf(out, (size_t)size, "HEADING! rule %i", rule);
        break;
    }
}

bool NaviCheck_TowerHandOverForLanding(pilot *p)
{
    const int k = p->gActualFlightPlanIndex;
    if (k < 0 || k >= (int)p->flightPlanVec.size())
        return false;
    const float range_nm = p->vfrFlight == 1 ? 7.5f : 20.0f;
    if (!frequenzaLibera || p->HandoffTorreComunicato || p->distanzaDestinazioneLinear >= range_nm ||
        p->flightPlanVec[(size_t)k].order != 6 || p->faseDiscesa != 3)
        return false;
    PrintInfo("NaviCheck_TowerHandOver", "HandOverTowerForLanding richiamato!");
    HandOverTowerForLanding(p);
    PrintInfo("NaviCheck_TowerHandOver", p->arrivalRunwayStruct.landingType == 4 ? "Returning ILS HANDOFF"
                                                                                 : "Returning NON ILS HANDOFF");
    return true;
}

bool NaviCheck_HeadingVectors(pilot *p)
{
    const int k = p->gActualFlightPlanIndex;
    if (p->primaChiamataCenterEffettuataMIA != 1 || k < 0 || k >= (int)p->flightPlanVec.size())
        return false;
    if (!frequenzaLibera || p->HandoffTorreComunicato) {
        if (developerDEBUG)
            PrintDebug(kTag, "----------- Heading Check Terminato -----------");
        return false;
    }
    const Frame f = Rules_Frame(p, XPLMGetElapsedTime());
    p->chiamaHeading = Rules_Evaluate(p, f);
    // A vector no longer due is forgotten: a later one waits its own announce delay.
    if (!p->chiamaHeading)
        p->orarioHeadingDovuto = 0;
    else if (p->orarioHeadingDovuto == 0)
        p->orarioHeadingDovuto = f.now;

    const int delay_s = std::min(std::max(p->autopilotaRilevato ? p->headingAnnounceDelayAP : p->headingAnnounceDelay, 0),
                                 kMaxAnnounceDelay_s);
    if (p->chiamaHeading && p->isOnGround == 0 && f.now - p->orarioHeadingDovuto > (float)delay_s &&
        p->frequenzaObiettivo == 0 && p->gIsCopiing == 0 && Rules_WillBeHeard(p)) {
        p->orarioUltimoHeading = f.now;
        p->prossimoFixTrigged = false;
        p->orarioHeadingDovuto = 0;
        p->chiamaHeading = false;
        p->headingAssegnato = p->headingTarget;
        CallVectoring(p, p->headingAssegnato, 0);
        p->orarioUltimaIstruzione = f.now;
        if (developerDEBUG) {
            PrintDebug(kTag, "HEADING: %s", FormatHeading((int)p->headingAssegnato, 3).c_str());
            Rules_LogReasons(p);
        }
        return true;
    }
    if ((p->autopilotaRilevato || reduceVectorCalls == 1) && f.order <= 3)
        p->prossimoFixTrigged = false;
    return false;
}

void NaviCheck_SpeedAdvice(pilot *p, bool allowed)
{
    const int k = p->gActualFlightPlanIndex;
    if (!frequenzaLibera || !allowed || p->gIsCopiing != 0 || k < 0 || k >= (int)p->flightPlanVec.size())
        return;
    const float now = XPLMGetElapsedTime();
    const bool due = p->orarioUltimaRiduzioneVelocita == 0 || now - p->orarioUltimaRiduzioneVelocita > kSpeedAdviceEvery_s;
    if (p->altitudineFeets < 10000 && p->indicatedAirspeed > 260 && lowAltitudeSpeedWarning == 1) {
        if (due) {
            ApproachAnnounceReduceSpeed(p, 250);
            p->orarioUltimaRiduzioneVelocita = now;
        }
    } else if (p->altitudineFeets < 8000 && p->gTODReached == 1 && p->flightPlanVec[(size_t)k].order <= 3 &&
               p->indicatedAirspeed > 210 && due) {
        ApproachAnnounceReduceSpeed(p, 200);
        p->orarioUltimaRiduzioneVelocita = now;
    }
}
