// The approach path that closes the route: approximation points, the ILS point on the final approach
// course and the arrival runway, with the landing type taken from the arrival airport's localizers.
#pragma once

class pilot;

/// Set to 1 when SetILSPath matched a localizer of the arrival runway.
extern int runwayILSSet;

/// Replaces the end of flightPlanVec past the last route waypoint (or from the aircraft when the route is
/// empty) with the approach to arrivalRunwayStruct: an arc of "Approximation" points or one such point on
/// the extended centreline, the "ILS" point on the final course and "Runway <name>" (orders 4, 5, 6). An
/// approach built by an earlier call is removed first. Every bearing and course is true. Sets
/// ilsPathCreated and the runway's landing type (0 visual, 4 ILS, 5 localizer), writes ILSPath.kml.
void SetILSPath(pilot *p);
