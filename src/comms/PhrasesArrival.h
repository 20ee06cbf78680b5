// The arrival: the first call to the arrival tower, the landing clearance with the parking choice, the
// missed approach, the runway vacated and the taxi to the parking.
#pragma once

#include <string>

class pilot;

void TowerArrival_InitialCall(pilot *record);
void TowerArrival_InitialCallResponse(pilot *record);

void ComunicaClearedToLand(pilot *record);
void ComunicaClearedToLandReadback(pilot *record);

void Tower_MissedApproach(pilot *record);
void Tower_MissedApproachResponse(pilot *record);
void Tower_MissedApproachReadback(pilot *record, const char *text);

void Tower_RunwayVacated(pilot *record);
void Tower_RunwayVacatedResponse(pilot *record);
void Tower_RunwayVacatedReadback(pilot *record);

void Ground_InitialCall(pilot *record);
void GroundInitialCallResponse(pilot *record);
void Ground_InitialCallReadback(pilot *record);

/// A parking position's name as the controller says it: "_" and "-" as blanks, lower case, cleaned.
std::string Radio_ParkingName(const std::string &name);
