// Stand-ins of state/Hooks.h: empty on purpose.
#include "state/Hooks.h"

void ProgramFMS(pilot *) {}
