// The monitor's arrival: landing information, the hand-over to the arrival's approach, the permission
// for speed advice, the landing clearance near the threshold, the arrival set-up (airport and landing
// runway, STAR search, approach path; one part per frame) and the destination point.
#include "XPLMNavigation.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesHandOver.h"
#include "monitor/Functions.h"
#include "monitor/MonitorSteps.h"
#include "monitor/NavigationMonitor.h"
#include "navdata/FindNavType.h"
#include "navdata/ProcedureSearch.h"
#include "planning/ApproachPath.h"
#include "planning/ChooseRunwayWindow.h"
#include "planning/RunwaySelection.h"
#include "plugin/Log.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"

namespace {

const char *const kTag = "NaviCheck_CheckNavigation";

/// Step 24: the runway and approach to expect, once the flight is on its way to the destination.
bool Arrival_landingInformation(pilot *p, const NaviFrame &frame)
{
    if (p->informazioniDiAtterraggioComunicate != 0)
        return false;
    if (p->inEmergenza) {
        // The emergency clearance named the runway: the approach and tower calls follow from here.
        PrintDebug(kTag, "Skipping ComunicaInformazioniAtterraggio becuase we're on emergency");
        p->informazioniDiAtterraggioComunicate = 1;
        return false;
    }
    const int range_nm = p->vfrFlight == 1 ? 40 : (p->totalTrip > 120 ? 90 : 80);
    const bool lastWaypoint = p->gActualFlightPlanIndex + 1 >= (int)p->flightPlanVec.size();
    const float delay_s = lastWaypoint ? 0.0f : 60.0f;
    const int d = (int)p->distanzaDestinazioneLinear;
    if (!p->starSelezionata || p->orarioDiDecollo == 0 || !frequenzaLibera || d < 1 || d >= range_nm)
        return false;
    if (frame.now - p->orarioDiDecollo <= delay_s) {
        PrintDebug(kTag, "Waiting informazione atterraggio.......%i seconds", (int)(delay_s - (frame.now - p->orarioDiDecollo)));
        return false;
    }
    if (p->primaChiamataCenterEffettuataMIA != 1 || p->arrivalRunwayStruct.name[0] == '\0' || p->gIsCopiing != 0)
        return false;
    gShowChangeRwyBtn = 1;
    ComunicaInformazioniAtterraggio(p);
    p->informazioniDiAtterraggioComunicate = 1;
    PrintInfo(kTag, "Landing information given: runway %s, %i nm from the destination", p->arrivalRunwayStruct.name, d);
    return true;
}

/// Step 25: the area controller hands the flight to the arrival's approach, when it has one of its own.
bool Arrival_approachHandOver(pilot *p, const NaviFrame &frame)
{
    const int range_nm = p->vfrFlight == 1 ? 15 : 42;
    const int d = (int)p->distanzaDestinazioneLinear;
    if (p->informazioniDiAtterraggioComunicate == 0 || d < 1 || d >= range_nm || p->primaChiamataCenterEffettuataMIA != 1 ||
        p->handoverApproachLanciato != 0 || p->primaChiamataApproachEffettuata != 0)
        return false;
    const double approach = p->targetAirport.approachFrequency, tower = p->targetAirport.towerFrequency;
    if (approach != 0 && approach != tower) {
        // A read-back still pending would be lost behind it: the hand-over waits for a free frequency.
        if (!frequenzaLibera)
            return false;
        p->handoverApproachLanciato = 1;
        HandOverApproach(p);
        return NaviCheck_CallStarted(frame);
    }
    if (approach == tower)
        PrintInfo(kTag, "Approach frequency is the same of tower, skipping approach handover");
    else if (p->frequenzaCenter == 0)
        PrintInfo(kTag, "Approach frequency is the same of acc, skipping approach handover");
    else
        PrintInfo(kTag, "Destination Approach frequency not available");
    p->primaChiamataApproachEffettuata = 1;
    return false;
}

float Arrival_thresholdDistance(const pilot *p)
{
    distanceToCoord d = {0, 0, 0};
    CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, p->arrivalRunwayStruct.lat,
                                  p->arrivalRunwayStruct.lon, &d, nullptr);
    return d.distance;
}

/// Step 31.1-2: the arrival airport and its landing runway, chosen once: the runway announced is the
/// runway landed on, whatever the wind does later.
void Arrival_chooseRunway(pilot *p)
{
    PrintInfo(kTag, "generateILS 1)");
    PrintInfo(kTag, "generateILS 2)");
    PrintInfo(kTag, "Set matching arrival runway... (CheckNavigation::generateILS==1)");
    // SetMatchingRunway reads the arrival airport through the scenery index; one that is not there gets no
    // runway and a warning, never the departure's runways.
    SetMatchingRunway(p, 0);
    p->pistaArrivoScelta = true;
    PrintInfo(kTag, "generateILS 3)");
    PrintInfo(kTag, "generateILS 4)");
}

/// Step 31.3-5: the STAR search, then the approach path when no STAR is to be filed first.
void Arrival_starAndPath(pilot *p)
{
    if (lookForSTAR == 1 && !p->starSelezionata && p->numeroDiStarTrovate == 0 && p->arrivalRunwayStruct.name[0] != 0) {
        PrintInfo(kTag, "lancio cerca STAR per aereoporto %s e runway %s (flight plan lenght: %i)",
                  p->arrAirportICAO.c_str(), p->arrivalRunwayStruct.name, (int)p->flightPlanVec.size());
        searchSTAR11(p->arrAirportICAO, p->arrivalRunwayStruct.name, p);
    }
    PrintInfo(kTag, "generateILS 7)");
    PrintInfo(kTag, "Call SetILSPath.");
    if (!p->ilsPathCreated) {
        PrintInfo(kTag, "generateILS 8)");
        if (p->numeroDiStarTrovate == 0) {
            // Also with the manual STAR choice: without a STAR there is nothing to choose.
            PrintInfo(kTag, "Non ci sono star da processare, lancio subito SetILSPath");
            SetILSPath(p);
        } else if (p->starFiled && manualChooseSTAR == 0) {
            PrintInfo(kTag, "Stars presenti, e gia' filed, posso lanciare SetILSPath");
            SetILSPath(p);
        }
    }
    PrintInfo(kTag, "generateILS 9)");
    PrintInfo(kTag, "ILS Path set to RWY %s.", p->arrivalRunwayStruct.name);
    PrintInfo(kTag, "Returning generateILS == 1");
    p->percorsoArrivoRichiesto = false;
}

} // namespace

bool NaviCheck_ArrivalCalls(pilot *p, const NaviFrame &frame)
{
    if (!p->decollato)
        return false;
    return Arrival_landingInformation(p, frame) || Arrival_approachHandOver(p, frame);
}

void NaviCheck_SpeedAdvicePermission(pilot *p, const NaviFrame &frame)
{
    const std::string &facility = p->gActualFrequencyName;
    const bool pendingElsewhere = p->frequenzaObiettivo != 0 && p->frequenzaObiettivo != p->targetAirport.towerFrequency;
    const bool refused = p->groundSpeed <= 25.0f || p->clearedToTakeOff != 1 ||
                         p->altitudineFeets <= p->departureRunwayStruct.heightft + 500.0f ||
                         (p->orarioUltimaIstruzione != 0 && frame.now - p->orarioUltimaIstruzione < 30.0f) ||
                         pendingElsewhere ||
                         (p->primaChiamataCenterEffettuata != 1 && p->primaChiamataApproachEffettuata != 1) ||
                         (facility != "CENTER" && facility != "APPROACH");
    p->consentiRiduzioneVelocita = !refused;
    if (!refused)
        p->orarioUltimaIstruzione = 0;
}

bool NaviCheck_ClearedToLand(pilot *p, const NaviFrame &frame)
{
    if (p->gTargetAirportTowerInitialCallDone != 1 || p->clearedToLand != 0) {
        PrintDebug(kTag,
                   "ComunicaClearedToLand - Waiting for frequenzaLibera %s, gTargetAirportTowerInitialCallDone  %i or "
                   "clearedToLand %i",
                   frequenzaLibera ? "true" : "false", p->gTargetAirportTowerInitialCallDone, p->clearedToLand);
        return false;
    }
    const float d = Arrival_thresholdDistance(p);
    const float limit_nm = p->vfrFlight == 1 ? 1.3f : 3.0f;
    if (d > 0 && d < limit_nm && ControlChooseRwyWin == nullptr && p->frequenzaObiettivo == 0 &&
        readbackWinIsOpen == 0 && p->gIsCopiing == 0) {
        PrintInfo(kTag, "ComunicaClearedToLand - ILS approach %s active...", p->arrivalRunwayStruct.name);
        ComunicaClearedToLand(p);
        PrintInfo(kTag, "Returning ILS approach is in progress");
        return NaviCheck_CallStarted(frame);
    }
    PrintDebug(kTag, "ComunicaClearedToLand - Waiting for ComunicaClearedToLand: ... %f %f %i %f %i", d, limit_nm,
               readbackWinIsOpen, p->frequenzaObiettivo, p->gIsCopiing);
    return false;
}

bool NaviCheck_ArrivalSetUp(pilot *p, const NaviFrame &)
{
    if (p->ilsPathCreated || ControlChooseStarWin != nullptr || !p->decollato)
        return false;
    const int size = (int)p->flightPlanVec.size();
    const bool pastEnd = p->gActualFlightPlanIndex >= size;
    const bool lastActive = p->gActualFlightPlanIndex == size - 1 && p->primaChiamataCenterEffettuata == 1 &&
                            !p->inEmergenza &&
                            (p->gActualFrequency == p->frequenzaCenter ||
                             (p->targetAirport.approachFrequency != 0 &&
                              p->gActualFrequency == p->targetAirport.approachFrequency));
    if (!pastEnd && !lastActive && !p->percorsoArrivoRichiesto)
        return false;
    if (p->arrivalRunwayStruct.name[0] == '\0') {
        if (pastEnd)
            PrintInfo(kTag, "Active waypoint does not exist in vector: Generate arrival path now!");
        else if (lastActive)
            PrintInfo(kTag, "Last waypoint is active, no arrival path generated yet, do it now!");
    }
    p->percorsoArrivoRichiesto = true;
    // Reading the airport and searching its procedures take milliseconds each: one part per frame.
    if (!p->pistaArrivoScelta) {
        Arrival_chooseRunway(p);
        return true;
    }
    Arrival_starAndPath(p);
    return true;
}

float NaviCheck_DistanceToDestination(const pilot *p)
{
    if (p->latDestinazione == 0.0f && p->lonDestinazione == 0.0f)
        return 0;
    distanceToCoord d = {0, 0, 0};
    CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, p->latDestinazione, p->lonDestinazione, &d, nullptr);
    return d.distance;
}

void NaviCheck_DestinationPoint(pilot *p)
{
    if (p->destinazioneCercata != p->arrAirportICAO && !p->arrAirportICAO.empty()) {
        // Looked up once per arrival airport (again after a diversion), never in a steady frame.
        p->destinazioneCercata = p->arrAirportICAO;
        float lat = (float)p->latitudine, lon = (float)p->longitudine;
        if (!p->flightPlanVec.empty()) {
            lat = p->flightPlanVec.back().lat;
            lon = p->flightPlanVec.back().lon;
        }
        XPLMNavRef ref = FindNav_Exact(p->arrAirportICAO.c_str(), xplm_Nav_Airport, lat, lon);
        if (ref != XPLM_NAV_NOT_FOUND) {
            float pointLat = 0, pointLon = 0;
            XPLMGetNavAidInfo(ref, nullptr, &pointLat, &pointLon, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
            p->latDestinazione = pointLat;
            p->lonDestinazione = pointLon;
            // The trip length, from the departure runway (the aircraft without one) to the destination.
            const bool haveRunway = p->departureRunwayStruct.lat != 0.0f || p->departureRunwayStruct.lon != 0.0f;
            distanceToCoord trip = {0, 0, 0};
            CalcolaDistanzaCoordinataMini(haveRunway ? p->departureRunwayStruct.lat : p->latitudine,
                                          haveRunway ? p->departureRunwayStruct.lon : p->longitudine, pointLat,
                                          pointLon, &trip, nullptr);
            p->totalTrip = (int)trip.distance;
            PrintInfo(kTag, "Destination point of %s: %f %f", p->arrAirportICAO.c_str(), pointLat, pointLon);
        } else {
            PrintInfo(kTag, "Destination airport %s not found: destination point unchanged", p->arrAirportICAO.c_str());
        }
    }
    p->distanzaDestinazioneLinear = NaviCheck_DistanceToDestination(p);
}
