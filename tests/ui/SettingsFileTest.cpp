// Settings.txt: the written format, the round trip, and files a user or a crash may leave behind.
#include <cstring>
#include <string>
#include <vector>

#include "plugin/Log.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

struct IntSetting {
    const char *key;
    int *var;
};

// Every integer setting the file holds (positions included), to set, compare and restore them.
const IntSetting kInts[] = {
    {"welcomeMessage202012", &welcomeMessage202012},
    {"gIsSpeechActivated", &gIsSpeechActivated},
    {"gShowDarkWindows", &gShowDarkWindows},
    {"gKMLExp", &gKMLExp},
    {"gQNH", &gQNH},
    {"altimeterDecimal", &altimeterDecimal},
    {"firstReadback", &firstReadback},
    {"programFMSDirectOnJump", &programFMSDirectOnJump},
    {"switchCenterDefaultDistance", &switchCenterDefaultDistance},
    {"pluginAutostart", &pluginAutostart},
    {"FLTolerance", &FLTolerance},
    {"pointInsteadDecimal", &pointInsteadDecimal},
    {"flightStatsIsActive", &flightStatsIsActive},
    {"lowAltitudeSpeedWarning", &lowAltitudeSpeedWarning},
    {"calculateWCA", &calculateWCA},
    {"maxHeadingError", &maxHeadingError},
    {"headingAnnounceDelay", &pilotObj.headingAnnounceDelay},
    {"updateCheck", &updateCheck},
    {"enableFmcProgramming", &enableFmcProgramming},
    {"programFMSApproxILS", &programFMSApproxILS},
    {"headingAnnounceDelayAP", &pilotObj.headingAnnounceDelayAP},
    {"onScreenWarnings", &onScreenWarnings},
    {"reduceVectorCalls", &reduceVectorCalls},
    {"releaseRadioBetweenDialogs", &releaseRadioBetweenDialogs},
    {"preciseHeading", &preciseHeading},
    {"tdDescentSpeed", &tdDescentSpeed},
    {"disableVoiceOnReadBack", &disableVoiceOnReadBack},
    {"userDebug", &userDebug},
    {"autoHideDarkBox", &autoHideDarkBox},
    {"autoHideDarkBoxTimeOut", &autoHideDarkBoxTimeOut},
    {"simTimeStampMessages", &simTimeStampMessages},
    {"checkSquawkCode", &checkSquawkCode},
    {"lookForSID", &lookForSID},
    {"lookForSTAR", &lookForSTAR},
    {"manualChooseSID", &manualChooseSID},
    {"manualChooseSTAR", &manualChooseSTAR},
    {"vfrFlight", &pilotObj.vfrFlight},
    {"checkGroundElevation", &checkGroundElevation},
    {"respectRestrictions", &respectRestrictions},
    {"skipApprox", &skipApprox},
    {"azureTtsOn", &azureTtsOn},
    {"headingIndicatorActive", &headingIndicatorActive},
    {"frequenciesPositionLeft", &frequenciesPositionLeft},
    {"frequenciesPositionTop", &frequenciesPositionTop},
    {"dialogPositionLeft", &dialogPositionLeft},
    {"dialogPositionTop", &dialogPositionTop},
    {"informationsPosition", &informationsPosition},
};
float *const kFloats[] = {&offsetFirstReadback, &offsetFirstTurn, &holdingPointRadius};

/// Snapshot of every setting, restored after each test so that tests do not leak into each other.
struct SettingsSnapshot {
    std::vector<int> ints;
    std::vector<float> floats;
    std::string key, region, latest;
    int developer = 0;
    void Take()
    {
        ints.clear();
        floats.clear();
        for (const IntSetting &s : kInts)
            ints.push_back(*s.var);
        for (float *f : kFloats)
            floats.push_back(*f);
        key = azureKey;
        region = azureRegion;
        latest = latestVersion;
        developer = developerDEBUG;
    }
    void Restore() const
    {
        for (size_t i = 0; i < ints.size(); i++)
            *kInts[i].var = ints[i];
        for (size_t i = 0; i < floats.size(); i++)
            *kFloats[i] = floats[i];
        snprintf(azureKey, sizeof azureKey, "%s", key.c_str());
        snprintf(azureRegion, sizeof azureRegion, "%s", region.c_str());
        snprintf(latestVersion, sizeof latestVersion, "%s", latest.c_str());
        developerDEBUG = developer;
    }
};

class SettingsFile : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        saved.Take();
    }
    void TearDown() override
    {
        saved.Restore();
        HostTest::TearDown();
    }
    static void WriteSettingsFile(const std::string &contents)
    {
        simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt", contents);
    }
    static std::string SettingsFileText() { return simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt"); }
    SettingsSnapshot saved;
};

const char *const kDefaultFileHead = "welcomeMessage202012#1\n"
                                     "gIsSpeechActivated#1\n"
                                     "gShowDarkWindows#1\n"
                                     "gKMLExp#1\n"
                                     "gQNH#1\n"
                                     "altimeterDecimal#0\n"
                                     "firstReadback#1\n"
                                     "offsetFirstReadback#0.9\n"
                                     "offsetFirstTurn#0.5\n";

TEST_F(SettingsFile, WrittenFileFollowsTheKeyOrderAndNumberFormatsByteForByte)
{
    holdingPointRadius = 0.25f;
    FLTolerance = 250;
    pilotObj.headingAnnounceDelay = 5;
    pilotObj.headingAnnounceDelayAP = 30;
    pilotObj.vfrFlight = 1;
    userDebug = 0;
    snprintf(azureKey, sizeof azureKey, "0123abcd");
    snprintf(azureRegion, sizeof azureRegion, "westeurope");
    frequenciesPositionLeft = 120;
    frequenciesPositionTop = 640;
    dialogPositionLeft = 0; // never moved: no dialog position lines
    dialogPositionTop = 300;
    developerDEBUG = 1; // never written
    writeSettings();
    std::string expected = std::string(kDefaultFileHead) + "holdingPointRadius#0.25\n"
                                                           "programFMSDirectOnJump#1\n"
                                                           "switchCenterDefaultDistance#15\n"
                                                           "pluginAutostart#1\n"
                                                           "FLTolerance#250\n"
                                                           "pointInsteadDecimal#0\n"
                                                           "flightStatsIsActive#0\n"
                                                           "lowAltitudeSpeedWarning#0\n"
                                                           "calculateWCA#1\n"
                                                           "maxHeadingError#10\n"
                                                           "headingAnnounceDelay#5\n"
                                                           "updateCheck#1\n"
                                                           "enableFmcProgramming#1\n"
                                                           "programFMSApproxILS#1\n"
                                                           "headingAnnounceDelayAP#30\n"
                                                           "onScreenWarnings#1\n"
                                                           "reduceVectorCalls#0\n"
                                                           "releaseRadioBetweenDialogs#0\n"
                                                           "preciseHeading#1\n"
                                                           "tdDescentSpeed#1500\n"
                                                           "disableVoiceOnReadBack#0\n"
                                                           "userDebug#0\n"
                                                           "autoHideDarkBox#0\n"
                                                           "autoHideDarkBoxTimeOut#30\n"
                                                           "simTimeStampMessages#0\n"
                                                           "checkSquawkCode#1\n"
                                                           "lookForSID#1\n"
                                                           "lookForSTAR#1\n"
                                                           "manualChooseSID#1\n"
                                                           "manualChooseSTAR#1\n"
                                                           "vfrFlight#1\n"
                                                           "checkGroundElevation#1\n"
                                                           "respectRestrictions#1\n"
                                                           "skipApprox#0\n"
                                                           "azureKey#0123abcd\n"
                                                           "azureRegion#westeurope\n"
                                                           "azureTtsOn#0\n"
                                                           "headingIndicatorActive#1\n"
                                                           "frequenciesPositionLeft#120\n"
                                                           "frequenciesPositionTop#640\n"
                                                           "informationsPosition#800\n";
    EXPECT_EQ(SettingsFileText(), expected);
    EXPECT_FALSE(simhost::FileExists("Resources/plugins/Vellomir64/Settings.txt.tmp"));
}

TEST_F(SettingsFile, PilotsChangesSurviveWritingAndReadingBack)
{
    int value = 2;
    for (const IntSetting &s : kInts)
        *s.var = value++ * 11; // positions all above the written threshold
    offsetFirstReadback = 0.75f;
    offsetFirstTurn = 0.125f;
    holdingPointRadius = 0.3f;
    snprintf(azureKey, sizeof azureKey, "%s", std::string(255, 'k').c_str());
    snprintf(azureRegion, sizeof azureRegion, "eastus");
    SettingsSnapshot written;
    written.Take();
    writeSettings();

    for (const IntSetting &s : kInts)
        *s.var = -1;
    offsetFirstReadback = offsetFirstTurn = holdingPointRadius = -1;
    azureKey[0] = azureRegion[0] = 0;
    readSettings();

    for (size_t i = 0; i < written.ints.size(); i++)
        EXPECT_EQ(*kInts[i].var, written.ints[i]) << kInts[i].key;
    for (size_t i = 0; i < written.floats.size(); i++)
        EXPECT_FLOAT_EQ(*kFloats[i], written.floats[i]);
    EXPECT_EQ(std::string(azureKey), written.key);
    EXPECT_EQ(std::string(azureRegion), "eastus");
}

TEST_F(SettingsFile, LatestVersionIsReadButNeverWrittenAndDeveloperDebugIsIgnored)
{
    WriteSettingsFile("latestVersion#2.2.0\ndeveloperDEBUG#1\n");
    developerDEBUG = 0;
    readSettings();
    EXPECT_STREQ(latestVersion, "2.2.0");
    EXPECT_EQ(developerDEBUG, 0);
    developerDEBUG = 1;
    writeSettings();
    developerDEBUG = 0;
    EXPECT_EQ(SettingsFileText().find("latestVersion"), std::string::npos);
    EXPECT_EQ(SettingsFileText().find("developerDEBUG"), std::string::npos);
}

// MARK: files a user, an editor or a crash may leave behind

TEST_F(SettingsFile, MissingFileKeepsEveryValueAndSaysSoAtDebugLevel)
{
    FLTolerance = 450;
    developerDEBUG = 1;
    readSettings();
    EXPECT_EQ(FLTolerance, 450);
    EXPECT_TRUE(Logged("Settings file could not be found!"));
}

TEST_F(SettingsFile, EmptyFileBinaryGarbageAndALoneAzureKeyChangeNothingElse)
{
    SettingsSnapshot before;
    before.Take();
    WriteSettingsFile("");
    readSettings();
    std::string garbage;
    for (int i = 0; i < 20000; i++)
        garbage += (char)((i * 7919 + 13) % 256);
    WriteSettingsFile(garbage);
    readSettings();
    WriteSettingsFile("azureKey#feedbeef");
    readSettings();
    SettingsSnapshot after;
    after.Take();
    EXPECT_EQ(after.ints, before.ints);
    EXPECT_EQ(after.floats, before.floats);
    EXPECT_STREQ(azureKey, "feedbeef");
}

TEST_F(SettingsFile, LinesWithOneOrThreeTokensAreSkippedAndRunsOfHashesCollapse)
{
    FLTolerance = 111;
    maxHeadingError = 12;
    tdDescentSpeed = 1800;
    WriteSettingsFile("FLTolerance\n"
                      "maxHeadingError#\n"
                      "#tdDescentSpeed#2000#extra\n"
                      "##checkSquawkCode###0##\r\n"
                      "gKMLExp#0\r\n"
                      "someFutureKey#1\n"
                      "flTolerance#900\n"
                      "gKMLExp#1\n"); // later lines win
    readSettings();
    EXPECT_EQ(FLTolerance, 111);
    EXPECT_EQ(maxHeadingError, 12);
    EXPECT_EQ(tdDescentSpeed, 1800);
    EXPECT_EQ(checkSquawkCode, 0);
    EXPECT_EQ(gKMLExp, 1);
}

TEST_F(SettingsFile, ValuesThatAreNotNumbersGiveZeroAndAreLogged)
{
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
}

TEST_F(SettingsFile, OversizedLineAndKeyAreCutWithoutOverflow)
{
    std::string longKey(1000, 'K');
    WriteSettingsFile("azureRegion#" + std::string(100 * 1024, 'r') + "\n" + "azureKey#" + longKey + "\n" +
                      std::string(100 * 1024, 'x') + "\n" + "FLTolerance#275\n");
    readSettings();
    EXPECT_EQ(std::string(azureKey), std::string(sizeof azureKey - 1, 'K'));
    EXPECT_EQ(strlen(azureRegion), sizeof azureRegion - 1);
    EXPECT_EQ(FLTolerance, 275);
    EXPECT_TRUE(Logged("azureKey is longer than 255 characters and was cut"));
}

TEST_F(SettingsFile, FailedWriteKeepsThePreviousFileWhole)
{
    WriteSettingsFile("FLTolerance#200\n");
    // A directory where the temporary file would go: the write cannot start.
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt.tmp/blocker", "");
    FLTolerance = 999;
    writeSettings();
    EXPECT_EQ(SettingsFileText(), "FLTolerance#200\n");
    EXPECT_TRUE(Logged("settings not written"));
}

} // namespace
