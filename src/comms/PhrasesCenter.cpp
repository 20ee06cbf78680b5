// First calls to the area and approach controllers and the read-backs of their instructions.
#include "comms/PhrasesCenter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "XPLMProcessing.h"
#include "comms/PhraseAddressee.h"
#include "comms/PhraseCommon.h"
#include "monitor/Altitude.h"
#include "monitor/LevelText.h"
#include "speech/Voices.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

std::string Center_name(const pilot *r)
{
    char clean[sizeof r->nomeCenter];
    Phrase_CleanName(clean, sizeof clean, r->nomeCenter);
    return clean;
}

/// "<callsign>" or, while climbing or descending to the cleared level, "<callsign> passing <level>,
/// climbing|descending <cleared level>".
std::string Center_identification(const pilot *r)
{
    const int altitude_ft = (int)r->altitudineFeets;
    const int cleared_ft = r->clearedFL * 100;
    if (r->clearedFL == 0 || std::abs(altitude_ft - cleared_ft) <= FLTolerance)
        return Phrase_Callsign(r);
    char text[MESSAGE_TEXT_SIZE];
    Phrase_Format(text, sizeof text, "%s passing %s, %s %s", Phrase_Callsign(r),
                  Utils_FeetsOrFL(altitude_ft / 100 * 100).c_str(),
                  altitude_ft < cleared_ft ? "climbing" : "descending", Utils_FeetsOrFL(cleared_ft).c_str());
    return text;
}

const char *Center_instructionFacility(const pilot *r)
{
    return r->cicloApproach == 0 ? "CENTER" : "APPROACH";
}

} // namespace

void CenterInitialCall(pilot *r)
{
    CambiaVoceRandom();
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s, good %s, %s", Center_name(r).c_str(), Phrase_Greeting(),
                  Center_identification(r).c_str());
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "CENTER", 510, p);
}

void CenterInitialCallFlightLevelChange(pilot *r)
{
    Phrase p;
    // Asked of the controller who clears the levels, on his frequency: the centre, or approach once with it.
    const char *facility = Center_instructionFacility(r);
    Phrase_Format(p.text, sizeof p.text, "%s, request cruise altitude change to %s, %s.",
                  Phrase_FacilityName(r, facility).c_str(), Utils_FeetsOrFL(r->plannedFL * 100).c_str(),
                  Phrase_Callsign(r));
    Phrase_Queue(r, PHRASE_PILOT_OPENING, facility, 510, p);
}

void Center_Answer(pilot *r)
{
    const size_t active = (size_t)r->gActualFlightPlanIndex;
    const bool departurePoint = r->gActualFlightPlanIndex >= 0 && active < r->flightPlanVec.size() &&
                                r->flightPlanVec[active].name.find("Departure") != std::string::npos;
    ControlloAltitudine(r, departurePoint ? 0 : 1);
}

void CenterInitialCallReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "CENTER", 530, text);
}

void CenterInitialCallGot(pilot *r)
{
    const float now = XPLMGetElapsedTime();
    if (r->orarioDiDecollo == 0)
        r->orarioDiDecollo = now;
    r->cicloCenter = 1;
    r->primaChiamataCenterEffettuata = r->primaChiamataCenterEffettuataMIA = 1;
    r->orarioUltimoContattoCenter = now;
    r->gIsCopiing = 0;
}

void ApproachInitialCall(pilot *r)
{
    CambiaVoceRandom();
    Phrase p;
    Phrase_Format(p.text, sizeof p.text, "%s approach, good %s, %s", Phrase_AirportName(r->arrAirportFullName).c_str(),
                  Phrase_Greeting(), Center_identification(r).c_str());
    Phrase_Queue(r, PHRASE_PILOT_OPENING, "APPROACH", 515, p);
}

void Approach_Answer(pilot *r)
{
    ControlloAltitudine(r, 1);
}

void ApproachInitialCallReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, "APPROACH", 535, text);
}

void ApproachInitialCallGot(pilot *r)
{
    r->primaChiamataApproachEffettuata = 1;
    r->gIsCopiing = 0;
}

void CenterDefaultReadback(pilot *r, const char *text)
{
    Phrase_QueueReadback(r, Center_instructionFacility(r), 0, text);
    r->gAnnounceVerticalChangeTime = XPLMGetElapsedTime();
    r->gIsCopiing = 0;
}
