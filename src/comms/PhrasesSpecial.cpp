// The wrong squawk, the IFR cancellation and the emergency.
#include "comms/PhrasesSpecial.h"

#include <cstdio>

#include "XPLMProcessing.h"
#include "comms/PhraseAddressee.h"
#include "comms/PhraseCommon.h"
#include "comms/PhrasesHandOver.h"
#include "monitor/WaypointTracking.h"
#include "state/Pilot.h"

namespace
{

const char *Special_rules(const pilot *r)
{
    return r->vfrFlight == 1 ? "VFR" : "IFR";
}

/// ", expect #ILS#" style part and the runway in use of the emergency clearance; "" without a runway.
std::string Special_runwayPart(const pilot *r)
{
    const std::string runway = Phrase_Runway(r->arrivalRunwayStruct.name);
    if (runway.empty())
        return std::string();
    const char *type = Radio_ApproachType(r);
    char text[MESSAGE_TEXT_SIZE];
    if (type[0] == '\0')
        Phrase_Format(text, sizeof text, ", runway in use *%s*", runway.c_str());
    else
        Phrase_Format(text, sizeof text, ", expect #%s#, runway in use *%s*", type, runway.c_str());
    return text;
}

} // namespace

// MARK: wrong squawk

void AnnounceSquawkIncorrect(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, set the transponder code #%i# as instructed.", Phrase_Callsign(r),
                  r->transponder);
    Phrase_Format(p.readback, sizeof p.readback, "transponder on #%i#, %s.", r->transponder, Phrase_Callsign(r));
    Phrase_QueueForReadback(r, "ALL", 2000, p);
    r->orarioUltimaIstruzione = XPLMGetElapsedTime();
}

void AnnounceSquawkIncorrect_ReadBack(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "ALL", 0, text);
    r->gIsCopiing = 0;
}

// MARK: cancel IFR (heard on any facility: it ends the service; the pilot asks whom he is talking to)

void Radio_CancelIFR(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, %s, please cancel %s.", Phrase_Addressee(r).c_str(), Phrase_Callsign(r),
                  Special_rules(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "ALL", 1080, p);
}

void Radio_CancelIFRResponse(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, %s cancelled", Phrase_Callsign(r), Special_rules(r));
    Phrase_Format(p.readback, sizeof p.readback, "%s cancelled, %s", Special_rules(r), Phrase_Callsign(r));
    Phrase_QueueForReadback(r, "ALL", 1090, p);
}

void Radio_CancelIFRReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "ALL", 1100, text);
    r->serviceTerminated = true;
    NaviCheck_ActivateWaypoint(r, 0, true);
    r->numeroDiSidTrovate = 0;
    r->clearedToLand = 0;
    r->cicloCenter = 0;
    r->gIsCopiing = 0;
}

// MARK: emergency

void DeclareEmergency(pilot *r)
{
    const std::string airport = Phrase_AirportName(r->arrAirportFullName);
    const std::string addressee = Phrase_Addressee(r);
    Phrase p;
    // With approach the landing airport is the one whose controllers are on the frequency.
    if (r->cicloApproach == 1)
        Phrase_Format(p.text, sizeof p.text, "%s, declaring emergency, request immediate landing, %s.",
                      addressee.c_str(), Phrase_Callsign(r));
    else
        Phrase_Format(p.text, sizeof p.text, "%s, declaring emergency, request immediate landing at %s, %s.",
                      addressee.c_str(), airport.c_str(), Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "ALL", 3001, p);
}

void DeclareEmergencyReadback(pilot *r)
{
    const std::string airport = Phrase_AirportName(r->arrAirportFullName);
    const std::string runway = Special_runwayPart(r);
    r->transponder = EMERGENCY_SQUAWK;
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, cleared for immediate landing at %s, set transponder code to #%i#%s.",
                  Phrase_Callsign(r), airport.c_str(), EMERGENCY_SQUAWK, runway.c_str());
    Phrase_Format(p.readback, sizeof p.readback, "cleared for immediate landing at %s, transponder on #%i#%s, %s.",
                  airport.c_str(), EMERGENCY_SQUAWK, runway.c_str(), Phrase_Callsign(r));
    Phrase_QueueForReadback(r, "ALL", 3002, p);
}

void DeclareEmergencyReadbackCorrect(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s",
                  gLastReadbackRequest.message == 3002 ? gLastReadbackRequest.readbackText : "");
    if (p.text[0] == '\0')
        Phrase_Format(p.text, sizeof p.text, "cleared for immediate landing, transponder on #%i#, %s.",
                      EMERGENCY_SQUAWK, Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "ALL", 0, p);
    r->gIsCopiing = 0;
}
