// Which waypoint of the route is the active one.
#include "monitor/WaypointTracking.h"

#include <algorithm>

#include "plugin/Log.h"
#include "state/Pilot.h"

void NaviCheck_ActivateWaypoint(pilot *p, int index, bool skipPassed)
{
    const int count = (int)p->flightPlanVec.size();
    const int k = count == 0 ? 0 : std::min(std::max(index, 0), count - 1);
    if (k != index)
        PrintInfo("NaviCheck_ActivateWaypoint", "Waypoint %i is outside the route of %i waypoints, %i is active", index,
                  count, k);
    p->gActualFlightPlanIndex = k;
    // The same waypoint at a new place of a rebuilt route is still the one being tracked.
    if (count > 0 && p->waypointTracciato >= 0 && p->flightPlanVec[(size_t)k].name == p->nomeWaypointAttuale) {
        p->waypointTracciato = k;
        return;
    }
    p->waypointTracciato = -1;
    p->saltaWaypointPassati = skipPassed;
    // 100 nm keeps the "moving away" test quiet until the new waypoint has been measured.
    p->distanzaMinimaWaypoint = 0;
    p->ultimaVoltaInDirContraria = 0;
    p->gLastDistanceToActWP = 100;
    p->switchToNextPoint = 0;
    p->saltoRichiesto = false;
}
