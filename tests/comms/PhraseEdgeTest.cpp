// The phrases' edge cases: squawk codes, the initial level, the clearance in the air, spoken levels, and
// bad input (empty route, no runway, no SID, scenery names with markup characters, a long taxi route).
#include <set>

#include "ExchangeSupport.h"
#include "comms/DialogBox.h"
#include "comms/MessageQueue.h"
#include "comms/PhraseCommon.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesSpecial.h"
#include "comms/PhrasesTower.h"
#include "comms/Squawk.h"
#include "monitor/LevelText.h"
#include "monitor/RadioMonitor.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

TEST_F(ExchangeTest, SquawkCodesUseOctalDigitsFrom2000To2777AndAnAssignedCodeStays)
{
    std::set<int> seen;
    for (int i = 0; i < 4000; i++) {
        const int code = Radio_NewSquawk();
        ASSERT_GE(code, 2000);
        ASSERT_LE(code, 2777);
        for (int digits = code; digits > 0; digits /= 10)
            ASSERT_LE(digits % 10, 7) << code;
        seen.insert(code);
    }
    EXPECT_GT(seen.size(), 400u); // the whole range is drawn, not a few codes
    pilot &r = pilotObj;
    const struct {
        int before;
        bool kept;
    } rows[] = {{0, false}, {2902, false}, {4521, true}, {7000, true}};
    for (const auto &row : rows) {
        r.transponder = row.before;
        Radio_AssignSquawk(&r);
        EXPECT_EQ(r.transponder == row.before, row.kept) << row.before;
    }
}

TEST_F(ExchangeTest, InitialLevelBelowTheCruiseLevelOnlyWithRoomToSpare)
{
    pilot &r = pilotObj;
    const struct {
        int plannedFL, firstFL;
        std::set<int> allowed;
    } rows[] = {
        {120, 0, {70, 80, 120}}, // 70 + 39 < 120 and 80 + 39 < 120; 90 or more never
        {100, 0, {100}},         // no intermediate level at or below 100
        {240, 40, {40}},         // a point with its own level keeps it
    };
    for (const auto &row : rows) {
        std::set<int> given;
        r.plannedFL = row.plannedFL;
        for (int i = 0; i < 200; i++) {
            r.flightPlanVec.front().fl = row.firstFL;
            FlightPlanning_RequestIFRClearanceResponse(&r);
            given.insert(r.flightPlanVec.front().fl);
        }
        EXPECT_EQ(given, row.allowed) << row.plannedFL;
    }
    queue.clear();
}

TEST_F(ExchangeTest, ClearanceReadBackInTheAirMarksTheDepartureDoneAndAddressesTheCentre)
{
    pilot &r = pilotObj;
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    r.transponder = 2345;
    r.isOnGround = 0;
    queue.clear();
    FlightPlanning_RequestIFRClearanceResponse(&r);
    EXPECT_STREQ(queue.back().text, "Vellomir @12@, cleared to Portland, squawk #2345#.");
    EXPECT_EQ(queue.back().frequencyFilter, "CENTER");
    FlightPlanning_RequestIFRClearanceReadback(&r);
    EXPECT_STREQ(queue.back().text, "Cleared to Portland, squawk #2345#, Vellomir @12@.");
    EXPECT_EQ(queue.back().frequencyFilter, "CENTER");
    EXPECT_EQ(r.isOnHoldingPoint + r.cicloCenter + r.gIsPBApproved + r.primaChiamataCenterEffettuata +
                  r.primaChiamataCenterEffettuataMIA + r.gIsEngStartApproved + r.gIsTaxiingApproved +
                  r.clearedToTakeOff + r.gIsIFRCleared,
              9);
    EXPECT_EQ(gIsPBApproved + gIsEngStartApproved + gIsTaxiingApproved + clearedToTakeOff, 4);
    EXPECT_GT(r.orarioDiDecollo, 0.0f);
    FlightPlanning_RequestIFRClearanceReadbackCorrect(&r);
    EXPECT_STREQ(queue.back().text, "Vellomir @12@, readback correct.");
    queue.clear();
}

TEST_F(ExchangeTest, LevelsAfterTheTopOfDescentFollowTheArrivalsTransitionLevel)
{
    pilotObj.gTODReached = 1;
    gTransLevelFLArr = 80;
    EXPECT_EQ(Utils_FeetsOrFL(7000), "7000 feet");
    gTransLevelFLArr = 50;
}

TEST_F(ExchangeTest, MissingRouteRunwaySidAndArrivalNameGiveTheShorterPhrases)
{
    pilot &r = pilotObj;
    r.transponder = 2345;
    r.arrAirportFullName.clear(); // the destination is then named by its identifier, spelled
    r.flightPlanVec.clear();
    r.departureRunwayName[0] = '\0';
    r.sids.clear();
    r.selectedSID = 3; // chosen from a list that is gone
    queue.clear();
    FlightPlanning_RequestIFRClearanceResponse(&r);
    EXPECT_STREQ(queue.back().text,
                 "Vellomir @12@, cleared to #KPDX#. Initial altitude flight level #240#. Squawk #2345#.");
    FlightPlanning_RequestIFRClearanceReadback(&r);
    EXPECT_STREQ(queue.back().text,
                 "Cleared to #KPDX#. Initial altitude flight level #240#. Squawk #2345#, Vellomir @12@.");
    EXPECT_EQ(r.clearedFL, 240);
    Ground_RequestTaxiResponse(&r);
    EXPECT_EQ(queue.back().readbackText,
              std::string("Taxi to holding point. Contact tower on #119.900# when on holding point, Vellomir @12@."));
    Takeoff_RequestTakeOff(&r);
    EXPECT_STREQ(queue.back().text,
                 "Seattle-Tacoma Tower, good afternoon, Vellomir @12@ on holding point, ready for departure.");
    queue.clear();
}

TEST_F(ExchangeTest, OutsideNamesLoseTheirMarkupCharactersAndAreNeverFormats)
{
    const struct {
        const char *name, *spoken;
    } airports[] = {
        {"Seattle-Tacoma Intl", "Seattle-Tacoma"}, {"  Portland   intl ", "Portland"},
        {"INTL Sky Harbor", "Sky Harbor"},         {"Intlx Field", "Intlx Field"},
        {"Sea#Tac *Intl* @9", "SeaTac 9"},         {"", ""},
    };
    for (const auto &row : airports)
        EXPECT_EQ(Phrase_AirportName(row.name), row.spoken) << row.name;
    EXPECT_EQ(Radio_ParkingName("Gate_C-7#"), "gate c 7");
    // Procedure names are said as the word they are and their number spelled ("HAROB six").
    const struct {
        const char *name, *marked;
    } procedures[] = {{"HAROB6", "HAROB#6#"}, {" SEA7 ", "SEA#7#"}, {"HA#ROB6A*", "HAROB#6A#"},
                      {"9ABC", "#9ABC#"},     {"RADAR", "RADAR"},   {"", ""}};
    for (const auto &row : procedures)
        EXPECT_EQ(Phrase_ProcedureName(row.name), row.marked) << row.name;

    pilot &r = pilotObj;
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle %%s%%n* Center");
    r.depAirportFullName = "Sea*Tac #%s";
    r.gActualFrequencyName = "CENTER";
    queue.clear();
    Radio_CancelIFR(&r);
    EXPECT_STREQ(queue.back().text, "Seattle %s%n Center, Vellomir @12@, please cancel IFR.");
    Ground_RequestEngineStartup(&r);
    EXPECT_STREQ(queue.back().text, "SeaTac %s ground, Vellomir @12@ request startup.");
    queue.clear();
}

TEST_F(ExchangeTest, LongTaxiRouteNeverCutsTheEndOfTheClearance)
{
    pilot &r = pilotObj;
    r.SetPilotName("Vellomir Very Long Airline Name @1234@");
    for (int i = 9; i >= 1; i--) {
        char name[16];
        snprintf(name, sizeof name, "B%i", i);
        r.AddTaxiPoint(0, 0, 0, name, 0, 47.45, -122.30);
    }
    queue.clear();
    Ground_RequestTaxiResponse(&r);
    EXPECT_EQ(queue.back().text,
              std::string("Vellomir Very Long Airline Name @1234@, taxi to runway *16L* via taxiway "
                            "#B1#, #B2#, #B3#, #B4#. Contact tower on #119.900# when on holding point."));
    queue.clear();
}

TEST_F(ExchangeTest, MessagesForAllAreHeardAndReadBackOnAnyFacility)
{
    pilot &r = pilotObj;
    simhost::TuneCom1(121.7);
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    r.transponder = 2345;
    AnnounceSquawkIncorrect(&r);
    ASSERT_TRUE(RunUntilReadback(2000)); // it used to wait for a facility named "ALL"
    ASSERT_TRUE(ReadBack(2000));
    RunUntilQuiet();
    Radio_CancelIFR(&r);
    ASSERT_TRUE(RunUntilReadback(1090));
    ReadBack(1090);
    gPluginEnabled = 1;
    RunUntilQuiet();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Vellomir 12, set the transponder code 2345 as instructed.",
                                                 "transponder on 2345, Vellomir 12.",
                                                 "Seattle Tacoma ground, Vellomir 12, please cancel IFR.",
                                                 "Vellomir 12, IFR cancelled", "IFR cancelled, Vellomir 12"}));
    EXPECT_EQ(gPluginEnabled, 0);
    EXPECT_TRUE(r.serviceTerminated);
}

TEST_F(ExchangeTest, RadioInUseAndTheFreeFrequency)
{
    pilot &r = pilotObj;
    EXPECT_TRUE(frequenzaLibera);
    r.gIsCopiing = 1;
    simhost::RunFrame();
    EXPECT_FALSE(frequenzaLibera);
    EXPECT_EQ(RadioInUse(), 0); // nothing has been on the air yet
    frequencyBusyUntil = simhost::ElapsedTime() - 1;
    simhost::RunFrame();
    EXPECT_EQ(RadioInUse(), 1); // the exchange holds the radio for its read-back
    releaseRadioBetweenDialogs = 1;
    simhost::RunFrame();
    EXPECT_EQ(RadioInUse(), 0);
    releaseRadioBetweenDialogs = 0;
    r.gIsCopiing = 0;
    r.frequenzaObiettivo = 119900;
    simhost::RunFrame();
    EXPECT_FALSE(frequenzaLibera); // a hand-over waits for the pilot to tune
}

} // namespace
