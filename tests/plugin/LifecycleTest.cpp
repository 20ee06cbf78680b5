// The real Vellomir64.xpl as X-Plane sees it: what it publishes, its commands, its menu and its messages.
#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"
#include "XPLMUtilities.h"
#include "support/PluginHost.h"

namespace {

const char *const kMenu = "Vellomirv2";
/// Items enabled while the service runs (the fixed part of the pattern) and once it is stopped.
const std::vector<bool> kRunning = {false, true, true, false, true, true, true, true, true, true};
const std::vector<bool> kStopped = {true, false, false, false, false, false, false, true, true, true};

std::vector<bool> Enabled()
{
    std::vector<bool> states;
    for (const simhost::MenuItemInfo &item : simhost::MenuItems(kMenu))
        states.push_back(item.enabled);
    return states;
}

class LifecycleTest : public PluginTest {};

TEST_F(LifecycleTest, StartsWithItsNameWritesTheStartLinesAndResetsTheFlightOnAnAirportLoad)
{
    ASSERT_TRUE(Load(11330));
    EXPECT_EQ(simhost::PluginName(), "Vellomir v2.1.0");
    EXPECT_NE(simhost::PluginSignature().find(".vellomirv2"), std::string::npos);
    EXPECT_TRUE(Logged("AL not required")); // X-Plane 11 keeps its own OpenAL context
    EXPECT_TRUE(Logged("User debug enabled"));
    for (const std::string &line : simhost::LogLines())
        EXPECT_TRUE(IsVellomirLogLine(line)) << line;

    simhost::ClearLog();
    simhost::SendMessage(XPLM_MSG_PLANE_LOADED, 0);
    EXPECT_TRUE(simhost::LogLines().empty());
    simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
    EXPECT_TRUE(Logged("plugin reset invoked..."));
    simhost::SendMessage(XPLM_MSG_SCENERY_LOADED, 0); // ignored
    simhost::RunFrames(10);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(LifecycleTest, PublishesTwoWritableRadioDatarefsAndSevenCommandsActingOnKeyReleaseUntilItStops)
{
    ASSERT_TRUE(Load());
    // Another add-on reads and writes the datarefs through the SDK.
    for (const char *name : {"Vellomir/radio_in_use", "Vellomir/radio_facility_id"}) {
        XPLMDataRef ref = XPLMFindDataRef(name);
        ASSERT_NE(ref, nullptr) << name;
        EXPECT_EQ(XPLMGetDataRefTypes(ref), xplmType_Int);
        EXPECT_EQ(XPLMGetDatai(ref), 8);
        XPLMSetDatai(ref, 3);
        EXPECT_EQ(simhost::GetInt(name), 3);
    }
    std::vector<simhost::CommandInfo> commands = simhost::Commands();
    ASSERT_EQ(commands.size(), 7u);
    for (const simhost::CommandInfo &command : commands) {
        EXPECT_FALSE(command.description.empty()) << command.name;
        EXPECT_EQ(command.handlers, 1) << command.name;
    }

    // Pressing and holding does nothing; releasing the key logs and acts once.
    simhost::ClearLog();
    simhost::CommandPhase("Vellomir/heading_indicator", xplm_CommandBegin);
    simhost::CommandPhase("Vellomir/heading_indicator", xplm_CommandContinue);
    EXPECT_FALSE(Logged("customCommandHeadingIndicatorHandler called"));
    simhost::CommandPhase("Vellomir/heading_indicator", xplm_CommandEnd);
    EXPECT_EQ(LogCount("DEBUG: customCommandHeadingIndicatorHandler called"), 1);
    for (const simhost::CommandInfo &command : commands)
        EXPECT_TRUE(simhost::CommandOnce(command.name));
    EXPECT_TRUE(Logged("customCommandDarkBoxToggleHandler called"));

    // Stopping the plug-in takes the datarefs away and releases the commands.
    simhost::UnloadPlugin();
    EXPECT_FALSE(simhost::HasDataRef("Vellomir/radio_in_use"));
    for (const simhost::CommandInfo &command : simhost::Commands())
        EXPECT_EQ(command.handlers, 0) << command.name;
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(LifecycleTest, MenuPatternsFollowStartAndStop)
{
    ASSERT_TRUE(Load());
    ASSERT_EQ(simhost::MenuItems(kMenu).size(), kRunning.size());
    EXPECT_EQ(simhost::PluginsMenuLabels(), std::vector<std::string>{kMenu});

    // Autostarted: the running pattern's fixed part.
    EXPECT_EQ(Enabled(), kRunning);
    EXPECT_FALSE(simhost::ClickMenuItem(kMenu, "Start plugin")); // disabled: nothing happens
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "Stop plugin"));
    EXPECT_EQ(Enabled(), kStopped);
    EXPECT_FALSE(simhost::ClickMenuItem(kMenu, "Frequencies selector"));
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "Start plugin"));
    EXPECT_EQ(Enabled(), kRunning);
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "Reset plugin"));
    EXPECT_TRUE(Logged("plugin reset invoked..."));
    EXPECT_EQ(Enabled(), kRunning);
}

TEST_F(LifecycleTest, WithoutAutostartTheServiceWaitsForTheMenuAndTheSettingsAreWrittenAtStop)
{
    PluginFile("Settings.txt", "pluginAutostart#0\nFLTolerance#275\n");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(simhost::WidgetWindowTitles().empty()); // no welcome either
    // The fixed part of the running pattern stays until Stop or Reset shows the stopped one.
    EXPECT_EQ(Enabled(), kRunning);
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "Reset plugin"));
    EXPECT_EQ(Enabled(), kStopped);
    simhost::RunFrames(5); // the frame driver runs all the same
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "Start plugin"));
    EXPECT_EQ(Enabled(), kRunning);
    EXPECT_EQ(simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt"), "pluginAutostart#0\nFLTolerance#275\n");
    simhost::UnloadPlugin();
    std::string written = simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt");
    EXPECT_TRUE(written.find("\nFLTolerance#275\n") != std::string::npos &&
                written.find("\ninformationsPosition#800\n") != std::string::npos) << written;
}

TEST_F(LifecycleTest, ReadBackNeedsAnOpenDialogAndTheDriverWindowIsDraggedByItsTopStripOnly)
{
    PluginFile("Settings.txt", "welcomeMessage202012#0\n"); // the welcome was seen at an earlier start
    ASSERT_TRUE(Load());
    simhost::RunFrames(3);
    size_t before = simhost::LogLines().size();
    EXPECT_TRUE(simhost::CommandOnce("Vellomir/read_back"));
    simhost::RunFrames(3);
    // Only the handler's own line: nothing was read back, no window opened.
    std::vector<std::string> lines = simhost::LogLinesSince(before);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("customCommandReadBackHandler called"), std::string::npos);
    EXPECT_TRUE(simhost::WidgetWindowTitles().empty());

    auto box = [] {
        std::vector<simhost::WindowInfo> windows = simhost::Windows();
        return windows.size() != 1 ? std::vector<int>{} : std::vector<int>{windows[0].left, windows[0].top,
                                                                          windows[0].right, windows[0].bottom};
    };
    EXPECT_EQ(box(), (std::vector<int>{200, 43, 1550, 5}));
    EXPECT_FALSE(simhost::MouseDown(300, 20)); // below the strip: not consumed
    simhost::MouseUp(300, 20);
    EXPECT_TRUE(simhost::MouseDown(300, 35)); // inside the 15-pixel strip
    simhost::MouseDrag(400, 135);
    simhost::MouseUp(400, 135);
    EXPECT_EQ(box(), (std::vector<int>{300, 143, 1650, 105}));
}

} // namespace
