// Spoken altitudes.
#include "monitor/LevelText.h"

#include <cstdio>

#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

std::string Utils_FeetsOrFL(int feet)
{
    PrintDebug("Utils_FeetsOrFL", "Utils_FeetsOrFL - gTODReached: %i,gTransLevelFLArr: %i,  gTransLevelFLDep: %i",
               pilotObj.gTODReached, gTransLevelFLArr, gTransLevelFLDep);
    const int transitionLevel = pilotObj.gTODReached == 1 ? gTransLevelFLArr : gTransLevelFLDep;
    char text[40];
    if (feet / 100 < transitionLevel)
        snprintf(text, sizeof text, "%i feet", feet);
    else
        snprintf(text, sizeof text, "flight level #%i#", feet / 100);
    return text;
}
