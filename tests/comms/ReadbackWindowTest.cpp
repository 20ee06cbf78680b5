// The read-back window's extra answers over the linked plug-in code: "Other runway" forgets the old
// runway's procedures and keeps a route it has no backup for, "Skip this waypoint" asks the monitor to
// skip, and the extra buttons belong only to the read-back they were asked for.
#include "ExchangeSupport.h"
#include "XPStandardWidgets.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/ReadbackWindow.h"
#include "planning/ChooseRunwayWindow.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"

namespace
{

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

TEST_F(ExchangeTest, ExtraButtonsOfAReadbackThatDoesNotOpenAreNotShownOnTheNext)
{
    pilot &r = pilotObj;
    simhost::TuneCom1(121.7); // the clearance is given on delivery: not heard here
    FlightPlanning_RequestIFRClearance(&r);
    RunUntilQuiet();
    EXPECT_EQ(ReadbackDialogWindow, nullptr);
    r.gIsIFRCleared = gIsIFRCleared = 1;
    Ground_RequestEngineStartup(&r);
    ASSERT_TRUE(RunUntilReadback(130));
    EXPECT_NE(ReadbackButton, nullptr);
    EXPECT_EQ(OtherRwyButton, nullptr);
    ASSERT_TRUE(ReadBack(130));
    RunUntilQuiet();
}

} // namespace
