// The panel reads the flight record and a few simulator values through the handles found at start; it
// never searches navaids nor writes the record. Every line goes through a fixed buffer.
#include "ui/OnScreenInformations.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
#include "monitor/Functions.h"
#include "monitor/HeadingVectors.h"
#include "navdata/AptNav.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "plugin/Version.h"
#include "comms/RadioTexts.h"
#include "state/Pilot.h"
#include "ui/OnScreenPrinters.h"
#include "ui/Settings.h"

namespace
{

const float kMpsToKnots = 1.9438444924406f;
const float kTempErrorSeconds = 25.0f;
const int kSecondsPerDay = 86400;

/// One panel line from a format, white unless a colour is given.
void OnScreen_line(const float colour[3], const char *format, ...) __attribute__((format(printf, 2, 3)));
void OnScreen_line(const float colour[3], const char *format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    StampaLineaSchermo(text, colour);
}

void OnScreen_caption(const char *caption, const char *underline)
{
    StampaLineaSchermo("", white);
    StampaLineaSchermo(caption, white);
    StampaLineaSchermo(underline, white);
}

float OnScreen_getf(XPLMDataRef ref)
{
    const float v = ref != nullptr ? XPLMGetDataf(ref) : 0.0f;
    return std::isfinite(v) ? v : 0.0f;
}

/// The frequency text, "-" for none.
std::string OnScreen_frequency(double frequency)
{
    std::string text = frequency > 0 ? printFrequenciesDecimals(frequency) : std::string();
    return text.empty() ? "-" : text;
}

bool OnScreen_aboveDeparture(const pilot &p, float feet)
{
    return p.altitudineFeets - p.departureRunwayStruct.heightft > feet;
}

/// Distance without side effects on the record (the wind fields stay as the monitor left them).
float OnScreen_distance(const pilot &p, double lat, double lon)
{
    distanceToCoord d{};
    CalcolaDistanzaCoordinataMini(p.latitudine, p.longitudine, lat, lon, &d, nullptr);
    return d.distance;
}

const char *OnScreen_selectedName(const std::vector<pilot::sid> &list, int index)
{
    return index >= 0 && index < (int)list.size() ? list[(size_t)index].name.c_str() : "";
}

void OnScreen_navigation(const pilot &p, float localTime_s)
{
    OnScreen_caption("Navigation", "----------");
    OnScreen_line(white, "navdata: %.60s", earthNavDatVersion.c_str());
    OnScreen_line(white, "fixdata: %.60s", earthFixDatVersion.c_str());
    OnScreen_line(white, "aircraft heading: %i degrees", (int)p.headingAttuale);
    OnScreen_line(white, "aircraft weight: %i kgs", (int)p.acfWeight);
    OnScreen_line(white, "aircraft position: %f %f", p.latitudine, p.longitudine);
    const int t = ((int)localTime_s % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    OnScreen_line(white, "simulator time: %02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
    if (p.gIsFPFiled == 1 && p.primaChiamataCenterEffettuata == 1)
        OnScreen_line(white, "%s flight %s", p.vfrFlight ? "VFR" : "IFR", "requested");
}

void OnScreen_speed(const pilot &p, float tas_mps)
{
    OnScreen_caption("Speed", "-----");
    if (OnScreen_aboveDeparture(p, 500)) {
        OnScreen_line(white, "kias: %.1f", p.indicatedAirspeed);
        OnScreen_line(white, "ktas: %.1f", tas_mps * kMpsToKnots);
        OnScreen_line(white, "ktgs: %.1f", p.groundSpeed * kMpsToKnots);
        OnScreen_line(white, "mach number: %.2f", OnScreen_getf(gMachNumberRef));
    } else {
        for (const char *line : {"kias: -", "ktas: -", "ktgs: -", "mach number: -"})
            StampaLineaSchermo(line, white);
    }
}

void OnScreen_altitude(const pilot &p)
{
    OnScreen_caption("Altitude", "--------");
    OnScreen_line(white, "current altitude: %i ft (temp. deviation %i)", (int)p.altitudineFeets,
                  (int)p.altimeterTempError);
    OnScreen_line(white, "cruise altitude: %i ft", p.plannedFL * 100);
    OnScreen_line(white, "cleared altitude: %i ft", p.clearedFL * 100);
    OnScreen_caption("Altimeter", "---------");
    const std::string altimeter = printAltimeter(false);
    StampaLineaSchermo(altimeter.empty() ? "altimeter: -" : altimeter.c_str(), white);
}

void OnScreen_departure(const pilot &p)
{
    if (p.gIsFPFiled != 1)
        return;
    OnScreen_caption("Departure informations", "----------------------");
    const char *airport = p.gIsIFRCleared == 1 ? "n/a" : p.depAirportICAO.c_str();
    if (p.sidSelezionata && p.numeroDiSidTrovate > 0)
        OnScreen_line(white, "departure: %.10s, runway %.4s, SID %.20s", airport, p.departureRunwayName,
                      OnScreen_selectedName(p.sids, p.selectedSID));
    else
        OnScreen_line(white, "departure: %.10s, runway %.4s", airport, p.departureRunwayName);
    if (p.departureRunwayName[0] != '\0' && p.isOnGround == 1 && p.clearedToTakeOff == 0)
        OnScreen_line(blue, "distance to holding point: %.2f",
                      OnScreen_distance(p, p.departureRunwayStruct.lat, p.departureRunwayStruct.lon));
}

/// The destination point: the arrival runway once chosen, else the end of the route.
bool OnScreen_destination(const pilot &p, double *lat, double *lon)
{
    if (p.arrivalRunwayStruct.lat != 0 || p.arrivalRunwayStruct.lon != 0) {
        *lat = p.arrivalRunwayStruct.lat;
        *lon = p.arrivalRunwayStruct.lon;
        return true;
    }
    if (p.flightPlanVec.empty())
        return false;
    *lat = p.flightPlanVec.back().lat;
    *lon = p.flightPlanVec.back().lon;
    return true;
}

void OnScreen_arrival(const pilot &p, float tas_mps, float localTime_s)
{
    if (p.gIsFPFiled != 1 || p.serviceTerminated)
        return;
    OnScreen_caption("Arrival informations", "--------------------");
    const char *runway = p.arrivalRunwayStruct.name[0] != '\0' ? p.arrivalRunwayStruct.name : "n/a";
    double lat = 0, lon = 0;
    const bool known = OnScreen_destination(p, &lat, &lon);
    const float distance = known ? OnScreen_distance(p, lat, lon) : 0.0f;
    char dist[16];
    if (known)
        snprintf(dist, sizeof dist, "%i nm", (int)distance);
    else
        snprintf(dist, sizeof dist, "- nm");
    if (p.starSelezionata && p.numeroDiStarTrovate > 0)
        OnScreen_line(white, "arrival: %.10s, runway %.4s, STAR %.20s, distance %s", p.arrAirportICAO.c_str(), runway,
                      OnScreen_selectedName(p.stars, p.selectedSTAR), dist);
    else
        OnScreen_line(white, "arrival: %.10s, runway %.4s, distance %s", p.arrAirportICAO.c_str(), runway, dist);
    const int type = p.arrivalRunwayStruct.landingType;
    OnScreen_line(white, "landing type: %s", type == 4 ? "ILS" : type == 5 ? "localizer" : "visual");
    int arrival_s = 0, minutes = 0;
    if (known && OnScreen_aboveDeparture(p, 500) &&
        OnScreen_EstimatedArrival(distance, tas_mps * kMpsToKnots, localTime_s, &arrival_s, &minutes))
        OnScreen_line(white, "eta: %02d:%02d (%i minutes)", arrival_s / 3600, arrival_s / 60 % 60, minutes);
    else
        StampaLineaSchermo("eta: -", white);
}

void OnScreen_radio(const pilot &p)
{
    OnScreen_caption("Radio", "-----");
    if (p.transponder != 0) {
        const int set = squawkCode != nullptr ? XPLMGetDatai(squawkCode) : 0;
        if (set == p.transponder)
            OnScreen_line(white, "transponder: %i", set);
        else
            OnScreen_line(checkSquawkCode == 1 ? red : white, "transponder: %i (expect squawk: %i)", set,
                          p.transponder);
    }
    if (p.frequenzaCenter > 0)
        OnScreen_line(white, "%.40s: %s %s", p.nomeCenter, OnScreen_frequency(p.frequenzaCenter).c_str(),
                      p.centerFittizia ? "(unreal)" : "");
    else
        StampaLineaSchermo("Center: -", white);
    const bool arrival = p.gTODReached == 1;
    const Parser &airport = arrival ? p.targetAirport : p.parser;
    const char *icao = arrival ? p.arrAirportICAO.c_str() : p.depAirportICAO.c_str();
    const struct {
        const char *format;
        double frequency;
    } facilities[] = {
        {"%.10s delivery: %s", airport.deliveryFrequency}, {"%.10s ground: %s", airport.groundFrequency},
        {"%.10s tower: %s", airport.towerFrequency},       {"%.10s approach: %s", airport.approachFrequency},
        {"%.10s departures: %s", airport.departureFrequency}, {"%.10s atis: %s", airport.atisFrequency},
    };
    for (const auto &f : facilities)
        OnScreen_line(white, f.format, icao, OnScreen_frequency(f.frequency).c_str());
    OnScreen_line(white, "tuned frequency: %s", OnScreen_frequency(p.gActualFrequency).c_str());
}

void OnScreen_weather(const pilot &p)
{
    OnScreen_caption("Weather", "-------");
    const int speed = (int)OnScreen_getf(gWindSpeedRef);
    OnScreen_line(white, "wind speed: %i", speed);
    const char *side = "";
    if (speed > 0) {
        OnScreen_line(white, "wind heading: %i", (int)OnScreen_getf(gWindHeadingRef));
        OnScreen_line(white, "%s wind: %i", VentoRelativo_Classe(p.dirVentoRelativa, &side), p.dirVentoRelativa);
    }
    if (calculateWCA != 1)
        return;
    if (p.isOnGround == 0 && p.usaHeadingWCA) {
        OnScreen_line(white, "wca: %.2f %s", p.angoloDiCorrezioneVento, side);
    } else {
        StampaLineaSchermo("wind heading: -", white);
        StampaLineaSchermo("wind correction angle: -", white);
    }
}

void OnScreen_warnings(const pilot &p)
{
    if (onScreenWarnings == 1 && p.frequenzaObiettivo > 0) {
        char text[64];
        snprintf(text, sizeof text, "Hand over to %s", OnScreen_frequency(p.frequenzaObiettivo).c_str());
        StampaAvviso(text, orange);
    }
}

void OnScreen_headingIndicator(const pilot &p)
{
    if (headingIndicatorActive != 1 || p.gIsTaxiingApproved != 1 || p.datiPilotaImpostati != 1 || p.landedNotified ||
        p.gTargetAirportTowerInitialCallDone != 0)
        return;
    const float *colour = white;
    const char *text = "--(-)--";
    if (p.isOnGround == 1) {
        // On the ground the heading to fly is the one to the departure runway's point.
        distanceToCoord d{};
        CalcolaDistanzaCoordinataMini(p.latitudine, p.longitudine, p.departureRunwayStruct.lat,
                                      p.departureRunwayStruct.lon, &d, nullptr);
        const bool tooNear = d.distance < 0.25f || p.isOnHoldingPoint == 1;
        const int error = (int)GetHeadingDifference(p.headingAttuale, d.heading);
        text = OnScreen_HeadingIndicatorText(error, GetLeftRightDirection(p.headingAttuale, d.heading), tooNear,
                                             &colour);
    } else if (p.primaChiamataCenterEffettuata == 1 && p.gActualFlightPlanIndex >= 0 &&
               p.gActualFlightPlanIndex < (int)p.flightPlanVec.size()) {
        const pilot::flightPlanLoc &wp = p.flightPlanVec[(size_t)p.gActualFlightPlanIndex];
        const bool tooNear = OnScreen_distance(p, wp.lat, wp.lon) < 1.5f;
        text = OnScreen_HeadingIndicatorText((int)p.headingError, p.direzioneVirata, tooNear, &colour);
    } else {
        text = OnScreen_HeadingIndicatorText(0, 0, true, &colour);
    }
    StampaHeadingIndicator(text, colour);
}

} // namespace

const char *OnScreen_HeadingIndicatorText(int error_deg, int side, bool tooNear, const float **colour)
{
    static char text[32];
    if (tooNear) {
        *colour = blue;
        return "--(-)--";
    }
    const bool right = side == 2;
    if (error_deg < 5) {
        *colour = green;
        snprintf(text, sizeof text, "--(%i)--", error_deg);
    } else if (error_deg < 9) {
        *colour = orange;
        snprintf(text, sizeof text, right ? "-(%i)--->" : "<---(%i)-", error_deg);
    } else {
        *colour = red;
        snprintf(text, sizeof text, right ? "(%i)---->" : "<----(%i)", error_deg);
    }
    return text;
}

bool OnScreen_EstimatedArrival(float distance_nm, float tas_kt, float localTime_s, int *arrival_s, int *minutes)
{
    if (!(tas_kt >= 30.0f) || !std::isfinite(distance_nm) || !std::isfinite(localTime_s))
        return false;
    const double flight_min = distance_nm / tas_kt * 60.0;
    *minutes = (int)flight_min;
    const long total = (long)localTime_s + (long)(flight_min * 60.0);
    *arrival_s = (int)(((total % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay);
    return true;
}

void printOnScreenInformations(pilot *p)
{
    if (p == nullptr)
        return;
    const float now = XPLMGetElapsedTime();
    if (flightStatsIsActive == 1) {
        const float localTime_s = OnScreen_getf(oraSimulata);
        const float tas_mps = OnScreen_getf(gIndicatedTrueAirspeedUserAcfRef);
        StampaLineaSchermo("Vellomirv" VELLOMIR_VERSION, white);
        OnScreen_navigation(*p, localTime_s);
        OnScreen_speed(*p, tas_mps);
        OnScreen_altitude(*p);
        OnScreen_departure(*p);
        OnScreen_arrival(*p, tas_mps, localTime_s);
        OnScreen_radio(*p);
        OnScreen_weather(*p);
    }
    OnScreen_warnings(*p);
    OnScreen_headingIndicator(*p);
    if (messaggioTempErroreActTime > 0 && now - messaggioTempErroreActTime < kTempErrorSeconds)
        StampaErrore(messaggioTempErrore.c_str(), red);
}
