// The departure tower's exchanges.
#include "comms/PhrasesTower.h"

#include <cstdio>

#include "comms/PhraseCommon.h"
#include "monitor/Functions.h"
#include "plugin/Log.h"
#include "speech/Voices.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace
{
/// Above this ground speed the aircraft is not waiting at the holding point, m/s.
const float kHoldingSpeed_ms = 10.0f;
/// The take-off clearance keeps the frequency this long with speech off, s.
const int kTakeoffClearanceSeconds = 2;
} // namespace

void CheckIsOnHoldingPoint(pilot *r)
{
    if (r->groundSpeed >= kHoldingSpeed_ms || r->cicloCenter != 0 || r->engineRunning != 1)
        return;
    if (manualChooseSID == 1 && !r->sidSelezionata)
        return;
    const pilot::runwayStruct &runway = r->departureRunwayStruct;
    if (r->departureRunwayName[0] == '\0' || (runway.lat == 0 && runway.lon == 0)) {
        PrintDebug("CheckIsOnHoldingPoint", "CheckIsOnHoldingPoint: Pista non definita");
        return;
    }
    double holdLat = 0, holdLon = 0;
    Taxi_HoldingPoint(r, &holdLat, &holdLon);
    distanceToCoord d;
    CalcolaDistanzaCoordinataMini(r->latitudine, r->longitudine, holdLat, holdLon, &d, r);
    if (!(d.distance < holdingPointRadius)) {
        r->isOnHoldingPoint = 0;
        return;
    }
    r->isOnHoldingPoint = 1;
    Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
    Phrase_Grant(r->gIsTaxiingApproved, gIsTaxiingApproved);
    const double tower = r->parser.towerFrequency;
    if (r->gIsIFRCleared == 1 && tower != 0 && r->gActualFrequency != tower && r->frequenzaObiettivo != tower)
        r->handOverTowerOwed = true;
    HandOverTowerWhenFree(r);
}

void HandOverTowerWhenFree(pilot *r)
{
    if (!r->handOverTowerOwed)
        return;
    const double tower = r->parser.towerFrequency;
    if (r->clearedToTakeOff != 0 || r->gActualFrequency == tower || r->frequenzaObiettivo == tower) {
        r->handOverTowerOwed = false; // the pilot went to the tower without it
        return;
    }
    if (r->gIsCopiing != 0 || !queue.empty())
        return;
    r->handOverTowerOwed = false;
    HandOverTower(r);
}

void HandOverTower(pilot *r)
{
    const std::string f = Phrase_Frequency(r->parser.towerFrequency);
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, contact tower on #%s#, have a nice flight.", Phrase_Callsign(r),
                  f.c_str());
    Phrase_Format(p.readback, sizeof p.readback, "Contact tower on #%s#, %s.", f.c_str(), Phrase_Callsign(r));
    Phrase_QueueForReadback(r, "GROUND", 882, p);
}

void HandOverTowerReadBack(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "GROUND", 0, text);
    r->frequenzaObiettivo = r->parser.towerFrequency;
    r->frequenzaObiettivoNome = "TOWER";
    r->gIsCopiing = 0;
}

void Takeoff_RequestTakeOff(pilot *r)
{
    CambiaVoceRandom();
    const std::string runway = Phrase_Runway(r->departureRunwayName);
    const std::string airport = Phrase_AirportName(r->depAirportFullName);
    Phrase p;
    if (runway.empty())
        Phrase_Format(p.text, sizeof p.text, "%s Tower, good %s, %s on holding point, ready for departure.",
                      airport.c_str(), Phrase_Greeting(), Phrase_Callsign(r));
    else
        Phrase_Format(p.text, sizeof p.text,
                      "%s Tower, good %s, %s on holding point of runway *%s*, ready for departure.", airport.c_str(),
                      Phrase_Greeting(), Phrase_Callsign(r), runway.c_str());
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "TOWER", 410, p);
}

void Takeoff_RequestTakeOffResponse(pilot *r)
{
    Phrase p;
    Phrase_WindClearance(p.text, sizeof p.text, r, Phrase_Runway(r->departureRunwayName), "cleared for take off.");
    messaggio &m = Phrase_QueueForReadback(r, "TOWER", 420, p);
    if (gIsSpeechActivated != 1) {
        m.duration = kTakeoffClearanceSeconds;
        gLastReadbackRequest.duration = kTakeoffClearanceSeconds;
    }
}

void Takeoff_RequestTakeOffReadback(pilot *r)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "Cleared for take off runway *%s*, %s.",
                  Phrase_Runway(r->departureRunwayName).c_str(), Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT, "TOWER", 440, p);
}

void Takeoff_RequestTakeOffGot(pilot *r)
{
    Phrase_Grant(r->clearedToTakeOff, clearedToTakeOff);
    r->gIsCopiing = 0;
}
