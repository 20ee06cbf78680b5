// Flight-wide flags kept both here and as members of the flight record; handlers set both,
// the display and some tests read these.
#pragma once

#include <cstdint>

extern int gIsIFRCleared;
extern int gIsPBApproved;
extern int gIsTaxiingApproved;
extern int gIsEngStartApproved;
extern int clearedToTakeOff;
extern int gIsFPFiled;
extern int gIsCopiing;
extern int engineRunning; ///< cleared when the host reports a plane was loaded

/// The pilot asked for a new cruise level (the ATC dialog); the next altitude clearance answers it.
extern bool requestedFLChange;
/// Escalation of the altitude calls: 5 or more makes the next one an "expedite".
extern int16_t expedite;

/// Clears every flag above, as a new flight begins.
void FlightGlobals_Reset();
