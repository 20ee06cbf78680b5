// Filing: the form checked into locals, then applied to the flight in one step.
#include "planning/FlightPlanFiling.h"

#include <cmath>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMNavigation.h"
#include "monitor/WaypointTracking.h"
#include "navdata/AptNav.h"
#include "navdata/Callsigns.h"
#include "navdata/FindNavType.h"
#include "navdata/Parser.h"
#include "navdata/ProcedureSearch.h"
#include "planning/FlightPlanFiles.h"
#include "planning/FlightPlanRoute.h"
#include "planning/FlightPlanText.h"
#include "planning/FlightPlanWindow.h"
#include "planning/Fms.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "plugin/FacilityNaming.h"
#include "plugin/FirstFrame.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/AboutWindow.h"
#include "ui/Settings.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"

char IcaoFlightName[32] = "";
char IcaoFlightNumber[32] = "";
std::string pianoDiVolo;
std::string arrAirportICAO;

namespace {

const char *const kTag = "ControlFileFlightPlanHandler";
const float kFeetPerMetre = 1.0f / 0.3048f;

/// Everything a filing would change, worked out before anything changes.
struct CheckedPlan {
    int transDep = 0, transArr = 0; ///< hundreds of feet
    std::string departure, arrival;
    bool departureChanged = false;
    Parser departureAirport; ///< read only when the departure changed
    std::string departureName;
    double newFrequency = 0; ///< COM1 at the new departure airport; 0 leaves the radio alone
    std::string flightName, flightNumber, callsign;
    int plannedFL = 0, descentSpeed = 0;
    std::string route;
    std::vector<pilot::flightPlanLoc> points;
    float arrivalElevation_ft = 0;
};

/// Shows the refusal; the filing stops.
bool Filing_refuse(const char *text)
{
    PrintInfo(kTag, "Flight plan refused: %s", text);
    CreateWarningWinControl(300, 500, 420, 80, "Vellomir - Warning", text);
    return false;
}

/// The airport with exactly this identifier nearest to (lat, lon): its elevation (m) and name.
bool Filing_findAirport(const std::string &code, float lat, float lon, float *height_m, std::string *name)
{
    NavAirport airport;
    if (!FindNav_Airport(code, lat, lon, &airport))
        return false;
    if (height_m != nullptr)
        *height_m = airport.height_m;
    if (name != nullptr)
        *name = airport.name;
    return true;
}

/// The new departure airport read from the scenery, and the COM1 frequency of the tuned kind of
/// facility there.
bool Filing_readDeparture(CheckedPlan &plan, const pilot &record)
{
    PrintInfo(kTag, "Departure airport changed from %s to %s", gActualAptICAO, plan.departure.c_str());
    auto entry = IcaoMap.find(plan.departure);
    if (entry == IcaoMap.end()) {
        PrintInfo(kTag, "Departure airport %s is not in the scenery", plan.departure.c_str());
        return false;
    }
    PrintInfo(kTag, "Airport to search in file: %s ...", entry->second.ICAOfilePath.c_str());
    PrintInfo(kTag, "Looking for: %s ...", plan.departure.c_str());
    if (plan.departureAirport.readAptDat(plan.departure, entry->second.ICAOfilePath, entry->second.readOffset,
                                         record.variazioneMagnetica) != 1)
        return false;
    if (!Filing_findAirport(plan.departure, (float)record.latitudine, (float)record.longitudine, nullptr,
                            &plan.departureName))
        PrintInfo(kTag, "ControlFileFlightPlanHandler - Can't update ICAO airport name for %s", plan.departure.c_str());

    const std::string &facility = gActualFrequencyName;
    const Parser &apt = plan.departureAirport;
    if (facility.find("DELIVERY") != std::string::npos)
        plan.newFrequency = apt.deliveryFrequency;
    else if (facility.find("GROUND") != std::string::npos)
        plan.newFrequency = apt.groundFrequency;
    else if (facility.find("TOWER") != std::string::npos)
        plan.newFrequency = apt.towerFrequency;
    else if (facility.find("APPROACH") != std::string::npos)
        plan.newFrequency = apt.approachFrequency;
    if (plan.newFrequency <= 0)
        plan.newFrequency = 0; // the new airport lacks that facility: the radio stays as tuned
    return true;
}

/// Cruise level: one number, its whole part between 1 and 610.
bool Filing_cruiseLevel(const std::string &text, int *level)
{
    double value = 0;
    if (!Utils_ParseDouble(text.c_str(), &value) || value < 1 || value >= 611)
        return false;
    *level = (int)value;
    return true;
}

/// Every check of the form, in the order the user is told about them.
bool Filing_check(const FlightPlanForm &form, const pilot &record, CheckedPlan &plan)
{
    int transDep_ft = 0, transArr_ft = 0;
    Utils_LeadingInt(form.transDep.c_str(), &transDep_ft);
    Utils_LeadingInt(form.transArr.c_str(), &transArr_ft);
    if (transDep_ft < 1000 || transArr_ft < 1000)
        return Filing_refuse("transition levels incorrect");
    plan.transDep = transDep_ft / 100;
    plan.transArr = transArr_ft / 100;

    plan.departure = FlightPlan_CleanCode(form.departure);
    if (plan.departure.size() < 3)
        return Filing_refuse("Invalid departure airport");
    plan.departureChanged = plan.departure != gActualAptICAO;
    if (plan.departureChanged && !Filing_readDeparture(plan, record))
        return Filing_refuse("Departure airport not found");

    plan.flightName = FlightPlan_CleanName(form.flightName);
    plan.flightNumber = FlightPlan_CleanNumber(form.flightNumber);
    if (plan.flightNumber.empty())
        plan.flightNumber = FlightPlan_CleanNumber(gAcfName);
    bool airline = plan.flightName.size() == 3 && isalpha((unsigned char)plan.flightName[0]) &&
                   isalpha((unsigned char)plan.flightName[1]) && isalpha((unsigned char)plan.flightName[2]);
    std::string spoken = airline ? Utils_nomeLinea(plan.flightName.c_str()) : plan.flightName;
    plan.callsign = FlightPlan_Callsign(spoken, plan.flightNumber, record.acfWeight > HEAVY_WEIGHT_KG);

    plan.arrival = FlightPlan_CleanCode(form.arrival);
    if (plan.arrival.size() < 3)
        return Filing_refuse("Invalid arrival airport");
    if (!Filing_cruiseLevel(form.flightLevel, &plan.plannedFL))
        return Filing_refuse("flight level incorrect");
    Utils_LeadingInt(form.descentSpeed.c_str(), &plan.descentSpeed);
    PrintDebug(kTag, "Expected descent speed: %i", plan.descentSpeed);
    if (plan.descentSpeed < 100)
        return Filing_refuse("descent speed incorrect");

    if (form.route.size() > FLIGHT_PLAN_ROUTE_MAX) {
        char text[128];
        snprintf(text, sizeof text, "Flight plan too long: at most %i characters", (int)FLIGHT_PLAN_ROUTE_MAX);
        return Filing_refuse(text);
    }
    std::vector<std::string> words = FlightPlan_RouteWords(form.route);
    PrintInfo(kTag, "Flight Plan filed: (%s) %s (%s)", plan.departure.c_str(), FlightPlan_JoinWords(words).c_str(),
              plan.arrival.c_str());
    PrintInfo(kTag, "Cruise altitude: %i.", plan.plannedFL);
    if (FlightPlan_RemoveWords(words, {plan.departure, plan.arrival}) > 0) {
        if (aboutIsOpen != 1) {
            PrintInfo(kTag, "departure or arrival airport found in flight plan, returning....");
            return Filing_refuse("Departure and arrival airports should not be filed in flight plan");
        }
        PrintInfo(kTag, "After cleaning %s", FlightPlan_JoinWords(words).c_str());
    }
    if (FlightPlan_RemoveWords(words, {"SID", "STAR"}) > 0) {
        PrintInfo(kTag, "SID or STAR found in flight plan, cleaning...");
        PrintInfo(kTag, "Flight Plan depurated: (%s) %s (%s)", plan.departure.c_str(),
                  FlightPlan_JoinWords(words).c_str(), plan.arrival.c_str());
    }
    plan.route = FlightPlan_JoinWords(words);

    PrintInfo(kTag, "AnalyzeFlightPlan invoked");
    ResolvedRoute route = FlightPlan_ResolveRoute(words, const_cast<pilot *>(&record));
    if (!route.unknownWord.empty()) {
        std::string text = "Waypoint not found: " + route.unknownWord;
        return Filing_refuse(text.c_str());
    }
    if (!words.empty() && route.points.empty())
        return Filing_refuse("No waypoint of the flight plan was found");
    FlightPlan_PurgeDuplicates(route.points);
    plan.points = route.points;

    float lat = (float)record.latitudine, lon = (float)record.longitudine;
    if (plan.points.empty()) {
        PrintDebug(kTag, "searching arrival airport close to aircraft");
    } else {
        lat = plan.points.back().lat;
        lon = plan.points.back().lon;
        PrintDebug(kTag, "searching arrival airport close to the last flight plan fix available %s",
                   plan.points.back().name.c_str());
    }
    float height_m = 0;
    std::string arrivalName;
    if (!Filing_findAirport(plan.arrival, lat, lon, &height_m, &arrivalName)) {
        PrintInfo(kTag, "Arrival airport not found: %s.", plan.arrival.c_str());
        return Filing_refuse("Arrival airport not found");
    }
    plan.arrivalElevation_ft = height_m * kFeetPerMetre;
    PrintInfo(kTag, "Arrival airport found: %s, with name %s", plan.arrival.c_str(), arrivalName.c_str());

    std::string departureName;
    if (Filing_findAirport(plan.departure, (float)record.latitudine, (float)record.longitudine, nullptr,
                           &departureName)) {
        if (FindNav_IsHeliportName(departureName) && aboutIsOpen != 1) {
            PrintInfo(kTag, "ControlFileFlightPlanHandler - airport %s is a heliport (matched [H] in: %s)",
                      plan.departure.c_str(), departureName.c_str());
            return Filing_refuse("Departure ICAO is an heliport");
        }
        PrintDebug(kTag, "airport %s is not a heliport [H]", plan.departure.c_str());
    }
    return true;
}

/// The checked plan becomes the flight's.
void Filing_apply(const FlightPlanForm &form, CheckedPlan &plan, pilot &record)
{
    gTransLevelFLDep = plan.transDep;
    gTransLevelFLArr = plan.transArr;
    record.depAirportICAO = plan.departure;
    if (plan.departureChanged) {
        snprintf(gActualAptICAO, sizeof gActualAptICAO, "%s", plan.departure.c_str());
        record.parser = std::move(plan.departureAirport);
        record.depAirportFullName = plan.departureName;
        if (plan.newFrequency > 0) {
            record.gActualFrequency = plan.newFrequency;
            gActualFrequency = plan.newFrequency;
            if (actualFrequencyRef != nullptr)
                XPLMSetDatai(actualFrequencyRef, (int)plan.newFrequency);
            PrintInfo(kTag, "COM1 retuned to %s at %s (%.0f)", gActualFrequencyName.c_str(), plan.departure.c_str(),
                      plan.newFrequency);
        }
    }
    snprintf(IcaoFlightName, sizeof IcaoFlightName, "%s", plan.flightName.c_str());
    snprintf(IcaoFlightNumber, sizeof IcaoFlightNumber, "%s", plan.flightNumber.c_str());
    record.SetPilotName(plan.callsign.c_str());
    arrAirportICAO = record.arrAirportICAO = plan.arrival;
    record.plannedFL = plan.plannedFL;
    tdDescentSpeed = plan.descentSpeed;
    pianoDiVolo = record.pianoDiVolo = plan.route;
    record.flightPlanVec.clear();
    FlightPlan_AppendRoute(plan.points, &record);
    NaviCheck_ActivateWaypoint(&record, 0, true);
    record.altezzaAeroportoArrivo = plan.arrivalElevation_ft;

    // A new plan filed on the ground starts its procedures afresh: the old SID (or STAR) would else stay.
    if (record.isOnGround == 1) {
        record.sids.clear();
        record.sidFixes.clear();
        record.stars.clear();
        record.starFixes.clear();
        record.numeroDiSidTrovate = record.numeroDiStarTrovate = 0;
        record.selectedSID = record.selectedSTAR = 0;
        record.sidSelezionata = record.sidFiled = record.starSelezionata = record.starFiled = false;
    }
    lookForSID = form.lookForSID != 0 ? 1 : 0;
    lookForSTAR = form.lookForSTAR != 0 ? 1 : 0;
    if (lookForSID == 1) {
        manualChooseSID = form.manualSID != 0 ? 1 : 0;
    } else {
        record.sidSelezionata = true;
        record.sidFiled = false;
        manualChooseSID = 0;
    }
    if (lookForSTAR == 1) {
        manualChooseSTAR = form.manualSTAR != 0 ? 1 : 0;
    } else {
        record.starSelezionata = true;
        record.starFiled = false;
        manualChooseSTAR = 0;
    }
    record.vfrFlight = form.vfr != 0 ? 1 : 0;
    PrintDebug(kTag, "lookForSID/STAR %s/%s", lookForSID ? "true" : "false", lookForSTAR ? "true" : "false");
    PrintDebug(kTag, "manualChooseSID/STAR %s / %s", manualChooseSID ? "true" : "false",
               manualChooseSTAR ? "true" : "false");
    PrintDebug(kTag, "%s flight requested", record.vfrFlight ? "VFR" : "IFR");
    record.gIsFPFiled = gIsFPFiled = 1;
}

/// The planning chain that follows a filing: levels, departure runway, SID, FMS.
void Filing_planningChain(pilot &record)
{
    StampaPianoDiVoloAttuale(&record, true);
    PrintDebug(kTag, "ControlFileFlightPlanHandler - Setto Cruise FL per tutti i punti non STAR e FIX");
    drawFlighLevels(&record);
    StampaPianoDiVoloAttuale(&record, true);
    SetMatchingRunway(&record, 1);
    if (record.numeroDiSidTrovate == 0 && record.isOnGround == 1) {
        if (lookForSID == 1) {
            searchSID11(record.depAirportICAO, record.departureRunwayName, &record);
            if (record.numeroDiSidTrovate > 0 && manualChooseSID == 0)
                fileSID11(&record);
        } else {
            PrintDebug(kTag, "Skipping SID search as requested by user");
        }
    } else {
        record.sidSelezionata = true;
    }
    if (enableFmcProgramming == 1 && record.datiPilotaImpostati == 1 && !record.flightPlanVec.empty()) {
        PrintDebug(kTag, "ControlFileFlightPlanHandler - Program and Print FMS!");
        ProgramFMS(&record);
    }
}

} // namespace

bool FlightPlan_File(const FlightPlanForm &form, pilot *record)
{
    PrintDebug(kTag, "Filing flight plan");
    XPLMDataRef weight = XPLMFindDataRef("sim/flightmodel/weight/m_total");
    if (weight != nullptr)
        record->acfWeight = XPLMGetDataf(weight);

    CheckedPlan plan;
    if (!Filing_check(form, *record, plan))
        return false;
    Filing_apply(form, plan, *record);
    FlightPlanWindow_Destroy();

    pilot::WriteFlightPlanKml(record);
    StampaPianoDiVoloAttuale(record, false);
    std::string failed;
    if (!FlightPlan_WriteFiles(FlightPlan_PlanFileText(record->depAirportICAO, record->pianoDiVolo,
                                                       record->arrAirportICAO),
                               FlightPlan_SettingsFileText(record->plannedFL, IcaoFlightName, IcaoFlightNumber,
                                                           gTransLevelFLDep, gTransLevelFLArr),
                               &failed)) {
        std::string text = "The flight plan is filed, but could not be saved in " + failed;
        CreateWarningWinControl(300, 500, 420, 80, "Vellomir - Warning", text.c_str());
    }
    Filing_planningChain(*record);
    return true;
}
