// The IFR clearance exchange: request, clearance, read-back, the squawk check and the final step.
#include "comms/PhrasesDelivery.h"

#include <cstdio>
#include <cstdlib>

#include "XPLMNavigation.h"
#include "XPLMProcessing.h"
#include "comms/PhraseCommon.h"
#include "comms/Squawk.h"
#include "monitor/LevelText.h"
#include "plugin/Log.h"
#include "state/FlightGlobals.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

const char *const kTag = "FlightPlanning_RequestIFRClearance";
/// Aircraft lighter than this need no push-back, kg.
const float kPushbackWeight_kg = 4000.0f;
/// XPLMGetNavAidInfo gives an airport's elevation in metres; feet = metres / this.
const float kMetresPerFoot = 0.30479f;
/// Sizes XPLMGetNavAidInfo writes into: identifier and name.
const int kNavIdSize = 32, kNavNameSize = 256;

bool Delivery_airborne(const pilot *r)
{
    return r->isOnGround == 0;
}

/// The facility the clearance is heard on: the area controller in the air, delivery on the ground.
const char *Delivery_facility(const pilot *r)
{
    return Delivery_airborne(r) ? "CENTER" : "DELIVERY";
}

/// The word naming the tuned controller in the request: the facility whose published frequency is COM1.
const char *Delivery_tunedWord(const pilot *r)
{
    const double f = r->gActualFrequency;
    if (f != 0 && f == r->parser.deliveryFrequency)
        return "delivery";
    if (f != 0 && f == r->parser.groundFrequency)
        return "ground";
    if (f != 0 && f == r->parser.towerFrequency)
        return "tower";
    return "delivery";
}

bool Delivery_startsWithLetter(const std::string &name)
{
    return !name.empty() && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

/// A departure airport without a usable name takes the name and elevation of the airport under the aircraft.
void Delivery_fixDepartureName(pilot *r)
{
    if (Delivery_startsWithLetter(r->depAirportFullName))
        return;
    PrintInfo(kTag, "ATTENZIONE, valore tmpPilot->depAirportFullName nullo per %s: %s! Lo imposto...", r->nomePilota,
              r->depAirportFullName.c_str());
    float lat = (float)r->latitudine, lon = (float)r->longitudine;
    const char *icao = r->depAirportICAO.empty() ? nullptr : r->depAirportICAO.c_str();
    XPLMNavRef ref = XPLMFindNavAid(nullptr, icao, &lat, &lon, nullptr, xplm_Nav_Airport);
    if (ref == XPLM_NAV_NOT_FOUND) {
        PrintInfo(kTag, "Airport not found to set runway height: %s (pilot %s, %s).", r->depAirportICAO.c_str(),
                  r->nomePilota, r->depAirportFullName.c_str());
        return;
    }
    float height_m = 0;
    char id[kNavIdSize] = "", name[kNavNameSize] = "";
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, &height_m, nullptr, nullptr, id, name, nullptr);
    r->depAirportFullName = name;
    r->departureRunwayStruct.heightft = height_m / kMetresPerFoot;
    PrintInfo(kTag, "Airport found to set runway height: %s (pilot %s, %s).", id, r->nomePilota, name);
}

void Delivery_lookUpArrivalName(pilot *r)
{
    float lat = (float)r->latitudine, lon = (float)r->longitudine;
    XPLMNavRef ref = r->arrAirportICAO.empty()
                         ? XPLM_NAV_NOT_FOUND
                         : XPLMFindNavAid(nullptr, r->arrAirportICAO.c_str(), &lat, &lon, nullptr, xplm_Nav_Airport);
    char id[kNavIdSize] = "", name[kNavNameSize] = "";
    if (ref != XPLM_NAV_NOT_FOUND)
        XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, name, nullptr);
    // The search matches identifier fragments: another airport's name is no name for this one.
    if (ref == XPLM_NAV_NOT_FOUND || r->arrAirportICAO != id) {
        PrintInfo(kTag, "Can't find a name for %s", r->arrAirportICAO.c_str());
        if (r->arrAirportFullName.empty())
            r->arrAirportFullName = Phrase_AirportName(r->arrAirportICAO);
        return;
    }
    r->arrAirportFullName = Phrase_AirportName(name);
}

/// The first route point may be given a lower initial level than the cruise level (70 to 110, with 4,000 ft
/// to spare below the cruise level).
void Delivery_setInitialLevel(pilot *r)
{
    if (r->flightPlanVec.empty())
        return;
    pilot::flightPlanLoc &first = r->flightPlanVec.front();
    if (first.fl == 0)
        first.fl = r->plannedFL;
    if (first.fl != r->plannedFL || r->plannedFL <= 100)
        return;
    int temp = (rand() % 5 + 7) * 10;
    if (temp + 39 < r->plannedFL) {
        first.fl = temp;
        first.restriction = -1;
        PrintInfo(kTag, "Setted an intermediate level %i (temp+40<tmpPilot->plannedFL %i %i)", temp, temp + 40,
                  r->plannedFL);
    } else {
        PrintInfo(kTag, "NOT setting an intermediate level %i (temp+40>tmpPilot->plannedFL %i %i)", temp, temp + 40,
                  r->plannedFL);
    }
}

/// The destination as the request, the clearance and its read-back all name it: the airport's name, or its
/// identifier spelled when no name is known.
std::string Delivery_clearanceLimit(const pilot *r)
{
    const std::string name = Phrase_AirportName(r->arrAirportFullName);
    if (!name.empty())
        return name;
    char icao[16];
    Phrase_CleanName(icao, sizeof icao, r->arrAirportICAO.c_str());
    return icao[0] != '\0' ? std::string("#") + icao + "#" : std::string();
}

/// The SID of the clearance as spoken; "" when none was chosen or the list does not hold it.
std::string Delivery_sidName(const pilot *r)
{
    if (!r->sidSelezionata || r->selectedSID < 0 || (size_t)r->selectedSID >= r->sids.size())
        return std::string();
    return Phrase_ProcedureName(r->sids[(size_t)r->selectedSID].name);
}

/// " via SID, runway *R* departure", " via runway *R* departure", " via SID departure" or "".
std::string Delivery_route(const pilot *r)
{
    const std::string sid = Delivery_sidName(r);
    const std::string runway = Phrase_Runway(r->departureRunwayName);
    char text[MESSAGE_TEXT_SIZE] = "";
    if (!sid.empty() && !runway.empty())
        Phrase_Format(text, sizeof text, " via %s, runway *%s* departure", sid.c_str(), runway.c_str());
    else if (!runway.empty())
        Phrase_Format(text, sizeof text, " via runway *%s* departure", runway.c_str());
    else if (!sid.empty())
        Phrase_Format(text, sizeof text, " via %s departure", sid.c_str());
    return text;
}

/// "readback correct" and what to do next, by where the aircraft is and what is tuned.
void Delivery_readbackCorrect(pilot *r, char *text, size_t size)
{
    const char *cs = Phrase_Callsign(r);
    const Parser &apt = r->parser;
    const bool towerTuned = r->gActualFrequency != 0 && r->gActualFrequency == apt.towerFrequency;
    if (Delivery_airborne(r)) {
        Phrase_Format(text, size, "%s, readback correct.", cs);
    } else if (r->isOnHoldingPoint == 1) {
        Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
        Phrase_Grant(r->gIsTaxiingApproved, gIsTaxiingApproved);
        if (towerTuned || apt.towerFrequency == 0)
            Phrase_Format(text, size, "%s, readback correct. Contact me again for departure.", cs);
        else
            Phrase_Format(text, size, "%s, readback correct. Contact tower on #%s# for departure.", cs,
                          Phrase_Frequency(apt.towerFrequency).c_str());
    } else {
        const char *when = r->engineRunning == 1 ? "when ready to taxi" : "when ready for startup";
        const double ground = apt.groundFrequency;
        if (towerTuned && ground != 0)
            Phrase_Format(text, size, "%s, readback correct. Contact ground on #%s# %s.", cs,
                          Phrase_Frequency(ground).c_str(), when);
        else if (!towerTuned && ground != 0 && ground != r->gActualFrequency)
            Phrase_Format(text, size, "%s, readback correct. Contact Ground on #%s# %s.", cs,
                          Phrase_Frequency(ground).c_str(), when);
        else
            Phrase_Format(text, size, "%s, readback correct. Contact me again %s.", cs, when);
    }
}

} // namespace

int FlightPlanning_InitialLevel(const pilot *r)
{
    return r->flightPlanVec.empty() ? r->plannedFL : r->flightPlanVec.front().fl;
}

void FlightPlanning_RequestIFRClearance(pilot *r)
{
    if (lookForSID == 0)
        r->sidSelezionata = true;
    Radio_settaFrequenzaCenter(r);
    if (r->datiPilotaImpostati == 1 && r->acfWeight > 0 && r->acfWeight < kPushbackWeight_kg)
        Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
    Delivery_fixDepartureName(r);
    Delivery_lookUpArrivalName(r);

    Phrase p;
    const char *kind = r->vfrFlight == 1 ? "VFR" : "IFR";
    const std::string arrival = Delivery_clearanceLimit(r);
    if (Delivery_airborne(r)) {
        char centre[sizeof r->nomeCenter];
        Phrase_CleanName(centre, sizeof centre, r->nomeCenter);
        Phrase_Format(p.text, sizeof p.text, "%s, good %s, %s request %s clearance to %s as filed.", centre,
                      Phrase_Greeting(), Phrase_Callsign(r), kind, arrival.c_str());
    } else {
        Phrase_Format(p.text, sizeof p.text, "%s %s, good %s, %s request %s clearance to %s as filed.",
                      Phrase_AirportName(r->depAirportFullName).c_str(), Delivery_tunedWord(r), Phrase_Greeting(),
                      Phrase_Callsign(r), kind, arrival.c_str());
    }
    Phrase_Queue(r, PHRASE_PILOT_OPENING, Delivery_facility(r), 20, p);
    Radio_AssignSquawk(r);
}

void FlightPlanning_RequestIFRClearanceResponse(pilot *r)
{
    Delivery_setInitialLevel(r);
    Phrase p;
    const std::string arrival = Delivery_clearanceLimit(r);
    if (Delivery_airborne(r)) {
        Phrase_Format(p.text, sizeof p.text, "%s, cleared to %s, squawk #%i#.", Phrase_Callsign(r), arrival.c_str(),
                      r->transponder);
    } else {
        Phrase_Format(p.text, sizeof p.text, "%s, cleared to %s%s. Initial altitude %s. Squawk #%i#.",
                      Phrase_Callsign(r), arrival.c_str(), Delivery_route(r).c_str(),
                      Utils_FeetsOrFL(FlightPlanning_InitialLevel(r) * 100).c_str(), r->transponder);
    }
    Phrase_QueueForReadback(r, Delivery_facility(r), 30, p);
}

void FlightPlanning_RequestIFRClearanceDelay(pilot *r)
{
    Phrase_QueueSilent(r, Delivery_facility(r), 40);
}

void FlightPlanning_RequestIFRClearanceReadback(pilot *r)
{
    const std::string limit = Delivery_clearanceLimit(r);
    Phrase p;
    if (Delivery_airborne(r)) {
        Phrase_Format(p.text, sizeof p.text, "Cleared to %s, squawk #%i#, %s.", limit.c_str(), r->transponder,
                      Phrase_Callsign(r));
        // Picked up in the air: everything of the departure counts as done.
        r->isOnHoldingPoint = 1;
        r->cicloCenter = 1;
        r->primaChiamataCenterEffettuata = r->primaChiamataCenterEffettuataMIA = 1;
        Phrase_Grant(r->gIsPBApproved, gIsPBApproved);
        Phrase_Grant(r->gIsEngStartApproved, gIsEngStartApproved);
        Phrase_Grant(r->gIsTaxiingApproved, gIsTaxiingApproved);
        Phrase_Grant(r->clearedToTakeOff, clearedToTakeOff);
        r->gIsIFRCleared = 1;
        r->orarioDiDecollo = XPLMGetElapsedTime();
    } else {
        Phrase_Format(p.text, sizeof p.text, "Cleared to %s%s. Initial altitude %s. Squawk #%i#, %s.", limit.c_str(),
                      Delivery_route(r).c_str(), Utils_FeetsOrFL(FlightPlanning_InitialLevel(r) * 100).c_str(),
                      r->transponder, Phrase_Callsign(r));
    }
    r->clearedFL = FlightPlanning_InitialLevel(r);
    Phrase_Queue(r, PHRASE_PILOT_OPENING, Delivery_facility(r), 50, p);
}

void FlightPlanning_CheckReadbackSquawk(pilot *r)
{
    if (CodiceSquawk() == r->transponder || r->datiPilotaImpostati != 1 || checkSquawkCode != 1) {
        FlightPlanning_RequestIFRClearanceReadbackCorrect(r);
        return;
    }
    r->orarioControlloSquawk = XPLMGetElapsedTime();
    FlightPlanning_RequestIFRClearanceReadbackCorrectSquawkIncorrect(r);
}

void FlightPlanning_RequestIFRClearanceReadbackCorrect(pilot *r)
{
    Phrase p;
    Delivery_readbackCorrect(r, p.text, sizeof p.text);
    Phrase_Queue(r, PHRASE_CONTROLLER_OPENING, Delivery_facility(r), 60, p);
}

void FlightPlanning_RequestIFRClearanceReadbackCorrectSquawkIncorrect(pilot *r)
{
    Phrase p;
    char correct[MESSAGE_TEXT_SIZE];
    Delivery_readbackCorrect(r, correct, sizeof correct);
    Phrase_Format(p.text, sizeof p.text, "%s Set the transponder code #%i# as instructed.", correct, r->transponder);
    // In the air the area controller goes on with the level clearance instead.
    Phrase_Queue(r, PHRASE_CONTROLLER_OPENING, Delivery_facility(r), Delivery_airborne(r) ? 510 : 60, p);
}

void RequestIFRClearanceGot(pilot *r)
{
    Phrase_Grant(r->gIsIFRCleared, gIsIFRCleared);
    r->gIsCopiing = 0;
}
