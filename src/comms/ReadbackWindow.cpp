// The read-back window and its four answers.
#include "comms/ReadbackWindow.h"

#include "XPStandardWidgets.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/ReadbackAnswers.h"
#include "planning/ChooseRunwayWindow.h"
#include "planning/Fms.h"
#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ReadbackDialogWindow = nullptr;
XPWidgetID ReadbackButton = nullptr, SayAgainButton = nullptr, OtherRwyButton = nullptr, SkipFixButton = nullptr;

namespace
{

const char *const kTag = "ReadbackControlDialogHandler";

/// The exchange ends here without its last step: the radio is free again.
void Readback_endExchange(pilot *record)
{
    record->gIsCopiing = 0;
    gIsCopiing = 0;
}

void Readback_sayAgain(pilot *record)
{
    if (!Radio_AskSayAgain(record, gReadbackMessage)) {
        PrintInfo(kTag, "Nothing to say again for message code %i", gReadbackMessage);
        return;
    }
    ReadbackWindow_Close();
}

void Readback_programFms(pilot *record)
{
    if (enableFmcProgramming == 1 && !record->flightPlanVec.empty())
        ProgramFMS(record);
}

/// The procedures of the old departure runway go; the runway choice searches those of the new one.
void Readback_forgetProcedures(pilot *record)
{
    PrintInfo(kTag, "Clearing SIDS/Fixes vector");
    record->sids.clear();
    record->sidFixes.clear();
    record->numeroDiSidTrovate = 0;
    record->selectedSID = 0;
    record->sidFiled = false;
    PrintInfo(kTag, "Clearing STARS/Fixes vector");
    record->stars.clear();
    record->starFixes.clear();
    record->numeroDiStarTrovate = 0;
    record->selectedSTAR = 0;
    record->starFiled = false;
}

void Readback_otherRunway(pilot *record)
{
    PrintInfo(kTag, "----------------------------------------------------------------------Change runway "
                    "request-----------------------------------------------------------");
    if (!record->flightPlanVec.empty()) {
        record->flightPlanVec.front().restriction = 0;
        PrintInfo(kTag, "Fake initial altitude resetted to 0 for Other runway requested");
    }
    if (record->informazioniDiAtterraggioComunicate == 1) {
        PrintInfo(kTag, "Entro in cambia pista departure, pista attuale: %s", record->arrivalRunwayStruct.name);
        StampaPianoDiVoloAttuale(record, false);
        CreateChooseRunwayControl(record, 0);
        PrintInfo(kTag, "Il piano di volo adesso!");
        StampaPianoDiVoloAttuale(record, false);
        Readback_programFms(record);
        return;
    }
    PrintInfo(kTag, "Entro in cambia pista departure, pista attuale: %s", record->departureRunwayName);
    Readback_forgetProcedures(record);
    // Without a backup the route stays as it is rather than be lost.
    if (record->flightPlanBackup.empty()) {
        PrintInfo(kTag, "No route backup: the route stays as filed");
    } else {
        PrintInfo(kTag, "Clearing fligh plan vector");
        PrintInfo(kTag, "Recupero il seguente backup a causa della richiesta del cambio pista (for takeoff)");
        restorePianoDivolo(record);
    }
    CreateChooseRunwayControl(record, 1);
    ReadbackWindow_Close();
    Readback_programFms(record);
    PrintInfo(kTag, "Esco da cambia pista di decollo, pista attuale: %s", record->departureRunwayName);
    Readback_endExchange(record);
}

void Readback_skipWaypoint(pilot *record)
{
    ReadbackWindow_Close();
    record->saltoRichiesto = true;
    Readback_endExchange(record);
}

} // namespace

void CreateReadbackDialog(int left, int top, int width, int height)
{
    ReadbackWindow_Close();
    const bool otherRunway = gShowChangeRwyBtn == 1, skipFix = gShowSkipFix == 1;
    const int rows = 2 + (otherRunway ? 1 : 0) + (skipFix ? 1 : 0);
    Dialog_OpeningPosition(&left, &top);
    height = Dialog_HeightForRows(rows, height);
    const int buttonWidth = width - 20;
    ReadbackDialogWindow = Utils_CreateMainWindow(left, top, left + width, top - height, "Readback");
    int row = 0;
    ReadbackButton = Dialog_CreateRowButton(ReadbackDialogWindow, left, top, row++, buttonWidth, "Readback");
    SayAgainButton = Dialog_CreateRowButton(ReadbackDialogWindow, left, top, row++, buttonWidth, "Say again");
    if (otherRunway)
        OtherRwyButton = Dialog_CreateRowButton(ReadbackDialogWindow, left, top, row++, buttonWidth, "Other runway");
    if (skipFix)
        SkipFixButton =
            Dialog_CreateRowButton(ReadbackDialogWindow, left, top, row++, buttonWidth, "Skip this waypoint");
    gShowChangeRwyBtn = 0;
    gShowSkipFix = 0;
    readbackWinIsOpen = 1;
    XPAddWidgetCallback(ReadbackDialogWindow, ReadbackControlDialogHandler);
}

void ReadbackWindow_Close()
{
    if (ReadbackDialogWindow != nullptr) {
        Dialog_RememberPosition(ReadbackDialogWindow);
        Utils_DestroyWindow(&ReadbackDialogWindow);
    }
    ReadbackButton = SayAgainButton = OtherRwyButton = SkipFixButton = nullptr;
    readbackWinIsOpen = 0;
}

void ReadbackWindow_Readback()
{
    if (ReadbackDialogWindow == nullptr)
        return;
    pilot *record = &pilotObj;
    const int code = gReadbackMessage;
    readBackCustomCommand = 0; // answered
    ReadbackWindow_Close();
    // A read-back the exchange does not allow now ends it, rather than leave the radio held.
    if (!Radio_AnswerReadback(record, code, gResponse))
        Readback_endExchange(record);
}

int ReadbackControlDialogHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    pilot *record = &pilotObj;
    if (message == xpMessage_CloseButtonPushed) {
        ReadbackWindow_Close();
        Readback_endExchange(record);
        return 1;
    }
    if (message != xpMsg_PushButtonPressed || param1 == 0)
        return 0;
    const XPWidgetID button = (XPWidgetID)param1;
    if (button == ReadbackButton)
        ReadbackWindow_Readback();
    else if (button == SayAgainButton)
        Readback_sayAgain(record);
    else if (button == OtherRwyButton)
        Readback_otherRunway(record);
    else if (button == SkipFixButton)
        Readback_skipWaypoint(record);
    else
        return 0;
    return 1;
}
