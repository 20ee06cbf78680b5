// Waypoint sequencing: when the active waypoint is done and the next one takes over.
#include "monitor/WaypointSequencing.h"

#include <cmath>

#include "XPLMProcessing.h"
#include "monitor/Functions.h"
#include "monitor/HeadingVectors.h"
#include "planning/Fms.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {

const char *const kTag = "NaviCheck_SequenceWaypoints";
const float kReached_nm = 1.0f;
const float kLateral_nm = 2.5f, kLateralError_deg = 45.0f;
/// Moving away after passing this close counts as passed; further out the waypoint may be lost.
const float kPassedWithin_nm = 5.0f;
/// A waypoint counts as approached once the distance has fallen this far below its value at activation:
/// before that, an aircraft still turning towards a close waypoint has neither reached nor passed it.
const float kApproachMargin_nm = 0.5f;
const float kAwayAfterSwitch_s = 40.0f;
const float kLostAfter_s = 180.0f, kLostEvery_s = 90.0f;
const float kMpsToKnots = 1.9438444f;

/// How far the aircraft lies beyond point `at` along the direction from `from` to `to`, and across it (nm,
/// flat earth).
void Seq_AlongAcross(const pilot *p, const pilot::flightPlanLoc &from, const pilot::flightPlanLoc &to,
                     const pilot::flightPlanLoc &at, double *along, double *across)
{
    const double cosLat = std::cos(at.lat * 3.141592653589793 / 180.0);
    double dirX = (to.lon - from.lon) * cosLat, dirY = to.lat - from.lat;
    const double length = std::sqrt(dirX * dirX + dirY * dirY);
    if (length <= 0) {
        *along = *across = 0;
        return;
    }
    dirX /= length, dirY /= length;
    const double acX = (p->longitudine - at.lon) * cosLat * 60.0, acY = (p->latitudine - at.lat) * 60.0;
    *along = acX * dirX + acY * dirY;
    *across = acX * dirY - acY * dirX;
}

/// Waypoint k is behind the aircraft: the aircraft lies beyond it along the leg to the next one, within 45
/// degrees of that leg as seen from k, and, when a leg leads to k, beyond it along that leg too (a dogleg's
/// turn point is not behind an aircraft still flying towards it, nor a point off to the side of one that
/// has not got there).
bool Seq_Behind(const pilot *p, size_t k)
{
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    if (k + 1 >= route.size())
        return false;
    double along = 0, across = 0;
    Seq_AlongAcross(p, route[k], route[k + 1], route[k], &along, &across);
    if (along <= std::fabs(across))
        return false;
    if (k > 0)
        Seq_AlongAcross(p, route[k - 1], route[k], route[k], &along, &across);
    return along > 0;
}

/// The first frame of an active waypoint: the tracking starts afresh and, unless the waypoint was named on
/// purpose, waypoints already behind the aircraft are passed over.
void Seq_Activate(pilot *p, float now)
{
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    size_t k = (size_t)p->gActualFlightPlanIndex;
    if (p->saltaWaypointPassati) {
        while (Seq_Behind(p, k)) {
            PrintInfo(kTag, "Waypoint %i %s is already behind the aircraft, skipped", (int)k, route[k].name.c_str());
            k++;
        }
    }
    if ((int)k != p->gActualFlightPlanIndex) {
        p->gActualFlightPlanIndex = (int)k;
        Fms_FollowActiveWaypoint(p);
    }
    p->distanzaMinimaWaypoint = 0;
    p->ultimaVoltaInDirContraria = 0;
    p->gLastDistanceToActWP = 100;
    p->secondiDallUltimoSkipWaypoint = now;
    p->ultimaAnnuncioNuovoFix = now;
    p->switchToNextPoint = 0;
    p->siAllontanaDalFix = false;
    p->saltoRichiesto = false;
    p->prossimoFixTrigged = true;
    p->chiamaHeading = false;
    p->orarioHeadingDovuto = 0;
    CalcolaHeadingError(p);
    p->distanzaAttivazioneWaypoint = p->distanzaWaypointAttuale;
    p->waypointTracciato = (int)k;
    p->saltaWaypointPassati = true;
    PrintInfo(kTag, "Active waypoint %i %s at %.1f nm", (int)k, route[k].name.c_str(), p->distanzaWaypointAttuale);
}

/// Fix tracking: reached, reached laterally, passed, or lost. Returns the cause of a switch, or null.
const char *Seq_Track(pilot *p, float now, const pilot::flightPlanLoc &wp)
{
    const char *cause = nullptr;
    const float d = p->distanzaWaypointAttuale, error = p->headingError;
    if (p->distanzaMinimaWaypoint == 0 || d < p->distanzaMinimaWaypoint)
        p->distanzaMinimaWaypoint = d;
    const bool approached = p->distanzaMinimaWaypoint <= p->distanzaAttivazioneWaypoint - kApproachMargin_nm;
    auto reached = [&](const char *why) {
        p->switchToNextPoint = 1;
        p->distanzaMinimaWaypoint = 0;
        p->secondiDallUltimoSkipWaypoint = 0;
        p->ultimaVoltaInDirContraria = 0;
        cause = why;
    };

    if (p->switchToNextPoint == 0) {
        if (d < kReached_nm) {
            reached("fix reached");
        } else if (d < kLateral_nm && wp.order != 5 && error > kLateralError_deg && approached) {
            PrintInfo(kTag, "Fix Raggiunto LATERALMENTE! Distanza: %f, gradi di differenza: %f", d, error);
            reached("fix reached laterally");
        }
    }

    p->siAllontanaDalFix = false;
    if (d > p->gLastDistanceToActWP && now - p->ultimaAnnuncioNuovoFix > kAwayAfterSwitch_s) {
        if (p->distanzaMinimaWaypoint > kPassedWithin_nm || !approached) {
            p->siAllontanaDalFix = true;
            if (p->ultimaVoltaInDirContraria == 0) {
                p->ultimaVoltaInDirContraria = now;
                if (developerDEBUG)
                    PrintDebug(kTag, "Si allontana dal fix perche' distanza %f e' piu alta di distanza last %f:", d,
                               p->gLastDistanceToActWP);
            }
        } else {
            PrintInfo(kTag,
                      "Mi sto allontanando dal fix, pero' visto che gli sono passato a meno di 5 miglia (%f), lo do "
                      "come raggiunto",
                      p->distanzaMinimaWaypoint);
            reached("fix passed");
        }
    } else {
        p->ultimaVoltaInDirContraria = 0;
    }

    if (p->switchToNextPoint == 0 && p->siAllontanaDalFix && !p->prossimoFixTrigged) {
        const float away_s = now - p->ultimaVoltaInDirContraria;
        const float sinceSkip_s = now - p->secondiDallUltimoSkipWaypoint;
        if (p->ultimaVoltaInDirContraria == 0 || away_s <= kLostAfter_s) {
            if (developerDEBUG)
                PrintDebug(kTag, "Direzione Contraria!!! Aspetto %i secondi prima di saltare il fix: %i/%i ",
                           (int)kLostAfter_s, (int)away_s, (int)kLostAfter_s);
        } else if (p->secondiDallUltimoSkipWaypoint == 0 || sinceSkip_s > kLostEvery_s) {
            p->secondiDallUltimoSkipWaypoint = now;
            p->switchToNextPoint = 1;
            p->distanzaMinimaWaypoint = 0;
            p->ultimaVoltaInDirContraria = 0;
            cause = "lost fix";
        } else if (developerDEBUG) {
            PrintDebug(kTag,
                       "Non salto il fix perche' ne ho saltato uno meno di %i secondi fa, secondi rimanenti al "
                       "prossimo eventuale salto : %i",
                       (int)kLostEvery_s, (int)(kLostEvery_s - sinceSkip_s));
        }
    }
    return cause;
}

} // namespace

bool NaviCheck_SequenceWaypoints(pilot *p)
{
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    const int k = p->gActualFlightPlanIndex;
    // Outside the route (past its end, or not chosen) there is nothing to sequence.
    if (p->primaChiamataCenterEffettuataMIA != 1 || k < 0 || k >= (int)route.size())
        return false;
    const float now = XPLMGetElapsedTime();
    if (p->waypointTracciato != k) {
        Seq_Activate(p, now);
        return false;
    }
    CalcolaHeadingError(p);
    const pilot::flightPlanLoc &wp = route[(size_t)k];
    const bool follows = (size_t)k + 1 < route.size();

    const char *cause = nullptr;
    if (follows && p->isOnGround == 0 && !p->HandoffTorreComunicato)
        cause = Seq_Track(p, now, wp);
    p->gLastDistanceToActWP = p->distanzaWaypointAttuale;
    if (p->saltoRichiesto) {
        // The tower hand-over stays as it is: skipping a waypoint does not repeat it.
        cause = "user request";
        p->switchToNextPoint = 1;
        p->distanzaMinimaWaypoint = 0;
        p->ultimaVoltaInDirContraria = 0;
        p->saltoRichiesto = false;
    }
    if (wp.name.find("Departure") != std::string::npos) {
        p->switchToNextPoint = 1;
        if (cause == nullptr)
            cause = "departure point";
    }
    if (p->switchToNextPoint != 1)
        return false;
    if (!follows) {
        // The last waypoint stays active; a waypoint appended later must not be switched at once.
        p->switchToNextPoint = 0;
        return false;
    }

    const pilot::flightPlanLoc &next = route[(size_t)k + 1];
    distanceToCoord toNext = {0, 0, 0};
    CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, next.lat, next.lon, &toNext, p);
    PrintInfo(kTag, "Waypoint switch cause: %s. Old navigation point %i %s. Fix reached at speed: %.0f, next heading diff: %.2f",
              cause != nullptr ? cause : "fix reached", k, wp.name.c_str(), p->groundSpeed * kMpsToKnots,
              GetHeadingDifference(p->headingAttuale, toNext.heading));
    p->ultimaVoltaInDirContraria = 0;
    p->distanzaMinimaWaypoint = 0;
    p->prossimoFixTrigged = true;
    p->ultimaAnnuncioNuovoFix = now;
    p->switchToNextPoint = 0;
    p->saltoRichiesto = false;
    p->gLastDistanceToActWP = 100;
    p->gActualFlightPlanIndex = k + 1;
    p->secondiDallUltimoSkipWaypoint = now;
    // The next frame is the new waypoint's activation (it starts the tracking and skips what is behind).
    p->waypointTracciato = -1;
    p->saltaWaypointPassati = true;
    PrintInfo(kTag, "Next navigation point: %i %s ... Lat: %f Lon: %f", k + 1, next.name.c_str(), next.lat, next.lon);
    Fms_FollowActiveWaypoint(p);
    return true;
}

void NaviCheck_WaypointSequencing(pilot *p)
{
    if (p->primaChiamataCenterEffettuataMIA != 1 || p->flightPlanVec.empty())
        return;
    if (NaviCheck_SequenceWaypoints(p) || NaviCheck_TowerHandOverForLanding(p) || NaviCheck_HeadingVectors(p))
        return;
    NaviCheck_SpeedAdvice(p, p->consentiRiduzioneVelocita);
}
