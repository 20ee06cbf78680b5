// The real Vellomir64.xpl on a flight from Seattle-Tacoma to Portland over the bundled sample, flown by
// vellomir-sim's scripted pilot: the ATC dialog's rows in each state of the flight, opened from the menu
// or, while the menu item is off, by its command; and each level and emergency typed into it, with what
// the pilot sees and what changed in the FMS and the menu.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Scenario.h"
#include "XPStandardWidgets.h"
#include "comms/MessageQueue.h"
#include "navdata/AptNav.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/AtcDialog.h"
#include "ui/WarningWindow.h"

namespace {

const char *const kMenu = "Vellomirv2";
const char *const kDialog = "ATC Dialog";

/// The lines of the ATC dialog scenario from the line beginning with from to the one beginning with to.
std::string Leg(const std::string &from, const std::string &to)
{
    std::ifstream in(std::string(VELLOMIR_SOURCE_DIR) + "/data/scenarios/atc-dialog.scn");
    std::string line, lines;
    bool inside = from.empty();
    while (std::getline(in, line) && line.rfind(to, 0) != 0)
        if ((inside = inside || line.rfind(from, 0) == 0))
            lines += line + "\n";
    return lines;
}
/// Its gate at KSEA, the filing of HAROB BTG HHOOD to KPDX at FL160 (VFR when asked), its way to the
/// take-off clearance, the take-off, and the climb with Seattle Center.
const std::string kGate = Leg("", "note KSEA to KPDX");
std::string Filing(bool vfr)
{
    std::string lines = Leg("await button \"File flight plan\"", "await button \"Request IFR");
    return vfr ? lines.insert(lines.find("press \"Insert"), "check \"Control\" \"VFR Flight\" on\n") : lines;
}
const std::string kToTakeOff = Leg("await button \"Request IFR", "take off");
const std::string kTakeOff = Leg("take off", "await say \"Contact Seattle Center\"");
const std::string kToCruise = Leg("await say \"Contact Seattle Center\"", "note In cruise");

/// The centre's two further hand-overs, then Portland approach, each called when the frequency is tuned.
std::string ToApproach()
{
    std::string lines;
    for (const std::string to : {"Contact Seattle Center on one two eight decimal tree",
                                 "Contact Seattle Center on one two four decimal two", "contact PORTLAND approach"}) {
        const std::string call = to[0] == 'C' ? "Seattle Center initial call" : "Approach initial call";
        lines += "await say \"" + to + "\" within 1500\nwait 1\ncom1 told\nawait button \"" + call +
                 "\" within 60\npress \"" + call + "\"\n";
    }
    return lines;
}

class AtcDialogFlight : public PluginTest {
  protected:
    /// A fresh host with the sample and the files shipped beside the plug-in.
    void NewFlight()
    {
        ResetHost(12000);
        ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
        // The files shipped beside the plug-in: the centres and the airports' spoken names.
        for (const char *file : {"acc.dat", "ICAOCodes.dat"})
            ASSERT_TRUE(simhost::CopyFileInto(std::string(VELLOMIR_SOURCE_DIR) + "/data/plugin/" + file,
                                              std::string("Resources/plugins/Vellomir64/") + file));
    }
    /// Runs scenario lines; note lines reach onNote.
    int Fly(const std::string &lines, std::string &error, std::function<void(const std::string &)> onNote = nullptr)
    {
        Scenario s;
        if (!Scenario_Parse(lines, s, error))
            return -1;
        s.path = "flight";
        ScenarioHooks hooks;
        hooks.loadPlugin = [] { return simhost::PluginLoaded() || simhost::LoadPlugin(VELLOMIR_XPL_PATH); };
        hooks.note = onNote;
        return Scenario_Run(s, hooks, error);
    }
    static bool MenuOffered()
    {
        for (const simhost::MenuItemInfo &item : simhost::MenuItems(kMenu))
            if (item.label == "ATC dialog")
                return item.enabled;
        return false;
    }
    /// Opens the dialog from the menu, or by its command while the item is off; its outline, "" if none.
    static std::string OpenDialog()
    {
        if (!simhost::ClickMenuItem(kMenu, "ATC dialog"))
            simhost::CommandOnce("Vellomir/atc_dialog_toggle");
        std::string text;
        if (void *window = simhost::FindWindowByTitle(kDialog))
            for (const std::string &item : simhost::WidgetOutline(window))
                text += (text.empty() ? "" : " | ") + item;
        return text;
    }
};

/// The rows of the dialog, "|" between them, as the outline of its captions, fields and buttons.
const std::string kLevel = "caption:Request cruising altitude change FL (eg: 320) | field:160 | button:Request new FL | ";
const std::string kJump = "caption:Jump to waypoint | button:Choose waypoint | ";
std::string Nearest(const char *airport)
{
    return "caption:Declare emergency and land to  | field:" + std::string(airport) + " | button:Declare emergency | ";
}
std::string Filed(const char *airport)
{
    return "caption:Declare emergency and land to: " + std::string(airport) + " | button:Declare emergency | ";
}
const std::string kDescent = "caption:Top of descent reached | ";
const std::string kTod = " | button:Set TOD (Experimental)";

TEST_F(AtcDialogFlight, RowsOfferedInEachStateOfTheFlight)
{
    struct State {
        const char *state;
        std::string reach; ///< scenario lines that bring the flight there
        bool menu;         ///< the menu item is offered (else the command opens the dialog)
        std::string rows;
    };
    const std::string diversion = "menu Vellomirv2 \"ATC dialog\"\ntype \"ATC Dialog\" \"Declare emergency and land to\" "
                                  "KOLM\npress \"Declare emergency\"\nawait say \"cleared for immediate landing\" within 60\n";
    const std::vector<std::vector<State>> flights = {
        {
            {"at the gate, nothing filed", kGate, false, "caption:No flight plan filed"},
            {"filed IFR", Filing(false), false, kLevel + Nearest("KSEA") + kJump + "button:Cancel IFR" + kTod},
            {"climbing, with the tower", kToTakeOff + kTakeOff, false,
             kLevel + Nearest("KSEA") + kJump + "button:Cancel IFR" + kTod},
            {"cruise, with the centre", kToCruise, true, kLevel + Nearest("S50") + kJump + "button:Cancel IFR" + kTod},
            {"cruise, with approach", ToApproach(), true, kLevel + Filed("KPDX") + kJump + "button:Cancel IFR" + kTod},
            {"descending", "await log \"Announce TOD reached\" within 2000\n", true,
             kDescent + Filed("KPDX") + kJump + "button:Cancel IFR"},
            {"emergency, with approach",
             "menu Vellomirv2 \"ATC dialog\"\npress \"Declare emergency\"\nawait say \"cleared for immediate landing at "
             "PORTLAND\" within 60\n",
             true, kDescent + Filed("KPDX") + kJump + "button:Cancel IFR"},
            {"IFR cancelled", "menu Vellomirv2 \"ATC dialog\"\npress \"Cancel IFR\"\nawait say \"IFR cancelled\" within 60\nwait 10\n",
             false, "caption:ATC service ended"},
        },
        {
            {"filed VFR", kGate + Filing(true), false, kLevel + Nearest("KSEA") + kJump + "button:Cancel VFR" + kTod},
            {"VFR, top of descent forced",
             "command Vellomir/atc_dialog_toggle\npress \"Set TOD (Experimental)\"\nexpect no window \"ATC Dialog\"\n",
             false, kLevel + Nearest("KSEA") + kJump + "button:Cancel VFR"},
        },
        {
            {"diverted to KOLM", kGate + Filing(false) + kToTakeOff + kTakeOff + kToCruise + diversion, false,
             kLevel + Nearest("S50") + kJump + "button:Cancel IFR"},
            {"diverted, with approach", "await say \"contact OLYMPIA approach\" within 600\nawait log \"HandOverApproachGot\" within 60\n", false,
             kDescent + Filed("KOLM") + kJump + "button:Cancel IFR"},
        },
    };
    std::string table;
    for (const std::vector<State> &states : flights) {
        NewFlight();
        std::string lines;
        for (size_t i = 0; i < states.size(); i++)
            lines += states[i].reach + "\nwait 5\nnote state " + std::to_string(i) + "\n";
        size_t reached = 0;
        std::string error;
        EXPECT_EQ(Fly(lines, error,
                      [&](const std::string &note) {
                          if (note.rfind("state ", 0) != 0)
                              return;
                          const State &s = states[reached++];
                          EXPECT_EQ(MenuOffered(), s.menu) << s.state;
                          const std::string rows = OpenDialog();
                          EXPECT_EQ(rows, s.rows) << s.state;
                          simhost::CommandOnce("Vellomir/atc_dialog_toggle");
                          EXPECT_EQ(simhost::FindWindowByTitle(kDialog), nullptr) << s.state << ": the command closes it";
                          table += std::string(s.state) + " (" + (s.menu ? "menu" : "command") + "): " + rows + "\n";
                      }),
                  0)
            << error;
        EXPECT_EQ(reached, states.size());
        EXPECT_TRUE(simhost::HostErrors().empty());
    }
    printf("%s", table.c_str()); // the table the closing notes quote
}

/// The FMS's entry before the arrival airport ("latlon" for a point of an approach) and the arrival.
std::string FmsEnd()
{
    const std::vector<simhost::FmsEntry> fms = simhost::FmsPlan();
    if (fms.size() < 2)
        return "too short";
    const simhost::FmsEntry &before = fms[fms.size() - 2];
    return (before.kind == "latlon" ? "latlon" : before.id + "/" + std::to_string(before.altitude_ft)) + " " +
           fms.back().id;
}

/// Rewrites the global apt.dat behind the simulator's back (its navigation database stays as loaded).
void WriteAptDat(const std::string &text)
{
    std::ofstream(simhost::SystemPath() + simhost::GlobalAptDatPath(12000), std::ios::binary) << text;
}

/// The runway rows (code 100) of one airport made rows of an unknown code, the offsets unchanged.
std::string WithoutRunways(std::string apt, const std::string &header)
{
    const size_t start = apt.find(header);
    const size_t end = apt.find("\n1 ", start + 1);
    for (size_t at = apt.find("\n100 ", start); start != std::string::npos && at < end; at = apt.find("\n100 ", at + 1))
        apt.replace(at + 1, 3, "999");
    return apt;
}

TEST_F(AtcDialogFlight, EachLevelAndEmergencyTypedIsRefusedOrActedOn)
{
    NewFlight();
    std::string error;
    ASSERT_EQ(Fly(kGate + Filing(false) + kToTakeOff + kTakeOff + kToCruise, error), 0) << error;
    const std::string aptDat = simhost::ReadFile(simhost::GlobalAptDatPath(12000));
    const struct {
        const char *caption, *typed, *button;
        std::string seen; ///< the warning's line, or the beginning of the pilot's call
        std::string fms;  ///< the FMS's end after it
        bool menu = true; ///< the menu item still offered
        bool olympiaWithoutRunways = false;
    } cases[] = {
        {"Request cruising", "511", "Request new FL", "warning: flight level incorrect", "HHOOD/16000 KPDX"},
        {"Request cruising", "0", "Request new FL", "warning: flight level incorrect", "HHOOD/16000 KPDX"},
        {"Request cruising", "abc", "Request new FL", "warning: flight level incorrect", "HHOOD/16000 KPDX"},
        {"Request cruising", "-50", "Request new FL", "warning: flight level incorrect", "HHOOD/16000 KPDX"},
        {"Request cruising", "320", "Request new FL",
         "Seattle Center, request cruise altitude change to flight level tree two zero", "HHOOD/32000 KPDX"},
        {"Declare emergency", "PDX", "Declare emergency", "warning: airport not found", "HHOOD/32000 KPDX"},
        {"Declare emergency", "", "Declare emergency", "warning: airport identifier too short", "HHOOD/32000 KPDX"},
        {"Declare emergency", "ED-DL", "Declare emergency", "warning: airport not found", "HHOOD/32000 KPDX"},
        // Olympia found, but its scenery has no runway: the flight keeps its destination and airport records.
        {"Declare emergency", "KOLM", "Declare emergency", "warning: no runway at emergency airport",
         "HHOOD/32000 KPDX", true, true},
        // The filed arrival, whose landing runway was not chosen yet: chosen first, then the approach to it.
        {"Declare emergency", "kpdx ", "Declare emergency",
         "Seattle Center, declaring emergency, request immediate landing at PORTLAND", "latlon KPDX"},
        {"Declare emergency", "KPDX", "Declare emergency",
         "Seattle Center, declaring emergency, request immediate landing at PORTLAND", "latlon KPDX"},
    };
    for (const auto &c : cases) {
        const std::string what = std::string(c.button) + " '" + c.typed + "'";
        if (c.olympiaWithoutRunways)
            WriteAptDat(WithoutRunways(aptDat, "1      209 1 0 KOLM OLYMPIA"));
        const size_t spoken = simhost::SpokenTexts().size();
        ASSERT_EQ(Fly("menu Vellomirv2 \"ATC dialog\"\ntype \"ATC Dialog\" \"" + std::string(c.caption) + "\" \"" +
                          c.typed + "\"\npress \"" + c.button + "\"\nwait 15\n",
                      error),
                  0)
            << what << ": " << error;
        WriteAptDat(aptDat);
        std::string seen;
        if (void *warning = simhost::FindWindowByTitle("Vellomir - Warning"))
            seen = "warning: " + simhost::WidgetTexts(warning, xpWidgetClass_Caption).at(0);
        else if (simhost::SpokenTexts().size() > spoken)
            seen = simhost::SpokenTexts()[spoken].text.substr(0, c.seen.size());
        EXPECT_EQ(seen, c.seen) << what;
        const bool refused = seen.rfind("warning", 0) == 0;
        EXPECT_EQ(simhost::FindWindowByTitle(kDialog) != nullptr, refused) << what << ": a refusal leaves it open";
        EXPECT_EQ(FmsEnd(), c.fms) << what;
        EXPECT_EQ(MenuOffered(), c.menu) << what;
        if (refused) {
            simhost::ClickWidget(simhost::FindWidget(simhost::FindWindowByTitle("Vellomir - Warning"), "Ok"));
            simhost::CommandOnce("Vellomir/atc_dialog_toggle");
        }
        ASSERT_EQ(Fly("await nowindow \"ATC Dialog\" within 1\nawait nowindow \"Vellomir - Warning\" within 1\nwait 30\n",
                      error),
                  0)
            << what << ": " << error;
    }
    EXPECT_TRUE(simhost::LogContains("Emergency destination airport 'EDDL', terminated character 4"));
    EXPECT_TRUE(simhost::HostErrors().empty());
}

/// The plug-in's code linked in, for what is not visible from outside until much later in the flight: an
/// airport refused for want of runways leaves both airport records as they were, and a declared emergency
/// holds its own exchange open, not every request window's.
TEST_F(HostTest, AnEmergencyKeepsTheAirportRecordsWhenRefusedAndHoldsOnlyItsOwnExchange)
{
    Filing_AtSeattle();
    pilot &p = pilotObj;
    p.arrAirportICAO = "KPDX";
    const AptDat &portland = IcaoMap.at("KPDX");
    ASSERT_EQ(p.targetAirport.readAptDat("KPDX", portland.ICAOfilePath, portland.readOffset, 0), 1);
    const size_t departure = p.parser.runways.size(), arrival = p.targetAirport.runways.size();
    IcaoMap["KOLM"].ICAOfilePath = simhost::PluginFolder() + "/gone.dat";
    EXPECT_FALSE(AtcDialog_DeclareEmergency(&p, "KOLM"));
    EXPECT_EQ(p.parser.runways.size(), departure);
    EXPECT_EQ(p.targetAirport.runways.size(), arrival);
    EXPECT_EQ(p.arrAirportICAO, "KPDX");
    Warning_Destroy();
    ASSERT_TRUE(AtcDialog_DeclareEmergency(&p, "KPDX"));
    EXPECT_EQ(p.gIsCopiing, 1);
    EXPECT_EQ(gIsCopiing, 0);
    Radio_ResetState();
    pilotObj = pilot();
}

} // namespace
