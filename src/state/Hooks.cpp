// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

void ControlloAltitudine(pilot *, int)
{
}

void CreateReadbackDialog(int, int, int, int)
{
}
