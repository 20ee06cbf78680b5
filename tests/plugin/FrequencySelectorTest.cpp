// The real Vellomir64.xpl at airports publishing several frequencies per facility (Frankfurt and
// Anchorage from the world apt.dat, and a hand-made military field with a UHF tower): every published COM
// frequency names its controller, and the frequency selector tunes each controller on X-Plane 11.30 (tens
// of kHz) and X-Plane 12 (kHz).
#include <fstream>
#include <sstream>

#include "XPLMPlugin.h"
#include "XPStandardWidgets.h"
#include "support/PluginHost.h"

namespace {

const char *const kMilitaryField = "1 30 1 0 XUHF Military Field\n"
                                   "100 45.72 1 0 0.25 1 3 1 09 47.00000000 -122.00000000 0 0 3 10 1 1 27 "
                                   "47.00000000 -121.90000000 0 0 3 10 1 1\n"
                                   "1054 257800 TWR\n1054 126200 TWR\n1053 121700 GND\n1053 121900 GND\n";

struct Airport {
    const char *icao;
    double lat, lon;
};
const Airport kFrankfurt = {"EDDF", 50.0326, 8.5346}, kAnchorage = {"PANC", 61.1678, -150.0344},
              kMilitary = {"XUHF", 47.0, -122.0};

class FrequencySelectorTest : public PluginTest {
  protected:
    /// The test airports as the global scenery, the aircraft on the airport's first runway end, the
    /// plug-in loaded and a flight started.
    bool StartAt(const Airport &airport, int version = 12000, const char *accDat = nullptr)
    {
        ResetHost(version);
        std::ifstream file(TestData("apt/multi-frequency.apt.dat"));
        std::stringstream text;
        text << file.rdbuf();
        std::string apt = text.str();
        apt.insert(apt.rfind("99"), kMilitaryField);
        simhost::WriteFile(simhost::GlobalAptDatPath(version), apt);
        if (accDat != nullptr)
            PluginFile("acc.dat", accDat);
        simhost::PlaceAircraft(airport.lat, airport.lon, 100, 0, true);
        if (!Load(version))
            return false;
        simhost::SendMessage(XPLM_MSG_PLANE_LOADED, 0);
        simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
        simhost::RunFrames(2);
        return Logged("FindNavAid found! Looking for airport: " + std::string(airport.icao));
    }
    /// Tunes COM1 (after a frequency of nobody, so that the name is logged again) and runs a frame.
    static std::string Facility(double megahertz)
    {
        simhost::TuneCom1(121.5);
        simhost::RunFrame();
        simhost::TuneCom1(megahertz);
        simhost::RunFrame();
        for (const char *name : {"DELIVERY", "GROUND", "TOWER", "APPROACH", "ATIS", "CENTER", "DEPARTURE"}) {
            char line[96];
            snprintf(line, sizeof line, "Tuned facility: %s (COM1 %.3f)", name, megahertz);
            if (LogCount(line) > 0)
                return name;
        }
        return "NONE";
    }
    static int Com1(int version)
    {
        return simhost::GetInt(version < 11330 ? "sim/cockpit/radios/com1_freq_hz"
                                               : "sim/cockpit2/radios/actuators/com1_frequency_hz_833");
    }
    static bool Press(const char *label)
    {
        void *window = simhost::FindWindowByTitle("Frequencies selector");
        return window != nullptr && simhost::ClickWidget(simhost::FindWidget(window, label, xpWidgetClass_Button));
    }
};

TEST_F(FrequencySelectorTest, EveryPublishedComFrequencyNamesItsController)
{
    struct Tuning {
        double megahertz;
        const char *facility;
    };
    struct Case {
        Airport airport;
        std::vector<Tuning> tunings;
    } cases[] = {
        {kFrankfurt, {{121.90, "DELIVERY"}, {121.80, "GROUND"}, {121.95, "GROUND"}, {121.85, "GROUND"},
                      {121.70, "GROUND"}, {119.90, "TOWER"}, {124.85, "TOWER"}, {127.32, "TOWER"},
                      {118.45, "APPROACH"}, {126.55, "APPROACH"}, {136.12, "APPROACH"}, {118.02, "ATIS"},
                      {118.72, "ATIS"}, {120.15, "DEPARTURE"}, {120.80, "DEPARTURE"}}},
        {kAnchorage, {{119.40, "DELIVERY"}, {128.65, "DELIVERY"}, {121.90, "GROUND"}, {118.30, "TOWER"},
                      {118.60, "APPROACH"}, {119.10, "APPROACH"}, {123.80, "APPROACH"}, {126.40, "APPROACH"},
                      {134.10, "APPROACH"}, {122.20, "ATIS"}, {118.40, "ATIS"}, {122.95, "NONE"}}}, // unicom
        {kMilitary, {{126.20, "TOWER"}, {121.70, "DELIVERY"}, {121.90, "DELIVERY"}}}, // ground plays delivery
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(StartAt(c.airport)) << c.airport.icao;
        for (const Tuning &t : c.tunings)
            EXPECT_EQ(Facility(t.megahertz), t.facility) << c.airport.icao << " " << t.megahertz;
    }
    EXPECT_TRUE(Logged("airport XUHF, row 1054 frequency '257800' is not a COM frequency"));
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FrequencySelectorTest, EachButtonTunesItsControllerInTheVersionsUnit)
{
    struct Button {
        const char *label;
        int com1_12000, com1_11300; // kHz, tens of kHz
        const char *facility;
    } buttons[] = {
        {"Tower", 119900, 11990, "TOWER"},       {"Ground", 121800, 12180, "GROUND"},
        {"Delivery", 121900, 12190, "DELIVERY"}, {"Atis", 118020, 11802, "ATIS"},
        {"Approach", 118450, 11845, "APPROACH"}, {"Departure", 120150, 12015, "DEPARTURE"},
        {"Center", 128950, 12895, "CENTER"},
    };
    for (int version : {11300, 12000}) {
        ASSERT_TRUE(StartAt(kFrankfurt, version, "# test\nEDDF EDDM:Langen Radar:128.950\n"));
        ASSERT_TRUE(simhost::CommandOnce("Vellomir/frequency_selector_toggle"));
        ASSERT_NE(simhost::FindWindowByTitle("Frequencies selector"), nullptr);
        for (const Button &b : buttons) {
            ASSERT_TRUE(Press(b.label)) << b.label;
            simhost::RunFrame();
            EXPECT_EQ(Com1(version), version < 11330 ? b.com1_11300 : b.com1_12000) << b.label << " " << version;
            char line[96];
            snprintf(line, sizeof line, "Tuned facility: %s (COM1 %.3f)", b.facility, b.com1_12000 / 1000.0);
            EXPECT_TRUE(Logged(line)) << line;
        }
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FrequencySelectorTest, WithoutAccDatOrAtisAndClosedByCloseBoxToggleOrReset)
{
    ASSERT_TRUE(StartAt(kMilitary));
    auto window = [] { return simhost::FindWindowByTitle("Frequencies selector"); };
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Frequencies selector"));
    simhost::TuneCom1(122.8);
    ASSERT_TRUE(Press("Atis")); // the field has none: nothing is tuned
    EXPECT_EQ(Com1(12000), 122800);
    ASSERT_TRUE(Press("Center")); // no acc.dat: a made-up centre
    simhost::RunFrame();
    int centre = Com1(12000);
    EXPECT_TRUE(centre >= 118050 && centre <= 135950 && centre % 100 == 50) << centre;
    EXPECT_TRUE(Logged("ACC lookup: ERROR: cannot open acc.dat file"));
    EXPECT_TRUE(Logged("Tuned facility: CENTER"));

    ASSERT_TRUE(simhost::PressCloseBox(window()));
    EXPECT_EQ(window(), nullptr);
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/frequency_selector_toggle")); // opens again after the close box
    ASSERT_NE(window(), nullptr);
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/frequency_selector_toggle"));
    EXPECT_EQ(window(), nullptr);
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Frequencies selector"));
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Reset plugin"));
    EXPECT_EQ(window(), nullptr);
    ASSERT_TRUE(simhost::CommandOnce("Vellomir/frequency_selector_toggle")); // the reset left no stale handle
    EXPECT_NE(window(), nullptr);
    simhost::RunFrames(2);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
