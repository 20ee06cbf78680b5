// The departure tower: the hand-over from ground at the holding point and the take-off clearance.
#pragma once

class pilot;

/// Every frame while the aircraft is not on the holding point: notices it stopped there with an engine
/// running and has ground hand the flight to the tower.
void CheckIsOnHoldingPoint(pilot *record);
/// Every frame: the hand-over owed since the holding point was reached during another exchange is given
/// once that exchange has ended and nothing waits to be said; it is dropped when the pilot is on the tower
/// already or cleared for take-off.
void HandOverTowerWhenFree(pilot *record);

void HandOverTower(pilot *record);
void HandOverTowerReadBack(pilot *record, const char *text);

void Takeoff_RequestTakeOff(pilot *record);
void Takeoff_RequestTakeOffResponse(pilot *record);
void Takeoff_RequestTakeOffReadback(pilot *record);
void Takeoff_RequestTakeOffGot(pilot *record);
