// Programming X-Plane's legacy FMS from the route. The FMS holds 100 contiguous entries: the route is
// written without gaps through a window around the active waypoint, and the entry of every programmed route
// waypoint is kept so that the active waypoint, the jump and the destination name the right entry.
#include "planning/Fms.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "XPLMNavigation.h"
#include "monitor/Functions.h"
#include "monitor/WaypointTracking.h"
#include "planning/JumpToWaypoint.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {

const char *const kTag = "ProgramFMS";
/// X-Plane's legacy FMS entries.
const int kFmsEntries = 100;
/// Size of the identifier buffers the SDK writes into.
const int kNavIdBytes = 256;

/// What the last ProgramFMS wrote: the entry of each route waypoint (-1 none) and the names it was
/// programmed for, so that a route rebuilt since is noticed.
struct FmsProgram {
    std::vector<int> entryOf;
    std::vector<std::string> names;
    int windowStart = 0, windowEnd = 0; ///< route indexes [start, end) of the window
    int arrivalEntry = -1;
    int lastEntry = -1;
};
FmsProgram gFmsProgram;

bool Fms_Allowed(const pilot *p)
{
    return enableFmcProgramming == 1 && p != nullptr && p->datiPilotaImpostati == 1 && !p->flightPlanVec.empty();
}

bool Fms_ValidPosition(float lat, float lon)
{
    return std::isfinite(lat) && std::isfinite(lon) && lat >= -90.0f && lat <= 90.0f && lon >= -180.0f &&
           lon <= 180.0f;
}

/// Kinds the FMS takes by reference; every other point is entered by latitude and longitude.
bool Fms_TakesType(int navType)
{
    return navType == xplm_Nav_Airport || navType == xplm_Nav_NDB || navType == xplm_Nav_VOR ||
           navType == xplm_Nav_Fix;
}

/// The navaid of exactly this identifier and type nearest to (lat, lon). The simulator's search matches
/// identifier fragments (an empty one matches everything, "SEA" finds "KSEA"), so the answer is checked.
XPLMNavRef Fms_FindExact(const std::string &id, XPLMNavType type, float lat, float lon)
{
    if (id.empty())
        return XPLM_NAV_NOT_FOUND;
    XPLMNavRef ref = XPLMFindNavAid(nullptr, id.c_str(), &lat, &lon, nullptr, type);
    if (ref == XPLM_NAV_NOT_FOUND)
        return ref;
    char found[kNavIdBytes] = "";
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, found, nullptr, nullptr);
    return id == found ? ref : XPLM_NAV_NOT_FOUND;
}

/// Empties the FMS. Clearing may shift the later entries down, so it runs from the last entry to the first;
/// the count is read again until nothing is left.
void Fms_ClearAll()
{
    int count = XPLMCountFMSEntries();
    for (int pass = 0; pass < kFmsEntries && count > 0; pass++) {
        for (int i = std::min(count, kFmsEntries) - 1; i >= 0; i--)
            XPLMClearFMSEntry(i);
        count = XPLMCountFMSEntries();
    }
    PrintInfo(kTag, "FMS cleared, entries now: %i", count);
}

/// Entry 0: the departure airport on the ground, the present position in the air (after a diversion the
/// departure airport is behind the aircraft).
void Fms_ProgramStart(pilot *p)
{
    const float lat = (float)p->latitudine, lon = (float)p->longitudine;
    PrintInfo(kTag, "Programming FMS Departure Runway");
    if (p->isOnGround == 0 && Fms_ValidPosition(lat, lon)) {
        PrintInfo(kTag, "Airborne: FMS entry 0 is the present position %f %f", lat, lon);
        XPLMSetFMSEntryLatLon(0, lat, lon, std::max(0, (int)p->altitudineFeets));
        return;
    }
    XPLMNavRef airport = Fms_FindExact(p->depAirportICAO, xplm_Nav_Airport, lat, lon);
    if (airport != XPLM_NAV_NOT_FOUND) {
        XPLMSetFMSEntryInfo(0, airport, 0);
    } else if (Fms_ValidPosition(lat, lon)) {
        PrintInfo(kTag, "Departure airport '%s' not found, FMS entry 0 is the aircraft position",
                  p->depAirportICAO.c_str());
        XPLMSetFMSEntryLatLon(0, lat, lon, 0);
    }
}

/// Writes route waypoint k into entry `entry`; false when it is not programmed.
bool Fms_ProgramWaypoint(const pilot::flightPlanLoc &loc, int k, int entry)
{
    const int altitude_ft = std::max(0, loc.fl) * 100;
    if (!Fms_ValidPosition(loc.lat, loc.lon)) {
        PrintInfo(kTag, "Waypoint %i %s has no valid position (%f %f), not programmed", k, loc.name.c_str(), loc.lat,
                  loc.lon);
        return false;
    }
    if (loc.navType != 0) {
        PrintDebug(kTag, "Searching NavAid (name, lat, lon, navtype) %s %f %f %i", loc.name.c_str(), loc.lat, loc.lon,
                   loc.navType);
        XPLMNavRef ref = Fms_TakesType(loc.navType)
                             ? Fms_FindExact(loc.name, (XPLMNavType)loc.navType, loc.lat, loc.lon)
                             : XPLM_NAV_NOT_FOUND;
        if (ref != XPLM_NAV_NOT_FOUND) {
            PrintDebug(kTag, "Entering know FMS type (NavType!0: %i) (index, lat, lon, FL): %i, %f, %f, %i %s",
                       loc.navType, entry, loc.lat, loc.lon, loc.fl, loc.name.c_str());
            XPLMSetFMSEntryInfo(entry, ref, altitude_ft);
            return true;
        }
        // Not in the simulator's database, or a kind the FMS does not take (DME): the position is known.
        PrintInfo(kTag, "NavAid %s (type %i) not usable in the FMS, entered by latitude/longitude", loc.name.c_str(),
                  loc.navType);
        XPLMSetFMSEntryLatLon(entry, loc.lat, loc.lon, altitude_ft);
        return true;
    }
    if (programFMSApproxILS == 1) {
        PrintDebug(kTag, "Entering unknow FMS type (NavType 0) - (index, lat, lon, FL): %i, %f, %f, %i %s", entry,
                   loc.lat, loc.lon, loc.fl, loc.name.c_str());
        XPLMSetFMSEntryLatLon(entry, loc.lat, loc.lon, 0);
        return true;
    }
    return false;
}

/// The arrival airport after the last programmed entry; -1 when it cannot be placed.
int Fms_ProgramArrival(pilot *p, int entry)
{
    PrintInfo(kTag, "Programming FMS Arrival Runway");
    const pilot::flightPlanLoc &last = p->flightPlanVec.back();
    PrintDebug(kTag, "searching arrival airport close to the last flight plan fix available %s", last.name.c_str());
    XPLMNavRef airport = Fms_FindExact(p->arrAirportICAO, xplm_Nav_Airport, last.lat, last.lon);
    if (airport != XPLM_NAV_NOT_FOUND) {
        XPLMSetFMSEntryInfo(entry, airport, 0);
        return entry;
    }
    const pilot::runwayStruct &runway = p->arrivalRunwayStruct;
    if ((runway.lat != 0 || runway.lon != 0) && Fms_ValidPosition(runway.lat, runway.lon)) {
        PrintInfo(kTag, "Arrival airport '%s' not found, the arrival runway is entered by latitude/longitude",
                  p->arrAirportICAO.c_str());
        XPLMSetFMSEntryLatLon(entry, runway.lat, runway.lon, 0);
        return entry;
    }
    PrintInfo(kTag, "Arrival airport '%s' not found, no arrival entry", p->arrAirportICAO.c_str());
    return -1;
}

/// The entry to fly to for active waypoint k: its own, else the next programmed one of the window, else the
/// arrival.
int Fms_DestinationFor(int k)
{
    const FmsProgram &fp = gFmsProgram;
    for (int j = std::max(k, 0); j < fp.windowEnd && j < (int)fp.entryOf.size(); j++)
        if (fp.entryOf[(size_t)j] >= 0)
            return fp.entryOf[(size_t)j];
    return fp.arrivalEntry >= 0 ? fp.arrivalEntry : fp.lastEntry;
}

/// True when the last programming was for this route.
bool Fms_ProgrammedFor(const pilot *p)
{
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    if (gFmsProgram.names.size() != route.size())
        return false;
    for (size_t i = 0; i < route.size(); i++)
        if (gFmsProgram.names[i] != route[i].name)
            return false;
    return true;
}

void Fms_SetActiveEntry(const pilot *p, int entry)
{
    if (entry < 0)
        return;
    const int k = Fms_ActiveIndex(p);
    PrintDebug(kTag, "Programming FMS XPLMGetFMSEntryInfo fix to %i", entry);
    char id[kNavIdBytes] = "";
    XPLMGetFMSEntryInfo(entry, nullptr, id, nullptr, nullptr, nullptr, nullptr);
    PrintInfo(kTag, "Programing XPLMSetDisplayedFMSEntry to %i (fp/FMS: %s %s)", entry,
              p->flightPlanVec[(size_t)k].name.c_str(), id);
    XPLMSetDisplayedFMSEntry(entry);
    PrintDebug(kTag, "Programming FMS XPLMSetDestinationFMSEntry fix to %i", entry);
    XPLMSetDestinationFMSEntry(entry);
}

} // namespace

int Fms_ActiveIndex(const pilot *p)
{
    const int size = (int)p->flightPlanVec.size();
    return size == 0 ? 0 : std::min(std::max(p->gActualFlightPlanIndex, 0), size - 1);
}

int Fms_EntryOfWaypoint(const pilot *p, int k)
{
    if (p == nullptr || k < 0 || k >= (int)gFmsProgram.entryOf.size() || !Fms_ProgrammedFor(p))
        return -1;
    return gFmsProgram.entryOf[(size_t)k];
}

void ProgramFMS(pilot *p)
{
    // A route rebuild ends here: a jump window listing the old route must not stay open.
    if (p == nullptr || !Fms_ProgrammedFor(p))
        JumpToWaypoint_Close();
    if (!Fms_Allowed(p))
        return;
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    const int size = (int)route.size();
    PrintInfo(kTag, "Entering FMS Programming (processing %i fixes)", size);
    Fms_ClearAll();

    FmsProgram fp;
    fp.entryOf.assign((size_t)size, -1);
    for (const pilot::flightPlanLoc &loc : route)
        fp.names.push_back(loc.name);
    const int active = Fms_ActiveIndex(p);
    fp.windowStart = std::max(0, active - 1);
    fp.windowEnd = std::min(size, fp.windowStart + (int)FMS_ROUTE_WINDOW);
    if (fp.windowStart > 0 || fp.windowEnd < size)
        PrintInfo(kTag, "Route of %i waypoints: FMS window %i to %i around the active waypoint %i", size,
                  fp.windowStart, fp.windowEnd - 1, active);

    Fms_ProgramStart(p);
    int entry = XPLMCountFMSEntries() > 0 ? 1 : 0;
    for (int k = fp.windowStart; k < fp.windowEnd; k++)
        if (Fms_ProgramWaypoint(route[(size_t)k], k, entry))
            fp.entryOf[(size_t)k] = entry++;
    fp.arrivalEntry = Fms_ProgramArrival(p, entry);
    fp.lastEntry = fp.arrivalEntry >= 0 ? fp.arrivalEntry : entry - 1;
    gFmsProgram = fp;

    // An earlier, longer plan must not show through behind the arrival.
    const int programmed = fp.lastEntry + 1;
    for (int guard = 0; guard < kFmsEntries && XPLMCountFMSEntries() > programmed; guard++)
        XPLMClearFMSEntry(programmed);
    PrintInfo(kTag, "FMS programmed: %i entries", XPLMCountFMSEntries());

    Fms_SetActiveEntry(p, Fms_DestinationFor(active));
    PrintFMS(p);
}

void PrintFMS(pilot *p)
{
    if (!(developerDEBUG || userDebug == 1) || !Fms_Allowed(p))
        return;
    PrintInfo("PrintFMS", "FMS Content start");
    const int count = XPLMCountFMSEntries();
    for (int i = 1; i <= count; i++) {
        char id[kNavIdBytes] = "";
        XPLMGetFMSEntryInfo(i - 1, nullptr, id, nullptr, nullptr, nullptr, nullptr);
        PrintInfo("PrintFMS", "FMS fix %i/%i: %s", i, count, id);
    }
    PrintInfo("PrintFMS", "FMS Content stop");
}

void Fms_FollowActiveWaypoint(pilot *p)
{
    if (!Fms_Allowed(p))
        return;
    const int k = Fms_ActiveIndex(p);
    if (!Fms_ProgrammedFor(p) || k < gFmsProgram.windowStart || k >= gFmsProgram.windowEnd) {
        PrintInfo(kTag, "Active waypoint %i is outside the programmed FMS window, programming it again", k);
        ProgramFMS(p);
        return;
    }
    if (programFMSDirectOnJump != 1)
        return;
    const int entry = Fms_DestinationFor(k);
    if (entry < 0) {
        PrintInfo(kTag, "No FMS entry holds waypoint %i %s: the FMS destination is left as it is", k,
                  p->flightPlanVec[(size_t)k].name.c_str());
        return;
    }
    PrintInfo(kTag, "Set current waypoint in FMS %s (%i+1 in FMS)", p->flightPlanVec[(size_t)k].name.c_str(), k);
    XPLMSetDestinationFMSEntry(entry);
    XPLMSetDisplayedFMSEntry(entry);
}

void cercaNuovoFlightPlanIndex(pilot *p)
{
    const char *const tag = "cercaNuovoFlightPlanIndex";
    JumpToWaypoint_Close();
    PrintInfo(tag, "Entering cercaNuovoFlightPlanIndex");
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    if (route.empty()) {
        NaviCheck_ActivateWaypoint(p, 0, true);
        PrintInfo(tag, "Empty flight plan, active waypoint 0");
        return;
    }
    // The old index may come from a longer route or be -1: it names a waypoint only within the route.
    const int old = p->gActualFlightPlanIndex;
    const std::string oldName = old >= 0 && old < (int)route.size() ? route[(size_t)old].name : std::string();
    float best_nm = 1000.0f;
    int closest = -1, oldNameAt = -1;
    for (int i = (int)route.size() - 1; i >= 0; i--) {
        const pilot::flightPlanLoc &loc = route[(size_t)i];
        PrintDebug(tag, "Checking distance for %s", loc.name.c_str());
        distanceToCoord d = {0, 0, 0};
        CalcolaDistanzaCoordinata(p->latitudine, p->longitudine, loc.lat, loc.lon, &d, 0, p);
        if (d.distance < best_nm) {
            best_nm = d.distance;
            closest = i;
            PrintDebug(tag, "Waypoint %s is the new closest", loc.name.c_str());
        }
        if (!oldName.empty() && loc.name == oldName) {
            PrintDebug(tag, "Found old fix name, breaking now for %s", loc.name.c_str());
            oldNameAt = i;
            break;
        }
    }
    // Nothing within 1000 nm: stay with the old waypoint where the route still has it, else the old index
    // brought within the route.
    if (closest < 0) {
        closest = oldNameAt >= 0 ? oldNameAt : std::min(std::max(old, 0), (int)route.size() - 1);
        PrintInfo(tag, "No waypoint within 1000 nm, active waypoint kept at %i", closest);
    }
    NaviCheck_ActivateWaypoint(p, closest, true);
    PrintInfo(tag, "New active waypoint %i %s", closest, route[(size_t)closest].name.c_str());
}
