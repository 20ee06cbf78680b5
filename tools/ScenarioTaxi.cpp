// The scripted pilot taxis: in a straight line to a parking position or a point, or along the taxi route
// the plug-in cleared (its TaxiPath.kml), at taxi speed, stopping at the end.
#include "ScenarioPilot.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Harness.h"

namespace {

const double kDefaultTaxi_kt = 15.0;
const double kFeetPerMetre = 3.28084;
const double kMetresPerNm = 1852.0;
/// Farther than this is no taxi.
const double kLongestTaxi_nm = 20.0;
/// The slowest roll while stopping, and the braking the stop is planned with (a little below the
/// simulated aircraft's 3 kt/s, so that it never overshoots).
const double kCreep_kt = 2.0, kBraking_ktps = 2.5;
const char *const kRouteFile = "TaxiPath.kml";

bool ParseNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    value = strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == 0 && std::isfinite(value);
}

double Radians(double deg)
{
    return deg * M_PI / 180.0;
}

double DistanceNm(const ScenarioPoint &a, const ScenarioPoint &b)
{
    double dLat = Radians(b.lat - a.lat), dLon = Radians(b.lon - a.lon);
    double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
               std::cos(Radians(a.lat)) * std::cos(Radians(b.lat)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * std::atan2(std::sqrt(h), std::sqrt(1 - h)) * 60.0 * 180.0 / M_PI;
}

float BearingDeg(const ScenarioPoint &a, const ScenarioPoint &b)
{
    double dLon = Radians(b.lon - a.lon);
    double y = std::sin(dLon) * std::cos(Radians(b.lat));
    double x = std::cos(Radians(a.lat)) * std::sin(Radians(b.lat)) -
               std::sin(Radians(a.lat)) * std::cos(Radians(b.lat)) * std::cos(dLon);
    double deg = std::atan2(y, x) * 180.0 / M_PI;
    return (float)(deg < 0 ? deg + 360.0 : deg);
}

ScenarioPoint Here()
{
    simhost::AircraftState a = simhost::Aircraft();
    return ScenarioPoint{a.lat, a.lon};
}

/// Rolls through the points in order, turning at each at once, and stops on the last one (facing
/// finalHeading when it is not negative). Empty when it got there.
std::string Roll(ScenarioPilot &pilot, const std::vector<ScenarioPoint> &points, double speed_kt, float finalHeading,
                 std::string &met)
{
    if (!pilot.ensureLoaded())
        return "the plug-in could not be started";
    simhost::AircraftState start = simhost::Aircraft();
    if (!start.onGround)
        return "taxi: the aircraft is in the air";
    double total_nm = 0;
    ScenarioPoint from = Here();
    for (const ScenarioPoint &p : points) {
        total_nm += DistanceNm(from, p);
        from = p;
    }
    if (total_nm > kLongestTaxi_nm)
        return "taxi: " + std::to_string((int)total_nm) + " nm is too far to taxi";
    const float fps = simhost::CurrentOptions().frameRate;
    long budget = std::lround((total_nm / speed_kt * 3600.0 * 1.5 + 60.0) * fps);
    const float ground_ft = (float)(start.elevation_m * kFeetPerMetre);
    for (size_t k = 0; k < points.size(); k++) {
        const ScenarioPoint &target = points[k];
        double after_nm = 0; // from this point to the last
        for (size_t j = k + 1; j < points.size(); j++)
            after_nm += DistanceNm(points[j - 1], points[j]);
        for (;;) {
            const simhost::AircraftState a = simhost::Aircraft();
            const double d_nm = DistanceNm(Here(), target);
            const double step_nm = std::fmax(a.speed_kt, kCreep_kt) / fps / 3600.0;
            if (d_nm <= step_nm + 0.3 / kMetresPerNm)
                break;
            const double brake_kt = std::sqrt(2.0 * kBraking_ktps * 3600.0 * (d_nm + after_nm));
            const float bearing = BearingDeg(Here(), target);
            simhost::FlyTowards(bearing, ground_ft, (float)std::fmax(kCreep_kt, std::fmin(speed_kt, brake_kt)));
            simhost::SetHeading(bearing);
            if (budget-- <= 0)
                return "taxi: the aircraft did not get there in time";
            pilot.frame();
        }
    }
    const simhost::AircraftState end = simhost::Aircraft();
    const ScenarioPoint &last = points.back();
    simhost::PlaceAircraft(last.lat, last.lon, end.elevation_m, finalHeading >= 0 ? finalHeading : end.headingTrue_deg,
                           true);
    char text[128];
    snprintf(text, sizeof text, "taxied %.0f m, stopped at %.6f %.6f heading %.0f", total_nm * kMetresPerNm, last.lat,
             last.lon, simhost::Aircraft().headingTrue_deg);
    met = text;
    return "";
}

std::string ParseSpeed(const std::vector<std::string> &w, size_t at, double &speed_kt)
{
    speed_kt = kDefaultTaxi_kt;
    if (w.size() == at)
        return "";
    if (w.size() == at + 2 && w[at] == "speed" && ParseNumber(w[at + 1], speed_kt) && speed_kt >= 1 && speed_kt <= 60)
        return "";
    return "taxi: after the place only 'speed KT' (1 to 60) may follow";
}

std::string TaxiToParking(ScenarioPilot &pilot, const std::string &icao, const std::string &name, double speed_kt,
                          std::string &met)
{
    const std::vector<simhost::ParkingPosition> positions = simhost::ParkingPositions(icao);
    const simhost::ParkingPosition *found = nullptr;
    for (const simhost::ParkingPosition &p : positions)
        if (p.name == name)
            found = &p;
    for (const simhost::ParkingPosition &p : positions) {
        bool same = p.name.size() == name.size();
        for (size_t i = 0; same && i < name.size(); i++)
            same = tolower((unsigned char)p.name[i]) == tolower((unsigned char)name[i]);
        if (found == nullptr && same)
            found = &p;
    }
    if (found == nullptr)
        return icao + " has no parking position \"" + name + "\"";
    return Roll(pilot, {ScenarioPoint{found->lat, found->lon}}, speed_kt, found->headingTrue_deg, met);
}

std::string TaxiRoute(ScenarioPilot &pilot, double speed_kt, std::string &met)
{
    std::ifstream in(simhost::PluginFolder() + kRouteFile, std::ios::binary);
    if (!in)
        return std::string("taxi route: the plug-in has written no ") + kRouteFile +
               " (it does with the KML export on: setting gKMLExp 1) ";
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<ScenarioPoint> points;
    std::string error;
    if (!Scenario_ReadRouteKml(text.str(), points, error))
        return std::string("taxi route: ") + kRouteFile + ": " + error;
    if (points.empty())
        return std::string("taxi route: ") + kRouteFile + " holds no route";
    return Roll(pilot, points, speed_kt, -1, met);
}

} // namespace

bool Scenario_ReadRouteKml(const std::string &text, std::vector<ScenarioPoint> &points, std::string &error)
{
    points.clear();
    const std::string open = "<coordinates>", close = "</coordinates>";
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        at += open.size();
        size_t end = text.find(close, at);
        if (end == std::string::npos) {
            error = "a <coordinates> element is not closed";
            return false;
        }
        std::istringstream tuples(text.substr(at, end - at));
        std::string tuple;
        while (tuples >> tuple) {
            ScenarioPoint p;
            char *next = nullptr;
            p.lon = strtod(tuple.c_str(), &next);
            const bool comma = next != nullptr && *next == ',';
            if (comma)
                p.lat = strtod(next + 1, &next);
            if (!comma || (*next != 0 && *next != ',') || !(std::fabs(p.lat) <= 90) || !(std::fabs(p.lon) <= 180)) {
                error = "cannot read the coordinate \"" + tuple.substr(0, 40) + "\"";
                return false;
            }
            if (points.empty() || points.back().lat != p.lat || points.back().lon != p.lon)
                points.push_back(p);
        }
        at = end;
    }
    return true;
}

std::string Scenario_DoTaxi(const std::vector<std::string> &w, ScenarioPilot &pilot, bool &handled, std::string &met)
{
    handled = w[0] == "taxi";
    if (!handled)
        return "";
    const size_t n = w.size();
    double speed_kt = 0, lat = 0, lon = 0;
    std::string failure;
    if (n >= 2 && w[1] == "route")
        return (failure = ParseSpeed(w, 2, speed_kt)).empty() ? TaxiRoute(pilot, speed_kt, met) : failure;
    if (n >= 5 && w[1] == "to" && w[2] == "parking")
        return (failure = ParseSpeed(w, 5, speed_kt)).empty() ? TaxiToParking(pilot, w[3], w[4], speed_kt, met) : failure;
    if (n >= 4 && w[1] == "to" && ParseNumber(w[2], lat) && ParseNumber(w[3], lon) && std::fabs(lat) <= 90 &&
        std::fabs(lon) <= 180)
        return (failure = ParseSpeed(w, 4, speed_kt)).empty()
                   ? Roll(pilot, {ScenarioPoint{lat, lon}}, speed_kt, -1, met)
                   : failure;
    return "taxi needs: to parking ICAO \"NAME\", to LAT LON, or route (each with [speed KT])";
}
