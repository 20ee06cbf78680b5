// Procedure insertion and the level profile: the route backup and restore, the chosen SID in front of the
// route, the chosen STAR behind it, and the planned level of every waypoint.
#pragma once

#include "state/Pilot.h"

/// Set when the dummy "Departure" point had to be generated for an empty route.
extern bool flightPlanEmpty;

/// Saves the route into flightPlanBackup: departure (order 0) and route (order 2) waypoints, SID waypoints
/// (order 1) when keepSid, STAR waypoints (order 3) when keepStar; approach points never (a route waypoint
/// standing in as the ILS point is saved with its own order).
void backuPianoDivolo(pilot *record, bool keepSid, bool keepStar);
/// Rebuilds flightPlanVec from flightPlanBackup and redraws the levels.
void restorePianoDivolo(pilot *record);
/// Inserts the selected SID's fixes in front of the route saved by the SID search.
void fileSID11(pilot *record);
/// Inserts the selected STAR's fixes behind the route.
void fileSTAR11(pilot *record);
/// Recomputes the planned level (fl) of every waypoint from the cruise level, the descent target and the
/// procedure restrictions.
void drawFlighLevels(pilot *record);
