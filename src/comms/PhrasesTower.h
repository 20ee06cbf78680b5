// The departure tower: the hand-over from ground at the holding point and the take-off clearance.
#pragma once

class pilot;

/// Every frame while the aircraft is not on the holding point: notices it stopped there with an engine
/// running and has ground hand the flight to the tower.
void CheckIsOnHoldingPoint(pilot *record);

void HandOverTower(pilot *record);
void HandOverTowerReadBack(pilot *record, const char *text);

void Takeoff_RequestTakeOff(pilot *record);
void Takeoff_RequestTakeOffResponse(pilot *record);
void Takeoff_RequestTakeOffReadback(pilot *record);
void Takeoff_RequestTakeOffGot(pilot *record);
