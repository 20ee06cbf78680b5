// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

void CalcolaHeadingError(pilot *)
{
}

void CallVectoring(pilot *, float, int16_t)
{
}

void CreateReadbackDialog(int, int, int, int)
{
}

float GetDistanceToTarget(pilot *)
{
    return 0;
}

void NaviCheck_WaypointSequencing(pilot *)
{
}

void RequestDialog_Close()
{
}
