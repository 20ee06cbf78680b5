// The radio: every transmission, the pilot's and the controller's, is a messaggio queued here and
// delivered by the frame driver, one per frame while the frequency is free.
#pragma once

#include <deque>
#include <string>

class pilot;

/// Size of a message's texts, NUL included.
enum { MESSAGE_TEXT_SIZE = 256 };

struct messaggio {
    int message = 0;                          ///< code of the action run after delivery; 0 = none
    char text[MESSAGE_TEXT_SIZE] = {0};       ///< the transmission, with phrase markup
    char readbackText[MESSAGE_TEXT_SIZE] = {0}; ///< what the read-back step hands on (gResponse)
    pilot *sender = nullptr;                  ///< the flight that transmits or is addressed
    std::string frequencyFilter;              ///< facility it is heard on (after SetFrequencyFilter) or "ALL"
    int duration = 0;                         ///< seconds the frequency stays busy
    int visible = 1;                          ///< 0: silent step, only the action runs
    float color[3] = {1.0f, 1.0f, 1.0f};      ///< line colour in the dialogue box
    bool spokenByPilot = false;               ///< selects the voice
};

extern std::deque<messaggio> queue;     ///< pending transmissions, delivered strictly in order
extern float frequencyBusyUntil;        ///< elapsed seconds; 0 = nothing transmitted yet
extern float gIsCopiingSince;           ///< elapsed seconds when the last message was queued
extern std::string gTranslatedFrequencyName; ///< the tuned facility after SetFrequencyFilter
extern int gReadbackMessage;            ///< code for which the read-back dialog was opened
extern char gResponse[MESSAGE_TEXT_SIZE]; ///< readbackText handed to the read-back handler
extern int gShowChangeRwyBtn;           ///< read-back dialog shows "Other runway"
extern int gShowSkipFix;                ///< read-back dialog shows "Skip this waypoint"
extern bool frequenzaLibera;            ///< radio free for a new exchange (set by the navigation monitor)
/// The last visible message delivered was heard on the tuned facility (a read-back is asked only then).
extern bool gLastMessageHeard;

/// Maps a facility to the one that serves it at the departure airport: GROUND falls back to TOWER,
/// DELIVERY to GROUND then TOWER, when the airport lacks them. Other names are copied.
void SetFrequencyFilter(std::string &out, const std::string &facility);
/// Seconds a visible message keeps the frequency busy: with speech on its text length / 7; with speech off
/// 3 to 12 s at random for a call that opens an exchange, else 3 s.
int Queue_MessageDuration(const char *text, bool opening);

/// A message is heard when its filter is the tuned facility (after SetFrequencyFilter) or "ALL".
bool Queue_HeardOnTunedFacility(const messaggio &m);
/// Empties the radio of every flight: queue, dialogue lines, busy frequency, read-back request and the
/// message a "Say again" repeats.
void Radio_ResetState();

/// Delivers the front message when the frequency is free: shows and speaks it when it is heard on the
/// tuned facility, then runs the action of its code. Run once per frame.
void Queue_DeliverNextMessage();
/// Frees an exchange of the user's flight that nobody has moved on for 30 seconds, counted from the later
/// of its last step and the end of the transmission on the air. Run once per frame.
void Queue_CheckAbandonedExchange();
