// Flight-wide flags kept both here and as members of the flight record; handlers set both,
// the display and some tests read these.
#pragma once

extern int gIsIFRCleared;
extern int gIsPBApproved;
extern int gIsTaxiingApproved;
extern int gIsEngStartApproved;
extern int clearedToTakeOff;
extern int gIsFPFiled;
extern int gIsCopiing;
extern int engineRunning; ///< cleared when the host reports a plane was loaded

/// Clears every flag above, as a new flight begins.
void FlightGlobals_Reset();
