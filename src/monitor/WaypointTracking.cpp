// The per-waypoint tracking state of the navigation monitor.
#include "monitor/WaypointTracking.h"

#include "state/Pilot.h"

void NaviCheck_ResetWaypointTracking(pilot *p, float now)
{
    // The new waypoint has no closest approach yet and no wrong-way time; 100 nm keeps the "passed"
    // test from firing on the first frame.
    p->distanzaMinimaWaypoint = 0;
    p->ultimaVoltaInDirContraria = 0;
    p->gLastDistanceToActWP = 100;
    p->secondiDallUltimoSkipWaypoint = now;
}
