// The simulator's FMS: the route written into X-Plane's legacy FMS entries, which entry holds which route
// waypoint, the active waypoint mirrored into it, and the new active waypoint after a route rebuild.
#pragma once

class pilot;

/// Route waypoints programmed at once: with entry 0 and the arrival airport they fill X-Plane's 100 entries.
enum { FMS_ROUTE_WINDOW = 98 };

/// Rewrites the FMS from the route: entry 0 the departure airport (the present position once airborne), the
/// route waypoints of the window around the active one contiguously, the arrival airport last; the active
/// waypoint's entry becomes the destination and the displayed one.
void ProgramFMS(pilot *p);
/// Debug listing of the FMS entries.
void PrintFMS(pilot *p);
/// Chooses the active waypoint again after the route was rebuilt: the closest waypoint from the end of the
/// route back to the last occurrence of the old active waypoint's name. Never stores an index outside the
/// route.
void cercaNuovoFlightPlanIndex(pilot *p);

/// gActualFlightPlanIndex within the route (0 for an empty route).
int Fms_ActiveIndex(const pilot *p);
/// The FMS entry programmed for route waypoint k by the last ProgramFMS; -1 when it has none (not
/// programmed, outside the window, or the route changed since).
int Fms_EntryOfWaypoint(const pilot *p, int k);
/// The active waypoint changed (a waypoint switch or a jump): the FMS follows it. Reprograms when the
/// waypoint left the programmed window; otherwise, with programFMSDirectOnJump, makes its entry (or the
/// next programmed one) the destination and the displayed entry.
void Fms_FollowActiveWaypoint(pilot *p);
