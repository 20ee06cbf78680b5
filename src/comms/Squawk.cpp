// Transponder codes.
#include "comms/Squawk.h"

#include <cstdlib>

#include "XPLMDataAccess.h"
#include "plugin/Log.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"

namespace
{
/// A code some aircraft start with; it counts as none assigned.
const int kPlaceholderSquawk = 2902;
} // namespace

int CodiceSquawk()
{
    return XPLMGetDatai(squawkCode);
}

int Radio_NewSquawk()
{
    // Nine bits written as three octal digits after the leading 2.
    int bits = rand() % 512;
    return 2000 + (bits / 64) * 100 + (bits / 8 % 8) * 10 + bits % 8;
}

void Radio_AssignSquawk(pilot *record)
{
    if (record->transponder == 0 || record->transponder == kPlaceholderSquawk) {
        record->transponder = Radio_NewSquawk();
        PrintInfo("Radio_AssignSquawk", "Squawk set!");
    } else {
        PrintInfo("Radio_AssignSquawk", "Squawk already set!");
    }
}
