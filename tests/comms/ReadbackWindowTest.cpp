// The request and read-back windows over the linked plug-in code: the calls of each state of the flight by
// facility, "Other runway" forgetting the old runway's procedures and keeping a route it has no backup
// for, "Skip this waypoint" asking the monitor to skip, and the extra buttons belonging only to the
// read-back they were asked for.
#include <functional>

#include "ExchangeSupport.h"
#include "XPStandardWidgets.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "planning/ChooseRunwayWindow.h"
#include "plugin/FacilityNaming.h"
#include "plugin/RequestDialogRules.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"

namespace
{

TEST_F(ExchangeTest, EachStateOfTheFlightOffersItsCallsOnItsFacility)
{
    pilot &r = pilotObj;
    r.frequenzaCenter = 128500;
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    r.targetAirport.approachFrequency = 126000;
    r.targetAirport.towerFrequency = 123000;
    r.targetAirport.groundFrequency = 121900;
    r.gIsFPFiled = 0;
    r.transponder = 1200; // the cockpit's
    const auto none = [] {};
    const struct {
        const char *state;
        std::function<void()> set;
        bool airborne;
        double khz;
        const char *title;
        unsigned buttons;
    } kRows[] = {
        {"at the gate, nothing filed", none, false, 128000, "Delivery", REQUEST_FILE_FLIGHT_PLAN},
        {"nothing filed", none, false, 121700, nullptr, 0},
        {"filed", [&] { r.gIsFPFiled = 1; }, false, 128000, "Delivery", REQUEST_CLEARANCE},
        {"filed", none, false, 121700, nullptr, 0},
        {"cleared", [&] { r.gIsIFRCleared = 1; }, false, 121700, "Ground",
         REQUEST_ENGINE_STARTUP | REQUEST_STARTUP_AND_PUSHBACK},
        {"cleared", none, false, 128000, nullptr, 0},
        {"cleared", none, false, 119900, nullptr, 0},
        {"start-up and push-back approved, engines running",
         [&] { r.gIsEngStartApproved = r.gIsPBApproved = r.engineRunning = 1; }, false, 121700, "Ground",
         REQUEST_TAXI},
        {"taxi approved, on the holding point", [&] { r.gIsTaxiingApproved = r.isOnHoldingPoint = 1; }, false,
         119900, "Tower", REQUEST_TAKEOFF},
        {"on the holding point", none, false, 121700, nullptr, 0},
        {"cleared for take-off, climbing out", [&] { r.clearedToTakeOff = 1; }, true, 128500, "Center",
         REQUEST_CENTER_INITIAL_CALL},
        {"climbing out", none, true, 119900, nullptr, 0},
        {"approach cycle",
         [&] {
             r.cicloCenter = r.primaChiamataCenterEffettuata = r.primaChiamataCenterEffettuataMIA = 1;
             r.cicloApproach = 1;
         },
         true, 126000, "Approach", REQUEST_APPROACH_INITIAL_CALL},
        {"approach called", [&] { r.primaChiamataApproachEffettuata = 1; }, true, 126000, nullptr, 0},
        {"landing information, handed to the tower",
         [&] { r.informazioniDiAtterraggioComunicate = 1, r.HandoffTorreComunicato = true; }, true, 123000, "Tower",
         REQUEST_TOWER_INITIAL_CALL},
        {"tower called", [&] { r.gTargetAirportTowerInitialCallDone = 1; }, true, 123000, "Tower",
         REQUEST_MISSED_APPROACH},
        {"landed, runway vacated", [&] { r.clearedToLand = r.gTargetRunwayVacated = 1; }, false, 121900, "Ground",
         REQUEST_GROUND_INITIAL_CALL},
        {"parking given", [&] { r.gParkingStruct.id = 3; }, false, 121900, nullptr, 0},
    };
    for (const auto &row : kRows) {
        row.set();
        r.isOnGround = row.airborne ? 0 : 1;
        r.gActualFrequency = row.khz;
        r.gActualFrequencyName = Radio_FacilityName(r, row.khz);
        const RequestDialogKind wanted = FrameDriver_WantedDialog(r, simhost::ElapsedTime());
        EXPECT_STREQ(wanted.title, row.title) << row.state << " on " << row.khz;
        if (wanted.title != nullptr) {
            EXPECT_EQ(RequestDialog_Buttons(r, true), row.buttons) << row.state << " on " << row.khz;
        }
    }
}

TEST_F(ExchangeTest, OtherRunwayForgetsTheOldProceduresAndSkipAsksForTheNextWaypoint)
{
    pilot &r = pilotObj;
    r.AddSid("HAROB6", "HAROB6", 0, 0, false);
    r.numeroDiSidTrovate = 2;
    r.selectedSID = 1;
    r.gIsCopiing = 1;
    ASSERT_TRUE(r.flightPlanBackup.empty());
    gShowChangeRwyBtn = gShowSkipFix = 1;
    gReadbackMessage = 40;
    CreateReadbackDialog(30, 100, 160, 100);
    EXPECT_EQ(gShowChangeRwyBtn + gShowSkipFix, 0); // shown once
    ASSERT_NE(OtherRwyButton, nullptr);
    ASSERT_TRUE(simhost::ClickWidget(OtherRwyButton));
    EXPECT_EQ(ReadbackDialogWindow, nullptr);
    EXPECT_NE(ControlChooseRwyWin, nullptr);
    EXPECT_TRUE(r.sids.empty());
    EXPECT_EQ(r.numeroDiSidTrovate, 0);
    EXPECT_EQ(r.selectedSID, 0);
    EXPECT_FALSE(r.sidFiled);
    EXPECT_EQ(r.flightPlanVec.size(), 2u); // no backup to restore: the route stays
    EXPECT_EQ(r.gIsIFRCleared + r.gIsCopiing, 0);
    ASSERT_TRUE(simhost::PressCloseBox(ControlChooseRwyWin));
    queue.clear();

    gShowSkipFix = 1;
    CreateReadbackDialog(30, 100, 160, 80);
    ASSERT_NE(SkipFixButton, nullptr);
    ASSERT_TRUE(simhost::ClickWidget(SkipFixButton));
    EXPECT_TRUE(r.saltoRichiesto);
    EXPECT_EQ(ReadbackDialogWindow, nullptr);
}

TEST_F(ExchangeTest, ExchangeOnAnotherFacilityGoesUnheardAndItsExtraButtonsAreNotShownOnTheNext)
{
    pilot &r = pilotObj;
    simhost::TuneCom1(121.7); // the clearance is given on delivery: not heard here
    FlightPlanning_RequestIFRClearance(&r);
    RunUntilQuiet();
    // Each step's action ran all the same, unheard: no read-back is asked and the exchange ends.
    EXPECT_EQ(ReadbackDialogWindow, nullptr);
    EXPECT_EQ(r.gIsCopiing, 0);
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(simhost::SpokenTexts().empty());
    r.gIsIFRCleared = gIsIFRCleared = 1;
    Ground_RequestEngineStartup(&r);
    ASSERT_TRUE(RunUntilReadback(130));
    EXPECT_NE(ReadbackButton, nullptr);
    EXPECT_EQ(OtherRwyButton, nullptr);
    ASSERT_TRUE(ReadBack(130));
    RunUntilQuiet();
}

} // namespace
