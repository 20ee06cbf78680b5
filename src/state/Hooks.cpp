// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

void CreateReadbackDialog(int, int, int, int)
{
}

void RequestDialog_Close()
{
}
