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

std::string printFrequenciesDecimals(double)
{
    return std::string();
}

std::string printAltimeter(bool)
{
    return std::string();
}
