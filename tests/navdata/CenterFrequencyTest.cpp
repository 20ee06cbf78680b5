// The centre lookup over acc.dat files laid into the plug-in's folder: field formats, whole-word
// identifiers, the hold-back of a changed centre, the clash with approach, missing and bad files and the
// made-up frequency.
#include <cstring>
#include <fstream>
#include <sstream>

#include "navdata/CenterFrequency.h"
#include "plugin/FirstFrame.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace {

class CenterFrequencyTest : public HostTest {
  protected:
    pilot flight;
    static void AccDat(const std::string &text) { simhost::WriteFile("Resources/plugins/Vellomir64/acc.dat", text); }
    void Lookup(const char *icao = "KSEA") { Radio_ottieniFrequenzaCenter(icao, &flight); }
    std::string Name() const { return flight.nomeCenter; }
    static bool IsMadeUp(double kHz) { return kHz >= 118050 && kHz <= 135950 && (long)kHz % 100 == 50; }
};

TEST_F(CenterFrequencyTest, FrequencyFieldsAndWholeWordIdentifiers)
{
    struct Case {
        const char *text;
        int version;
        bool ok;
        double value;
    } cases[] = {
        {"127.125", 12000, true, 127125}, {"127.125", 11300, true, 12712},    {"121.5", 11330, true, 121500},
        {"  118.0 \r", 12000, true, 118000}, {"136.990", 12000, true, 136990}, {"118", 12000, true, 118000},
        {"   ", 12000, false, 0},         {"117.975", 12000, false, 0},       {"137.000", 12000, false, 0},
        {"0127.125", 12000, false, 0},    {"127.1.25", 12000, false, 0},      {"127,125", 12000, false, 0},
        {"-127.125", 12000, false, 0},
    };
    for (const Case &c : cases) {
        double value = -1;
        EXPECT_EQ(Radio_ParseCenterFrequency(c.text, strlen(c.text), c.version, &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : -1) << c.text;
    }

    struct Word {
        const char *line, *identifier;
        bool found;
    } words[] = {
        {"XS20 XS12", "S20", false}, {"XS20 S20", "S20", true}, {"KSEAX", "KSEA", false}, {"KSEA", "KSEA", true},
        {"KBFI,KSEA;", "KSEA", true}, {"KSE", "KSEA", false},   {"KSEA", "", false},
    };
    for (const Word &w : words)
        EXPECT_EQ(Radio_ContainsIdentifier(w.line, strlen(w.line), w.identifier), w.found) << w.line;
}

TEST_F(CenterFrequencyTest, ChangedCentreIsAdoptedOnTheSecondLookupWithItsName)
{
    AccDat("# comment KSEA:Not Me Center:121.500\nXS20 KSEA:Seattle Center:125.100\n");
    Lookup();
    EXPECT_EQ(flight.frequenzaCenter, 125100);
    EXPECT_EQ(Name(), "Seattle Center");
    EXPECT_TRUE(flight.centerTrovata && flight.nuovaCenterTrovata && !flight.centerFittizia);
    Lookup("S20"); // only inside XS20: no line, the previous centre stays
    EXPECT_EQ(flight.frequenzaCenter, 125100);

    AccDat("KSEA:#Oakland* Center@\t:127.125\n"); // phrase markup in a name is no markup
    Lookup();
    EXPECT_EQ(flight.frequenzaCenterTemp, 127125); // held back, and the controller keeps his name
    EXPECT_EQ(std::to_string(flight.frequenzaCenter) + " " + Name(), std::to_string(125100.0) + " Seattle Center");
    Lookup();
    EXPECT_EQ(std::to_string(flight.frequenzaCenter) + " " + Name(), std::to_string(127125.0) + " Oakland  Center");

    // An airport on two lines: the last usable one is the candidate, so the centre does change.
    AccDat("KSEA:First Center:120.400\nKBFI KSEA:Second Center:133.300\nKSEA:Broken Center:999.9\n");
    Lookup();
    Lookup();
    EXPECT_EQ(std::to_string(flight.frequenzaCenter) + " " + Name(), std::to_string(133300.0) + " Second Center");
    EXPECT_TRUE(Logged("frequency '999.9' for KSEA is not a COM frequency"));
}

TEST_F(CenterFrequencyTest, ClashWithApproachAndOldSimulatorUnits)
{
    flight.targetAirport.approachFrequencies = {12510};
    gFDV_XPlaneVersion = 11300;
    AccDat("KSEA:Seattle Center:125.100\n");
    Lookup();
    EXPECT_NE(flight.frequenzaCenter, 12510); // the approach would answer on it
    EXPECT_TRUE(flight.centerFittizia);
    EXPECT_EQ(Name(), "Center");
    EXPECT_TRUE(Logged("acc frequency clash detected"));

    AccDat("KSEA:Seattle Center:125.100\nKSEA:Seattle Center:126.525\n");
    Lookup();
    EXPECT_EQ(flight.frequenzaCenter, 12652); // a made-up one gives way at once
    EXPECT_FALSE(flight.centerFittizia);
}

TEST_F(CenterFrequencyTest, MissingEmptyOrBrokenFileGivesAMadeUpFrequencyThatNoAirportUses)
{
    struct File {
        const char *text, *logged;
    } files[] = {{nullptr, "ACC lookup: ERROR: cannot open acc.dat file"},
                 {"", "ACC lookup: acc frequency not found for KSEA"},
                 {"KSEA\nKSEA:Seattle Center:\nKSEA::125.100\n:KSEA:Center:125.100\n",
                  "acc.dat line 3: no centre name for KSEA, skipped"}};
    for (const File &file : files) {
        ResetHost(12000);
        flight = pilot();
        if (file.text != nullptr)
            AccDat(file.text);
        Lookup();
        EXPECT_TRUE(IsMadeUp(flight.frequenzaCenter)) << flight.frequenzaCenter;
        EXPECT_EQ(Name(), "Center");
        EXPECT_TRUE(flight.centerFittizia && !flight.centerTrovata);
        EXPECT_TRUE(Logged(file.logged)) << file.logged;
        double madeUp = flight.frequenzaCenter;
        Lookup();
        EXPECT_EQ(flight.frequenzaCenter, madeUp); // kept by later lookups without a match
    }
    EXPECT_TRUE(Logged("acc.dat line 1: expected identifiers:name:frequency, skipped"));

    // Invalid identifiers change nothing.
    for (const char *bad : {"", "-K", "K "}) {
        Lookup(bad);
        EXPECT_TRUE(Logged("Invalid aiport passed to the function"));
    }

    // Every made-up choice but one is an airport frequency: that one is drawn, whatever the draw.
    for (int i = 0; i < 180; i++)
        (i < 90 ? flight.parser.atisFrequencies : flight.targetAirport.groundFrequencies)
            .push_back(118050 + 100.0 * (i < 77 ? i : i + 1));
    for (int draw = 0; draw < 5; draw++) {
        flight.frequenzaCenter = 0;
        flight.centerFittizia = false;
        Lookup();
        EXPECT_EQ(flight.frequenzaCenter, 118050 + 100.0 * 77);
    }
}

TEST_F(CenterFrequencyTest, ShippedFileNamesTheSampleRegionsCentresAndTheDepartureIsLookedUpOnceFiled)
{
    std::stringstream text;
    text << std::ifstream(std::string(VELLOMIR_SOURCE_DIR) + "/data/plugin/acc.dat").rdbuf();
    ASSERT_GT(text.str().size(), 1000u);
    AccDat(text.str());
    struct Expected {
        const char *icao, *name;
        double kHz;
    } airports[] = {{"KSEA", "Seattle Center", 128500}, {"KPDX", "Seattle Center", 125800},
                    {"S20", "Seattle Center", 119650},  {"XS20", "Houston Center", 126625}};
    for (const Expected &e : airports) {
        flight = pilot();
        Lookup(e.icao);
        EXPECT_EQ(std::to_string(flight.frequenzaCenter) + " " + Name(), std::to_string(e.kHz) + " " + e.name);
    }

    flight = pilot();
    flight.gIsFPFiled = 1;
    snprintf(gActualAptICAO, sizeof gActualAptICAO, "%s", "KPDX");
    Radio_settaFrequenzaCenter(&flight);
    EXPECT_EQ(flight.frequenzaCenter, 125800);
    gActualAptICAO[0] = 0;
}

} // namespace
