// The version check against the HTTPS test server: what it contacts, how failures are reported, and the
// update window it opens.
#include "XPWidgets.h"
#include "plugin/Menu.h"
#include "support/PluginHost.h"
#include "update/UpdateCheck.h"
#include "update/UpdateFixtures.h"

namespace {

using updatetest::UpdateServerTest;

class UpdateCheck : public UpdateServerTest {
  protected:
    void Index(const std::string &stable, const std::string &candidate)
    {
        server.Script("/update/index?versionNumber=2.1.0", {Answer(200, stable)});
        server.Script("/update/index.testing?versionNumber=2.1.0", {Answer(200, candidate)});
    }
};

TEST_F(UpdateCheck, NothingIsContactedWithoutAnHttpsServer)
{
    struct Case {
        std::string url;
        const char *line;
    } cases[] = {
        {"", "No update server configured (updateUrl in Settings.txt)"},
        {"http://127.0.0.1:1/", "The update server must be an https:// address (updateUrl in Settings.txt)"},
        {"https://", "The update server must be an https:// address (updateUrl in Settings.txt)"},
    };
    Index("2.1.10", "2.1.10RC1");
    for (const Case &c : cases) {
        snprintf(updateUrl, sizeof updateUrl, "%s", c.url.c_str());
        EXPECT_EQ(checkForUpdates(false), 0) << c.url;
        EXPECT_TRUE(simhost::WidgetWindowTitles().empty()) << "the automatic check shows no window";
        EXPECT_EQ(checkForUpdates(true), 0) << c.url;
        EXPECT_EQ(Captions("Vellomir - Update"), std::vector<std::string>{c.line}) << c.url;
        EXPECT_FALSE(UpdateWorker_Busy());
        Warning_Destroy();
    }
    // The automatic check notes it in the log once (the menu's answer: data/scenarios/update.scn).
    updateUrl[0] = '\0';
    simhost::ClearLog();
    Update_AutomaticCheck(41.0f);
    Update_AutomaticCheck(60.0f);
    EXPECT_EQ(LogCount("Automatic update check not run: No update server configured"), 1);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateCheck, FailuresShowAWindowFromTheMenuAndOnlyALogLineOtherwise)
{
    const std::string stable = "/update/index?versionNumber=2.1.0";
    struct Case {
        const char *name;
        ScriptedResponse stableAnswer;
        ScriptedResponse notes;
        const char *title, *line, *logLine;
    } cases[] = {
        {"404", Answer(404), Answer(200), "Vellomir - Update Failed!", "Error while contacting the update server",
         "Updates search failed: HTTP status 404"},
        {"500", Answer(500, "2.1.10"), Answer(200), "Vellomir - Update Failed!",
         "Error while contacting the update server", "Updates search failed: HTTP status 500"},
        {"redirect to http",
         {302, "", 0, "Location: http://127.0.0.1/update/index\r\n"},
         Answer(200),
         "Vellomir - Update Failed!",
         "Error while contacting the update server",
         "Updates search failed: HTTP status 302"},
        {"HTML", Answer(200, "<html><head><title>Welcome 20241201</title></head></html>"), Answer(200),
         "Vellomir - Update Failed!", "The update server sent no version",
         "The update server's index answer is not a version (the character 60 at position 1), ignored"},
        {"lone number", Answer(200, "404"), Answer(200), "Vellomir - Update Failed!", "The update server sent no version",
         "The update server's index answer is not a version (a lone number, not a dotted version), ignored"},
        {"notes 404", Answer(200, "2.1.10"), Answer(404), "Update Failed!", "Error while contacting the update server",
         "Release notes could not be fetched: HTTP status 404"},
        // Last: the test server answers one request at a time and holds the next ones while it waits.
        {"slow", Answer(200, "2.1.10", 1500), Answer(200), "Vellomir - Update Failed!",
         "Error while contacting the update server", "Updates search failed: "},
    };
    updateLimits.indexTimeoutMs = 500;
    for (const Case &c : cases) {
        for (bool announce : {false, true}) {
            simhost::ClearLog();
            server.Script(stable, {c.stableAnswer});
            server.Script("/update/index.testing?versionNumber=2.1.0", {Answer(200, "2.1.10RC1")});
            server.Script("/update/r.notes", {c.notes});
            ASSERT_EQ(checkForUpdates(announce), 1) << c.name;
            ASSERT_TRUE(RunWorker()) << c.name;
            EXPECT_TRUE(Logged(c.logLine)) << c.name;
            if (announce)
                EXPECT_EQ(Captions(c.title), std::vector<std::string>{c.line}) << c.name;
            else
                EXPECT_TRUE(simhost::WidgetWindowTitles().empty()) << c.name;
            EXPECT_FALSE(updateIsOpen) << c.name;
            Warning_Destroy();
        }
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(UpdateCheck, ANewerVersionOpensTheNotesSizedForTheScreen)
{
    // Sizes for wide notes: UpdateNotes in VersionTest; here the window takes the size worked out.
    std::string notes = "\x1bNote 1 %s%n\n";
    for (int i = 2; i <= 20; i++)
        notes += "Note " + std::to_string(i) + "\n";
    Index("2.1.10\n", "2.1.10RC1\n");
    server.Script("/update/r.notes", {Answer(200, notes)});
    ASSERT_EQ(checkForUpdates(false), 1);
    ASSERT_TRUE(RunWorker());
    ASSERT_TRUE(updateIsOpen);
    int left, top, right, bottom;
    XPGetWidgetGeometry(ControlUpdateWin, &left, &top, &right, &bottom);
    EXPECT_EQ(right - left, 430);
    EXPECT_EQ(top - bottom, 475);
    std::vector<std::string> captions = Captions("Vellomirv2 - Update Available");
    ASSERT_EQ(captions.size(), 16u); // heading, blank, 13 note lines, the hang warning
    EXPECT_EQ(captions[0], "2.1.10:");
    EXPECT_EQ(captions[2], "Note 1 %s%n");
    EXPECT_EQ(captions[14], "Note 13");
    EXPECT_TRUE(Logged("The release notes held 1 control characters, left out"));
    EXPECT_EQ(globalLatestVersion, "2.1.10");
    EXPECT_FALSE(rcBuild);

    // A second check while the window is open offers nothing more.
    ASSERT_EQ(checkForUpdates(true), 1);
    ASSERT_TRUE(RunWorker());
    EXPECT_TRUE(Logged("Update dialog already open or updated already notified"));
    EXPECT_EQ(simhost::WidgetWindowTitles(), std::vector<std::string>{"Vellomirv2 - Update Available"});
    ASSERT_TRUE(simhost::ClickWidget(ControlUpdateOkButton));
    EXPECT_FALSE(updateIsOpen);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(UpdateCheck, UpToDateIsAnnouncedOnlyFromTheMenuAndTheAutomaticCheckRunsOnce)
{
    // The installed version's own three numbers, and an older one: up to date, never a failure.
    for (const char *latest : {"2.1.0", "2.0.9"}) {
        Index(latest, "2.1.0RC9");
        ASSERT_EQ(checkForUpdates(true), 1);
        ASSERT_TRUE(RunWorker());
        EXPECT_EQ(Captions("Vellomir - Up to date"), std::vector<std::string>{"No updates available"}) << latest;
        Warning_Destroy();
    }
    EXPECT_TRUE(Logged("This stable version doesn't need an update: 210 > 210"));

    struct Step {
        int option;
        float now_s;
        size_t requests;
    } steps[] = {{1, 39.0f, 4}, {0, 41.0f, 4}, {1, 41.0f, 6}, {1, 60.0f, 6}};
    for (const Step &s : steps) {
        updateCheck = s.option;
        Update_AutomaticCheck(s.now_s);
        if (UpdateWorker_Busy()) {
            ASSERT_TRUE(RunWorker());
        }
        EXPECT_EQ(server.Requests().size(), s.requests) << s.now_s;
    }
    EXPECT_TRUE(simhost::WidgetWindowTitles().empty());
    updateCheck = 1;

    // No check while an installed update waits for the restart; the menu's item, clicked twice, shows one notice.
    updateRestartPending = true;
    EXPECT_EQ(checkForUpdates(true), 0);
    EXPECT_EQ(server.Requests().size(), 6u);
    System_MenuPrincipaleCallback(nullptr, (void *)(intptr_t)MENU_UPDATE);
    System_MenuPrincipaleCallback(nullptr, (void *)(intptr_t)MENU_UPDATE);
    EXPECT_EQ(simhost::WidgetWindowTitles(), std::vector<std::string>{"Vellomir - Update restart pending"});
    EXPECT_EQ(Captions("Vellomir - Update restart pending"),
              std::vector<std::string>{"An update restart is pending, please restart your sim"});
}

TEST_F(UpdateCheck, TheServerAddressIsWrittenBackOnlyWhenSetAndNeverCut)
{
    const std::string settings = "Resources/plugins/Vellomir64/Settings.txt";
    struct Case {
        std::string line;
        std::string url; ///< read back
    } cases[] = {
        {"updateUrl#https://updates.example.org/vellomir/", "https://updates.example.org/vellomir/"},
        {"updateUrl#https://example.org/" + std::string(300, 'a'), ""},
        {"updateUrl#https://example.org/\x01", ""},
        {"gQNH#1", ""},
    };
    for (const Case &c : cases) {
        updateUrl[0] = '\0';
        simhost::WriteFile(settings, c.line + "\n");
        readSettings();
        EXPECT_EQ(updateUrl, c.url) << c.line;
        writeSettings();
        bool written = simhost::ReadFile(settings).find("updateUrl#") != std::string::npos;
        EXPECT_EQ(written, !c.url.empty()) << c.line;
    }
    char address[UPDATE_URL_SIZE];
    snprintf(updateUrl, sizeof updateUrl, "https://example.org/%s/", std::string(200, 'b').c_str());
    EXPECT_TRUE(Update_Address(address, sizeof address, "/update/r.notes"));
    EXPECT_EQ(std::string(address), "https://example.org/" + std::string(200, 'b') + "/update/r.notes");
    EXPECT_FALSE(Update_Address(address, 220, "/update/r.notes"));
    EXPECT_STREQ(address, "");
}

} // namespace
