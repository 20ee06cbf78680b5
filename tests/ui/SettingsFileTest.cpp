// Settings.txt: the written format, the round trip, and files a user or a crash may leave behind.
#include <cstdio>
#include <sys/stat.h>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/Log.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class SettingsFile : public HostTest {
  protected:
    /// Keeps the settings the test finds as a written file, and starts without a file.
    void SetUp() override
    {
        HostTest::SetUp();
        writeSettings();
        found = SettingsFileText();
        std::remove((simhost::PluginFolder() + "Settings.txt").c_str());
        text = {azureKey, azureRegion, latestVersion};
        developer = developerDEBUG;
    }
    /// Gives the next test the settings this one found (texts left empty are written as a bare "key#",
    /// which a read skips, so they are restored by hand).
    void TearDown() override
    {
        WriteSettingsFile(found);
        readSettings();
        snprintf(azureKey, sizeof azureKey, "%s", text[0].c_str());
        snprintf(azureRegion, sizeof azureRegion, "%s", text[1].c_str());
        snprintf(latestVersion, sizeof latestVersion, "%s", text[2].c_str());
        developerDEBUG = developer;
        dialogPositionLeft = dialogPositionTop = 0;
        HostTest::TearDown();
    }
    static void WriteSettingsFile(const std::string &contents)
    {
        simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt", contents);
    }
    static std::string SettingsFileText() { return simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt"); }
    std::string found;
    std::vector<std::string> text;
    int developer = 0;
};

TEST_F(SettingsFile, EveryKeyWrittenIsReadBackAndWrittenAgainAsThePilotEditedIt)
{
    // What is written: numbers as the pilot would type them, no developer switch, no version seen, and the
    // dialog's position only once moved.
    holdingPointRadius = 0.25f;
    offsetFirstReadback = 0.9f;
    dialogPositionLeft = 0;
    developerDEBUG = 1;
    snprintf(latestVersion, sizeof latestVersion, "%s", "2.2.0");
    writeSettings();
    const std::string written = SettingsFileText();
    for (const char *line : {"\nholdingPointRadius#0.25\n", "\noffsetFirstReadback#0.9\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    for (const char *key : {"developerDEBUG", "latestVersion", "dialogPosition"})
        EXPECT_EQ(written.find(key), std::string::npos) << key;
    EXPECT_FALSE(simhost::FileExists("Resources/plugins/Vellomir64/Settings.txt.tmp"));

    // Every key with a value of its own, and the dialog's position once moved: a key written but read into
    // another setting, or not read at all, comes back changed.
    std::istringstream keys(written);
    std::string line, edited;
    for (int value = 22; std::getline(keys, line); value += 11) {
        std::string key = line.substr(0, line.find('#'));
        if (key == "azureKey" || key == "azureRegion")
            edited += key + "#" + (key == "azureKey" ? std::string(255, 'k') : "eastus") + "\n";
        else
            edited += key + "#" + std::to_string(value) + "\n";
        if (key == "frequenciesPositionTop")
            edited += "dialogPositionLeft#600\ndialogPositionTop#400\n";
    }
    WriteSettingsFile(edited);
    readSettings();
    writeSettings();
    EXPECT_EQ(SettingsFileText(), edited);
}

TEST_F(SettingsFile, MissingEmptyOrGarbageFileChangesNothingButALoneAzureKey)
{
    developerDEBUG = 1;
    readSettings();
    EXPECT_TRUE(Logged("Settings file could not be found!"));
    WriteSettingsFile("");
    readSettings();
    std::string garbage;
    for (int i = 0; i < 20000; i++)
        garbage += (char)((i * 7919 + 13) % 256);
    WriteSettingsFile(garbage);
    readSettings();
    WriteSettingsFile("azureKey#feedbeef");
    readSettings();
    writeSettings();
    std::string expected = found;
    expected.replace(expected.find("azureKey#\n"), 10, "azureKey#feedbeef\n");
    EXPECT_EQ(SettingsFileText(), expected);
}

TEST_F(SettingsFile, MalformedLinesAreSkippedAndValuesThatAreNotNumbersGiveZero)
{
    FLTolerance = 111;
    maxHeadingError = 12;
    tdDescentSpeed = 1800;
    WriteSettingsFile("FLTolerance\n"                // one token
                      "maxHeadingError#\n"           // no value
                      "#tdDescentSpeed#2000#extra\n" // three tokens
                      "##checkSquawkCode###0##\r\n"  // runs of hashes collapse
                      "gKMLExp#0\r\n"
                      "someFutureKey#1\n"
                      "flTolerance#900\n"            // keys are case-sensitive
                      "gKMLExp#1\n"                  // later lines win
                      "latestVersion#2.2.0\ndeveloperDEBUG#1\n");
    developerDEBUG = 0;
    readSettings();
    EXPECT_EQ(FLTolerance, 111);
    EXPECT_EQ(maxHeadingError, 12);
    EXPECT_EQ(tdDescentSpeed, 1800);
    EXPECT_EQ(checkSquawkCode, 0);
    EXPECT_EQ(gKMLExp, 1);
    EXPECT_STREQ(latestVersion, "2.2.0");
    EXPECT_EQ(developerDEBUG, 0); // a developer switch, never taken from the file

    WriteSettingsFile("holdingPointRadius#0.25\n"
                      "offsetFirstTurn#abc\n"
                      "FLTolerance#  350ft\n"
                      "maxHeadingError#ten\n"
                      "offsetFirstReadback#nan\n"
                      "informationsPosition#99999999999999999999\n"
                      "tdDescentSpeed#+1200\n");
    readSettings();
    EXPECT_FLOAT_EQ(holdingPointRadius, 0.25f);
    EXPECT_EQ(offsetFirstTurn, 0.0f);
    EXPECT_EQ(FLTolerance, 350);
    EXPECT_EQ(maxHeadingError, 0);
    EXPECT_EQ(offsetFirstReadback, 0.0f); // never NaN
    EXPECT_EQ(informationsPosition, 2147483647);
    EXPECT_EQ(tdDescentSpeed, 1200);
    EXPECT_TRUE(Logged("Settings.txt line 4: maxHeadingError expects a whole number, not \"ten\"; set to 0"));
    EXPECT_TRUE(Logged("Settings.txt line 2: offsetFirstTurn expects a number"));

    // Lines and keys far longer than their buffers are cut, the lines after them still read.
    WriteSettingsFile("azureRegion#" + std::string(100 * 1024, 'r') + "\nazureKey#" + std::string(1000, 'K') + "\n" +
                      std::string(100 * 1024, 'x') + "\nFLTolerance#275\n");
    readSettings();
    EXPECT_EQ(std::string(azureKey), std::string(sizeof azureKey - 1, 'K'));
    EXPECT_EQ(strlen(azureRegion), sizeof azureRegion - 1);
    EXPECT_EQ(FLTolerance, 275);
    EXPECT_TRUE(Logged("azureKey is longer than 255 characters and was cut"));
}

TEST_F(SettingsFile, NewFileIsTheOwnersOnlyAReplacedOneKeepsItsPermissionsAndAFailedWriteKeepsIt)
{
    const std::string path = simhost::PluginFolder() + "Settings.txt";
    struct Case {
        int before; ///< permissions of the file already there; -1 none
        int after;
    } cases[] = {{-1, 0600}, {0644, 0644}, {0640, 0640}, {0600, 0600}};
    mode_t mask = umask(0); // the most open umask: the new file is still the owner's only
    for (const Case &c : cases) {
        SCOPED_TRACE(c.before);
        std::remove(path.c_str());
        if (c.before >= 0) {
            WriteSettingsFile("FLTolerance#200\n");
            chmod(path.c_str(), (mode_t)c.before);
        }
        writeSettings();
        struct stat written;
        ASSERT_EQ(stat(path.c_str(), &written), 0);
        EXPECT_EQ(written.st_mode & 07777, (mode_t)c.after);
    }
    umask(mask);

    WriteSettingsFile("FLTolerance#200\n");
    // A directory where the temporary file would go: the write cannot start.
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt.tmp/blocker", "");
    FLTolerance = 999;
    writeSettings();
    EXPECT_EQ(SettingsFileText(), "FLTolerance#200\n");
    EXPECT_TRUE(Logged("settings not written"));
}

// Found by the settings fuzz target: a CR before a NUL byte or a line ending in CR CR LF kept a CR in the
// value read back (it would have gone into the speech service's header); a key longer than its buffer,
// cut where CRs stood inside it, ended in CRs. A text setting holding a control character is refused whole.
TEST_F(SettingsFile, AzureTextsWithCarriageReturnsNeverKeepOne)
{
    WriteSettingsFile(std::string("azureKey#we\r\0steurope\r\nazureRegion#westeurope\r\r\r\n", 49));
    readSettings();
    EXPECT_STREQ(azureKey, "we");
    EXPECT_STREQ(azureRegion, "westeurope");

    WriteSettingsFile("azureKey#" + std::string(250, 'k') + std::string(20, '\r') + "h\nazureRegion#west\teurope\n");
    readSettings();
    EXPECT_STREQ(azureKey, "we");
    EXPECT_STREQ(azureRegion, "westeurope");
    EXPECT_TRUE(Logged("azureKey holds a control character (13), ignored"));
    EXPECT_TRUE(Logged("azureRegion holds a control character (9), ignored"));
}

} // namespace
