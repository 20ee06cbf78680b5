// The navigation monitor: the controller's eye on the user's flight, run once per drawn frame. It hands
// the flight over between the sectors, plans the descent, prepares the arrival, gives the landing
// information and the landing clearance, notices the landing roll, and ends with waypoint sequencing.
#pragma once

#include "state/Pilot.h"

/// One frame of monitoring of the record. At most one radio call starts per frame.
void NaviCheck_CheckNavigation(pilot *p);

/// The active waypoint, or nullptr when the active index is outside the plan.
const pilot::flightPlanLoc *NaviCheck_ActiveWaypoint(const pilot *p);
/// The descent rate the top of descent is planned with, ft/min: tdDescentSpeed, 1,500 when the setting is
/// below kDescentRateMin_fpm (0 or garbage in Settings.txt), at most kDescentRateMax_fpm.
int NaviCheck_DescentRate();
/// nm needed to descend from altitude_ft to elevation_ft at the descent rate and ground speed, with one
/// minute of lead (not rounded); 0 when already below.
float NaviCheck_DistanzaTOD(float altitude_ft, float elevation_ft, float groundSpeed_kt);
