// The windows the default scenario opens fit the screen, and their buttons fit the windows: a button
// outside its window, or under its title bar (which takes the click), cannot be pressed.
#include <filesystem>
#include <set>

#include "Scenario.h"
#include "XPLMDisplay.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "support/PluginHost.h"

namespace {

class ScenarioLayoutTest : public PluginTest {};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

Rect Geometry(void *widget)
{
    Rect r;
    XPGetWidgetGeometry((XPWidgetID)widget, &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

bool Within(const Rect &inner, const Rect &outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top <= outer.top &&
           inner.bottom >= outer.bottom;
}

TEST_F(ScenarioLayoutTest, EveryButtonOfTheDefaultScenarioLiesInsideItsWindowAndTheScreen)
{
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(Scenario_Read(std::string(VELLOMIR_SOURCE_DIR) + "/data/scenarios/default.scn", scenario, error))
        << error;
    simhost::Reset(scenario.options);
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    for (const auto &file : std::filesystem::directory_iterator(std::string(VELLOMIR_SOURCE_DIR) + "/data/plugin"))
        simhost::CopyFileInto(file.path().string(), "Resources/plugins/Vellomir64/" + file.path().filename().string());
    Rect screen;
    XPLMGetScreenBoundsGlobal(&screen.left, &screen.top, &screen.right, &screen.bottom);

    std::set<std::string> faults, windows;
    int buttons = 0;
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return simhost::LoadPlugin(VELLOMIR_XPL_PATH); };
    hooks.afterFrame = [&] {
        for (const std::string &title : simhost::WidgetWindowTitles()) {
            void *window = simhost::FindWindowByTitle(title);
            if (window == nullptr)
                continue;
            windows.insert(title);
            Rect frame = Geometry(window);
            if (!Within(frame, screen))
                faults.insert("window \"" + title + "\" reaches off the screen");
            if (simhost::WidgetProperty(window, xpProperty_MainWindowType) == xpMainWindowStyle_MainWindow)
                frame.top -= 20; // the title bar
            void *button = nullptr;
            for (int n = 0; (button = simhost::NthWidgetOfClass(window, xpWidgetClass_Button, n)) != nullptr; n++) {
                if (!XPIsWidgetVisible((XPWidgetID)button))
                    continue;
                buttons++;
                if (!Within(Geometry(button), frame))
                    faults.insert("button \"" + simhost::WidgetText(button) + "\" of \"" + title +
                                  "\" lies outside the window's body");
            }
        }
    };
    ASSERT_EQ(Scenario_Run(scenario, hooks, error), 0) << error;
    std::string list;
    for (const std::string &fault : faults)
        list += "\n  " + fault;
    EXPECT_TRUE(faults.empty()) << list;
    EXPECT_GE(windows.size(), 2u);
    EXPECT_GT(buttons, 0);
}

TEST_F(ScenarioLayoutTest, SnapshotPicturesTheScreenOrOneWindowAndNamesAMissingWindow)
{
    XPCreateWidget(100, 300, 340, 160, 1, "Flight plan", 1, nullptr, xpWidgetClass_MainWindow);
    std::string folder = simhost::SystemPath(), error;
    Scenario s;
    ASSERT_TRUE(Scenario_Parse("snapshot \"" + folder + "screen.png\"\nsnapshot \"" + folder +
                                   "plan.png\" \"Flight plan\"\nsnapshot \"" + folder + "x.png\" \"Clearance\"\n",
                               s, error));
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return true; };
    EXPECT_EQ(Scenario_Run(s, hooks, error), 4);
    EXPECT_EQ(error, ": line 3: no window \"Clearance\" to take a picture of");
    simhost::Image screen, window;
    ASSERT_TRUE(simhost::ReadPng(folder + "screen.png", screen, error)) << error;
    ASSERT_TRUE(simhost::ReadPng(folder + "plan.png", window, error)) << error;
    EXPECT_EQ(screen.width * 1000 + screen.height, 1920 * 1000 + 1080);
    EXPECT_EQ(window.width * 1000 + window.height, 256 * 1000 + 156); // the window and a margin of 8
}

} // namespace
