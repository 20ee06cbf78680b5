// Geodesy of the flight. Distances use a flat-earth approximation (60 nm per degree of latitude,
// longitude scaled by the cosine of the mean latitude), good to well under 1% at the ranges ATC works in.
#include "monitor/Functions.h"

#include <cmath>
#include <cstdio>

#include "plugin/Log.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

namespace {

const double kPi = 3.141592653589793;
/// Mean-latitude factor of the east-west leg (the historical 0.01745, not pi/180).
const double kMeanLatToRad = 0.01745;
const float kMpsToKnots = 1.9438444924406f;

/// Engaged-mode values of the simulator's autopilot state word.
const int kAutopilotEngaged[] = {529,   560,   561,    616,    672,    528,    640,    16386,  16896,
                                 16897, 524336, 524337, 524448, 528489, 524393, 524449, 540672, 540673};

/// Longitude difference lon2 - lon1 taken the short way round, -180..180.
double Geodesy_WrapLongitude(double dLon)
{
    return std::remainder(dLon, 360.0);
}

/// The flat-earth distance and the magnetic bearing shared by both distance functions.
void Geodesy_FlatEarth(double lat1, double lon1, double lat2, double lon2, distanceToCoord *out, const pilot *p)
{
    const double dLonSigned = Geodesy_WrapLongitude(lon2 - lon1);
    const bool north = lat2 > lat1;
    const bool east = dLonSigned > 0;
    const double dLat = std::fabs(lat2 - lat1);
    const double dLon = std::fabs(dLonSigned);

    const double ns_nm = 60.0 * dLat;
    const double ew_nm = 60.0 * dLon * std::cos(kMeanLatToRad * (lat1 + lat2) / 2.0);
    const double dist_nm = std::sqrt(ns_nm * ns_nm + ew_nm * ew_nm);
    out->distance = (float)dist_nm;

    // Identical points have no bearing; north is as good as any.
    double bearing_deg = 0;
    if (dist_nm > 0) {
        auto asinDeg = [dist_nm](double leg) { return std::asin(std::fmin(1.0, leg / dist_nm)) * 180.0 / kPi; };
        if (east && north)
            bearing_deg = asinDeg(ew_nm);
        else if (east)
            bearing_deg = asinDeg(ns_nm) + 90.0;
        else if (!north)
            bearing_deg = asinDeg(ew_nm) + 180.0;
        else
            bearing_deg = asinDeg(ns_nm) + 270.0;
    }
    bearing_deg += p != nullptr ? p->variazioneMagnetica : 0.0f;
    if (bearing_deg < 0)
        bearing_deg += 360.0;
    else if (bearing_deg > 360.0)
        bearing_deg -= 360.0;
    out->heading = (float)bearing_deg;
}

/// A heading brought into 0..360 (whole turns removed).
float Geodesy_Normalize360(float hdg_deg)
{
    if (hdg_deg > 360.0f)
        hdg_deg = std::fmod(hdg_deg, 360.0f);
    if (hdg_deg < 0.0f)
        hdg_deg = std::fmod(hdg_deg, 360.0f) + 360.0f;
    return hdg_deg;
}

/// The wind correction for the bearing just computed into out.
void Geodesy_WindCorrection(distanceToCoord *out, int calculateWCAsetting, pilot *p)
{
    // The simulator gives the wind's true direction; the bearing and the aircraft's heading are magnetic.
    const int heading = (int)p->headingAttuale;
    const int wind = (int)std::lround(Geodesy_Normalize360((float)p->windHeading + p->variazioneMagnetica)) % 360;
    if (wind > heading)
        p->dirVentoRelativa = wind - heading;
    else if (wind == heading)
        p->dirVentoRelativa = 360;
    else
        p->dirVentoRelativa = 360 - (heading - wind);

    // One in sixty: cross-wind x 60 / true airspeed. Without airspeed (on the ground, or the simulator
    // reporting none) there is nothing to correct for.
    const float speedFactor = p->trueAirspeed * kMpsToKnots / 60.0f;
    // Taken into -180..180 so that a wind from 0 on a course of 360 is exactly along it.
    const double delta_deg = std::remainder((double)wind - out->heading, 360.0);
    float wca_deg = 0;
    if (delta_deg != 0 && speedFactor > 0)
        wca_deg = (float)(p->velocitaVento * std::sin(delta_deg * kPi / 180.0) / speedFactor);
    p->angoloDiCorrezioneVento = wca_deg;
    out->headingWCA = Geodesy_Normalize360(out->heading + wca_deg);

    if (!p->flightPlanVec.empty())
        p->usaHeadingWCA = wca_deg > -20.0f && wca_deg < 20.0f && wca_deg != 0.0f && calculateWCAsetting == 1;
    if (isAutopilotActive(p->statoAutopilotaAdesso) || p->statoVNAV_IXEG > 0)
        p->usaHeadingWCA = false;
}

} // namespace

void CalcolaDistanzaCoordinata(double lat1, double lon1, double lat2, double lon2, distanceToCoord *out,
                               int calculateWCAsetting, pilot *tmpPilot)
{
    Geodesy_FlatEarth(lat1, lon1, lat2, lon2, out, tmpPilot);
    if (tmpPilot != nullptr && tmpPilot->datiPilotaImpostati == 1)
        Geodesy_WindCorrection(out, calculateWCAsetting, tmpPilot);
}

void CalcolaDistanzaCoordinataMini(double lat1, double lon1, double lat2, double lon2, distanceToCoord *out,
                                   pilot *tmpPilot)
{
    Geodesy_FlatEarth(lat1, lon1, lat2, lon2, out, tmpPilot);
}

float invertiGradi(float heading)
{
    float reciprocal = heading - 180.0f;
    if (reciprocal < 0)
        reciprocal += 360.0f;
    return reciprocal;
}

float GetHeadingDifference(float a, float b)
{
    float difference = std::fabs(a - b);
    if (difference > 180.0f)
        difference = 360.0f - difference;
    return difference;
}

float calcolaDifferenzaTraAngoli(float a, float b)
{
    float difference = a > b ? a - b : b - a;
    if (difference > 180.0f)
        difference = 360.0f - difference;
    return difference;
}

int GetLeftRightDirection(float current, float target)
{
    if (current < 180.0f)
        return target > current && target < current + 180.0f ? 2 : 1;
    return target > current - 180.0f && target < current ? 1 : 2;
}

const char *GetLeftRightDirectionStringa(float current, float target)
{
    return GetLeftRightDirection(current, target) == 1 ? "left" : "right";
}

bool isAutopilotActive(int autopilotState)
{
    for (int engaged : kAutopilotEngaged)
        if (autopilotState == engaged)
            return true;
    return false;
}

void calcolaDistanzaRimanente(pilot *tmpPilot)
{
    tmpPilot->distanzaDestinazioneTotale = 0;
    const std::vector<pilot::flightPlanLoc> &plan = tmpPilot->flightPlanVec;
    if (plan.empty())
        return;

    char route[LOG_MESSAGE_SIZE] = "";
    distanceToCoord leg = {0, 0, 0};
    int total_nm = 0;
    float exact_nm = 0;
    const int active = tmpPilot->gActualFlightPlanIndex;
    double fromLat = tmpPilot->latitudine, fromLon = tmpPilot->longitudine;
    // An index past the route (every waypoint flown) leaves only the way to the destination.
    if (active >= 0 && (size_t)active < plan.size()) {
        const pilot::flightPlanLoc &wp = plan[(size_t)active];
        CalcolaDistanzaCoordinata(fromLat, fromLon, wp.lat, wp.lon, &leg, calculateWCA, tmpPilot);
        total_nm = (int)(total_nm + leg.distance);
        exact_nm += leg.distance;
        Utils_Appendf(route, sizeof route, "To the current waypoint %s: %.1f", wp.name.c_str(), leg.distance);
        for (size_t i = (size_t)active + 1; i < plan.size(); i++) {
            CalcolaDistanzaCoordinata(plan[i - 1].lat, plan[i - 1].lon, plan[i].lat, plan[i].lon, &leg, calculateWCA,
                                      tmpPilot);
            total_nm = (int)(total_nm + leg.distance);
            exact_nm += leg.distance;
            Utils_Appendf(route, sizeof route, " %s: %.1f", plan[i].name.c_str(), leg.distance);
        }
        fromLat = plan.back().lat;
        fromLon = plan.back().lon;
    }
    CalcolaDistanzaCoordinata(fromLat, fromLon, tmpPilot->latDestinazione, tmpPilot->lonDestinazione, &leg,
                              calculateWCA, tmpPilot);
    total_nm = (int)(total_nm + leg.distance);
    exact_nm += leg.distance;
    Utils_Appendf(route, sizeof route, " - Distanza Destino: %.1f", leg.distance);
    tmpPilot->distanzaDestinazioneTotale = total_nm;
    tmpPilot->distanzaRimanenteEsatta = exact_nm;

    if (developerDEBUG) {
        PrintDebug("calcolaDistanzaRimanente", "distanza rimanente rotta tmpPilot->distanzaDestinazioneTotale: %i - %s",
                   tmpPilot->distanzaDestinazioneTotale, route);
        PrintDebug("calcolaDistanzaRimanente", "distanza rimanente rotta tmpPilot->distanzaDestinazioneLinear: %i - %s",
                   (int)tmpPilot->distanzaDestinazioneLinear, route);
    }
}

void DisegnaTraiettoria(double lat, double lon, float heading, float distance, coordinate *out)
{
    double hdg_deg = heading;
    if (hdg_deg < 0)
        hdg_deg += 360.0;
    else if (hdg_deg > 360.0)
        hdg_deg -= 360.0;
    const double north_nm = distance * std::cos(hdg_deg * kPi / 180.0);
    const double east_nm = distance * std::sin(hdg_deg * kPi / 180.0);
    const double newLat = lat + north_nm / 60.0;
    const double newLon = lon + east_nm / (60.0 * std::cos(kMeanLatToRad * (lat + newLat) / 2.0));
    out->lat = newLat;
    out->lon = Geodesy_WrapLongitude(newLon);
}
