// Which waypoint of the route is the active one: every writer of gActualFlightPlanIndex goes through here,
// so that the navigation monitor starts tracking each new active waypoint afresh.
#pragma once

class pilot;

/// Makes route waypoint index the active one (brought within the route; 0 for an empty route). The first
/// frame the sequencing runs for it is its activation: the tracking of the previous waypoint is forgotten
/// there and, with skipPassed, waypoints already behind the aircraft are passed over (a jump or a missed
/// approach names its waypoint on purpose: no skipping). A route rebuilt around the same active waypoint
/// keeps its tracking.
void NaviCheck_ActivateWaypoint(pilot *p, int index, bool skipPassed);
