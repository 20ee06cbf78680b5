// Stand-ins for functions of subsystems still to come (see Hooks.h).
#include "state/Hooks.h"

void SetMatchingRunway(pilot *, int) {}
void searchSID11(std::string, char *, pilot *) {}
void fileSID11(pilot *) {}
void drawFlighLevels(pilot *) {}
void ProgramFMS(pilot *) {}
