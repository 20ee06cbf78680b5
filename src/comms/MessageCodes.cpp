// The table from message code to follow-up action. A pilot call carries the code whose action answers
// it, the answer the code of the read-back step, the read-back the code that records the clearance.
#include "comms/MessageCodes.h"

#include <cstdio>

#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/PhraseCommon.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesHandOver.h"
#include "comms/PhrasesSpecial.h"
#include "comms/PhrasesTower.h"
#include "comms/ReadbackWindow.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

int gReadbackDialogHeight = 80;

namespace
{

/// Read-back dialog heights: plain, and with an extra button.
const int kReadbackHeight = 80;
const int kReadbackHeightWithButton = 100;
/// Read-back dialog position and width.
const int kReadbackLeft = 30, kReadbackTop = 100, kReadbackWidth = 160;

void Codes_readback(const messaggio &m)
{
    Queue_ReadbackStep(m, false, kReadbackHeight);
}

void Codes_readbackWithResponse(const messaggio &m)
{
    Queue_ReadbackStep(m, true, kReadbackHeight);
}

int Codes_heightWithOptionalButton()
{
    return gShowChangeRwyBtn == 1 || gShowSkipFix == 1 ? kReadbackHeightWithButton : kReadbackHeight;
}

// 40: the IFR clearance, once a SID has been chosen; on the ground the runway may still change.
void Codes_ifrClearanceReadback(const messaggio &m)
{
    if (m.sender == nullptr || !m.sender->sidSelezionata)
        return;
    bool onGround = m.sender->isOnGround != 0;
    Queue_ReadbackStep(m, true, onGround ? kReadbackHeightWithButton : kReadbackHeight, onGround);
}

// 520: centre altitude clearance.
void Codes_centerReadback(const messaggio &m)
{
    Queue_ReadbackStep(m, true, gShowSkipFix == 1 ? kReadbackHeightWithButton : kReadbackHeight);
}

// 550, 2000: vectors, landing information, wrong squawk.
void Codes_readbackOptionalButton(const messaggio &m)
{
    Queue_ReadbackStep(m, true, Codes_heightWithOptionalButton());
}

// 1010: hand-over to the next centre.
void Codes_centerHandOverReadback(const messaggio &m)
{
    gShowSkipFix = 0;
    Queue_ReadbackStep(m, true, kReadbackHeight);
}

// 1100: the IFR flight plan is cancelled; the service stops.
void Codes_serviceTerminated(const messaggio &)
{
    gPluginEnabled = 0;
}

// 3001: the emergency is answered at once.
void Codes_emergencyAnswer(const messaggio &m)
{
    gReadbackMessage = 3001;
    if (m.sender != nullptr)
        DeclareEmergencyReadback(m.sender);
}

// 3002: the emergency clearance: read back through the dialog, or at once while it is open.
void Codes_emergencyReadback(const messaggio &m)
{
    if (readbackWinIsOpen == 1 && m.sender != nullptr)
        DeclareEmergencyReadbackCorrect(m.sender);
    else
        Queue_ReadbackStep(m, false, kReadbackHeight);
}

void Codes_sayAgain(const messaggio &m)
{
    Phrase_RepeatLastReadbackRequest(m.sender);
}

void Codes_none(const messaggio &)
{
}

/// The action of a code: a step of the flight, or a function of the whole message.
struct CodeAction {
    int code;
    void (*step)(pilot *record);
    void (*run)(const messaggio &m);
};

// Ordered by code. The read-back handler each read-back step leads to is in comms/ReadbackAnswers.
const CodeAction kActions[] = {
    {0, nullptr, Codes_none},
    {MESSAGE_CODE_SAY_AGAIN, nullptr, Codes_sayAgain},
    {20, FlightPlanning_RequestIFRClearanceResponse, nullptr},
    {30, FlightPlanning_RequestIFRClearanceDelay, nullptr},
    {40, nullptr, Codes_ifrClearanceReadback},
    {50, FlightPlanning_CheckReadbackSquawk, nullptr},
    {60, RequestIFRClearanceGot, nullptr},
    {110, Ground_RequestEngineStartupResponse, nullptr},
    {111, Ground_RequestEngineStartupAndPushBackResponse, nullptr},
    {120, Ground_RequestEngineStartupDelay, nullptr},
    {121, Ground_RequestEngineStartupAndPushBackDelay, nullptr},
    {130, nullptr, Codes_readback},
    {131, nullptr, Codes_readback},
    {140, Ground_RequestEngineStartupGot, nullptr},
    {141, Ground_RequestEngineStartupAndPushBackGot, nullptr},
    {210, Ground_RequestPushbackResponse, nullptr},
    {220, Ground_RequestPushbackDelay, nullptr},
    {225, nullptr, Codes_readback},
    {230, nullptr, Codes_readback},
    {240, Ground_RequestPushbackGot, nullptr},
    {310, Ground_RequestTaxiResponse, nullptr},
    {330, nullptr, Codes_readbackWithResponse},
    {340, Ground_RequestTaxiGot, nullptr},
    {410, Takeoff_RequestTakeOffResponse, nullptr},
    {420, nullptr, Codes_readback},
    {440, Takeoff_RequestTakeOffGot, nullptr},
    {510, Center_Answer, nullptr},
    {515, Approach_Answer, nullptr},
    {520, nullptr, Codes_centerReadback},
    {525, nullptr, Codes_readbackWithResponse},
    {530, CenterInitialCallGot, nullptr},
    {535, ApproachInitialCallGot, nullptr},
    {550, nullptr, Codes_readbackOptionalButton},
    {610, nullptr, Codes_readbackWithResponse},
    {710, TowerArrival_InitialCallResponse, nullptr},
    {760, nullptr, Codes_readback},
    {780, Tower_RunwayVacatedResponse, nullptr},
    {790, nullptr, Codes_readback},
    {810, GroundInitialCallResponse, nullptr},
    {820, nullptr, Codes_readback},
    {882, nullptr, Codes_readbackWithResponse},
    {910, Tower_MissedApproachResponse, nullptr},
    {920, nullptr, Codes_readbackWithResponse},
    {1010, nullptr, Codes_centerHandOverReadback},
    {1011, nullptr, Codes_readbackWithResponse},
    {1020, HandOverCenterGot, nullptr},
    {1021, HandOverApproachGot, nullptr},
    {1070, nullptr, Codes_readbackWithResponse},
    {1080, Radio_CancelIFRResponse, nullptr},
    {1090, nullptr, Codes_readbackWithResponse},
    {1100, nullptr, Codes_serviceTerminated},
    {2000, nullptr, Codes_readbackOptionalButton},
    {3001, nullptr, Codes_emergencyAnswer},
    {3002, nullptr, Codes_emergencyReadback},
};

} // namespace

void Queue_ReadbackStep(const messaggio &m, bool withResponse, int height, bool otherRunway)
{
    if (!gLastMessageHeard || readbackWinIsOpen == 1) {
        // The extra buttons belonged to this read-back: they must not turn up on the next one.
        gShowChangeRwyBtn = 0;
        gShowSkipFix = 0;
    }
    if (!gLastMessageHeard) {
        PrintDebug("Queue_ReadbackStep", "Read-back %i not asked: its message was not heard on %s", m.message,
                   gTranslatedFrequencyName.c_str());
        if (m.sender != nullptr)
            m.sender->gIsCopiing = 0;
        return;
    }
    if (readbackWinIsOpen == 1)
        return;
    if (otherRunway)
        gShowChangeRwyBtn = 1;
    gReadbackMessage = m.message;
    if (withResponse)
        snprintf(gResponse, sizeof gResponse, "%s", m.readbackText);
    gReadbackDialogHeight = height;
    CreateReadbackDialog(kReadbackLeft, kReadbackTop, kReadbackWidth, height);
}

void Queue_RunMessageAction(const messaggio &m)
{
    for (const CodeAction &action : kActions) {
        if (action.code != m.message)
            continue;
        if (action.run != nullptr)
            action.run(m);
        else if (m.sender != nullptr)
            action.step(m.sender);
        return;
    }
    PrintDebug("Queue_RunMessageAction", "No action for message code %i", m.message);
}
