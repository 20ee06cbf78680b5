// Choice of the departure and the landing runway of the user's flight, and the work redone when the
// runway changes.
#pragma once

class pilot;

/// Chooses the departure (isDeparture 1) or landing (0) runway end and copies it into the record's
/// departureRunwayStruct and departureRunwayName, or arrivalRunwayStruct, with the airport's elevation.
/// When the airport has no runway end the runway record is cleared (index 0) and a warning is shown.
void SetMatchingRunway(pilot *record, int isDeparture);
/// Applies a new departure runway choice: the FMS and the clearance follow it.
void ChangeDepRunway(pilot *record);
/// Applies a new landing runway choice: STAR search, approach path, active waypoint and FMS follow it.
void ChangeArrRunway(pilot *record);
