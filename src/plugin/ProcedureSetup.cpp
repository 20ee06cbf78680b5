// Procedure set-up, one step per frame: a manually chosen SID is filed as soon as it is selected, and
// its window opens while none is; the STAR window and filing follow once the flight is on its way.
#include "plugin/ProcedureSetup.h"

#include "comms/MessageQueue.h"
#include "planning/ApproachPath.h"
#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"

namespace
{

void ProcedureSetup_departure(pilot &record)
{
    if (record.numeroDiSidTrovate <= 0 || manualChooseSID != 1)
        return;
    if (record.sidSelezionata && !record.sidFiled) {
        PrintDebug("MyDrawWindowCallback", "Calling fileSID11");
        fileSID11(&record);
    } else if (!record.sidSelezionata && frequenzaLibera && ControlChooseSidWin == nullptr) {
        CreateChooseSidControl(&record, 0);
    }
}

/// Arrival procedures wait until 40 s after take-off near the end of the route, 100 s otherwise.
bool ProcedureSetup_arrivalDue(const pilot &record, float now)
{
    if (!frequenzaLibera)
        return false;
    const int size = (int)record.flightPlanVec.size();
    const bool nearEnd = size > 0 && record.gActualFlightPlanIndex >= size - 2;
    return now - record.orarioDiDecollo > (nearEnd ? 40.0f : 100.0f);
}

/// Once the STAR is filed (or none is searched for), the approach path follows it. Never before the
/// take-off, nor without a landing runway.
void ProcedureSetup_approachPath(pilot &record)
{
    if (record.ilsPathCreated || !record.decollato || record.arrivalRunwayStruct.name[0] == '\0')
        return;
    if (record.starFiled || lookForSTAR == 0) {
        PrintDebug("MyDrawWindowCallback", "Generic MyDrawWindoCallBack SetILSPath");
        SetILSPath(&record);
    }
}

void ProcedureSetup_arrival(pilot &record, float now)
{
    if (!ProcedureSetup_arrivalDue(record, now))
        return;
    // A STAR filed on an earlier frame: its approach path now.
    ProcedureSetup_approachPath(record);
    if (record.numeroDiStarTrovate <= 0)
        return;
    // One choice window at a time: the departure's comes first.
    if (!record.starSelezionata && manualChooseSTAR == 1 && ControlChooseStarWin == nullptr &&
        ControlChooseSidWin == nullptr) {
        CreateChooseStarControl(&record, 0);
    } else if (record.starSelezionata && !record.starFiled) {
        PrintDebug("MyDrawWindowCallback", "Calling fileSTAR11");
        fileSTAR11(&record);
    }
}

} // namespace

void FrameDriver_ProcedureSetup(pilot &record, float now)
{
    ProcedureSetup_departure(record);
    ProcedureSetup_arrival(record, now);
}
