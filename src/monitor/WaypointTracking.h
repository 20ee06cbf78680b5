// The per-waypoint tracking state of the navigation monitor, started afresh whenever the active waypoint
// changes (a waypoint switch or the pilot's jump).
#pragma once

class pilot;

/// Forgets what the monitor measured against the previous active waypoint, as of elapsed time now (s).
void NaviCheck_ResetWaypointTracking(pilot *p, float now);
