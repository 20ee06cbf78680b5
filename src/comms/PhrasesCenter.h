// The area controller and the arrival's approach controller: first calls, level changes asked by the
// pilot, and the read-back of every instruction they give.
#pragma once

class pilot;

void CenterInitialCall(pilot *record);
void CenterInitialCallFlightLevelChange(pilot *record);
/// The centre's answer to a first call (code 510): the level clearance.
void Center_Answer(pilot *record);
void CenterInitialCallReadback(pilot *record, const char *text);
void CenterInitialCallGot(pilot *record);

void ApproachInitialCall(pilot *record);
/// The approach controller's answer to a first call (code 515).
void Approach_Answer(pilot *record);
void ApproachInitialCallReadback(pilot *record, const char *text);
void ApproachInitialCallGot(pilot *record);

/// The read-back of vectors, level changes, landing information and speed.
void CenterDefaultReadback(pilot *record, const char *text);
