// The taxi guide: the taxi route resampled into closely spaced points for drawing and following.
#pragma once

#include <vector>

#include "state/Pilot.h"

/// The current route every 0.02 nm from the aircraft to the holding point; each point carries its leg's
/// name and number (id) and its own index (globalID). Empty without a route.
extern std::vector<pilot::linePoint> taxiGuide;

/// Most points of the guide (a route of 100 nm).
enum { TAXI_GUIDE_MAX_POINTS = 5000 };

/// Rebuilds taxiGuide from the record's taxiPoints (nothing with fewer than two points), interpolating
/// along each leg.
void TracciaTaxiGuide(pilot *record);

/// Forgets the record's taxi route and its guide.
void Taxi_ClearRoute(pilot *record);
