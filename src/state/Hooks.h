// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <string>

class pilot;

// MARK: flight planning
/// Chooses the departure (isDeparture 1) or landing (0) runway into the flight record.
void SetMatchingRunway(pilot *record, int isDeparture);
/// Finds the SIDs of airportICAO that serve runway into the flight record.
void searchSID11(std::string airportICAO, char *runway, pilot *record);
/// Inserts the selected SID in front of the route.
void fileSID11(pilot *record);
/// Recomputes the planned level of every waypoint.
void drawFlighLevels(pilot *record);
/// Rewrites the simulator's FMS from the route.
void ProgramFMS(pilot *record);
