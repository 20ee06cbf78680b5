// The IFR clearance: on delivery (or the ground or tower frequency playing delivery), or from the area
// controller when the flight asks for it in the air.
#pragma once

class pilot;

void FlightPlanning_RequestIFRClearance(pilot *record);
void FlightPlanning_RequestIFRClearanceResponse(pilot *record);
void FlightPlanning_RequestIFRClearanceDelay(pilot *record);
void FlightPlanning_RequestIFRClearanceReadback(pilot *record);
/// The squawk check after the read-back (code 50): the answer with or without the transponder reminder.
void FlightPlanning_CheckReadbackSquawk(pilot *record);
void FlightPlanning_RequestIFRClearanceReadbackCorrect(pilot *record);
void FlightPlanning_RequestIFRClearanceReadbackCorrectSquawkIncorrect(pilot *record);
void RequestIFRClearanceGot(pilot *record);

/// The level the clearance gives: the first route point's, the cruise level on an empty route.
int FlightPlanning_InitialLevel(const pilot *record);
