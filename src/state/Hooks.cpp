// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

XPWidgetID ControlChooseSidWin = nullptr;

void CalcolaHeadingError(pilot *)
{
}

void CreateChooseSidControl(pilot *, int)
{
}

void CreateChooseStarControl(pilot *, int)
{
}

void ControlloAltitudine(pilot *, int)
{
}

void CallVectoring(pilot *, float, int16_t)
{
}

void CreateReadbackDialog(int, int, int, int)
{
}
