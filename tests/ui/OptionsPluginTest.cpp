// The real plug-in in the simulated X-Plane: the Options window from the menu, the welcome at the first
// autostart, the About window and the settings written at Save.
#include <algorithm>
#include <string>
#include <vector>

#include "XPLMDefs.h"
#include "XPLMPlugin.h"
#include "XPStandardWidgets.h"
#include "support/PluginHost.h"

namespace {

const char *const kSettings = "Resources/plugins/Vellomir64/Settings.txt";
const char *const kMenu = "Vellomirv2";

class OptionsPlugin : public PluginTest {
  protected:
    /// Loads the plug-in after the welcome has already been seen on this installation.
    bool LoadWelcomed()
    {
        PluginFile("Settings.txt", "welcomeMessage202012#0\n");
        return Load();
    }
    static void *OpenOptions()
    {
        EXPECT_TRUE(simhost::ClickMenuItem(kMenu, "Options"));
        return simhost::FindWindowByTitle("Options");
    }
    /// The check box of the row labelled label (it stands just before its caption).
    static void *CheckOf(void *window, const std::string &label) { return RowControl(window, label, -1); }
    /// The nth number field of the row labelled label (they follow its caption).
    static void *FieldOf(void *window, const std::string &label, int nth = 0)
    {
        return RowControl(window, label, 1 + nth);
    }
    static void *RowControl(void *window, const std::string &label, int offset)
    {
        std::vector<std::string> outline = simhost::WidgetOutline(window);
        auto caption = std::find(outline.begin(), outline.end(), "caption:" + label);
        if (caption == outline.end()) {
            ADD_FAILURE() << "no row " << label;
            return nullptr;
        }
        std::string kind = caption[offset].substr(0, caption[offset].find(':') + 1); // "check:" or "field:"
        int before = (int)std::count_if(outline.begin(), caption + offset,
                                        [&](const std::string &entry) { return entry.rfind(kind, 0) == 0; });
        return simhost::NthWidgetOfClass(window, kind == "field:" ? xpWidgetClass_TextField : xpWidgetClass_Button,
                                         before);
    }
    static std::string SettingsText() { return simhost::ReadFile(kSettings); }
    static bool Has(const std::string &line) { return SettingsText().find(line + "\n") != std::string::npos; }

};

TEST_F(OptionsPlugin, SaveChangesTheSettingsAndTheFileTheCloseBoxNothing)
{
    ASSERT_TRUE(LoadWelcomed());
    void *window = OpenOptions();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(simhost::ClickWidget(CheckOf(window, "Reduce heading vector calls")));
    ASSERT_TRUE(simhost::ClickWidget(CheckOf(window, "Precise heading")));
    void *tolerance = FieldOf(window, "Flight level error tolerance [feet]");
    simhost::SelectText(tolerance, 0, 3);
    simhost::TypeInto(tolerance, "250");
    void *delayAP = FieldOf(window, "Heading announce delay (RNAV off-RNAV on) [seconds]", 1);
    simhost::SelectText(delayAP, 0, 2);
    simhost::TypeInto(delayAP, "20");
    void *radius = FieldOf(window, "Holding point radius");
    simhost::SelectText(radius, 0, 4);
    simhost::TypeInto(radius, "0.25");
    void *descent = FieldOf(window, "Descent vertical speed [fpm]");
    simhost::SelectText(descent, 0, 4);
    simhost::TypeInto(descent, "0");
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Save")));

    EXPECT_EQ(simhost::FindWindowByTitle("Options"), nullptr);
    EXPECT_TRUE(Has("reduceVectorCalls#1"));
    EXPECT_TRUE(Has("preciseHeading#0"));
    EXPECT_TRUE(Has("FLTolerance#250"));
    EXPECT_TRUE(Has("headingAnnounceDelayAP#20"));
    EXPECT_TRUE(Has("holdingPointRadius#0.25"));
    EXPECT_FALSE(simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!"));
    // A descent rate of 0 is refused: the one in force stays, and a warning says so.
    EXPECT_TRUE(Has("tdDescentSpeed#1500"));
    void *warning = simhost::FindWindowByTitle("Vellomir - Warning");
    ASSERT_NE(warning, nullptr);
    EXPECT_NE(simhost::WidgetOutline(warning)[0].find("Descent vertical speed 0 fpm refused"), std::string::npos);
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(warning, "Ok")));

    // The plug-in's own variables changed: the window shows them when opened again.
    window = OpenOptions();
    EXPECT_EQ(simhost::WidgetProperty(CheckOf(window, "Reduce heading vector calls"), xpProperty_ButtonState), 1);
    EXPECT_EQ(simhost::WidgetText(FieldOf(window, "Flight level error tolerance [feet]")), "250");
    EXPECT_EQ(simhost::WidgetText(FieldOf(window, "Holding point radius")), "0.25");

    // The close box keeps nothing of what was changed; the menu item closes the window again.
    const std::string saved = SettingsText();
    ASSERT_TRUE(simhost::ClickWidget(CheckOf(window, "Check Squawk Code")));
    simhost::TypeInto(FieldOf(window, "Descent vertical speed [fpm]"), "0");
    ASSERT_TRUE(simhost::PressCloseBox(window));
    EXPECT_EQ(SettingsText(), saved);
    window = OpenOptions();
    EXPECT_EQ(simhost::WidgetProperty(CheckOf(window, "Check Squawk Code"), xpProperty_ButtonState), 1);
    EXPECT_EQ(simhost::WidgetText(FieldOf(window, "Descent vertical speed [fpm]")), "1500");
    EXPECT_TRUE(simhost::ClickMenuItem(kMenu, "Options"));
    EXPECT_EQ(simhost::FindWindowByTitle("Options"), nullptr);
}

TEST_F(OptionsPlugin, SwitchingAzureOnShowsTheDisclaimerOnce)
{
    ASSERT_TRUE(LoadWelcomed());
    void *window = OpenOptions();
    ASSERT_TRUE(simhost::ClickWidget(CheckOf(window, "Enable Azure TTS - EXPERIMENTAL !!")));
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Save")));
    void *disclaimer = simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!");
    ASSERT_NE(disclaimer, nullptr);
    EXPECT_TRUE(Has("azureTtsOn#1"));
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(disclaimer, "Understood")));
    EXPECT_EQ(simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!"), nullptr);

    // Opened with the engine already on: off and on again in the same window is no new switch-on.
    window = OpenOptions();
    void *azure = CheckOf(window, "Enable Azure TTS - EXPERIMENTAL !!");
    ASSERT_TRUE(simhost::ClickWidget(azure));
    ASSERT_TRUE(simhost::ClickWidget(azure));
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Save")));
    EXPECT_EQ(simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!"), nullptr);
}

TEST_F(OptionsPlugin, WelcomeAppearsOnceAtTheFirstAutostart)
{
    ASSERT_TRUE(Load());
    EXPECT_NE(simhost::FindWindowByTitle("Vellomir - Welcome!"), nullptr);
    EXPECT_TRUE(Has("welcomeMessage202012#0"));

    // The same installation started again: no welcome.
    std::string settings = SettingsText();
    simhost::Shutdown();
    ResetHost(12000);
    PluginFile("Settings.txt", settings);
    ASSERT_TRUE(Load());
    EXPECT_EQ(simhost::FindWindowByTitle("Vellomir - Welcome!"), nullptr);
}

TEST_F(OptionsPlugin, AnAirportLoadClosesTheWindowsAndRereadsTheSettings)
{
    ASSERT_TRUE(LoadWelcomed());
    ASSERT_TRUE(simhost::ClickMenuItem(kMenu, "?"));
    ASSERT_NE(simhost::FindWindowByTitle("About"), nullptr);
    OpenOptions();
    // Settings edited in the file while flying are taken up by the reset of a new airport.
    simhost::WriteFile(kSettings, SettingsText() + "FLTolerance#350\n");
    simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED);
    EXPECT_EQ(simhost::WidgetCount(), 0);
    // Closed properly: the menu opens them again.
    void *window = OpenOptions();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(simhost::WidgetText(FieldOf(window, "Flight level error tolerance [feet]")), "350");
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
