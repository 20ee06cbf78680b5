// Storage of the flight-wide flags.
#include "state/FlightGlobals.h"

int gIsIFRCleared = 0;
int gIsPBApproved = 0;
int gIsTaxiingApproved = 0;
int gIsEngStartApproved = 0;
int clearedToTakeOff = 0;
int gIsFPFiled = 0;
int gIsCopiing = 0;
int engineRunning = 0;
bool requestedFLChange = false;
int16_t expedite = 0;

void FlightGlobals_Reset()
{
    gIsIFRCleared = gIsPBApproved = gIsTaxiingApproved = gIsEngStartApproved = 0;
    clearedToTakeOff = gIsFPFiled = gIsCopiing = engineRunning = 0;
    requestedFLChange = false;
    expedite = 0;
}
