// Heading vectors: the heading to the active waypoint and the controller's vector phrase.
#include "monitor/HeadingVectors.h"

#include <cstdio>

#include "comms/PhraseCommon.h"
#include "monitor/Functions.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {

const char *const kVectorTag = "CallVectoring";

bool Heading_ActiveInRoute(const pilot *p)
{
    return p->gActualFlightPlanIndex >= 0 && p->gActualFlightPlanIndex < (int)p->flightPlanVec.size();
}

} // namespace

const char *VentoRelativo_Classe(int relativeAngle, const char **side)
{
    const int a = ((relativeAngle % 360) + 360) % 360;
    *side = a >= 46 && a <= 135 ? "right" : a >= 226 && a <= 315 ? "left" : "";
    if (a < 46 || a > 315)
        return "head";
    if (a >= 136 && a <= 225)
        return "tail";
    return "cross";
}

void CalcolaHeadingError(pilot *p)
{
    if (!Heading_ActiveInRoute(p))
        return;
    const pilot::flightPlanLoc &wp = p->flightPlanVec[(size_t)p->gActualFlightPlanIndex];
    // headingWCA stays at the bearing unless the correction is computed.
    distanceToCoord d = {0, -1, 0};
    CalcolaDistanzaCoordinata(p->latitudine, p->longitudine, wp.lat, wp.lon, &d, calculateWCA, p);
    const bool corrected = d.headingWCA >= 0;
    p->headingTarget = p->usaHeadingWCA && corrected ? d.headingWCA : d.heading;
    const float reference = corrected && calculateWCA == 1 ? d.headingWCA : p->headingTarget;
    p->headingError = GetHeadingDifference(p->headingAttuale, reference);
    p->direzioneVirata = GetLeftRightDirection(p->headingAttuale, reference);
    p->direzioneVirataStringa = p->direzioneVirata == 1 ? "left" : "right";
    p->distanzaWaypointAttuale = d.distance;
    if (p->nomeWaypointAttuale != wp.name)
        p->nomeWaypointAttuale = wp.name;
    const char *side = "";
    VentoRelativo_Classe(p->dirVentoRelativa, &side);
    p->leftRightVentoRelativo = p->velocitaVento > 0 ? side : "";
}

float GetDistanceToTarget(pilot *p)
{
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    if (!Heading_ActiveInRoute(p))
        return 0;
    float total_nm = 0;
    double fromLat = p->latitudine, fromLon = p->longitudine;
    for (size_t i = (size_t)p->gActualFlightPlanIndex; i < route.size() && route[i].order <= 2; i++) {
        distanceToCoord d = {0, 0, 0};
        CalcolaDistanzaCoordinataMini(fromLat, fromLon, route[i].lat, route[i].lon, &d, p);
        total_nm += d.distance;
        fromLat = route[i].lat;
        fromLon = route[i].lon;
    }
    return total_nm;
}

std::string FormatHeading(int value, int width)
{
    char text[24];
    snprintf(text, sizeof text, "%0*d", width < 0 ? 0 : width > 16 ? 16 : width, value);
    return text;
}

void CallVectoring(pilot *p, float heading, int16_t)
{
    PrintInfo(kVectorTag, "Entering CallVectoring");
    const int count = (int)p->flightPlanVec.size();
    const int active = p->gActualFlightPlanIndex;
    const bool inRoute = Heading_ActiveInRoute(p);
    const int order = inRoute ? p->flightPlanVec[(size_t)active].order : -1;
    if (inRoute && order != 5) {
        gShowSkipFix = 1;
        PrintInfo(kVectorTag,
                  "permetto il salto del way point perche' l'attuale waypoint %i e' inferiore al numero di waypoint "
                  "disponibili: %i, e .order non e' 5: %i",
                  active, count, order);
    } else {
        PrintInfo(kVectorTag,
                  "non permetto il salto del way point perche' l'attuale waypoint non e' inferiore al numero di "
                  "waypoint disponibili: %i, oppure .order non e' 5: %i",
                  count, order);
    }

    int h = (int)heading;
    if (preciseHeading != 1) {
        h = (h + 2) / 5 * 5;
        PrintInfo(kVectorTag, "Heading rounded from %f to %i", heading, h);
    }
    // A heading is never spoken "000": north is 360.
    h %= 360;
    if (h <= 0)
        h += 360;
    // The side is the turn from the present heading onto the one given, whatever it was measured against.
    const char *side = GetLeftRightDirectionStringa(p->headingAttuale, (float)(h % 360));
    p->direzioneVirataStringa = side;
    const std::string hdg = FormatHeading(h, 3);
    const char *cs = Phrase_Callsign(p);
    Phrase phrase;
    if (inRoute && order < 2) {
        char name[MESSAGE_TEXT_SIZE];
        Phrase_CleanName(name, sizeof name, p->flightPlanVec[(size_t)active].name.c_str());
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, turn %s heading #%s# for %s.", cs, side, hdg.c_str(),
                      name);
    } else {
        Phrase_Format(phrase.text, sizeof phrase.text, "%s, turn %s heading #%s#.", cs, side, hdg.c_str());
    }
    Phrase_Format(phrase.readback, sizeof phrase.readback, "turn %s heading #%s#, %s", side, hdg.c_str(), cs);
    // Queueing marks the exchange in progress (the record's gIsCopiing) and stamps gIsCopiingSince.
    Phrase_QueueForReadback(p, p->cicloApproach == 0 ? "CENTER" : "APPROACH", 550, phrase);
}
