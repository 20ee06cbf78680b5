// Delivery of queued transmissions: filter by the tuned facility, render, show, speak, busy the
// frequency, then hand the message's code to the action table.
#include "comms/MessageQueue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "comms/DialogBox.h"
#include "comms/DialogState.h"
#include "comms/MessageCodes.h"
#include "comms/PhraseCommon.h"
#include "comms/PhraseMarkup.h"
#include "plugin/FacilityNaming.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "speech/AzureTTS.h"
#include "speech/LocalTTS.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

std::deque<messaggio> queue;
float frequencyBusyUntil = 0;
float gIsCopiingSince = 0;
std::string gTranslatedFrequencyName;
int gReadbackMessage = 0;
char gResponse[MESSAGE_TEXT_SIZE] = "";
int gShowChangeRwyBtn = 0;
int gShowSkipFix = 0;
bool frequenzaLibera = true;
bool gLastMessageHeard = true;

namespace {

/// An exchange left without progress for longer than this is abandoned, seconds.
const float kAbandonedExchangeSeconds = 30.0f;

void Queue_speak(const messaggio &m, const char *speech)
{
    if (gIsSpeechActivated != 1)
        return;
    if (disableVoiceOnReadBack == 1 && m.spokenByPilot)
        return;
    // The service or the synthesiser answers on the speech worker; the radio stays busy for the message's
    // duration from the moment its voice is heard.
    const float busy_s = (float)m.duration;
    auto heard = [busy_s](bool played) {
        if (played)
            frequencyBusyUntil = std::max(frequencyBusyUntil, XPLMGetElapsedTime() + busy_s);
    };
    if (localTtsOn == 1) {
        if (LocalTTS_Ready(true))
            LocalTTS_Speak(speech, m.spokenByPilot, heard);
        else
            XPLMSpeakString(speech);
        return;
    }
    if (azureTtsOn == 0 || !AzureTTS_Ready(false)) {
        XPLMSpeakString(speech);
        return;
    }
    AzureTTS_Speak(speech, m.spokenByPilot ? kPilotVoice : voceRandomAttuale, heard);
}

void Queue_show(const messaggio &m, float now)
{
    static char display[PHRASE_RENDER_SIZE];
    static char speech[PHRASE_RENDER_SIZE];
    Phrase_Render(m.text, display, sizeof display, speech, sizeof speech);
    autoHideDarkBoxCounter = now;
    frequencyBusyUntil = now + (float)m.duration;
    AddToDialogArray(display, m.color);
    Queue_speak(m, speech);
    if (developerDEBUG || userDebug)
        PrintInfo("Queue_DeliverNextMessage", "Communication: %s", display);
    Radio_AddToHistory(display);
}

} // namespace

void SetFrequencyFilter(std::string &out, const std::string &facility)
{
    const Parser &airport = pilotObj.parser;
    if (facility == "GROUND")
        out = airport.groundFrequency != 0 ? "GROUND" : "TOWER";
    else if (facility == "DELIVERY")
        out = airport.deliveryFrequency != 0 ? "DELIVERY" : (airport.groundFrequency != 0 ? "GROUND" : "TOWER");
    else
        out = facility;
}

int Queue_MessageDuration(const char *text, bool opening)
{
    if (gIsSpeechActivated == 1)
        return (int)(strlen(text != nullptr ? text : "") / 7);
    if (!opening)
        return 3;
    srand((unsigned)time(nullptr));
    return rand() % 10 + 3;
}

bool Queue_HeardOnTunedFacility(const messaggio &m)
{
    return m.frequencyFilter == "ALL" || m.frequencyFilter == gTranslatedFrequencyName;
}

void Radio_ResetState()
{
    queue.clear();
    gOutputDialogues.clear();
    frequencyBusyUntil = 0;
    gIsCopiingSince = 0;
    gReadbackMessage = 0;
    gResponse[0] = '\0';
    gShowChangeRwyBtn = 0;
    gShowSkipFix = 0;
    gLastMessageHeard = true;
    gLastReadbackRequest = messaggio();
}

void Queue_DeliverNextMessage()
{
    float now = XPLMGetElapsedTime();
    if (queue.empty() || (frequencyBusyUntil != 0 && now < frequencyBusyUntil))
        return;
    // The previous message is still being synthesised or heard: it is heard to its end first (a voice may
    // last longer than the message's estimated duration).
    if (SpeechWorker_Speaking() || Wave_HeldUtterances() > 0)
        return;
    messaggio m = queue.front();

    SetFrequencyFilter(gTranslatedFrequencyName, gActualFrequencyName);
    const bool heard = Queue_HeardOnTunedFacility(m);
    if (m.visible != 0)
        gLastMessageHeard = heard;
    if (!heard) {
        PrintDebug("Queue_DeliverNextMessage",
                   "Frequency Filter not matching (frequenza attuale: %s - frequencyFilter del prossimo messaggio "
                   "\"%s\". Messaggio: %s",
                   gTranslatedFrequencyName.c_str(), m.frequencyFilter.c_str(), m.text);
    } else {
        frequencyBusyUntil = now + (float)m.duration;
        if (m.visible != 0)
            Queue_show(m, now);
    }
    queue.pop_front();
    PrintDebug("Queue_DeliverNextMessage", "Message code %i delivered%s", m.message, heard ? "" : " unheard");
    Queue_RunMessageAction(m);
}

void Queue_CheckAbandonedExchange()
{
    if (pilotObj.gIsCopiing != 1 || readbackWinIsOpen != 0 || dialogIsOpen != 0)
        return;
    // A long message still on the air does not count as time without progress.
    const float lastProgress = frequencyBusyUntil > gIsCopiingSince ? frequencyBusyUntil : gIsCopiingSince;
    if (XPLMGetElapsedTime() - lastProgress <= kAbandonedExchangeSeconds)
        return;
    pilotObj.gIsCopiing = 0;
    dialogIsOpen = 0;
    readbackWinIsOpen = 0;
    PrintDebug("Queue_CheckAbandonedExchange", "gIsCopiing reset!");
}
