// The departure's ground exchanges.
#include "comms/PhrasesGround.h"

#include <cstdio>
#include <string>

#include "XPLMProcessing.h"
#include "comms/PhraseCommon.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"

namespace
{

/// A refused push-back may be asked again after this many seconds.
const float kPushbackRetry_s = 20.0f;

std::string Ground_departureName(const pilot *r)
{
    return Phrase_AirportName(r->depAirportFullName);
}

/// The controller's "<callsign>, <what> approved." for read-back.
void Ground_approve(pilot *r, const char *what, int code)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, %s approved.", Phrase_Callsign(r), what);
    Phrase_QueueForReadback(r, "GROUND", code, p);
}

/// The pilot's read-back "<What> approved, <callsign>.".
void Ground_readApproval(pilot *r, const char *what, int code)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s approved, %s.", what, Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "GROUND", code, p);
}

} // namespace

int controllaHeadingLibero(pilot *)
{
    return 0;
}

// MARK: engine start-up

void Ground_RequestEngineStartup(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s ground, %s request startup.", Ground_departureName(r).c_str(),
                  Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "GROUND", 110, p);
}

void Ground_RequestEngineStartupResponse(pilot *r)
{
    Ground_approve(r, "startup", 120);
}

void Ground_RequestEngineStartupDelay(pilot *r)
{
    Phrase_QueueSilent(r, "GROUND", 130);
}

void Ground_RequestEngineStartupReadback(pilot *r)
{
    Ground_readApproval(r, "Startup", 140);
}

void Ground_RequestEngineStartupGot(pilot *r)
{
    Phrase_Grant(r->gIsEngStartApproved, gIsEngStartApproved);
    r->gIsCopiing = 0;
}

// MARK: start-up and push-back

void Ground_RequestEngineStartupAndPushback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s ground, %s, request startup and pushback.",
                  Ground_departureName(r).c_str(), Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "GROUND", 111, p);
}

void Ground_RequestEngineStartupAndPushBackResponse(pilot *r)
{
    Ground_approve(r, "startup and push back", 121);
}

void Ground_RequestEngineStartupAndPushBackDelay(pilot *r)
{
    Phrase_QueueSilent(r, "GROUND", 131);
}

void Ground_RequestEngineStartupAndPushBackReadback(pilot *r)
{
    Ground_readApproval(r, "Startup and push back", 141);
}

void Ground_RequestEngineStartupAndPushBackGot(pilot *r)
{
    Phrase_Grant(r->gIsEngStartApproved, gIsEngStartApproved);
    Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
    r->gIsCopiing = 0;
}

// MARK: push-back

void Ground_RequestPushback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, request push back.", Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "GROUND", 210, p);
}

void Ground_RequestPushbackResponse(pilot *r)
{
    Phrase p;
    if (controllaHeadingLibero(r) == 0) {
        Phrase_Format(p.text, sizeof p.text, "%s, push back approved, report ready for taxi.", Phrase_Callsign(r));
        Phrase_QueueForReadback(r, "GROUND", 220, p);
    } else {
        Phrase_Format(p.text, sizeof p.text, "%s, stand by. Traffic behind you. Call me again in one minute.",
                      Phrase_Callsign(r));
        Phrase_QueueForReadback(r, "GROUND", 225, p);
    }
}

void Ground_RequestPushbackDelay(pilot *r)
{
    Phrase_QueueSilent(r, "GROUND", 230);
}

void Ground_RequestPushbackReadback(pilot *r)
{
    Ground_readApproval(r, "Pushback", 240);
}

void Ground_RequestPushbackRejectedReadback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "Hold position and wait, %s.", Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "GROUND", 0, p);
    r->orarioRiprovaPushback = XPLMGetElapsedTime() + kPushbackRetry_s;
    r->gIsCopiing = 0;
}

void Ground_RequestPushbackGot(pilot *r)
{
    Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
    r->gIsCopiing = 0;
}

// MARK: taxi

void Ground_RequestTaxi(pilot *r)
{
    // The route starts where the aircraft stands now, after any push-back.
    TracciaTaxiPath(r);
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s Ground, good %s, %s is ready for taxi.", Ground_departureName(r).c_str(),
                  Phrase_Greeting(), Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "GROUND", 310, p);
}

namespace
{

/// Composes the taxi clearance with the given " via taxiway ..." part (possibly empty); false when the
/// phrase or its read-back would not fit whole.
bool Ground_composeTaxi(const pilot *r, const char *via, Phrase &p)
{
    const char *cs = Phrase_Callsign(r);
    const std::string runway = Phrase_Runway(r->departureRunwayName);
    char target[64];
    if (runway.empty())
        Phrase_Format(target, sizeof target, "taxi to holding point");
    else
        Phrase_Format(target, sizeof target, "taxi to runway *%s*", runway.c_str());
    const double tower = r->parser.towerFrequency;
    const bool towerTuned = r->gActualFrequency != 0 && r->gActualFrequency == tower;
    int a, b;
    if (towerTuned || tower == 0) {
        a = Phrase_Format(p.text, sizeof p.text, "%s, %s%s. Call me when on holding point.", cs, target, via);
        b = Phrase_Format(p.readback, sizeof p.readback, "T%s%s. Call back when on holding point, %s.", target + 1, via,
                          cs);
    } else {
        const std::string f = Phrase_Frequency(tower);
        a = Phrase_Format(p.text, sizeof p.text, "%s, %s%s. Contact tower on #%s# when on holding point.", cs, target,
                          via, f.c_str());
        b = Phrase_Format(p.readback, sizeof p.readback, "T%s%s. Contact tower on #%s# when on holding point, %s.",
                          target + 1, via, f.c_str(), cs);
    }
    return a >= 0 && b >= 0 && (size_t)a < sizeof p.text && (size_t)b < sizeof p.readback;
}

} // namespace

void Ground_RequestTaxiResponse(pilot *r)
{
    char names[TAXI_VIA_SIZE];
    Taxi_ViaText(r, names, sizeof names);
    Phrase p;
    char via[MESSAGE_TEXT_SIZE + 16] = "";
    if (names[0] != '\0')
        Phrase_Format(via, sizeof via, " via taxiway %s", names);
    // A route too long to name leaves the clearance without it rather than cut its end.
    if (!Ground_composeTaxi(r, via, p))
        Ground_composeTaxi(r, "", p);
    Phrase_QueueForReadback(r, "GROUND", 330, p);
}

void Ground_RequestTaxiReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "GROUND", 340, text);
}

void Ground_RequestTaxiGot(pilot *r)
{
    Phrase_Grant(r->gIsTaxiingApproved, gIsTaxiingApproved);
    r->gIsCopiing = 0;
}
