// Radio state published for other add-ons and read by the request windows.
#include "monitor/RadioMonitor.h"

#include <cstring>

#include "XPLMProcessing.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "planning/ChooseRunwayWindow.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"

int NaviCheck_FacilityId(const char *facility)
{
    static const struct {
        const char *name;
        int id;
    } kIds[] = {{"DELIVERY", 1}, {"GROUND", 2},   {"TOWER", 3}, {"DEPARTURE", 4},
                {"CENTER", 5},   {"APPROACH", 6}, {"ATIS", 8}};
    for (const auto &entry : kIds)
        if (facility != nullptr && strcmp(facility, entry.name) == 0)
            return entry.id;
    return 0;
}

void NaviCheck_UpdateRadio(pilot *r)
{
    const float now = XPLMGetElapsedTime();
    if (frequencyBusyUntil == 0)
        Data1 = 0;
    else if (now < frequencyBusyUntil)
        Data1 = 1;
    else if (releaseRadioBetweenDialogs == 0)
        Data1 = r->gIsCopiing == 1 || gIsCopiing == 1 ? 1 : 0;
    else
        Data1 = 0;

    Data3 = NaviCheck_FacilityId(r->gActualFrequencyName.c_str());

    // The runway, STAR and SID choice windows hold the radio while they are open.
    const bool choosing =
        ControlChooseRwyWin != nullptr || ControlChooseStarWin != nullptr || ControlChooseSidWin != nullptr;
    frequenzaLibera = !choosing && readbackWinIsOpen == 0 && dialogIsOpen == 0 && r->frequenzaObiettivo == 0 &&
                      r->gIsCopiing == 0;
}
