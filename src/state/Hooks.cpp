// Empty bodies of the stand-ins declared in Hooks.h.
#include "state/Hooks.h"

#include "state/Pilot.h"

void ControlloAltitudine(pilot *, int)
{
}

void CreateReadbackDialog(int, int, int, int)
{
}

int isClimbOrDescend(int, int, int)
{
    return 0;
}

void NaviCheck_impostafaseDiscesa(pilot *, int, bool, bool)
{
}

int CalcolaAltezzaOstacoliPercorso(pilot *, float)
{
    return 0;
}

void RequestDialog_Close()
{
}
