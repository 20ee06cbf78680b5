// The taxi guide, interpolated along each leg of the route from the aircraft to the holding point.
#include "taxi/TaxiGuide.h"

#include <cmath>

#include "monitor/Functions.h"
#include "plugin/Log.h"

std::vector<pilot::linePoint> taxiGuide;

namespace
{

const float kGuideStep_nm = 0.02f;

void TaxiGuide_add(const pilot::linePoint &leg, int legNumber, double lat, double lon)
{
    pilot::linePoint point;
    point.id = legNumber;
    point.globalID = (int)taxiGuide.size();
    point.name = leg.name;
    point.lineID = leg.lineID;
    point.lat = lat;
    point.lon = lon;
    taxiGuide.push_back(point);
}

} // namespace

void TracciaTaxiGuide(pilot *record)
{
    taxiGuide.clear();
    const std::vector<pilot::linePoint> &route = record->taxiPoints;
    if (route.size() < 2)
        return;
    // The route runs from the runway back to the aircraft: the guide walks it the other way. A leg takes
    // the name of the point it leads to (the edge that reached it).
    int legNumber = 0;
    for (size_t i = route.size() - 1; i > 0; i--, legNumber++) {
        const pilot::linePoint &from = route[i], &to = route[i - 1];
        distanceToCoord leg{};
        CalcolaDistanzaCoordinataMini(from.lat, from.lon, to.lat, to.lon, &leg, nullptr);
        for (float along = 0; along < leg.distance && taxiGuide.size() < TAXI_GUIDE_MAX_POINTS;
             along += kGuideStep_nm) {
            double t = along / leg.distance;
            TaxiGuide_add(to, legNumber, from.lat + (to.lat - from.lat) * t, from.lon + (to.lon - from.lon) * t);
        }
    }
    if (taxiGuide.size() < TAXI_GUIDE_MAX_POINTS)
        TaxiGuide_add(route.front(), legNumber - 1, route.front().lat, route.front().lon);
    PrintInfo("TracciaTaxiGuide", "taxi points size: %i, taxi guide size: %i", (int)route.size(),
              (int)taxiGuide.size());
}

void Taxi_ClearRoute(pilot *record)
{
    record->taxiPoints.clear();
    taxiGuide.clear();
}
