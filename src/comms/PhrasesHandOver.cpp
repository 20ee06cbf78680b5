// Controller announcements of the en-route and arrival phases.
#include "comms/PhrasesHandOver.h"

#include <cstdio>

#include "XPLMProcessing.h"
#include "comms/PhraseCommon.h"
#include "monitor/Functions.h"
#include "plugin/Log.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

/// Landing types of the arrival runway.
enum { LANDING_VISUAL = 0, LANDING_ILS = 4, LANDING_LOCALIZER = 5 };

std::string HandOver_centreName(const pilot *r)
{
    char clean[sizeof r->nomeCenter];
    Phrase_CleanName(clean, sizeof clean, r->nomeCenter);
    return clean;
}

/// The approach named in an approach clearance: "ILS", "localizer" or "visual".
const char *HandOver_approachWord(const pilot *r)
{
    switch (r->arrivalRunwayStruct.landingType) {
    case LANDING_ILS:
        return "ILS";
    case LANDING_LOCALIZER:
        return "localizer";
    default:
        return "visual";
    }
}

/// The controller the flight is with: the area controller until the approach cycle has begun. A call on
/// the other facility would be dropped unheard.
const char *HandOver_currentController(const pilot *r)
{
    return r->cicloApproach == 0 ? "CENTER" : "APPROACH";
}

} // namespace

const char *Radio_ApproachType(const pilot *r)
{
    switch (r->arrivalRunwayStruct.landingType) {
    case LANDING_ILS:
        return "ILS";
    case LANDING_LOCALIZER:
        return "LOC";
    default:
        return "";
    }
}

void ComunicaInformazioniAtterraggio(pilot *r)
{
    const std::string runway = Phrase_Runway(r->arrivalRunwayStruct.name);
    if (runway.empty()) {
        PrintInfo("ComunicaInformazioniAtterraggio", "No arrival runway yet: no landing information for %s",
                  r->nomePilota);
        return;
    }
    const char *type = Radio_ApproachType(r);
    const char *cs = Phrase_Callsign(r);
    Phrase p;
    if (type[0] == '\0') {
        Phrase_Format(p.text, sizeof p.text, "%s, expect runway *%s*.", cs, runway.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "expect runway *%s*, %s.", runway.c_str(), cs);
    } else {
        Phrase_Format(p.text, sizeof p.text, "%s, expect #%s#, runway in use *%s*.", cs, type, runway.c_str());
        Phrase_Format(p.readback, sizeof p.readback, "expect #%s#, runway in use *%s*, %s.", type, runway.c_str(), cs);
    }
    Phrase_QueueForReadback(r, HandOver_currentController(r), 550, p);
    r->informazioniDiAtterraggioComunicate = 1;
}

void ApproachAnnounceReduceSpeed(pilot *r, int speed_kt)
{
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, reduce speed to %i knots.", Phrase_Callsign(r), speed_kt);
    Phrase_Format(p.readback, sizeof p.readback, "reduce speed to %i knots, %s.", speed_kt, Phrase_Callsign(r));
    Phrase_QueueForReadback(r, HandOver_currentController(r), 1070, p);
    r->orarioUltimaIstruzione = XPLMGetElapsedTime();
}

// MARK: next centre

void HandOverCenter(pilot *r)
{
    const std::string altimeter = printAltimeter(true);
    const std::string centre = HandOver_centreName(r);
    const std::string f = Phrase_Frequency(r->frequenzaCenter);
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, %s. Contact %s on #%s#, bye.", Phrase_Callsign(r), altimeter.c_str(),
                  centre.c_str(), f.c_str());
    Phrase_Format(p.readback, sizeof p.readback, "%s. Contact %s on #%s#, good bye, %s", altimeter.c_str(),
                  centre.c_str(), f.c_str(), Phrase_Callsign(r));
    Phrase_QueueForReadback(r, "ALL", 1010, p);
    r->orarioUltimaIstruzione = XPLMGetElapsedTime();
}

void HandOverCenterReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "ALL", 1020, text);
}

void HandOverCenterGot(pilot *r)
{
    r->orarioHandOverCenter = XPLMGetElapsedTime();
    r->frequenzaObiettivo = r->frequenzaCenter;
    r->frequenzaObiettivoNome = r->nomeCenter;
    r->gIsCopiing = 0;
    const int remaining_nm = r->distanzaDestinazioneTotale;
    r->distanzaCambioCenter =
        remaining_nm > 2 * switchCenterDefaultDistance ? remaining_nm - switchCenterDefaultDistance : 0;
}

// MARK: approach

void HandOverApproach(pilot *r)
{
    const std::string altimeter = printAltimeter(true);
    const std::string airport = Phrase_AirportName(r->arrAirportFullName);
    const std::string f = Phrase_Frequency(r->targetAirport.approachFrequency);
    const std::string runway = Phrase_Runway(r->arrivalRunwayStruct.name);
    const char *type = Radio_ApproachType(r);
    const char *cs = Phrase_Callsign(r);
    Phrase p;
    if (type[0] == '\0' || runway.empty()) {
        Phrase_Format(p.text, sizeof p.text, "%s, %s, contact %s approach on #%s#. Expect runway *%s* to land, bye.",
                      cs, altimeter.c_str(), airport.c_str(), f.c_str(), runway.c_str());
        Phrase_Format(p.readback, sizeof p.readback,
                      "%s, contact %s approach on #%s#, runway *%s* to land, good bye, %s.", altimeter.c_str(),
                      airport.c_str(), f.c_str(), runway.c_str(), cs);
    } else {
        Phrase_Format(p.text, sizeof p.text,
                      "%s, %s, contact %s approach on #%s#, expect #%s#, runway in use *%s*, bye.", cs,
                      altimeter.c_str(), airport.c_str(), f.c_str(), type, runway.c_str());
        Phrase_Format(p.readback, sizeof p.readback,
                      "%s, contact %s approach on #%s#, expect #%s#, runway in use *%s*, %s.", altimeter.c_str(),
                      airport.c_str(), f.c_str(), type, runway.c_str(), cs);
    }
    Phrase_QueueForReadback(r, "ALL", 1011, p);
    r->orarioUltimaIstruzione = XPLMGetElapsedTime();
}

void HandOverApproachReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "ALL", 1021, text);
}

void HandOverApproachGot(pilot *r)
{
    r->cicloApproach = 1;
    r->gIsCopiing = 0;
    PrintInfo("HandOverApproachGot", "HandOverApproachGot!!!!!!!!!!!!!!");
}

// MARK: arrival tower

void HandOverTowerForLanding(pilot *r, int heading_deg)
{
    const char *approach = HandOver_approachWord(r);
    const std::string runway = Phrase_Runway(r->arrivalRunwayStruct.name);
    const std::string f = Phrase_Frequency(r->targetAirport.towerFrequency);
    const char *cs = Phrase_Callsign(r);
    Phrase p;
    if (heading_deg >= 0 && heading_deg <= 360) {
        const char *side = GetLeftRightDirectionStringa(r->headingAttuale, (float)heading_deg);
        char heading[8];
        Phrase_Format(heading, sizeof heading, "%03i", heading_deg);
        Phrase_Format(p.text, sizeof p.text,
                      "%s, turn %s heading #%s#. Cleared for %s approach runway *%s*. Contact tower on #%s# when "
                      "established, bye.",
                      cs, side, heading, approach, runway.c_str(), f.c_str());
        Phrase_Format(p.readback, sizeof p.readback,
                      "Turn %s heading #%s#. Cleared for %s approach runway *%s*. Contact tower on #%s#. Good bye, %s",
                      side, heading, approach, runway.c_str(), f.c_str(), cs);
    } else {
        Phrase_Format(p.text, sizeof p.text,
                      "%s, cleared for %s approach runway *%s*. Contact tower on #%s# when established, bye.", cs,
                      approach, runway.c_str(), f.c_str());
        Phrase_Format(p.readback, sizeof p.readback,
                      "Cleared for %s approach runway *%s*. Contact tower on #%s#. Good bye, %s", approach,
                      runway.c_str(), f.c_str(), cs);
    }
    Phrase_QueueForReadback(r, "ALL", 610, p);
    r->HandoffTorreComunicato = true;
    r->orarioUltimaIstruzione = XPLMGetElapsedTime();
}

void HandOverTowerForLandingReadBack(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "ALL", 0, text);
    r->frequenzaObiettivo = r->targetAirport.towerFrequency;
    r->frequenzaObiettivoNome = "TOWER";
    r->gIsCopiing = 0;
}
