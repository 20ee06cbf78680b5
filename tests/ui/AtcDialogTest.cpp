// The ATC dialog over a flight filed from KSEA to KPDX over the bundled sample, in cruise over Olympia with
// Portland already read: the rows offered in each state of the flight, and for each level and emergency
// typed what the pilot sees and what changes.
#include <cstdio>
#include <string>

#include "Harness.h"
#include "XPLMPlugin.h"
#include "XPStandardWidgets.h"
#include "comms/MessageQueue.h"
#include "navdata/AptNav.h"
#include "planning/FlightPlanWindow.h"
#include "planning/Fms.h"
#include "planning/JumpToWaypoint.h"
#include "plugin/Commands.h"
#include "state/FlightGlobals.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/AtcDialog.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"

namespace {

class AtcDialogTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        manualChooseSID = manualChooseSTAR = 0;
        enableFmcProgramming = 1;
        Filing_AtSeattle();
        Filing_File("HAROB BTG HHOOD");
        FlightPlanWindow_Destroy();
        simhost::PlaceAircraft(46.97, -122.90, 4877, 180, false);
        pilot &p = pilotObj;
        p.isOnGround = 0;
        p.latitudine = 46.97;
        p.longitudine = -122.90;
        p.gActualFlightPlanIndex = 6; // past the SID
        snprintf(p.nomeCenter, sizeof p.nomeCenter, "Seattle Center");
        const AptDat &portland = IcaoMap.at("KPDX");
        ASSERT_EQ(p.targetAirport.readAptDat("KPDX", portland.ICAOfilePath, portland.readOffset, 0), 1);
        filed = p;
    }
    void TearDown() override
    {
        Again();
        pilotObj = pilot();
        HostTest::TearDown();
    }
    /// The flight as filed, the radio quiet and no window open.
    void Again()
    {
        AtcDialog_Destroy();
        Warning_Destroy();
        JumpToWaypoint_Close();
        ChooseProcedure_CloseStar();
        Radio_ResetState();
        pilotObj = filed;
        requestedFLChange = false;
        ProgramFMS(&pilotObj);
    }
    static void *Dialog() { return simhost::FindWindowByTitle("ATC Dialog"); }
    /// The warning's line, or the pilot's call queued, or "".
    static std::string Seen()
    {
        if (void *warning = simhost::FindWindowByTitle("Vellomir - Warning"))
            return "warning: " + simhost::WidgetTexts(warning, xpWidgetClass_Caption).at(0);
        return queue.empty() ? "" : "call: " + std::string(queue.back().text);
    }
    pilot filed;
};

std::string Outline(void *window)
{
    std::string text;
    for (const std::string &item : simhost::WidgetOutline(window))
        text += item + "|";
    return text;
}

TEST_F(AtcDialogTest, RowsFollowTheFlightStateAndTheButtonsThatActAtOnceCloseTheDialog)
{
    const std::string level = "caption:Request cruising altitude change FL (eg: 320)|field:160|button:Request new FL|";
    const std::string emergency = "caption:Declare emergency and land to |field:KOLM|button:Declare emergency|";
    const std::string jump = "caption:Jump to waypoint|button:Choose waypoint|";
    const struct {
        void (*set)(pilot &);
        std::string rows;
    } states[] = {
        {[](pilot &) {}, level + emergency + jump + "button:Cancel IFR|button:Set TOD (Experimental)|"},
        {[](pilot &p) { p.vfrFlight = 1, p.flightPlanVec.resize(1), p.gActualFlightPlanIndex = 0; },
         level + emergency + "button:Cancel VFR|button:Set TOD (Experimental)|"},
        {[](pilot &p) { p.gTODReached = 1; }, level + emergency + jump + "button:Cancel IFR|"},
        {[](pilot &p) { p.gTODReached = p.faseDiscesa = 1; },
         "caption:Top of descent reached|" + emergency + jump + "button:Cancel IFR|"},
        {[](pilot &p) { p.gTODReached = p.faseDiscesa = p.cicloApproach = 1; },
         "caption:Top of descent reached|caption:Declare emergency and land to: KPDX|button:Declare emergency|" + jump +
             "button:Cancel IFR|"},
    };
    for (const auto &s : states) {
        Again();
        s.set(pilotObj);
        customCommandAtcDialogToggleHandler(nullptr, xplm_CommandEnd, nullptr);
        EXPECT_EQ(Outline(Dialog()), s.rows);
        customCommandAtcDialogToggleHandler(nullptr, xplm_CommandEnd, nullptr);
        EXPECT_EQ(Dialog(), nullptr) << s.rows;
    }

    const struct {
        const char *button;
        std::string opens;
    } buttons[] = {{"Set TOD (Experimental)", ""}, {"Choose waypoint", "Jump to"}, {"Cancel IFR", ""}};
    Again();
    for (const auto &b : buttons) {
        AtcDialog_Toggle();
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(Dialog(), b.button)));
        EXPECT_EQ(AtcDialogIsOpen, 0) << b.button;
        EXPECT_TRUE(b.opens.empty() || simhost::FindWindowByTitle(b.opens) != nullptr) << b.button;
    }
    EXPECT_EQ(pilotObj.gTODReached, 1);
    EXPECT_EQ(Seen(), "call: Seattle Center, ALASKA @123@, please cancel IFR.");
}

TEST_F(AtcDialogTest, EachLevelAndEmergencyTypedIsRefusedOrActedOn)
{
    const std::string declaring = "call: Seattle Center, declaring emergency, request immediate landing at ";
    const struct {
        const char *button, *typed;
        std::string seen;
        int plannedFL;
        const char *arrival;
        const char *fmsLast; ///< the FMS's last entry before the arrival airport
        bool unreadable = false; ///< the scenery index points at a file that is gone
    } cases[] = {
        {"Request new FL", "320", "call: Seattle Center, request cruise altitude change to flight level #320#, "
                                  "ALASKA @123@.", 320, "KPDX", "fix:HHOOD/32000"},
        {"Request new FL", "511", "warning: flight level incorrect", 160, "KPDX", "fix:HHOOD/16000"},
        {"Request new FL", "0", "warning: flight level incorrect", 160, "KPDX", "fix:HHOOD/16000"},
        {"Request new FL", "abc", "warning: flight level incorrect", 160, "KPDX", "fix:HHOOD/16000"},
        {"Request new FL", "-50", "warning: flight level incorrect", 160, "KPDX", "fix:HHOOD/16000"},
        // The filed arrival, whose runway was not chosen yet: it is chosen first.
        {"Declare emergency", "KPDX", declaring + "PORTLAND, ALASKA @123@.", 160, "KPDX", "latlon/"},
        {"Declare emergency", "kpdx ", declaring + "PORTLAND, ALASKA @123@.", 160, "KPDX", "latlon/"},
        {"Declare emergency", "PDX", "warning: airport not found", 160, "KPDX", "fix:HHOOD/16000"},
        {"Declare emergency", "", "warning: airport identifier too short", 160, "KPDX", "fix:HHOOD/16000"},
        {"Declare emergency", "ED-DL", "warning: airport not found", 160, "KPDX", "fix:HHOOD/16000"},
        {"Declare emergency", "KOLM", declaring + "OLYMPIA, ALASKA @123@.", 160, "KOLM", "latlon/"},
        {"Declare emergency", "KOLM", "warning: no runway at emergency airport", 160, "KPDX", "fix:HHOOD/16000", true},
    };
    const AptDat olympia = IcaoMap.at("KOLM");
    for (const auto &c : cases) {
        const std::string what = std::string(c.button) + " '" + c.typed + "'";
        Again();
        IcaoMap["KOLM"].ICAOfilePath = c.unreadable ? simhost::PluginFolder() + "/gone.dat" : olympia.ICAOfilePath;
        AtcDialog_Toggle();
        // Windows listing the STARs or the route of before.
        pilotObj.AddStar("HHOOD4", "HHOOD4", 0, 0, false);
        pilotObj.numeroDiStarTrovate = 1;
        CreateChooseStarControl(&pilotObj, 0);
        JumpToWaypoint(&pilotObj);
        const int field = std::string(c.button) == "Request new FL" ? 0 : 1;
        XPSetWidgetDescriptor((XPWidgetID)simhost::NthWidgetOfClass(Dialog(), xpWidgetClass_TextField, field), c.typed);
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(Dialog(), c.button))) << what;

        EXPECT_EQ(Seen(), c.seen) << what;
        const bool refused = c.seen.rfind("warning", 0) == 0, emergency = !refused && field == 1;
        EXPECT_EQ(Dialog() != nullptr, refused) << what << ": a refusal leaves the dialog open";
        const pilot &p = pilotObj;
        EXPECT_EQ(p.plannedFL, c.plannedFL) << what;
        EXPECT_EQ(requestedFLChange, c.plannedFL != 160) << what;
        EXPECT_EQ(p.arrAirportICAO, c.arrival) << what;
        EXPECT_EQ(p.transponder, emergency ? 7700 : 0) << what;
        EXPECT_EQ(p.inEmergenza, emergency) << what;
        EXPECT_EQ(gIsCopiing, 0) << what << ": only the flight's exchange is open, the request windows stay free";
        EXPECT_EQ(p.divertedInFlight, emergency && std::string(c.arrival) != "KPDX") << what;
        const std::vector<simhost::FmsEntry> fms = simhost::FmsPlan();
        ASSERT_GE(fms.size(), 2u) << what;
        const simhost::FmsEntry &last = fms[fms.size() - 2];
        EXPECT_EQ(last.kind == "latlon" ? "latlon/" : last.kind + ":" + last.id + "/" + std::to_string(last.altitude_ft),
                  c.fmsLast)
            << what;
        EXPECT_EQ(fms.back().id, c.arrival) << what;
        if (emergency) { // the route is the approach from where the aircraft is to the landing runway
            ASSERT_FALSE(p.flightPlanVec.empty()) << what;
            EXPECT_EQ("Runway " + std::string(p.arrivalRunwayStruct.name), p.flightPlanVec.back().name) << what;
            EXPECT_EQ(simhost::FindWindowByTitle("Choose STAR"), nullptr) << what;
            EXPECT_EQ(simhost::FindWindowByTitle("Jump to"), nullptr) << what;
        } else { // nothing of the flight changed, the airport records neither
            EXPECT_EQ(p.flightPlanVec.size(), filed.flightPlanVec.size()) << what;
            EXPECT_EQ(p.parser.runways.size(), filed.parser.runways.size()) << what;
            EXPECT_EQ(p.targetAirport.runways.size(), filed.targetAirport.runways.size()) << what;
        }
    }
    EXPECT_TRUE(Logged("Emergency destination airport 'EDDL', terminated character 4"));
}

class AtcDialogPluginTest : public PluginTest {};

TEST_F(AtcDialogPluginTest, TheCommandTogglesTheDialogWhileTheMenuWaitsForTheCentre)
{
    ResetHost(12000);
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    simhost::PlaceAircraft(46.97, -122.90, 1500, 180, false);
    ASSERT_TRUE(Load());
    simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
    simhost::RunFrames(2);
    EXPECT_FALSE(simhost::ClickMenuItem("Vellomirv2", "ATC dialog")) << "no centre call made yet";
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/atc_dialog_toggle"));
    EXPECT_EQ(Outline(simhost::FindWindowByTitle("ATC Dialog")),
              "caption:Request cruising altitude change FL (eg: 320)|field:0|button:Request new FL|"
              "caption:Declare emergency and land to |field:KOLM|button:Declare emergency|button:Cancel IFR|"
              "button:Set TOD (Experimental)|");
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/atc_dialog_toggle"));
    EXPECT_EQ(simhost::FindWindowByTitle("ATC Dialog"), nullptr);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
