// Naming the controller a pilot's call is addressed to.
#include "comms/PhraseAddressee.h"

#include <cstring>

#include "comms/PhraseCommon.h"
#include "state/Pilot.h"

namespace
{

/// The flight has left the departure airport's controllers.
bool Addressee_arrivalSide(const pilot *r)
{
    return r->cicloCenter != 0 || r->primaChiamataCenterEffettuata != 0 || r->cicloApproach != 0 ||
           r->HandoffTorreComunicato || r->gTargetRunwayVacated != 0;
}

struct FacilityWord {
    const char *facility, *word, *alone;
};

const FacilityWord kWords[] = {{"DELIVERY", "delivery", "Delivery"},
                               {"GROUND", "ground", "Ground"},
                               {"TOWER", "tower", "Tower"},
                               {"APPROACH", "approach", "Approach"},
                               {"DEPARTURE", "departure", "Departure"}};

} // namespace

std::string Phrase_FacilityName(const pilot *r, const std::string &facility)
{
    if (facility == "CENTER") {
        char clean[sizeof r->nomeCenter];
        Phrase_CleanName(clean, sizeof clean, r->nomeCenter);
        return clean[0] != '\0' ? clean : "Center";
    }
    for (const FacilityWord &w : kWords) {
        if (facility != w.facility)
            continue;
        const std::string airport =
            Phrase_AirportName(Addressee_arrivalSide(r) ? r->arrAirportFullName : r->depAirportFullName);
        return airport.empty() ? w.alone : airport + " " + w.word;
    }
    return Phrase_FacilityName(r, Phrase_FacilityInCharge(r));
}

const char *Phrase_FacilityInCharge(const pilot *r)
{
    if (r->gTargetRunwayVacated != 0)
        return "GROUND";
    if (r->HandoffTorreComunicato)
        return "TOWER";
    if (r->cicloApproach != 0)
        return "APPROACH";
    if (r->cicloCenter != 0 || r->primaChiamataCenterEffettuata != 0)
        return "CENTER";
    if (r->clearedToTakeOff != 0 || r->isOnHoldingPoint != 0)
        return "TOWER";
    return r->gIsIFRCleared != 0 ? "GROUND" : "DELIVERY";
}

std::string Phrase_Addressee(const pilot *r)
{
    return Phrase_FacilityName(r, r->gActualFrequencyName);
}
