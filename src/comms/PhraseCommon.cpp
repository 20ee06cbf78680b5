// The common skeleton of the phrase handlers.
#include "comms/PhraseCommon.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
#include "comms/MessageCodes.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "taxi/TaxiNames.h"

messaggio gLastReadbackRequest;

messaggio &Phrase_Queue(pilot *record, PhraseKind kind, const char *facility, int code, const Phrase &phrase)
{
    const bool byPilot = kind == PHRASE_PILOT || kind == PHRASE_PILOT_OPENING;
    const bool opening = kind == PHRASE_PILOT_OPENING || kind == PHRASE_CONTROLLER_OPENING;
    gIsCopiingSince = XPLMGetElapsedTime();
    if (record != nullptr && kind != PHRASE_PILOT)
        record->gIsCopiing = 1;

    messaggio m;
    m.message = code;
    snprintf(m.text, sizeof m.text, "%s", phrase.text);
    snprintf(m.readbackText, sizeof m.readbackText, "%s", phrase.readback);
    m.sender = record;
    SetFrequencyFilter(m.frequencyFilter, facility);
    m.duration = Queue_MessageDuration(m.text, opening);
    m.visible = 1;
    const float *colour = byPilot && record != nullptr ? record->coloreDialogo : white;
    m.color[0] = colour[0];
    m.color[1] = colour[1];
    m.color[2] = colour[2];
    m.spokenByPilot = byPilot;
    queue.push_back(m);
    return queue.back();
}

messaggio &Phrase_QueueForReadback(pilot *record, const char *facility, int code, const Phrase &phrase)
{
    messaggio &m = Phrase_Queue(record, PHRASE_CONTROLLER, facility, code, phrase);
    gLastReadbackRequest = m;
    return m;
}

void Phrase_QueueReadback(pilot *record, const char *facility, int code, const char *text)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s", text != nullptr ? text : "");
    Phrase_Queue(record, PHRASE_PILOT, facility, code, p);
}

void Phrase_QueueSilent(pilot *record, const char *facility, int code)
{
    gIsCopiingSince = XPLMGetElapsedTime();
    messaggio m;
    m.message = code;
    m.sender = record;
    SetFrequencyFilter(m.frequencyFilter, facility);
    m.duration = 0;
    m.visible = 0;
    queue.push_back(m);
}

void Phrase_SayAgain(pilot *record)
{
    if (gLastReadbackRequest.text[0] == '\0') {
        PrintInfo("Phrase_SayAgain", "Say again asked with no controller message to repeat");
        return;
    }
    Phrase p;
    snprintf(p.text, sizeof p.text, "Say again, %s.", Phrase_Callsign(record));
    messaggio &m = Phrase_Queue(record, PHRASE_PILOT, "ALL", MESSAGE_CODE_SAY_AGAIN, p);
    m.frequencyFilter = gLastReadbackRequest.frequencyFilter;
    if (record != nullptr)
        record->gIsCopiing = 1;
}

void Phrase_RepeatLastReadbackRequest(pilot *record)
{
    if (gLastReadbackRequest.text[0] == '\0')
        return;
    messaggio m = gLastReadbackRequest;
    if (record != nullptr) {
        m.sender = record;
        record->gIsCopiing = 1;
    }
    gIsCopiingSince = XPLMGetElapsedTime();
    queue.push_back(m);
}

const char *Phrase_Greeting()
{
    return Utils_GetDayTime(XPLMGetDataf(oraSimulata));
}

void Phrase_CleanName(char *out, size_t size, const char *in)
{
    if (size > 0)
        snprintf(out, size, "%s", Taxi_CleanName(in != nullptr ? in : "").c_str());
}

std::string Phrase_ProcedureName(const std::string &name)
{
    char clean[MESSAGE_TEXT_SIZE];
    Phrase_CleanName(clean, sizeof clean, name.c_str());
    size_t word = 0;
    while (isalpha((unsigned char)clean[word]))
        word++;
    if (clean[word] == '\0')
        return clean;
    return std::string(clean, word) + "#" + std::string(clean + word) + "#";
}

std::string Phrase_AirportName(const std::string &name)
{
    char clean[MESSAGE_TEXT_SIZE];
    Phrase_CleanName(clean, sizeof clean, name.c_str());
    std::string out;
    const char *c = clean;
    while (*c != '\0') {
        if (*c == ' ') {
            c++;
            continue;
        }
        const char *end = c;
        while (*end != '\0' && *end != ' ')
            end++;
        std::string word(c, end);
        bool intl = word.size() == 4 && strncasecmp(word.c_str(), "intl", 4) == 0;
        if (!intl) {
            if (!out.empty())
                out += ' ';
            out += word;
        }
        c = end;
    }
    return out;
}

const char *Phrase_Callsign(const pilot *record)
{
    return record != nullptr ? record->nomePilota : "";
}

std::string Phrase_Frequency(double frequency)
{
    return printFrequenciesDecimals(frequency);
}

void Phrase_Grant(int &member, int &twin)
{
    member = 1;
    twin = 1;
}

std::string Phrase_Runway(const char *designator)
{
    char clean[8];
    Phrase_CleanName(clean, sizeof clean, designator);
    return clean;
}

void Phrase_WindClearance(char *out, size_t size, const pilot *record, const std::string &runway,
                          const char *clearance)
{
    const float speed_kt = XPLMGetDataf(gWindSpeedRef);
    const float direction_deg = XPLMGetDataf(gWindHeadingRef);
    if (!(speed_kt >= 3.0f)) {
        snprintf(out, size, "%s, wind is calm, runway *%s*, %s", Phrase_Callsign(record), runway.c_str(),
                 clearance);
        return;
    }
    int direction = (int)direction_deg % 360;
    if (direction <= 0)
        direction += 360; // a wind from the north is "360"
    snprintf(out, size, "%s, 'wind' #%03i# %i knots, runway *%s*, %s", Phrase_Callsign(record), direction,
             (int)speed_kt, runway.c_str(), clearance);
}

int Phrase_Format(char *out, size_t size, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out, size, format, args);
    va_end(args);
    return n;
}
