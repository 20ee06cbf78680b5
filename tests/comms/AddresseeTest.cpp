// The pilot's calls from the ATC dialog go to the controller he is talking to, whatever the stage.
#include <functional>
#include <string>

#include "ExchangeSupport.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesSpecial.h"
#include "state/Pilot.h"

namespace
{

struct Stage {
    const char *what;
    const char *tuned;
    std::function<void(pilot &)> set;
    const char *addressee;
};

void Cleared(pilot &p)
{
    p.gIsIFRCleared = 1;
}
void Departing(pilot &p)
{
    Cleared(p);
    p.clearedToTakeOff = 1;
}
void Enroute(pilot &p)
{
    Departing(p);
    p.cicloCenter = 1;
}
void WithApproach(pilot &p)
{
    Enroute(p);
    p.cicloApproach = 1;
}
void Landing(pilot &p)
{
    WithApproach(p);
    p.HandoffTorreComunicato = true;
}
void Vacated(pilot &p)
{
    Landing(p);
    p.gTargetRunwayVacated = 1;
}

} // namespace

TEST_F(ExchangeTest, PilotCallsFromTheAtcDialogAreAddressedToTheControllerHeTalksTo)
{
    pilot &r = pilotObj;
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    const Stage stages[] = {
        {"at the gate", "DELIVERY", [](pilot &) {}, "Seattle-Tacoma delivery"},
        {"cleared, on ground", "GROUND", Cleared, "Seattle-Tacoma ground"},
        {"taking off", "TOWER", Departing, "Seattle-Tacoma tower"},
        {"en route", "CENTER", Enroute, "Seattle Center"},
        {"with approach", "APPROACH", WithApproach, "Portland approach"},
        {"on final", "TOWER", Landing, "Portland tower"},
        {"runway vacated", "GROUND", Vacated, "Portland ground"},
        {"listening to ATIS on approach", "ATIS", WithApproach, "Portland approach"},
        {"nothing tuned at the gate", "NONE", [](pilot &) {}, "Seattle-Tacoma delivery"},
        {"nothing tuned en route", "", Enroute, "Seattle Center"},
    };
    for (const Stage &s : stages) {
        Exchange_SetUpDeparture();
        snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
        r.gActualFrequencyName = s.tuned;
        s.set(r);
        queue.clear();
        Radio_CancelIFR(&r);
        EXPECT_EQ(queue.back().text, std::string(s.addressee) + ", Vellomir @12@, please cancel IFR.") << s.what;
        DeclareEmergency(&r);
        const std::string request = r.cicloApproach == 1 ? "request immediate landing, Vellomir @12@."
                                                         : "request immediate landing at Portland, Vellomir @12@.";
        EXPECT_EQ(queue.back().text, std::string(s.addressee) + ", declaring emergency, " + request) << s.what;
    }
    queue.clear();

    // A level is asked of the controller who clears levels, on his own frequency; a centre whose name the
    // data lack is still called.
    const struct {
        std::function<void(pilot &)> set;
        const char *centre, *text, *filter;
    } levels[] = {
        {Enroute, "Seattle Center",
         "Seattle Center, request cruise altitude change to flight level #240#, Vellomir @12@.", "CENTER"},
        {WithApproach, "Seattle Center",
         "Portland approach, request cruise altitude change to flight level #240#, Vellomir @12@.", "APPROACH"},
        {Enroute, "", "Center, request cruise altitude change to flight level #240#, Vellomir @12@.", "CENTER"},
    };
    for (const auto &row : levels) {
        Exchange_SetUpDeparture();
        snprintf(r.nomeCenter, sizeof r.nomeCenter, "%s", row.centre);
        r.gActualFrequencyName = "TOWER";
        row.set(r);
        CenterInitialCallFlightLevelChange(&r);
        EXPECT_STREQ(queue.back().text, row.text);
        EXPECT_EQ(queue.back().frequencyFilter, row.filter) << row.text;
        queue.clear();
    }
}
