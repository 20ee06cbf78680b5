// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

void SetILSPath(pilot *)
{
}

void CalcolaHeadingError(pilot *)
{
}

void FlightPlanning_RequestIFRClearanceResponse(pilot *)
{
}
