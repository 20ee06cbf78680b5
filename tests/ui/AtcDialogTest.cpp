// The ATC dialog over a flight filed from KSEA to KPDX over the bundled sample, in cruise near Olympia:
// the rows it offers in each state of the flight, and what the pilot sees and what changes for each level
// and emergency typed.
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
#include "state/Pilot.h"
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
        // In cruise at FL160 over Olympia, past the SID.
        simhost::PlaceAircraft(46.97, -122.90, 4877, 180, false);
        pilot &p = pilotObj;
        p.isOnGround = 0;
        p.latitudine = 46.97;
        p.longitudine = -122.90;
        p.altitudineFeets = 16000;
        p.gActualFlightPlanIndex = 6;
        snprintf(p.nomeCenter, sizeof p.nomeCenter, "Seattle Center");
        filed = p;
    }
    void TearDown() override
    {
        AtcDialog_Destroy();
        Warning_Destroy();
        JumpToWaypoint_Close();
        Radio_ResetState();
        pilotObj = pilot();
        HostTest::TearDown();
    }
    /// The flight as filed, the radio quiet and no window open.
    void Again()
    {
        AtcDialog_Destroy();
        Warning_Destroy();
        JumpToWaypoint_Close();
        Radio_ResetState();
        pilotObj = filed;
        requestedFLChange = false;
        ProgramFMS(&pilotObj);
    }
    static void *Dialog() { return simhost::FindWindowByTitle("ATC Dialog"); }
    static std::string Outline()
    {
        std::string text;
        for (const std::string &item : simhost::WidgetOutline(Dialog()))
            text += (text.empty() ? "" : "|") + item;
        return text;
    }
    /// The warning's line, or the pilot's call queued, or "".
    static std::string Seen()
    {
        if (void *warning = simhost::FindWindowByTitle("Vellomir - Warning"))
            return "warning: " + simhost::WidgetTexts(warning, xpWidgetClass_Caption).at(0);
        return queue.empty() ? "" : "call: " + std::string(queue.back().text);
    }
    pilot filed;
};

TEST_F(AtcDialogTest, RowsFollowTheFlightState)
{
    const std::string level = "caption:Request cruising altitude change FL (eg: 320)|field:160|button:Request new FL|";
    const std::string emergency = "caption:Declare emergency and land to |field:KOLM|button:Declare emergency|";
    const std::string jump = "caption:Jump to waypoint|button:Choose waypoint|";
    const struct {
        const char *state;
        void (*set)(pilot &);
        std::string rows;
    } states[] = {
        {"cruise", [](pilot &) {}, level + emergency + jump + "button:Cancel IFR|button:Set TOD (Experimental)"},
        {"VFR, one waypoint left in the plan",
         [](pilot &p) {
             p.vfrFlight = 1;
             p.flightPlanVec.resize(1);
             p.gActualFlightPlanIndex = 0;
         },
         level + emergency + "button:Cancel VFR|button:Set TOD (Experimental)"},
        {"top of descent passed", [](pilot &p) { p.gTODReached = 1; }, level + emergency + jump + "button:Cancel IFR"},
        {"descending", [](pilot &p) { p.gTODReached = p.faseDiscesa = 1; },
         "caption:Top of descent reached|" + emergency + jump + "button:Cancel IFR"},
        {"with approach", [](pilot &p) { p.gTODReached = p.faseDiscesa = p.cicloApproach = 1; },
         "caption:Top of descent reached|caption:Declare emergency and land to: KPDX|button:Declare emergency|" + jump +
             "button:Cancel IFR"},
    };
    for (const auto &s : states) {
        Again();
        s.set(pilotObj);
        customCommandAtcDialogToggleHandler(nullptr, xplm_CommandEnd, nullptr);
        ASSERT_NE(Dialog(), nullptr) << s.state;
        EXPECT_EQ(Outline(), s.rows) << s.state;
        customCommandAtcDialogToggleHandler(nullptr, xplm_CommandEnd, nullptr);
        EXPECT_EQ(Dialog(), nullptr) << s.state << ": the command closes it again";
    }
    EXPECT_TRUE(Logged("Emergency airport found: KOLM"));

    // The buttons that act at once: each closes the dialog.
    Again();
    AtcDialog_Toggle();
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(Dialog(), "Set TOD (Experimental)")));
    EXPECT_EQ(pilotObj.gTODReached, 1);
    AtcDialog_Toggle();
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(Dialog(), "Choose waypoint")));
    EXPECT_NE(simhost::FindWindowByTitle("Jump to"), nullptr);
    AtcDialog_Toggle();
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(Dialog(), "Cancel IFR")));
    EXPECT_EQ(Seen(), "call: Seattle Center, ALASKA @123@, please cancel IFR.");
    EXPECT_EQ(AtcDialogIsOpen, 0);
}

TEST_F(AtcDialogTest, EachLevelAndEmergencyTypedIsRefusedOrActedOn)
{
    const struct {
        const char *button, *typed;
        std::string seen;
        int plannedFL;
        const char *arrival;
        int transponder;
        const char *fmsLast; ///< the FMS's last entry before the arrival airport
    } cases[] = {
        {"Request new FL", "320", "call: Seattle Center, request cruise altitude change to flight level #320#, "
                                  "ALASKA @123@.", 320, "KPDX", 0, "fix:HHOOD/32000"},
        {"Request new FL", "511", "warning: flight level incorrect", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Request new FL", "0", "warning: flight level incorrect", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Request new FL", "abc", "warning: flight level incorrect", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Request new FL", "-50", "warning: flight level incorrect", 160, "KPDX", 0, "fix:HHOOD/16000"},
        // The filed arrival, before its runway was chosen: the runway is chosen first.
        {"Declare emergency", "KPDX", "call: Seattle Center, declaring emergency, request immediate landing at "
                                      "PORTLAND, ALASKA @123@.", 160, "KPDX", 7700, "latlon/"},
        {"Declare emergency", "kpdx ", "call: Seattle Center, declaring emergency, request immediate landing at "
                                       "PORTLAND, ALASKA @123@.", 160, "KPDX", 7700, "latlon/"},
        {"Declare emergency", "PDX", "warning: airport not found", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Declare emergency", "", "warning: airport identifier too short", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Declare emergency", "ED-DL", "warning: airport not found", 160, "KPDX", 0, "fix:HHOOD/16000"},
        {"Declare emergency", "KOLM", "call: Seattle Center, declaring emergency, request immediate landing at "
                                      "OLYMPIA, ALASKA @123@.", 160, "KOLM", 7700, "latlon/"},
    };
    for (const auto &c : cases) {
        const std::string what = std::string(c.button) + " '" + c.typed + "'";
        Again();
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
        const bool refused = c.seen.rfind("warning", 0) == 0;
        EXPECT_EQ(Dialog() != nullptr, refused) << what << ": a refusal leaves the dialog open";
        const pilot &p = pilotObj;
        EXPECT_EQ(p.plannedFL, c.plannedFL) << what;
        EXPECT_EQ(requestedFLChange, c.plannedFL != 160) << what;
        EXPECT_EQ(p.arrAirportICAO, c.arrival) << what;
        EXPECT_EQ(p.transponder, c.transponder) << what;
        EXPECT_EQ(p.inEmergenza, c.transponder != 0) << what;
        const std::vector<simhost::FmsEntry> fms = simhost::FmsPlan();
        ASSERT_GE(fms.size(), 2u) << what;
        const simhost::FmsEntry &last = fms[fms.size() - 2];
        const std::string lastText = last.kind == "latlon" ? "latlon/" : last.kind + ":" + last.id + "/" +
                                                                             std::to_string(last.altitude_ft);
        EXPECT_EQ(lastText, c.fmsLast) << what;
        EXPECT_EQ(fms.back().id, c.arrival) << what;
        if (c.transponder != 0) {
            // The route is the approach from where the aircraft is to the landing runway.
            ASSERT_FALSE(p.flightPlanVec.empty()) << what;
            EXPECT_EQ(p.flightPlanVec.back().order, 6) << what;
            EXPECT_EQ("Runway " + std::string(p.arrivalRunwayStruct.name), p.flightPlanVec.back().name) << what;
            EXPECT_EQ(p.gActualFlightPlanIndex, 0) << what;
            EXPECT_EQ(simhost::FindWindowByTitle("Choose STAR"), nullptr) << what;
            EXPECT_EQ(simhost::FindWindowByTitle("Jump to"), nullptr) << what;
            EXPECT_EQ(p.divertedInFlight, std::string(c.arrival) != "KPDX") << what;
        } else {
            EXPECT_EQ(p.flightPlanVec.size(), filed.flightPlanVec.size()) << what;
        }
        ChooseProcedure_CloseStar();
    }
    EXPECT_TRUE(Logged("Emergency destination airport 'EDDL', terminated character 4"));
    EXPECT_TRUE(Logged("Emergency destination airport 'KPDX', terminated character 4"));
}

TEST_F(AtcDialogTest, AnAirportThatCannotBeReadLeavesBothAirportRecordsAsTheyWere)
{
    // Portland's records as the monitor read them near the destination.
    const AptDat &portland = IcaoMap.at("KPDX");
    ASSERT_EQ(pilotObj.targetAirport.readAptDat("KPDX", portland.ICAOfilePath, portland.readOffset, 0), 1);
    const size_t departureEnds = pilotObj.parser.runways.size(), arrivalEnds = pilotObj.targetAirport.runways.size();
    IcaoMap["KOLM"].ICAOfilePath = simhost::PluginFolder() + "/no such apt.dat";

    EXPECT_FALSE(AtcDialog_DeclareEmergency(&pilotObj, "KOLM"));
    EXPECT_EQ(Seen(), "warning: no runway at emergency airport");
    EXPECT_EQ(pilotObj.parser.runways.size(), departureEnds);
    EXPECT_EQ(pilotObj.targetAirport.runways.size(), arrivalEnds);
    EXPECT_EQ(pilotObj.arrAirportICAO, "KPDX");
    EXPECT_FALSE(pilotObj.inEmergenza);
}

} // namespace

namespace {

class AtcDialogPluginTest : public PluginTest {};

TEST_F(AtcDialogPluginTest, TheCommandTogglesTheDialogWhileTheMenuWaitsForTheCentre)
{
    ResetHost(12000);
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    simhost::PlaceAircraft(46.97, -122.90, 1500, 180, false);
    ASSERT_TRUE(Load());
    simhost::SendMessage(XPLM_MSG_PLANE_LOADED, 0);
    simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
    simhost::RunFrames(2);
    EXPECT_FALSE(simhost::ClickMenuItem("Vellomirv2", "ATC dialog")) << "no centre call made yet";

    ASSERT_TRUE(simhost::CommandOnce("Vellomir/atc_dialog_toggle"));
    void *dialog = simhost::FindWindowByTitle("ATC Dialog");
    ASSERT_NE(dialog, nullptr);
    std::string rows;
    for (const std::string &item : simhost::WidgetOutline(dialog))
        rows += item + "|";
    EXPECT_EQ(rows, "caption:Request cruising altitude change FL (eg: 320)|field:0|button:Request new FL|"
                    "caption:Declare emergency and land to |field:KOLM|button:Declare emergency|button:Cancel IFR|"
                    "button:Set TOD (Experimental)|");
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(dialog, "Set TOD (Experimental)")));
    EXPECT_EQ(simhost::FindWindowByTitle("ATC Dialog"), nullptr);
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/atc_dialog_toggle"));
    dialog = simhost::FindWindowByTitle("ATC Dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(simhost::FindWidget(dialog, "Set TOD (Experimental)"), nullptr) << "the top of descent is set";
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/atc_dialog_toggle"));
    EXPECT_EQ(simhost::FindWindowByTitle("ATC Dialog"), nullptr);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
