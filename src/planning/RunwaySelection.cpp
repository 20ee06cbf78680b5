// Runway choice of the user's flight: the airport's runway ends, the pilot's preference, the reference
// point, the rules of planning/RunwayRules, and the chosen end copied into the flight record.
#include "planning/RunwaySelection.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "XPLMNavigation.h"
#include "XPLMProcessing.h"
#include "comms/MessageQueue.h"
#include "monitor/HeadingVectors.h"
#include "navdata/AptNav.h"
#include "planning/RunwayRules.h"
#include "navdata/ProcedureSearch.h"
#include "planning/ApproachPath.h"
#include "planning/Procedures.h"
#include "plugin/FirstFrame.h"
#include "plugin/Log.h"
#include "plugin/SimDataRefs.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"

namespace
{

const char *const kTag = "SetMatchingRunway";
/// Below this wind (knots) an airport without runway-use rules gets its nearest runway.
const int kCalmWind_kt = 5;
/// Feet per metre of the airport elevation as the navigation database gives it.
const float kMetresPerFoot = 0.30479f;

/// The arrival airport whose reading found no runway end: it is not read again for every call.
std::string gArrivalWithoutRunways;

bool RunwaySelection_verbose()
{
    return developerDEBUG || userDebug == 1;
}

/// Reads the arrival airport into targetAirport through the scenery index, once per airport.
void RunwaySelection_readArrival(pilot *record)
{
    const std::string &icao = record->arrAirportICAO;
    if (icao.empty() || icao == gArrivalWithoutRunways)
        return;
    auto entry = IcaoMap.find(icao);
    if (entry == IcaoMap.end()) {
        PrintInfo(kTag, "Arrival airport %s is not in the scenery index", icao.c_str());
    } else {
        PrintInfo(kTag, "Parser start for arrival airport %s from file %s", icao.c_str(),
                  entry->second.ICAOfilePath.c_str());
        record->targetAirport.readAptDat(icao, entry->second.ICAOfilePath, entry->second.readOffset,
                                         record->variazioneMagnetica);
    }
    if (record->targetAirport.runways.empty()) {
        gArrivalWithoutRunways = icao;
        PrintInfo(kTag, "Arrival airport %s has no runway, not read again", icao.c_str());
    }
}

/// The airport whose ends are chosen from.
const Parser &RunwaySelection_airport(pilot *record, int isDeparture)
{
    if (isDeparture) {
        PrintDebug(kTag, "Take parser object");
        return record->parser;
    }
    if (record->targetAirport.runways.empty()) {
        // The departure airport stands in only when it is the arrival airport itself.
        if (!record->arrAirportICAO.empty() && record->arrAirportICAO == record->depAirportICAO &&
            !record->parser.runways.empty()) {
            PrintInfo(kTag, "Take parser object (targetAirport has no runways)");
            return record->parser;
        }
        RunwaySelection_readArrival(record);
    }
    PrintInfo(kTag, "Take targetAirport object");
    return record->targetAirport;
}

/// The preferred end's position, or -1 for the automatic choice. A preference given at another airport,
/// or pointing past the airport's ends, is dropped.
int RunwaySelection_preference(pilot *record, int isDeparture, const Parser &airport)
{
    int &preferred = isDeparture ? record->preferredDepRunway : record->preferredArrRunway;
    std::string &preferredAt = isDeparture ? record->preferredDepRunwayAirport : record->preferredArrRunwayAirport;
    const std::string &icao = isDeparture ? record->depAirportICAO : record->arrAirportICAO;
    if (preferred == 0)
        return -1;
    if (preferredAt != icao) {
        PrintInfo(kTag, "Preferred runway %i was chosen at %s, not at %s: automatic choice", preferred,
                  preferredAt.c_str(), icao.c_str());
    } else if (preferred < 0 || preferred > (int)airport.runways.size()) {
        PrintInfo(kTag, "Preferred runway %i is not one of the %i runways of %s: automatic choice", preferred,
                  (int)airport.runways.size(), icao.c_str());
    } else {
        PrintInfo(kTag, isDeparture ? "Take preferred departure runway" : "Take preferred arrival runway");
        return preferred - 1;
    }
    preferred = 0;
    preferredAt.clear();
    return -1;
}

struct ReferencePoint {
    double lat = 0, lon = 0;
};

ReferencePoint RunwaySelection_reference(const pilot *record, int isDeparture)
{
    const bool verbose = RunwaySelection_verbose();
    ReferencePoint ref{record->latitudine, record->longitudine};
    const auto &route = record->flightPlanVec;
    const int n = (int)route.size(), i = record->gActualFlightPlanIndex;
    if (isDeparture) {
        if (verbose)
            PrintInfo(kTag, "Departure, take plane position as reference");
    } else if (n == 0) {
        if (verbose)
            PrintInfo(kTag, "Flight plan vector empty, take plane position as reference");
    } else if (i >= 0 && i < n) {
        if (verbose) {
            PrintInfo(kTag, "An existing waypoint is active...");
            PrintInfo(kTag, "Take actual waypoint %s as reference", route[(size_t)i].name.c_str());
        }
        ref = {route[(size_t)i].lat, route[(size_t)i].lon};
    } else if (i >= 1 && n >= 2) {
        // Past the end of the route: its last waypoint.
        const pilot::flightPlanLoc &last = route.back();
        if (verbose) {
            PrintInfo(kTag, "Actual waypoint is invalid, take previous...");
            PrintInfo(kTag, "Take last waypoint %s as reference", last.name.c_str());
        }
        ref = {last.lat, last.lon};
    } else if (verbose) {
        PrintInfo(kTag, "No last waypoint, take plane position as reference");
    }
    if (verbose)
        PrintInfo(kTag, "Reference point: Lat %f Lon: %f", ref.lat, ref.lon);
    return ref;
}

void RunwaySelection_logRules(const Parser &airport)
{
    if (!developerDEBUG)
        return;
    PrintDebug(kTag, "runwaysInUseDeparture.size: %i", (int)airport.runwaysInUseDeparture.size());
    PrintDebug(kTag, "runwaysInUseArrival.size: %i", (int)airport.runwaysInUseArrival.size());
    for (const auto *rules : {&airport.runwaysInUseDeparture, &airport.runwaysInUseArrival})
        for (const Parser::runwayInUseDeparture &rule : *rules)
            PrintDebug(kTag, "Runway %s in-use: %s", rule.runway, rule.operations);
}

/// The automatic choice: runway-use rules against the wind, else the nearest end in calm wind, else the
/// end best aligned with the wind.
int RunwaySelection_automatic(pilot *record, int isDeparture, const Parser &airport)
{
    PrintInfo(kTag, "Get wind data...");
    const int wind_deg = Runway_WindDirection(XPLMGetDataf(gWindHeadingRef));
    const int wind_kt = Runway_WindSpeed(XPLMGetDataf(gWindSpeedRef));
    const ReferencePoint ref = RunwaySelection_reference(record, isDeparture);
    RunwaySelection_logRules(airport);

    const auto &rules = isDeparture ? airport.runwaysInUseDeparture : airport.runwaysInUseArrival;
    if (!rules.empty()) {
        PrintInfo(kTag,
                  isDeparture
                      ? "Get departure runway by flow in-use and wind direction...(runwaysInUseDeparture.size %i)"
                      : "Get arrival runway by flow in-use and wind direction...(runwaysInUseArrival.size %i)",
                  (int)rules.size());
        std::vector<int> eligible = Runway_EligibleByRules(airport.runways, rules);
        if (!eligible.empty())
            return Runway_BestForWind(airport.runways, eligible, wind_deg);
        PrintInfo(kTag, "No runway of the airport is named by its runway-use rules");
    }
    if (wind_kt < kCalmWind_kt) {
        PrintInfo(kTag, "No airport flows found, wind less than 5 knots, %i (%i knots). Get runway by location...",
                  wind_deg, wind_kt);
        const std::string ilsAirport = isDeparture ? std::string(gActualAptICAO) : record->arrAirportICAO;
        return Runway_Nearest(record, airport.runways, isDeparture, ref.lat, ref.lon, ilsAirport);
    }
    PrintInfo(kTag, "No airport flows found, get runway by wind direction. Wind detected %i %i knots", wind_deg,
              wind_kt);
    return Runway_BestForWind(airport.runways, Runway_AllEnds(airport.runways), wind_deg);
}

/// The airport's elevation (feet) from the navigation database, with its name into the record.
float RunwaySelection_elevation(pilot *record, int isDeparture)
{
    const std::string &icao = isDeparture ? record->depAirportICAO : record->arrAirportICAO;
    float lat = (float)record->latitudine, lon = (float)record->longitudine;
    XPLMNavRef airport = XPLM_NAV_NOT_FOUND;
    if (!icao.empty())
        airport = XPLMFindNavAid(nullptr, icao.c_str(), &lat, &lon, nullptr, xplm_Nav_Airport);
    if (airport == XPLM_NAV_NOT_FOUND) {
        PrintInfo(kTag, "Airport not found to set runway height: %s (pilot %s, %s).", icao.c_str(), record->nomePilota,
                  isDeparture ? "departure" : "arrival");
        return 0;
    }
    float height_m = 0;
    char name[256] = {0};
    XPLMGetNavAidInfo(airport, nullptr, nullptr, nullptr, &height_m, nullptr, nullptr, nullptr, name, nullptr);
    (isDeparture ? record->depAirportFullName : record->arrAirportFullName) = name;
    PrintInfo(kTag, "Airport found to set runway height: %s (pilot %s, %s).", icao.c_str(), record->nomePilota,
              isDeparture ? "departure" : "arrival");
    return std::isfinite(height_m) ? height_m / kMetresPerFoot : 0.0f;
}

void RunwaySelection_apply(pilot *record, int isDeparture, const Parser::runway &end, int position)
{
    PrintInfo(kTag, "Take runway %s.", end.name);
    PrintInfo(kTag, "Set runway information...");
    pilot::runwayStruct &chosen = isDeparture ? record->departureRunwayStruct : record->arrivalRunwayStruct;
    if (isDeparture)
        snprintf(record->departureRunwayName, sizeof record->departureRunwayName, "%s", end.name);
    snprintf(chosen.name, sizeof chosen.name, "%s", end.name);
    chosen.number = end.number;
    chosen.lat = end.lat;
    chosen.lon = end.lon;
    chosen.heading = end.heading;
    chosen.thresholdLength = end.thresholdLength;
    chosen.index = position + 1;
    chosen.heightft = RunwaySelection_elevation(record, isDeparture);
    PrintInfo(kTag, "Height of Runway: %f.", (double)chosen.heightft);
    PrintInfo(kTag, "Runway information set!");
}

/// No end to choose: the runway record is cleared, so that no stale runway is used, and the pilot told.
void RunwaySelection_none(pilot *record, int isDeparture)
{
    const std::string &icao = isDeparture ? record->depAirportICAO : record->arrAirportICAO;
    PrintInfo(kTag, "No runway at %s airport %s: runway cleared", isDeparture ? "departure" : "arrival", icao.c_str());
    if (isDeparture) {
        record->departureRunwayStruct = pilot::runwayStruct();
        record->departureRunwayName[0] = '\0';
    } else {
        record->arrivalRunwayStruct = pilot::runwayStruct();
    }
    CreateWarningWinControl(400, 400, 240, 90, "Vellomir - Warning",
                            isDeparture ? "No runway at departure airport" : "No runway at arrival airport");
}

} // namespace

void SetMatchingRunway(pilot *record, int isDeparture)
{
    PrintInfo(kTag, "Set matching runway...");
    PrintInfo(kTag, "Creo parser object per aereo: %s", record->nomePilota);
    const bool arrivalKnownEmpty = !isDeparture && !record->arrAirportICAO.empty() &&
                                   record->arrAirportICAO == gArrivalWithoutRunways &&
                                   record->targetAirport.runways.empty();
    const Parser &airport = RunwaySelection_airport(record, isDeparture);
    int position = RunwaySelection_preference(record, isDeparture, airport);

    const int count = (int)airport.runways.size();
    PrintInfo(kTag, "Runway lookup: %s", isDeparture ? "departure" : "arrival");
    for (int k = 0; k < count; k++)
        PrintInfo(kTag, "Runway found %i/%i: %s (isDeparture: %i)", k + 1, count, airport.runways[(size_t)k].name,
                  isDeparture);
    if (count == 0) {
        // An arrival airport already found without runways was reported when it was read.
        if (arrivalKnownEmpty) {
            record->arrivalRunwayStruct = pilot::runwayStruct();
            return;
        }
        RunwaySelection_none(record, isDeparture);
        return;
    }
    if (position < 0)
        position = RunwaySelection_automatic(record, isDeparture, airport);
    if (position < 0) // only an end without a usable heading everywhere: take the first
        position = 0;
    RunwaySelection_apply(record, isDeparture, airport.runways[(size_t)position], position);
}

/// The SIDs of the new departure runway replace those of the old one: searched again, and filed unless the
/// pilot chooses; until then the route is the filed one without the old runway's SID.
static void ChangeDepRunway_refileSid(pilot *record)
{
    PrintInfo("ChangeDepRunway", "lancio cerca sid per aereo %s, aereoporto %s e runway %s (flight plan size: %i)",
              record->nomePilota, record->depAirportICAO.c_str(), record->departureRunwayName,
              (int)record->flightPlanVec.size());
    searchSID11(record->depAirportICAO, record->departureRunwayName, record);
    if (record->numeroDiSidTrovate > 0 && manualChooseSID == 0) {
        fileSID11(record);
    } else {
        restorePianoDivolo(record);
        if (record->numeroDiSidTrovate == 0)
            fileSID11(record); // the dummy departure point when the route is empty
    }
}

void ChangeDepRunway(pilot *record)
{
    PrintInfo("ChangeDepRunway", "ChangeDepRunway - aereo %s, aereoporto %s e runway %s (flight plan size: %i)",
              record->nomePilota, record->depAirportICAO.c_str(), record->departureRunwayName,
              (int)record->flightPlanVec.size());
    SetMatchingRunway(record, 1);
    // A taxi route already given leads to the new runway while the taxi is still to be approved.
    if (record->isOnGround == 1 && record->gIsTaxiingApproved == 0 && !record->taxiPoints.empty())
        TracciaTaxiPath(record);
    // The clearance is given again when a SID had been chosen before the change.
    const bool sidChosenBefore = record->sidSelezionata;
    if (record->isOnGround == 1 && lookForSID == 1)
        ChangeDepRunway_refileSid(record);
    if (enableFmcProgramming == 1 && record->datiPilotaImpostati == 1 && !record->flightPlanVec.empty()) {
        PrintInfo("ChangeDepRunway", "ChangeDepRunway - ProgramFMS");
        ProgramFMS(record);
    }
    if (sidChosenBefore)
        FlightPlanning_RequestIFRClearanceResponse(record);
}

void ChangeArrRunway(pilot *record)
{
    const char *const tag = "ChangeArrRunway";
    gIsCopiingSince = XPLMGetElapsedTime();
    PrintInfo(tag, "Choose target runway manually...");
    SetMatchingRunway(record, 0);
    PrintInfo(tag, "Target runway chosen!");
    PrintInfo(tag, "Cerco STAR per nuova pista %s", record->arrivalRunwayStruct.name);
    if (lookForSTAR == 1)
        searchSTAR11(record->arrAirportICAO, record->arrivalRunwayStruct.name, record);
    else
        record->starSelezionata = true;
    if (manualChooseSTAR == 0) {
        PrintInfo(tag, "SetILSPath from NaviChekNavigation - Setto qui l'ils");
        PrintInfo(tag, "Call SetILSPath.");
        SetILSPath(record);
    } else {
        record->ilsPathCreated = false; // built once the pilot has chosen the STAR
    }
    cercaNuovoFlightPlanIndex(record);
    if (record->starSelezionata && enableFmcProgramming == 1 && record->datiPilotaImpostati == 1 &&
        !record->flightPlanVec.empty()) {
        PrintInfo(tag, "ChangeArrRunway - ProgramFMS");
        // The new runway's elevation and active waypoint change the levels: redrawn before the FMS gets them.
        drawFlighLevels(record);
        ProgramFMS(record);
        PrintInfo(tag, "SetILSPath - Done4");
    } else {
        PrintInfo(tag, "SetILSPath - Skipping ProgramFMS, deferred to fileSTAR later");
    }
    PrintInfo(tag, "ILS Path set to RWY %s", record->arrivalRunwayStruct.name);
    PrintInfo(tag, "flightPlanVec size now %i", (int)record->flightPlanVec.size());
    if (!record->flightPlanVec.empty()) {
        PrintInfo(tag, "updating CalcolaHeadingError");
        CalcolaHeadingError(record);
    }
    PrintInfo(tag, "leaving function");
}
