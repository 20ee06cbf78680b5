// The real Vellomir64.xpl at gate A1 of Seattle-Tacoma, through its request dialog and read-back window:
// a dialog that stays as it is while nothing changes, the read-back command, "Say again", "Other runway"
// and the position both windows remember. (The departure's calls through the loaded plug-in are flown by
// the default and ATC dialog scenarios.)
#include <functional>

#include "XPLMPlugin.h"
#include "XPWidgets.h"
#include "ExchangeSupport.h"

namespace
{

const double kDelivery = 128.0, kGround = 121.7;

class RequestWindowsTest : public PluginTest
{
  protected:
    /// The sample, the aircraft at KSEA gate A1, a KSEA to KPDX plan prefilled from the last filing, the
    /// plug-in loaded with the given settings lines and a flight started.
    void Start(const std::string &settings = "")
    {
        ResetHost(12000);
        ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
        ASSERT_TRUE(simhost::PlaceAtParking("KSEA", "A1"));
        simhost::SetWeather(160, 8, 1013);
        PluginFile("FlightPlan.txt", "KSEA SID HAROB BTG HHOOD STAR KPDX\n");
        PluginFile("FlightSettings.txt", "FL#160\nICAOFlightName#ASA\nICAOFlightNumber#123\n"
                                         "TransLevelFLDep#180\nTransLevelFLArr#180\n");
        PluginFile("acc.dat", "KSEA KPDX:Seattle Center:128.500\n");
        PluginFile("Settings.txt", "welcomeMessage202012#0\nmanualChooseSID#0\n" + settings);
        ASSERT_TRUE(Load());
        simhost::SendMessage(XPLM_MSG_PLANE_LOADED, 0);
        simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
        simhost::RunFrames(2);
    }
    static std::string Offered() { return Request_Offered(); }
    /// Runs frames until done() holds, at most seconds.
    static bool RunUntil(const std::function<bool()> &done, float seconds = 60)
    {
        for (float t = 0; t < seconds && !done(); t += 0.1f)
            simhost::RunSeconds(0.1f);
        return done();
    }
    /// Presses the button with that label in whichever window shows it, once it shows.
    static bool Press(const std::string &label)
    {
        void *button = nullptr;
        RunUntil([&] {
            for (const std::string &title : simhost::WidgetWindowTitles()) {
                void *window = simhost::FindWindowByTitle(title);
                if (window != nullptr && (button = simhost::FindWidget(window, label)) != nullptr)
                    return true;
            }
            return false;
        });
        return button != nullptr && simhost::ClickWidget(button);
    }
    static bool Window(const char *title) { return simhost::FindWindowByTitle(title) != nullptr; }
    /// Waits for the read-back window and presses label in it.
    static bool Answer(const char *label)
    {
        return RunUntil([] { return Window("Readback"); }) && Press(label);
    }
    /// Tunes COM1 and lets the dialog follow.
    static std::string OfferedOn(double megahertz)
    {
        simhost::TuneCom1(megahertz);
        simhost::RunSeconds(0.5f);
        return Offered();
    }
    /// Runs until the radio is quiet and nothing awaits a read-back.
    static void RunUntilQuiet()
    {
        RunUntil([] { return simhost::GetInt("Vellomir/radio_in_use") == 0 && !Window("Readback"); });
        simhost::RunSeconds(1);
    }
    /// Files the prefilled plan from the delivery's dialog.
    static void File()
    {
        simhost::TuneCom1(kDelivery);
        ASSERT_TRUE(Press("File flight plan"));
        ASSERT_TRUE(Press("Insert Flightplan"));
    }
    static void RequestClearance()
    {
        File();
        ASSERT_TRUE(Press("Request IFR Clearance"));
    }
    static int Spoken(const std::string &text)
    {
        int count = 0;
        for (const simhost::Spoken &spoken : simhost::SpokenTexts())
            count += spoken.text.find(text) != std::string::npos ? 1 : 0;
        return count;
    }
};

TEST_F(RequestWindowsTest, DialogBuiltOnceReadBackCommandSayAgainAndTheRememberedPosition)
{
    Start("checkSquawkCode#0\n");
    ASSERT_EQ(OfferedOn(kDelivery), "Delivery: File flight plan");
    const int created = simhost::WidgetsCreated();
    simhost::RunFrames(300);
    EXPECT_EQ(simhost::WidgetsCreated(), created); // nothing changes, nothing is built again
    RequestClearance();
    simhost::RunSeconds(1);
    EXPECT_EQ(Offered(), ""); // nothing more to ask while the exchange runs
    ASSERT_TRUE(RunUntil([] { return Window("Readback"); }));
    // Moved by the pilot, the window opens there again, as does the next request dialog.
    int left, top, right, bottom;
    XPGetWidgetGeometry((XPWidgetID)simhost::FindWindowByTitle("Readback"), &left, &top, &right, &bottom);
    simhost::MouseDown(left + 20, top - 5);
    simhost::MouseDrag(left + 220, top + 195);
    simhost::MouseUp(left + 220, top + 195);
    ASSERT_TRUE(Press("Say again"));
    EXPECT_FALSE(Window("Readback"));
    ASSERT_TRUE(RunUntil([] { return Window("Readback"); }));
    int movedLeft, movedTop;
    XPGetWidgetGeometry((XPWidgetID)simhost::FindWindowByTitle("Readback"), &movedLeft, &movedTop, nullptr, nullptr);
    EXPECT_EQ(movedLeft, left + 200);
    EXPECT_EQ(movedTop, top + 200);

    // The command answers the window once, in the frame after it came.
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/read_back"));
    simhost::RunFrame();
    EXPECT_FALSE(Window("Readback"));
    RunUntilQuiet();
    EXPECT_EQ(Spoken("readback correct"), 1);
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/read_back")); // nothing to read back: nothing happens
    simhost::RunSeconds(2);
    EXPECT_EQ(Spoken("readback correct"), 1);
    ASSERT_EQ(OfferedOn(kGround), "Ground: Request engine startup | Request engine startup and pushback");
    XPGetWidgetGeometry((XPWidgetID)simhost::FindWindowByTitle("Ground"), &left, &top, nullptr, nullptr);
    EXPECT_EQ(left, movedLeft);
    EXPECT_EQ(top, movedTop);
}

TEST_F(RequestWindowsTest, OtherRunwayWithAndWithoutSidsClearsAgainForTheNewRunwayAndKeepsTheRoute)
{
    for (const char *sids : {"lookForSID#1\n", "lookForSID#0\n"}) {
        SCOPED_TRACE(sids);
        Start(sids);
        RequestClearance();
        ASSERT_TRUE(Answer("Other runway"));
        EXPECT_FALSE(Window("Readback"));
        ASSERT_TRUE(Press("Runway 34R"));
        ASSERT_TRUE(RunUntil([] { return Window("Readback"); }));
        EXPECT_EQ(Spoken("runway tree four right"), 1); // one new clearance
        bool routeKept = false;
        for (const simhost::FmsEntry &entry : simhost::FmsPlan())
            routeKept = routeKept || entry.id == "BTG";
        EXPECT_TRUE(routeKept);
        ASSERT_TRUE(Press("Readback"));
        RunUntilQuiet();
        EXPECT_EQ(Spoken("readback correct"), 1);
    }
    // The runway window closed, then the read-back window of the clearance it gives: nothing was read back,
    // so the clearance is asked for again.
    Start();
    RequestClearance();
    ASSERT_TRUE(Answer("Other runway"));
    ASSERT_TRUE(simhost::PressCloseBox(simhost::FindWindowByTitle("Choose runway")));
    ASSERT_TRUE(RunUntil([] { return Window("Readback"); }));
    ASSERT_TRUE(simhost::PressCloseBox(simhost::FindWindowByTitle("Readback")));
    RunUntilQuiet();
    EXPECT_EQ(Offered(), "Delivery: Request IFR Clearance");
}

} // namespace
