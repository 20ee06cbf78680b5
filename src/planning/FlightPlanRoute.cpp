// Route words to waypoints through the navigation database.
#include "planning/FlightPlanRoute.h"

#include "navdata/FindNavType.h"
#include "monitor/WaypointTracking.h"
#include "planning/FlightPlanText.h"
#include "plugin/Log.h"

namespace {

const char *const kTag = "AnalyzeFlightPlan";

/// The level forced by the parts after the identifier ("FL", level), or 0; levels outside 1 to 610 and
/// values that are not whole numbers are ignored with a log line.
int FlightPlanRoute_forcedLevel(const std::string &word, const std::string &identifier)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= word.size()) {
        size_t end = word.find('.', start);
        if (end == std::string::npos)
            end = word.size();
        parts.push_back(word.substr(start, end - start));
        start = end + 1;
    }
    int level = 0;
    for (size_t i = 1; i + 1 < parts.size(); i++) {
        if (parts[i] != "FL")
            continue;
        const std::string &value = parts[++i];
        int parsed = 0;
        bool whole = !value.empty() && value.size() <= 4 && value.find_first_not_of("0123456789") == std::string::npos;
        if (whole)
            parsed = std::stoi(value);
        if (!whole || parsed < 1 || parsed > FORCED_LEVEL_MAX) {
            PrintInfo(kTag, "Forced level \"%s\" at %s is not between FL 1 and %i, ignored", value.c_str(),
                      identifier.c_str(), FORCED_LEVEL_MAX);
            continue;
        }
        level = parsed;
        PrintDebug(kTag, "Fly at FL %i at %s", level, identifier.c_str());
    }
    return level;
}

} // namespace

ResolvedRoute FlightPlan_ResolveRoute(const std::vector<std::string> &words, pilot *record)
{
    ResolvedRoute route;
    for (const std::string &word : words) {
        std::string identifier = FlightPlan_WordIdentifier(word);
        if (identifier.empty()) {
            PrintInfo(kTag, "Route word \"%s\" has no identifier, ignored", word.c_str());
            continue;
        }
        float refLat = 0, refLon = 0;
        if (route.points.empty()) {
            PrintDebug(kTag, "Searching close to the plane because flightplan zero: %i!", 0);
        } else {
            refLat = route.points.back().lat;
            refLon = route.points.back().lon;
            PrintDebug(kTag, "Searching close to the last fix because flightplan not zero: %i!", (int)route.points.size());
        }
        float lat = 0, lon = 0;
        int navType = identifier == "DCT" ? 0 : findNavType(identifier.c_str(), record, refLat, refLon, &lat, &lon);
        if (navType >= 2) {
            pilot::flightPlanLoc loc;
            loc.name = identifier;
            loc.lat = lat;
            loc.lon = lon;
            loc.order = 2;
            loc.navType = navType;
            loc.fl = loc.forcedFl = FlightPlanRoute_forcedLevel(word, identifier);
            PrintDebug(kTag, "Found: %s on lat %f and lon %f, entering into flight plan as navtype %i and order %i!",
                       identifier.c_str(), (double)lat, (double)lon, navType, 2);
            route.points.push_back(loc);
        } else if (navType == 1) {
            PrintInfo(kTag, "Skipping airport NavType from flight plan %s", identifier.c_str());
        } else if (identifier == "DCT" || FlightPlan_IsAirway(identifier)) {
            PrintInfo(kTag, "Route word %s is a direct or an airway, dropped", identifier.c_str());
        } else {
            PrintInfo(kTag, "Navaid not found, removing from flight plan: %s", identifier.c_str());
            if (route.unknownWord.empty())
                route.unknownWord = identifier;
        }
    }
    return route;
}

void FlightPlan_PurgeDuplicates(std::vector<pilot::flightPlanLoc> &points)
{
    PrintDebug(kTag, "purging duplicates from vector flightplan");
    size_t i = 0;
    while (i + 1 < points.size()) {
        if (points[i].name != points[i + 1].name) {
            i++;
            continue;
        }
        PrintDebug(kTag, "purging %s because duplicated with %s, index %i, vector size: %i",
                   points[i + 1].name.c_str(), points[i].name.c_str(), (int)i + 1, (int)points.size());
        if (points[i].forcedFl == 0) {
            points[i].forcedFl = points[i + 1].forcedFl;
            points[i].fl = points[i + 1].fl;
        }
        points.erase(points.begin() + (long)i + 1);
    }
    PrintDebug(kTag, "end purging duplicates from vector flightplan, vector size now: %i", (int)points.size());
}

void FlightPlan_AppendRoute(const std::vector<pilot::flightPlanLoc> &points, pilot *record)
{
    for (const pilot::flightPlanLoc &loc : points) {
        size_t before = record->flightPlanVec.size();
        record->AddToFlightPlan(loc.lat, loc.lon, loc.name.c_str(), loc.order, loc.navType, loc.fl, loc.restriction);
        if (record->flightPlanVec.size() > before)
            record->flightPlanVec.back().forcedFl = loc.forcedFl;
    }
}

void pilot::AnalyzeFlightPlan(pilot *record)
{
    record->flightPlanVec.clear();
    ResolvedRoute route = FlightPlan_ResolveRoute(FlightPlan_RouteWords(record->pianoDiVolo), record);
    FlightPlan_AppendRoute(route.points, record);
    NaviCheck_ActivateWaypoint(record, 0, true);
}
