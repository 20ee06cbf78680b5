// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

XPWidgetID ControlChooseSidWin = nullptr;

void CalcolaHeadingError(pilot *)
{
}

void FlightPlanning_RequestIFRClearanceResponse(pilot *)
{
}

void CreateChooseSidControl(pilot *, int)
{
}

void CreateChooseStarControl(pilot *, int)
{
}
