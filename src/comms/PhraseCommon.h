// What every phrase handler shares: composing into a bounded phrase, queueing one transmission of the
// flight, silent steps, the controller message a "Say again" repeats, the greeting and outside names made
// safe for the phrase markup.
#pragma once

#include <cstddef>
#include <string>

#include "comms/MessageQueue.h"

class pilot;

/// Who transmits. An opening call is the pilot's first call of an exchange (or a controller call that
/// starts one): with speech off it keeps the frequency 3 to 12 s.
enum PhraseKind { PHRASE_PILOT, PHRASE_PILOT_OPENING, PHRASE_CONTROLLER, PHRASE_CONTROLLER_OPENING };

/// A phrase and its read-back, each at most MESSAGE_TEXT_SIZE - 1 characters.
struct Phrase {
    char text[MESSAGE_TEXT_SIZE] = {0};
    char readback[MESSAGE_TEXT_SIZE] = {0};
};

/// Queues one visible transmission of the record on facility (mapped by SetFrequencyFilter, or "ALL")
/// carrying the code of the next step; stamps gIsCopiingSince. An opening call and every controller
/// answer mark the exchange in progress (the record's gIsCopiing).
messaggio &Phrase_Queue(pilot *record, PhraseKind kind, const char *facility, int code, const Phrase &phrase);
/// The same for a controller message the pilot must read back; it is kept as the one "Say again" repeats.
messaggio &Phrase_QueueForReadback(pilot *record, const char *facility, int code, const Phrase &phrase);
/// The pilot's read-back of the text as the pilot gave it (none reads as empty).
void Phrase_QueueReadback(pilot *record, const char *facility, int code, const char *text);
/// A silent step: no text, no duration, only the code of the next step.
void Phrase_QueueSilent(pilot *record, const char *facility, int code);

/// The last controller message that asked the pilot for a read-back (text empty when none yet).
extern messaggio gLastReadbackRequest;
/// The pilot's "Say again, <callsign>." on the facility of the last message that asked for a read-back;
/// once delivered, that message goes on the air again unchanged.
void Phrase_SayAgain(pilot *record);
/// Repeats the kept controller message (the action of the say-again's code).
void Phrase_RepeatLastReadbackRequest(pilot *record);

/// "morning", "afternoon" or "evening" by the simulator's local time of day.
const char *Phrase_Greeting();
/// Outside text (scenery names, procedure names) for a phrase: the markup characters "#", "*" and "@"
/// and control characters removed, blanks around it trimmed.
void Phrase_CleanName(char *out, size_t size, const char *in);
/// A SID or STAR name for a phrase, said the way pilots hear it: its letters as the word they name and
/// what follows them spelled ("HAROB6" gives "HAROB#6#": "HAROB six"); a name that does not begin with a
/// letter is spelled whole. Cleaned like any outside name; "" stays "".
std::string Phrase_ProcedureName(const std::string &name);
/// An airport name for a phrase: cleaned, the word "Intl" (any case, whole word) removed, trimmed.
std::string Phrase_AirportName(const std::string &name);
/// The callsign of the record (its flight number between "@" marks is spelled).
const char *Phrase_Callsign(const pilot *record);
/// A frequency as spoken in a phrase, without its "#" marks.
std::string Phrase_Frequency(double frequency);
/// Sets a clearance flag of the record and its process-wide twin.
void Phrase_Grant(int &member, int &twin);
/// A runway designator from the record, cleaned ("" when none is chosen).
std::string Phrase_Runway(const char *designator);
/// The controller's clearance with the wind read from the simulator: below 3 kt "<callsign>, wind is calm,
/// runway *<rwy>*, <clearance>", else "<callsign>, 'wind' #<ddd># <kt> knots, runway *<rwy>*, <clearance>"
/// with the direction in three digits.
void Phrase_WindClearance(char *out, size_t size, const pilot *record, const std::string &runway,
                          const char *clearance);
/// snprintf for phrases: what does not fit is cut; returns the length the whole text would have.
int Phrase_Format(char *out, size_t size, const char *format, ...) __attribute__((format(printf, 3, 4)));
