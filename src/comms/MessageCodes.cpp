// The table from message code to follow-up action. A pilot call carries the code whose action answers
// it, the answer the code of the read-back step, the read-back the code that records the clearance.
#include "comms/MessageCodes.h"

#include <cstdio>

#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

int gReadbackDialogHeight = 80;

namespace {

/// Read-back dialog heights: plain, and with an extra button.
const int kReadbackHeight = 80;
const int kReadbackHeightWithButton = 100;

bool Codes_heardOnTunedFacility(const messaggio &m)
{
    return gTranslatedFrequencyName == m.frequencyFilter;
}

void Codes_readback(const messaggio &m)
{
    Queue_ReadbackStep(m, false, kReadbackHeight);
}

void Codes_readbackWithResponse(const messaggio &m)
{
    Queue_ReadbackStep(m, true, kReadbackHeight);
}

// 40: the IFR clearance, once a SID has been chosen; on the ground the runway may still change.
void Codes_ifrClearanceReadback(const messaggio &m)
{
    if (m.sender == nullptr || !m.sender->sidSelezionata)
        return;
    bool onGround = m.sender->isOnGround != 0;
    gShowChangeRwyBtn = onGround ? 1 : 0;
    Queue_ReadbackStep(m, true, onGround ? kReadbackHeightWithButton : kReadbackHeight);
}

// 520: centre altitude clearance.
void Codes_centerReadback(const messaggio &m)
{
    if (Codes_heardOnTunedFacility(m))
        Queue_ReadbackStep(m, true, gShowSkipFix == 1 ? kReadbackHeightWithButton : kReadbackHeight);
}

// 525: approach altitude clearance.
void Codes_approachReadback(const messaggio &m)
{
    if (Codes_heardOnTunedFacility(m))
        Queue_ReadbackStep(m, true, kReadbackHeight);
}

// 550: vectors and landing information.
void Codes_vectorReadback(const messaggio &m)
{
    if (Codes_heardOnTunedFacility(m))
        Queue_ReadbackStep(m, true,
                           gShowChangeRwyBtn == 1 || gShowSkipFix == 1 ? kReadbackHeightWithButton : kReadbackHeight);
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

// 2000: wrong squawk.
void Codes_squawkReadback(const messaggio &m)
{
    if (!Codes_heardOnTunedFacility(m)) {
        PrintDebug("Queue_RunMessageAction",
                   "SQUAWK_INCORRECT_RB: gTranslatedFrequencyName != lastQueueEntry.frequencyFilter: %s %s",
                   gTranslatedFrequencyName.c_str(), m.frequencyFilter.c_str());
        return;
    }
    Queue_ReadbackStep(m, true,
                       gShowChangeRwyBtn == 1 || gShowSkipFix == 1 ? kReadbackHeightWithButton : kReadbackHeight);
}

void Codes_none(const messaggio &)
{
}

struct CodeAction {
    int code;
    void (*run)(const messaggio &m);
};

// Ordered by code. The read-back handler named in a comment is the one the dialog's "Readback" runs.
const CodeAction kActions[] = {
    {0, Codes_none},
    {40, Codes_ifrClearanceReadback},     // FlightPlanning_RequestIFRClearanceReadback
    {130, Codes_readback},                // Ground_RequestEngineStartupReadback
    {131, Codes_readback},                // Ground_RequestEngineStartupAndPushBackReadback
    {225, Codes_readback},                // Ground_RequestPushbackRejectedReadback
    {230, Codes_readback},                // Ground_RequestPushbackReadback
    {330, Codes_readbackWithResponse},    // Ground_RequestTaxiReadback
    {420, Codes_readback},                // Takeoff_RequestTakeOffReadback
    {520, Codes_centerReadback},          // CenterInitialCallReadback
    {525, Codes_approachReadback},        // ApproachInitialCallReadback
    {550, Codes_vectorReadback},          // CenterDefaultReadback
    {600, Codes_none},
    {610, Codes_readbackWithResponse},    // HandOverTowerForLandingReadBack
    {760, Codes_readback},                // ComunicaClearedToLandReadback
    {790, Codes_readback},                // Tower_RunwayVacatedReadback
    {820, Codes_readback},                // Ground_InitialCallReadback
    {882, Codes_readbackWithResponse},    // HandOverTowerReadBack
    {920, Codes_readbackWithResponse},    // Tower_MissedApproachReadback
    {1000, Codes_none},
    {1010, Codes_centerHandOverReadback}, // HandOverCenterReadback
    {1011, Codes_readbackWithResponse},   // HandOverApproachReadback
    {1070, Codes_readbackWithResponse},   // CenterDefaultReadback
    {1090, Codes_readbackWithResponse},   // Radio_CancelIFRReadback
    {1100, Codes_serviceTerminated},
    {2000, Codes_squawkReadback},         // AnnounceSquawkIncorrect_ReadBack
};

} // namespace

void Queue_ReadbackStep(const messaggio &m, bool withResponse, int height)
{
    if (readbackWinIsOpen == 1)
        return;
    gReadbackMessage = m.message;
    if (withResponse)
        snprintf(gResponse, sizeof gResponse, "%s", m.readbackText);
    gReadbackDialogHeight = height;
}

void Queue_RunMessageAction(const messaggio &m)
{
    for (const CodeAction &action : kActions) {
        if (action.code == m.message) {
            action.run(m);
            return;
        }
    }
    PrintDebug("Queue_RunMessageAction", "No action for message code %i", m.message);
}
