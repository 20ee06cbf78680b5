// The arrival tower's and the arrival ground's exchanges.
#include "comms/PhrasesArrival.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
#include "comms/PhraseCommon.h"
#include "monitor/Functions.h"
#include "monitor/LevelText.h"
#include "monitor/WaypointTracking.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "speech/Voices.h"
#include "state/Pilot.h"

namespace
{

const char *const kTag = "ComunicaClearedToLand";

std::string Arrival_airport(const pilot *r)
{
    return Phrase_AirportName(r->arrAirportFullName);
}

std::string Arrival_runway(const pilot *r)
{
    return Phrase_Runway(r->arrivalRunwayStruct.name);
}

/// The pilot's first call to the arrival's tower or ground: "<airport> <unit>, good <time of day>,
/// <callsign> <where> runway *<rwy>*." in a fresh voice.
void Arrival_initialCall(pilot *r, const char *unit, const char *where, const char *facility, int code)
{
    CambiaVoceRandom();
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s %s, good %s, %s %s runway *%s*.", Arrival_airport(r).c_str(), unit,
                  Phrase_Greeting(), Phrase_Callsign(r), where, Arrival_runway(r).c_str());
    Phrase_Queue(r, PHRASE_PILOT_OPENING, facility, code, p);
}

/// Reads the arrival airport into the record and picks its parking position at random.
void Arrival_chooseParking(pilot *r)
{
    AptDat where;
    auto entry = IcaoMap.find(r->arrAirportICAO);
    if (entry != IcaoMap.end())
        where = entry->second;
    if (!r->arrAirportICAO.empty() && !where.ICAOfilePath.empty())
        r->targetAirport.readAptDat(r->arrAirportICAO, where.ICAOfilePath, where.readOffset,
                                    XPLMGetDataf(gAcfMagneticVariationRef));
    const int count = (int)r->targetAirport.parkings.size();
    PrintInfo(kTag, "targetAirport.parking.size --------------------> for airport %s, in file %s, total parking: %i",
              r->arrAirportICAO.c_str(), where.ICAOfilePath.c_str(), count);
    for (const Parser::parking &p : r->targetAirport.parkings)
        PrintInfo(kTag, "parking found: %s (type: %s)", p.name.c_str(), p.legacy ? "legacy" : p.type.c_str());
    if (count <= 0) {
        PrintInfo(kTag, "no parking found because ! int(tmpPilot->targetAirport.parkings.size())>0: %i", count);
        r->gParkingStruct.name.clear();
        return;
    }
    srand((unsigned)time(nullptr));
    r->gParkingStruct.name = Radio_ParkingName(r->targetAirport.parkings[(size_t)(rand() % count)].name);
    PrintInfo(kTag, "final parking: %s", r->gParkingStruct.name.c_str());
}

bool Arrival_namesPlace(const std::string &name)
{
    static const char *const kPlaces[] = {"gate", "stand", "terminal", "apron", "parking", "ramp"};
    for (const char *place : kPlaces)
        if (name.find(place) != std::string::npos)
            return true;
    return false;
}

/// The taxi instruction to the chosen parking and the pilot's read-back of it.
void Arrival_parkingPhrase(const pilot *r, Phrase &p)
{
    const std::string &parking = r->gParkingStruct.name;
    const char *cs = Phrase_Callsign(r);
    if (parking.empty()) {
        Phrase_Format(p.text, sizeof p.text, "%s, taxi to parking of your choice.", cs);
        Phrase_Format(p.readback, sizeof p.readback, "taxi to parking of my choice, %s", cs);
    } else if (Arrival_namesPlace(parking)) {
        Phrase_Format(p.text, sizeof p.text, "%s, taxi to %s", cs, parking.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "taxi to %s, %s", parking.c_str(), cs);
    } else {
        Phrase_Format(p.text, sizeof p.text, "%s, taxi to parking %s.", cs, parking.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "taxi to parking %s, %s", parking.c_str(), cs);
    }
}

/// After a missed approach: the arrival approach when it has its own frequency, else the area controller.
bool Arrival_missedToApproach(const pilot *r)
{
    const double approach = r->targetAirport.approachFrequency;
    return approach != 0 && approach != r->targetAirport.towerFrequency;
}

} // namespace

std::string Radio_ParkingName(const std::string &name)
{
    char clean[MESSAGE_TEXT_SIZE];
    Phrase_CleanName(clean, sizeof clean, name.c_str());
    std::string out = clean;
    for (char &c : out) {
        if (c == '_' || c == '-')
            c = ' ';
        c = (char)tolower((unsigned char)c);
    }
    return out;
}

// MARK: arrival tower

void TowerArrival_InitialCall(pilot *r)
{
    Arrival_initialCall(r, "Tower", "approaching", "TOWER", 710);
}

void TowerArrival_InitialCallResponse(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, identified. Continue your approach.", Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_CONTROLLER, "TOWER", 0, p);
    r->frequenzaObiettivo = 0;
    r->frequenzaObiettivoNome.clear();
    r->gTargetAirportTowerInitialCallDone = 1;
    r->gIsCopiing = 0;
}

void ComunicaClearedToLand(pilot *r)
{
    Phrase p;
    Phrase_WindClearance(p.text, sizeof p.text, r, Arrival_runway(r), "cleared to land.");
    Phrase_QueueForReadback(r, "TOWER", 760, p);
    Arrival_chooseParking(r);
}

void ComunicaClearedToLandReadback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "Cleared to land runway *%s*, %s.", Arrival_runway(r).c_str(),
                  Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "TOWER", 0, p);
    r->clearedToLand = 1;
    r->gIsCopiing = 0;
}

// MARK: missed approach

namespace
{

/// A new approach starts from the first point of the approach path (the active point is never moved on).
void Arrival_restartApproach(pilot *r)
{
    for (size_t i = 0; i < r->flightPlanVec.size(); i++) {
        if (r->flightPlanVec[i].order >= 4) {
            if ((int)i < r->gActualFlightPlanIndex || r->gActualFlightPlanIndex >= (int)r->flightPlanVec.size())
                NaviCheck_ActivateWaypoint(r, (int)i, false);
            break;
        }
    }
}

} // namespace

void Tower_MissedApproach(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "Tower, going around, missed approach, %s.", Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "TOWER", 910, p);
    Arrival_restartApproach(r);
}

void Tower_MissedApproachResponse(pilot *r)
{
    // Runway heading (magnetic), to the nearest 5 degrees, and the approach altitude above the runway.
    float heading = r->arrivalRunwayStruct.heading + r->variazioneMagnetica;
    int h = ((int)heading % 360 + 360) % 360;
    h = (h + 2) / 5 * 5;
    if (h == 0)
        h = 360;
    char hdg[8];
    Phrase_Format(hdg, sizeof hdg, "%03i", h);
    const char *side = GetLeftRightDirectionStringa(r->headingAttuale, (float)h);
    const int climb_ft =
        ((r->vfrFlight == 1 ? altezzaApproachVFR : altezzaApproachIFR) + (int)r->arrivalRunwayStruct.heightft) / 100 *
        100;
    const std::string level = Utils_FeetsOrFL(climb_ft);
    const char *cs = Phrase_Callsign(r);
    Phrase p;
    if (Arrival_missedToApproach(r)) {
        const std::string airport = Arrival_airport(r);
        const std::string f = Phrase_Frequency(r->targetAirport.approachFrequency);
        Phrase_Format(p.text, sizeof p.text,
                      "%s, turn %s heading #%s#. Climb and maintain %s, contact %s approach on #%s#", cs, side, hdg,
                      level.c_str(), airport.c_str(), f.c_str());
        Phrase_Format(p.readback, sizeof p.readback,
                      "Turn %s heading #%s#. Climb and maintain %s. Contact %s approach on #%s#, %s", side, hdg,
                      level.c_str(), airport.c_str(), f.c_str(), cs);
        r->cicloApproach = 1;
        r->primaChiamataApproachEffettuata = 0;
    } else {
        char centre[sizeof r->nomeCenter];
        Phrase_CleanName(centre, sizeof centre, r->nomeCenter);
        const std::string f = Phrase_Frequency(r->frequenzaCenter);
        Phrase_Format(p.text, sizeof p.text, "%s, turn %s heading #%s#. Climb and maintain %s, contact %s on #%s#", cs,
                      side, hdg, level.c_str(), centre, f.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "Turn %s heading #%s#. Climb and maintain %s. %s on #%s#, %s",
                      side, hdg, level.c_str(), centre, f.c_str(), cs);
        r->cicloApproach = 0;
        r->cicloCenter = 1;
        r->primaChiamataCenterEffettuata = 0;
    }
    r->clearedToLand = 0;
    r->cicloMissed = 1;
    r->HandoffTorreComunicato = false;
    r->gTargetAirportTowerInitialCallDone = 0;
    r->clearedFL = climb_ft / 100;
    Phrase_QueueForReadback(r, "TOWER", 920, p);
}

void Tower_MissedApproachReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "TOWER", 0, text);
    if (Arrival_missedToApproach(r)) {
        r->frequenzaObiettivo = r->targetAirport.approachFrequency;
        r->frequenzaObiettivoNome = "APPROACH";
    } else {
        r->frequenzaObiettivo = r->frequenzaCenter;
        r->frequenzaObiettivoNome = r->nomeCenter;
    }
    // The next approach is flown like the first: its hand-over to the tower, the call to the tower and the
    // landing clearance all come again.
    r->clearedToLand = 0;
    r->HandoffTorreComunicato = false;
    r->gTargetAirportTowerInitialCallDone = 0;
    r->landedNotified = false;
    Arrival_restartApproach(r);
    r->gIsCopiing = 0;
}

// MARK: runway vacated and parking

void Tower_RunwayVacated(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s tower, %s, runway *%s* committed.", Arrival_airport(r).c_str(),
                  Phrase_Callsign(r), Arrival_runway(r).c_str());
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "TOWER", 780, p);
}

void Tower_RunwayVacatedResponse(pilot *r)
{
    r->gTargetRunwayVacated = 1;
    Phrase p;
    const double ground = r->targetAirport.groundFrequency;
    if (ground != 0) {
        const std::string f = Phrase_Frequency(ground);
        Phrase_Format(p.text, sizeof p.text, "%s, contact ground on #%s#.", Phrase_Callsign(r), f.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "Ground on #%s#, %s.", f.c_str(), Phrase_Callsign(r));
        Phrase_QueueForReadback(r, "TOWER", 790, p);
        return;
    }
    Arrival_parkingPhrase(r, p);
    Phrase_QueueForReadback(r, "TOWER", 820, p);
}

void Tower_RunwayVacatedReadback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "Ground on #%s#, %s.",
                  Phrase_Frequency(r->targetAirport.groundFrequency).c_str(), Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "TOWER", 0, p);
    r->frequenzaObiettivo = r->targetAirport.groundFrequency;
    r->frequenzaObiettivoNome = "GROUND";
    r->gIsCopiing = 0;
}

void Ground_InitialCall(pilot *r)
{
    Arrival_initialCall(r, "Ground", "on", "GROUND", 810);
}

void GroundInitialCallResponse(pilot *r)
{
    Phrase p;
    Arrival_parkingPhrase(r, p);
    Phrase_QueueForReadback(r, "GROUND", 820, p);
}

void Ground_InitialCallReadback(pilot *r)
{
    Phrase p;
    Arrival_parkingPhrase(r, p);
    Phrase_Format(p.text, sizeof p.text, "%s", p.readback);
    p.readback[0] = '\0';
    // Heard where the taxi instruction was: ground, or the tower of an airport without ground.
    const char *facility = gLastReadbackRequest.message == 820 && !gLastReadbackRequest.frequencyFilter.empty()
                               ? gLastReadbackRequest.frequencyFilter.c_str()
                               : "GROUND";
    Phrase_Queue(r, PHRASE_PILOT, facility, 0, p);
    r->serviceTerminated = true;
    r->gParkingStruct.id = 1;
    r->gIsCopiing = 0;
}
