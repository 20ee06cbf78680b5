// The rules of the runway choice. Headings of runway ends are true (computed from the thresholds by the
// airport reader), and so is the wind the simulator reports: the wind rule compares like with like.
#include "planning/RunwayRules.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "monitor/Functions.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

const char *const kTag = "SetMatchingRunway";
/// Start value of the running minima: no end chosen yet.
const int kUnsetDifference = 99999;
const float kUnsetDistance_nm = 99999.0f;
/// An arrival end this close to the reference point must be reachable straight in.
const float kAlignmentCheckRange_nm = 10.0f;
const float kMaxAlignment_deg = 15.0f;
const float kApproachSide_deg = 90.0f;

std::string Runway_Upper(const char *text)
{
    std::string upper = text;
    for (char &c : upper)
        c = (char)std::toupper((unsigned char)c);
    return upper;
}

/// The true bearing from one point to another (the geodesy without the record's variation).
float Runway_TrueBearing(double lat1, double lon1, double lat2, double lon2)
{
    distanceToCoord out{};
    CalcolaDistanzaCoordinataMini(lat1, lon1, lat2, lon2, &out, nullptr);
    return out.heading;
}

struct RunwayMinimum {
    int end = -1;
    float dist_nm = kUnsetDistance_nm;
    void offer(int candidate, float candidate_nm)
    {
        if (candidate_nm < dist_nm) {
            end = candidate;
            dist_nm = candidate_nm;
        }
    }
};

} // namespace

int Runway_WindDirection(float reading_deg)
{
    if (!std::isfinite(reading_deg))
        return 0;
    int wind_deg = (int)std::fmod(reading_deg, 360.0f);
    if (wind_deg < 0)
        wind_deg += 360;
    return wind_deg % 360;
}

int Runway_WindSpeed(float reading_kt)
{
    if (!std::isfinite(reading_kt) || reading_kt <= 0.0f)
        return 0;
    // Anything faster than this is no wind a runway could be chosen against.
    return reading_kt > 999.0f ? 999 : (int)reading_kt;
}

std::vector<int> Runway_EligibleByRules(const std::vector<Parser::runway> &ends,
                                        const std::vector<Parser::runwayInUseDeparture> &rules)
{
    std::vector<int> eligible;
    for (size_t i = 0; i < ends.size(); i++) {
        std::string designator = Runway_Upper(ends[i].name);
        for (const Parser::runwayInUseDeparture &rule : rules) {
            std::string ruleRunway = Runway_Upper(rule.runway);
            if (!ruleRunway.empty() && designator.find(ruleRunway) != std::string::npos) {
                eligible.push_back((int)i);
                break;
            }
        }
    }
    return eligible;
}

std::vector<int> Runway_AllEnds(const std::vector<Parser::runway> &ends)
{
    std::vector<int> all;
    for (size_t i = 0; i < ends.size(); i++)
        all.push_back((int)i);
    return all;
}

int Runway_BestForWind(const std::vector<Parser::runway> &ends, const std::vector<int> &eligible, int wind_deg)
{
    // In tenths of degrees, as whole numbers: equal angles stay equal and the earlier end keeps its place.
    const int actual = 10 * wind_deg;
    int lowest = kUnsetDifference, chosen = -1;
    for (int i : eligible) {
        const Parser::runway &end = ends[(size_t)i];
        if (!std::isfinite(end.heading)) {
            PrintInfo(kTag, "Runway %s has no heading, not compared with the wind", end.name);
            continue;
        }
        const int compare = (int)std::lround(end.heading * 10.0f) % 3600;
        PrintDebug(kTag, "Test runway: '%i' Actual: '%i' Compare:'%i'", end.number, actual, compare);
        int difference = std::abs(actual - compare);
        if (difference > 1800) {
            PrintDebug(kTag, "..Actual difference more than 180 degrees: '%i'...", difference);
            difference = 3600 - difference;
            PrintDebug(kTag, "....setting to: '%i'", difference);
        }
        PrintDebug(kTag, "Difference: '%i'", difference);
        if (lowest == kUnsetDifference) {
            PrintDebug(kTag, "..lowest difference unset. Setting to: '%i'", difference);
        } else if (difference < lowest) {
            PrintDebug(kTag, "..actual difference less than lowest difference. Setting to: '%i' ('%i'<'%i')",
                       difference, difference, lowest);
        } else {
            PrintDebug(kTag, "..actual difference more than lowest difference. Nothing changed. ('%i'>='%i')",
                       difference, lowest);
            continue;
        }
        lowest = difference;
        chosen = i;
    }
    return chosen;
}

bool Runway_HasIls(const std::string &airportICAO, const char *designator)
{
    auto entry = ILSMap.find(airportICAO);
    if (entry == ILSMap.end())
        return false;
    for (const ILSDat &localizer : entry->second.ils)
        if (localizer.type == 4 && localizer.runway == designator)
            return true;
    return false;
}

int Runway_Nearest(pilot *record, const std::vector<Parser::runway> &ends, int isDeparture, double refLat,
                   double refLon, const std::string &ilsAirport)
{
    RunwayMinimum withIls, withoutIls, any;
    for (size_t i = 0; i < ends.size(); i++) {
        const Parser::runway &end = ends[i];
        PrintInfo(kTag, "Check runway distance...");
        distanceToCoord toEnd{};
        CalcolaDistanzaCoordinata(refLat, refLon, end.lat, end.lon, &toEnd, calculateWCA, record);
        const float dist_nm = toEnd.distance;
        PrintInfo(kTag, "Runway %s distance = %.2f", end.name, (double)dist_nm);
        const bool ils = Runway_HasIls(ilsAirport, end.name);
        PrintInfo(kTag, ils ? "Runway has an ILS!" : "Runway has NO ILS");
        any.offer((int)i, dist_nm);
        if (isDeparture) {
            withIls.offer((int)i, dist_nm);
            continue;
        }
        if (dist_nm < kAlignmentCheckRange_nm) {
            const float fromReference_deg =
                GetHeadingDifference(Runway_TrueBearing(refLat, refLon, end.lat, end.lon), end.heading);
            if (fromReference_deg >= kMaxAlignment_deg) {
                const float fromAircraft_deg = GetHeadingDifference(
                    Runway_TrueBearing(record->latitudine, record->longitudine, end.lat, end.lon), end.heading);
                if (fromAircraft_deg < kApproachSide_deg) {
                    PrintDebug(kTag, "Last waypoint is too near to runway to fly direct into it. Disabling Runway %s ",
                               end.name);
                    continue;
                }
            }
        }
        if (ils)
            withIls.offer((int)i, dist_nm);
        else
            withoutIls.offer((int)i, dist_nm);
    }
    RunwayMinimum nearest = withIls.end >= 0 ? withIls : withoutIls;
    if (nearest.end < 0 && any.end >= 0) {
        nearest = any;
        PrintInfo(kTag, "No runway can be flown straight in from the reference point, taking the nearest one");
    }
    if (nearest.end >= 0)
        PrintDebug(kTag, "Nearest runway is %s distance = %.2f", ends[(size_t)nearest.end].name,
                   (double)nearest.dist_nm);
    return nearest.end;
}
