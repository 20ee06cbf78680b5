// The departure's exchanges as the pilot lives them: the pilot's call, the frames that deliver the
// controller's answer, the read-back answered as the read-back window will, and the flags at the end.
#include <cstdio>

#include "ExchangeSupport.h"
#include "comms/DialogBox.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesTower.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

using Texts = std::vector<std::string>;
using Codes_t = std::vector<int>;

std::string Format(const char *format, int value)
{
    char text[256];
    snprintf(text, sizeof text, format, value);
    return text;
}

TEST_F(ExchangeTest, IfrClearanceWithAndWithoutSidOnDelivery)
{
    pilot &r = pilotObj;
    EXPECT_EQ(RadioFacility(), 1);
    FlightPlanning_RequestIFRClearance(&r);
    const int squawk = r.transponder;
    simhost::SetInt("sim/cockpit/radios/transponder_code", squawk);
    ASSERT_TRUE(RunUntilReadback(40));
    EXPECT_EQ(RadioInUse(), 1); // the exchange holds the radio while the read-back is awaited
    ASSERT_TRUE(ReadBack(40));
    RunUntilQuiet();
    // Its words on the loaded plug-in are the default scenario's; here the chain, the flags and the radio.
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_EQ(Codes(), (Codes_t{20, 30, 40, 50, 60}));
    // Spoken, the SID is its name and number and the destination is read back as the controller named it.
    std::string spoken;
    for (const auto &said : simhost::SpokenTexts())
        spoken += said.text + "\n";
    EXPECT_NE(spoken.find("cleared to Portland via SUMMA two , runway one six left  departure"), std::string::npos);
    EXPECT_NE(spoken.find("Cleared to Portland via SUMMA two , runway"), std::string::npos);
    EXPECT_EQ(r.gIsIFRCleared, 1);
    EXPECT_EQ(gIsIFRCleared, 1);
    EXPECT_EQ(r.gIsCopiing, 0);
    EXPECT_EQ(r.clearedFL, 40);
    EXPECT_EQ(RadioInUse(), 0);

    // Without SID search the runway alone is the departure; a wrong cockpit squawk is reminded.
    r.gIsIFRCleared = gIsIFRCleared = 0;
    r.sids.clear();
    r.sidSelezionata = false;
    lookForSID = 0;
    simhost::SetInt("sim/cockpit/radios/transponder_code", 7000);
    FlightPlanning_RequestIFRClearance(&r);
    ASSERT_TRUE(RunUntilReadback(40));
    ReadBack(40);
    RunUntilQuiet();
    lookForSID = 1;
    Texts shown = Shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], Format("Vellomir 12, cleared to Portland via runway 16L departure. Initial altitude 4000 "
                               "feet. Squawk %i.",
                               squawk));
    EXPECT_EQ(shown[3], (Format(
                            "Vellomir 12, readback correct. Contact Ground on 121.700 when ready for startup. Set "
                            "the transponder code %i as instructed.",
                            squawk)));
    EXPECT_EQ(r.gIsIFRCleared, 1);
}

TEST_F(ExchangeTest, StartupPushbackAndTaxiOnGround)
{
    pilot &r = pilotObj;
    r.gIsIFRCleared = gIsIFRCleared = 1;
    simhost::TuneCom1(121.7);
    simhost::RunFrame();
    EXPECT_EQ(RadioFacility(), 2);

    struct Step {
        void (*call)(pilot *);
        int readback;
        Texts shown;
        Codes_t codes;
    } steps[] = {
        {Ground_RequestEngineStartup,
         130,
         {"Seattle Tacoma ground, Vellomir 12 request startup.", "Vellomir 12, startup approved.",
          "Startup approved, Vellomir 12."},
         {110, 120, 130, 140}},
        {Ground_RequestPushback,
         230,
         {"Vellomir 12, request push back.", "Vellomir 12, push back approved, report ready for taxi.",
          "Pushback approved, Vellomir 12."},
         {210, 220, 230, 240}},
    };
    for (const Step &step : steps) {
        step.call(&r);
        ASSERT_TRUE(RunUntilReadback(step.readback)) << step.shown[0];
        ReadBack(step.readback);
        RunUntilQuiet();
        EXPECT_EQ(Shown(), step.shown);
        EXPECT_EQ(Codes(), step.codes);
        EXPECT_EQ(r.gIsCopiing, 0);
    }
    EXPECT_EQ(r.gIsEngStartApproved + gIsEngStartApproved + r.gIsPBApproved + gIsPBApproved, 4);

    // Taxi along a route of painted lines (runway end first), then without one.
    const char *route[] = {"B", "B", "", "A#", "A"};
    for (bool withRoute : {true, false}) {
        Ground_RequestTaxi(&r); // searches the route: none without the airport's taxi data
        for (const char *name : route)
            if (withRoute)
                r.AddTaxiPoint(0, 0, 0, name, 0, 47.45, -122.30);
        ASSERT_TRUE(RunUntilReadback(330));
        ReadBack(330);
        RunUntilQuiet();
        const std::string via = withRoute ? " via taxiway A, B" : "";
        EXPECT_EQ(Shown(), std::vector<std::string>({"Seattle Tacoma Ground, good afternoon, Vellomir 12 is ready for taxi.",
                                           "Vellomir 12, taxi to runway 16L" + via +
                                               ". Contact tower on 119.900 when on holding point.",
                                           "Taxi to runway 16L" + via +
                                               ". Contact tower on 119.900 when on holding point, "
                                               "Vellomir 12."}));
        EXPECT_EQ(Codes(), (Codes_t{310, 330, 340}));
    }
    EXPECT_EQ(r.gIsTaxiingApproved + gIsTaxiingApproved, 2);
    EXPECT_EQ(RadioInUse(), 0);
}

TEST_F(ExchangeTest, GroundHandsOverAtTheHoldingPointThenTowerClearsForTakeOffInCalmAndWind)
{
    pilot &r = pilotObj;
    r.gIsIFRCleared = gIsIFRCleared = 1;
    simhost::TuneCom1(121.7);
    simhost::SetEngines(true);
    simhost::RunSeconds(1);
    EXPECT_EQ(r.isOnHoldingPoint, 0);
    r.gIsCopiing = 1; // another exchange is still running when the holding point is reached
    simhost::PlaceAircraft(47.4638, -122.3079, 130, 160, true);
    EXPECT_FALSE(RunUntilReadback(882, 3));
    EXPECT_EQ(r.isOnHoldingPoint, 1);
    r.gIsCopiing = 0; // once it ends, ground hands over (once: see the codes below)
    ASSERT_TRUE(RunUntilReadback(882));
    ReadBack(882);
    RunUntilQuiet();
    EXPECT_EQ(Shown(), std::vector<std::string>({"Vellomir 12, contact tower on 119.900, have a nice flight.",
                                       "Contact tower on 119.900, Vellomir 12."}));
    EXPECT_EQ(Codes(), (Codes_t{882, 0}));
    EXPECT_EQ(r.frequenzaObiettivo, 119900);

    simhost::TuneCom1(119.9);
    simhost::RunFrame();
    EXPECT_EQ(RadioFacility(), 3);
    EXPECT_EQ(r.frequenzaObiettivo, 0); // the hand-over is complete
    struct {
        float speed_kt, from_deg;
        std::string clearance;
    } winds[] = {
        {2.9f, 200, "Vellomir 12, wind is calm, runway 16L, cleared for take off."},
        {3.0f, 90, "Vellomir 12, wind 090 3 knots, runway 16L, cleared for take off."},
    };
    for (const auto &wind : winds) {
        simhost::SetWeather(wind.from_deg, wind.speed_kt, 1013);
        r.clearedToTakeOff = clearedToTakeOff = 0;
        Takeoff_RequestTakeOff(&r);
        ASSERT_TRUE(RunUntilReadback(420));
        ReadBack(420);
        RunUntilQuiet();
        EXPECT_EQ(Shown(), (Texts{"Seattle Tacoma Tower, good afternoon, Vellomir 12 on holding point of runway 16L, "
                                  "ready for departure.",
                                  wind.clearance, "Cleared for take off runway 16L, Vellomir 12."}));
        EXPECT_EQ(Codes(), (Codes_t{410, 420, 440}));
        EXPECT_EQ(r.clearedToTakeOff + clearedToTakeOff, 2);
    }
    // Speech spells what the screen shows plainly.
    ASSERT_FALSE(simhost::SpokenTexts().empty());
    EXPECT_NE(simhost::SpokenTexts().back().text.find("runway one six left"), std::string::npos);
}

} // namespace
