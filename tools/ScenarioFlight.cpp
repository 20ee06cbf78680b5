// The scripted pilot flies: a take-off from a runway's threshold, a landing on a 3-degree path with its
// roll-out, a go-around; presses "Readback" whenever it appears (readback auto), and tunes the frequency
// the controller told it to contact (com1 told).
#include "ScenarioPilot.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Harness.h"

namespace {

const double kFeetPerMetre = 3.28084;
const double kRotate_kt = 140, kApproach_kt = 140, kTaxi_kt = 15;
const double kGlideSlope_deg = 3.0;
/// Seconds a take-off may take, and a landing beyond its flight time, before they count as stuck.
const double kTakeOffBudget_s = 180, kLandingBudget_s = 600;

struct RunwayEnd {
    double lat = 0, lon = 0;    ///< threshold
    double elevation_ft = 0;    ///< the airport's
    float heading_deg = 0;      ///< true, towards the opposite end
};

double Radians(double deg)
{
    return deg * M_PI / 180.0;
}

double DistanceNm(double lat1, double lon1, double lat2, double lon2)
{
    double dLat = Radians(lat2 - lat1), dLon = Radians(lon2 - lon1);
    double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
               std::cos(Radians(lat1)) * std::cos(Radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * std::atan2(std::sqrt(h), std::sqrt(1 - h)) * 60.0 * 180.0 / M_PI;
}

float BearingDeg(double lat1, double lon1, double lat2, double lon2)
{
    double dLon = Radians(lon2 - lon1);
    double y = std::sin(dLon) * std::cos(Radians(lat2));
    double x = std::cos(Radians(lat1)) * std::sin(Radians(lat2)) - std::sin(Radians(lat1)) * std::cos(Radians(lat2)) * std::cos(dLon);
    double deg = std::atan2(y, x) * 180.0 / M_PI;
    return (float)(deg < 0 ? deg + 360.0 : deg);
}

/// The runway end of an airport from the global apt.dat of the simulated X-Plane (rows 1 and 100).
std::string FindRunway(const std::string &icao, const std::string &name, RunwayEnd &end)
{
    std::ifstream in(simhost::SystemPath() + simhost::GlobalAptDatPath(simhost::CurrentOptions().xplaneVersion),
                     std::ios::binary);
    if (!in)
        return "no apt.dat in the simulated X-Plane";
    std::string line;
    bool inAirport = false;
    double elevation_ft = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string word; fields >> word;)
            f.push_back(word);
        if (f.empty())
            continue;
        if (f[0] == "1" || f[0] == "16" || f[0] == "17") {
            if (inAirport)
                break;
            inAirport = f.size() > 4 && f[4] == icao;
            elevation_ft = inAirport ? atof(f[1].c_str()) : 0;
            continue;
        }
        if (!inAirport || f[0] != "100" || f.size() < 20)
            continue;
        for (int side = 0; side < 2; side++) {
            const size_t at = side == 0 ? 8 : 17, other = side == 0 ? 17 : 8;
            if (f[at] != name)
                continue;
            end.lat = atof(f[at + 1].c_str());
            end.lon = atof(f[at + 2].c_str());
            end.elevation_ft = elevation_ft;
            end.heading_deg = BearingDeg(end.lat, end.lon, atof(f[other + 1].c_str()), atof(f[other + 2].c_str()));
            return "";
        }
    }
    return "no runway " + name + " at " + icao + " in the apt.dat";
}

bool ParseNumber(const std::string &text, double &value)
{
    char *stop = nullptr;
    value = strtod(text.c_str(), &stop);
    return !text.empty() && stop != nullptr && *stop == 0 && std::isfinite(value);
}

/// `take off ICAO RWY [altitude FT speed KT]`: lined up on the threshold, rolls, rotates, and is left
/// climbing towards FT (default 5000) at KT (default 250) once 50 ft above the runway.
std::string TakeOff(const std::vector<std::string> &w, ScenarioPilot &pilot, std::string &met)
{
    double altitude_ft = 5000, speed_kt = 250;
    if (!(w.size() == 4 || (w.size() == 8 && w[4] == "altitude" && ParseNumber(w[5], altitude_ft) && w[6] == "speed" &&
                            ParseNumber(w[7], speed_kt))))
        return "take off needs ICAO RWY [altitude FT speed KT]";
    if (!pilot.ensureLoaded())
        return "the plug-in could not be started";
    RunwayEnd end;
    std::string error = FindRunway(w[2], w[3], end);
    if (!error.empty())
        return "take off: " + error;
    simhost::PlaceAircraft(end.lat, end.lon, end.elevation_ft / kFeetPerMetre, end.heading_deg, true);
    simhost::FlyTowards(end.heading_deg, (float)end.elevation_ft, (float)kRotate_kt + 10);
    const float fps = simhost::CurrentOptions().frameRate;
    for (long budget = std::lround(kTakeOffBudget_s * fps); budget > 0; budget--) {
        const simhost::AircraftState a = simhost::Aircraft();
        if (a.speed_kt >= kRotate_kt)
            simhost::FlyTowards(end.heading_deg, (float)altitude_ft, (float)speed_kt, 2500);
        if (a.elevation_m * kFeetPerMetre > end.elevation_ft + 50) {
            char text[128];
            snprintf(text, sizeof text, "airborne from %s %s, %.1f nm from the threshold", w[2].c_str(), w[3].c_str(),
                     DistanceNm(end.lat, end.lon, a.lat, a.lon));
            met = text;
            return "";
        }
        pilot.frame();
    }
    return "take off: the aircraft did not leave the ground";
}

/// `land ICAO RWY`: steers onto the extended centreline and down a 3-degree path to the threshold,
/// touches down and rolls out on the runway heading, slowing to taxi speed.
std::string Land(const std::vector<std::string> &w, ScenarioPilot &pilot, std::string &met)
{
    if (w.size() != 3)
        return "land needs ICAO RWY";
    if (!pilot.ensureLoaded())
        return "the plug-in could not be started";
    RunwayEnd end;
    std::string error = FindRunway(w[1], w[2], end);
    if (!error.empty())
        return "land: " + error;
    const float fps = simhost::CurrentOptions().frameRate;
    const double slope = std::tan(Radians(kGlideSlope_deg)) * 6076.12; // feet per nm
    bool touched = false, flare = false;
    const simhost::AircraftState start = simhost::Aircraft();
    const double startSpeed_kt = std::fmax(start.speed_kt, kApproach_kt);
    const double budget_s = DistanceNm(start.lat, start.lon, end.lat, end.lon) / kApproach_kt * 3600.0 * 1.5 + kLandingBudget_s;
    for (long budget = std::lround(budget_s * fps); budget > 0; budget--) {
        const simhost::AircraftState a = simhost::Aircraft();
        const double d_nm = DistanceNm(a.lat, a.lon, end.lat, end.lon);
        if (!touched && a.onGround && d_nm < 1.0)
            touched = true;
        if (touched) {
            if (a.speed_kt <= kTaxi_kt + 1) {
                char text[128];
                snprintf(text, sizeof text, "landed on %s %s, rolled out to %.0f kt", w[1].c_str(), w[2].c_str(),
                         a.speed_kt);
                met = text;
                return "";
            }
            simhost::FlyTowards(end.heading_deg, (float)end.elevation_ft, (float)kTaxi_kt);
        } else {
            // Aim at a point of the extended centreline a third of the way in: the track converges on it.
            const double aim_nm = d_nm * 2.0 / 3.0;
            const double back = Radians(end.heading_deg + 180.0);
            const double aimLat = end.lat + aim_nm * std::cos(back) / 60.0;
            const double aimLon = end.lon + aim_nm * std::sin(back) / (60.0 * std::cos(Radians(end.lat)));
            const float bearing = d_nm < 0.5 ? end.heading_deg : BearingDeg(a.lat, a.lon, aimLat, aimLon);
            // Over the threshold the aircraft flares onto the runway, below which the ground stops it.
            flare = flare || d_nm < 0.15;
            const double glide_ft = flare ? end.elevation_ft - 50 : end.elevation_ft + std::fmax(0.0, d_nm - 0.1) * slope;
            const double current_ft = a.elevation_m * kFeetPerMetre;
            // The speed it came with until 15 nm out, then the approach speed, less over the threshold.
            const double speed_kt = d_nm > 15 ? startSpeed_kt : (d_nm < 0.3 ? kApproach_kt - 20 : kApproach_kt);
            simhost::FlyTowards(bearing, (float)std::fmin(current_ft, glide_ft), (float)speed_kt, 3000);
        }
        pilot.frame();
    }
    return touched ? "land: the roll-out did not slow down" : "land: the aircraft did not reach the runway";
}

/// `go around [ALT]`: climbs straight ahead to ALT (default 3000 ft) at 180 kt.
std::string GoAround(const std::vector<std::string> &w, std::string &met)
{
    double altitude_ft = 3000;
    if (!(w.size() == 2 || (w.size() == 3 && ParseNumber(w[2], altitude_ft))))
        return "go around takes an altitude at most";
    const simhost::AircraftState a = simhost::Aircraft();
    simhost::FlyTowards(a.headingTrue_deg, (float)altitude_ft, 180, 2000);
    met = "climbing straight ahead to " + std::to_string((int)altitude_ft) + " ft";
    return "";
}

} // namespace

std::string Scenario_DoFlight(const std::vector<std::string> &w, ScenarioPilot &pilot, bool &handled, std::string &met)
{
    handled = true;
    if (w.size() >= 2 && w[0] == "take" && w[1] == "off")
        return TakeOff(w, pilot, met);
    if (w[0] == "land")
        return Land(w, pilot, met);
    if (w.size() >= 2 && w[0] == "go" && w[1] == "around")
        return GoAround(w, met);
    if (w[0] == "readback" && w.size() == 3 && w[1] == "auto" && (w[2] == "on" || w[2] == "off")) {
        pilot.readbackAuto = w[2] == "on";
        return "";
    }
    if (w.size() == 2 && w[0] == "com1" && w[1] == "told") {
        const double mhz = pilot.sight.frequencyTold;
        if (mhz == 0)
            return "com1 told: no transmission named a frequency to contact";
        simhost::TuneCom1(mhz);
        char text[64];
        snprintf(text, sizeof text, "COM1 on %.3f as told", mhz);
        met = text;
        return "";
    }
    if (w.size() == 4 && w[0] == "expect" && (w[1] == "once" || w[1] == "no") && w[2] == "say") {
        // Every exchange once: a repeated or a forbidden text (a frequency read "0.000") fails the run.
        int count = 0;
        for (const simhost::Spoken &spoken : simhost::SpokenTexts())
            if (Scenario_CollapseBlanks(spoken.text).find(Scenario_CollapseBlanks(w[3])) != std::string::npos)
                count++;
        const int wanted = w[1] == "once" ? 1 : 0;
        if (count != wanted)
            return "\"" + w[3] + "\" was said " + std::to_string(count) + " times, expected " + std::to_string(wanted);
        met = "said " + std::to_string(count) + " times: " + w[3];
        return "";
    }
    handled = false;
    return "";
}

double Scenario_FrequencyIn(const std::string &text)
{
    double found = 0;
    for (size_t at = text.find(" on "); at != std::string::npos; at = text.find(" on ", at + 1)) {
        const char *p = text.c_str() + at + 4;
        char *stop = nullptr;
        const double mhz = strtod(p, &stop);
        if (stop != p && mhz >= 118.0 && mhz < 137.0)
            found = mhz;
    }
    return found;
}
