// Resolution of the route's words into waypoints, and the purge of neighbouring duplicates.
#pragma once

#include <string>
#include <vector>

#include "state/Pilot.h"

/// Highest level a route word may force (word.FL.level), hundreds of feet.
enum { FORCED_LEVEL_MAX = 610 };

/// The waypoints of a route and the first word that resolved to nothing.
struct ResolvedRoute {
    std::vector<pilot::flightPlanLoc> points;
    std::string unknownWord; ///< empty when every word resolved or was dropped on purpose
};

/// Resolves each word with findNavType, near the previous resolved waypoint (near the aircraft for the
/// first): navaids and fixes become order-2 waypoints with their forced level; DCT, airway designators
/// (J1, V23, UL607) and airports are dropped with a log line; the first other word that resolves to
/// nothing goes into unknownWord. Nothing of the record is changed.
ResolvedRoute FlightPlan_ResolveRoute(const std::vector<std::string> &words, pilot *record);
/// Appends the waypoints to the record's route through pilot::AddToFlightPlan, forced levels included.
void FlightPlan_AppendRoute(const std::vector<pilot::flightPlanLoc> &points, pilot *record);
/// Removes each waypoint that repeats the one before it (names compared exactly): the first is kept, and
/// takes the level forced on the repeat when it has none.
void FlightPlan_PurgeDuplicates(std::vector<pilot::flightPlanLoc> &points);
