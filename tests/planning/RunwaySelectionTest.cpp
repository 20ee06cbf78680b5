// Runway choice over real airports (tests/data/runways, see the README there): runway-use rules, the wind
// and the nearest runway in calm wind, airports without runways, and the choose-runway window: every button
// inside it and clickable, the pilot's choice kept until "Automatic", the close box or another airport.
#include <cmath>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "navdata/AptFiles.h"
#include "planning/ChooseRunwayWindow.h"
#include "planning/RunwaySelection.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/WarningWindow.h"

namespace
{

class RunwaySelection : public HostTest
{
  protected:
    pilot record;
    void SetUp() override { HostTest::SetUp(); LayAirports(); }
    void TearDown() override { Warning_Destroy(); HostTest::TearDown(); }
    void LayAirports()
    {
        ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("runways/apt.dat")));
        ASSERT_TRUE(simhost::InstallCustomScenery("KBJC", TestData("runways/kbjc.apt.dat")));
        simhost::WriteSceneryPacksIni({{"KBJC"}});
        ClearSceneryIndex();
        parseSingleAptDat(simhost::SystemPath() + simhost::GlobalAptDatPath(simhost::CurrentOptions().xplaneVersion));
        parseSingleAptDat(simhost::SystemPath() + "Custom Scenery/KBJC/Earth nav data/apt.dat");
        parseSingleNavDat(TestData("runways/earth_nav.dat"));
    }
    /// A flight from departure (read as the filing reads it) to arrival (left for the runway choice to read).
    void Flight(const std::string &departure, const std::string &arrival, double lat, double lon)
    {
        record = pilot();
        record.SetPilotName("N123AB");
        record.arrAirportICAO = arrival;
        record.latitudine = lat, record.longitudine = lon;
        record.variazioneMagnetica = -15.5f; // X-Plane's sign: magnetic = true + variation
        Depart(departure, false);
    }
    std::string Choose(int isDeparture)
    {
        SetMatchingRunway(&record, isDeparture);
        return isDeparture ? record.departureRunwayName : record.arrivalRunwayStruct.name;
    }
    void Depart(const std::string &icao, bool choose = true) // keeps the record's other choices
    {
        record.depAirportICAO = icao;
        record.parser = Parser();
        record.parser.readAptDat(icao, IcaoMap[icao].ICAOfilePath, IcaoMap[icao].readOffset, 0);
        if (choose)
            SetMatchingRunway(&record, 1);
    }
    /// The open window's buttons, each checked to lie inside the window, in creation order.
    std::vector<std::string> Buttons()
    {
        void *window = simhost::FindWindowByTitle("Choose runway");
        EXPECT_EQ(window, ControlChooseRwyWin);
        return WindowButtonLabels(ControlChooseRwyWin);
    }
    void Click(const std::string &label)
    {
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(ControlChooseRwyWin, label)));
        EXPECT_EQ(ControlChooseRwyWin, nullptr); // every button closes the window
    }
};

// True headings (from the thresholds) and the expected choices, worked out by hand (calm reads as from 000):
//   KSEA 16L/16C/16R 180.3, 34R/34C/34L 0.3; departure rules name 16L 16R 34R 34L, arrival rules all six.
//        Calm: 34R (first of the equal ones); 160: 16L (20.3 off); 340: 34R.
//   KBFI 13L/13R 150.3, 31R/31L 330.3. 000: 31R (29.7 off); 160: 13L (9.7); 340: 31R (9.7).
//   KBJC 12L/12R 124.4, 30R/30L 304.4, 03 34.2, 21 214.2 (1110 rows for both). 000: 03; 160: 12L; 340: 30R.
//   KPDX 10R/10L 119.1, 28L/28R 299.1, 03 44.9, 21 224.9; no rules. 160: 10R (40.9 off; by runway number 21);
//        340: 28L. Calm: departure from the terminal: 10L's threshold nearest (0.36 nm, 21 0.46); arrival
//        from 30 nm east without a route: the nearest ILS threshold, 28R.
//   KPAO 31 321.8 and "xxx" 141.8 (no number); no rules, no ILS. 160: xxx; 340 and 010: 31 (as number 0
//        "xxx" would have been 10 off). Calm: the nearest threshold, 31, from the parking or 30 nm south-east.
TEST_F(RunwaySelection, RealAirportsInCalmAndWindFrom160And340)
{
    struct Row {
        const char *icao;
        int isDeparture;
        double lat, lon; // the aircraft
        const char *calm, *from160, *from340;
        float elevation_ft;
    } rows[] = {
        {"KSEA", 1, 47.4440, -122.3010, "34R", "16L", "34R", 433},
        {"KSEA", 0, 47.9000, -122.3000, "34R", "16L", "34R", 433},
        {"KBFI", 1, 47.5300, -122.3000, "31R", "13L", "31R", 20},
        {"KBFI", 0, 47.9000, -122.3000, "31R", "13L", "31R", 20},
        {"KBJC", 1, 39.9080, -105.1150, "03", "12L", "30R", 5669},
        {"KBJC", 0, 40.3000, -105.1000, "03", "12L", "30R", 5669},
        {"KPDX", 1, 45.5890, -122.5930, "10L", "10R", "28L", 30},
        {"KPDX", 0, 45.5900, -121.8800, "28R", "10R", "28L", 30},
        {"KPAO", 1, 37.45496770, -122.11289933, "31", "xxx", "31", 4},
        {"KPAO", 0, 37.1000, -121.7000, "31", "xxx", "31", 4},
    };
    for (const Row &row : rows) {
        const struct {
            float from_deg, speed_kt;
            const char *expected;
        } winds[] = {{0, 0, row.calm}, {160, 15, row.from160}, {340, 15, row.from340}};
        for (const auto &wind : winds) {
            SCOPED_TRACE(std::string(row.icao) + (row.isDeparture ? " departure" : " arrival") + " wind " +
                         std::to_string((int)wind.from_deg) + "/" + std::to_string((int)wind.speed_kt));
            simhost::SetWeather(wind.from_deg, wind.speed_kt, 1013);
            const char *neighbour = std::string(row.icao) == "KSEA" ? "KPDX" : "KSEA";
            Flight(row.isDeparture ? row.icao : neighbour, row.isDeparture ? neighbour : row.icao, row.lat, row.lon);
            ASSERT_EQ(Choose(row.isDeparture), wind.expected);
            const pilot::runwayStruct &chosen =
                row.isDeparture ? record.departureRunwayStruct : record.arrivalRunwayStruct;
            const Parser &airport = row.isDeparture ? record.parser : record.targetAirport;
            ASSERT_GE(chosen.index, 1);
            const Parser::runway &end = airport.runways[(size_t)chosen.index - 1];
            EXPECT_STREQ(end.name, wind.expected);
            EXPECT_EQ(chosen.lat, end.lat);
            EXPECT_NEAR(chosen.heightft, row.elevation_ft, 1.0);
        }
    }
    simhost::SetWeather(10, 15, 1013);
    Flight("KPAO", "KSEA", 37.4550, -122.1129);
    EXPECT_EQ(Choose(1), "31");
    EXPECT_EQ(record.depAirportFullName, "Palo Alto");
}

// Calm arrivals at Portland from a route point (variation -15.5: magnetic would be 15.5 degrees off).
TEST_F(RunwaySelection, CalmArrivalPrefersIlsAndDropsEndsTooCloseToFlyStraightIn)
{
    struct Row {
        const char *what;
        double refLat, refLon, acfLat, acfLon;
        int activeIndex;
        const char *expected;
    } rows[] = {
        // 11 nm south-west on 03's centre line: 03 at 11.0 nm has no ILS, 10R's ILS at 11.4 nm wins.
        {"ILS before nearer", 45.4526, -122.8018, 45.4526, -122.8018, 0, "10R"},
        // 8 nm from 28R, 10 degrees off its course, the aircraft further out: true against true keeps 28R;
        // magnetic against true (25.5 off) would drop 28R and 28L and give 10L.
        {"10 degrees off", 45.5405, -122.3883, 45.5405, -121.9124, 0, "28R"},
        // 40 degrees off with the aircraft on the approach side: 28R, 28L and 21 dropped, 10L at 9.1 nm.
        {"40 degrees off", 45.4596, -122.5004, 45.4596, -122.0251, 0, "10L"},
        // The active index past the end of the route: its last point is the reference.
        {"index past the route", 45.5405, -122.3883, 45.5405, -121.9124, 5, "28R"},
    };
    simhost::SetWeather(0, 3, 1013);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Flight("KSEA", "KPDX", row.acfLat, row.acfLon);
        if (row.activeIndex > 0)
            record.AddToFlightPlan(45.2f, -121.5f, "FAR", 2, 0, 100, 0);
        record.AddToFlightPlan((float)row.refLat, (float)row.refLon, "REF", 2, 0, 100, 0);
        record.gActualFlightPlanIndex = row.activeIndex;
        EXPECT_EQ(Choose(0), row.expected);
    }
    // An airport whose every end is dropped still gets its nearest end.
    Flight("KSEA", "KPDX", 45.4596, -122.0251);
    record.AddToFlightPlan(45.4596f, -122.5004f, "REF", 2, 0, 100, 0);
    Parser portland;
    portland.readAptDat("KPDX", IcaoMap["KPDX"].ICAOfilePath, IcaoMap["KPDX"].readOffset, 0);
    record.targetAirport.runways = {portland.runways[3]}; // 28R alone
    EXPECT_EQ(Choose(0), "28R");
}

TEST_F(RunwaySelection, WindReadingsOfBothVersionsAndOutOfRange)
{
    const char *const dir12 = "sim/weather/aircraft/wind_now_direction_degt",
                      *const speed12 = "sim/cockpit2/gauges/indicators/wind_speed_kts",
                      *const dir11 = "sim/weather/wind_direction_degt[0]", *const speed11 = "sim/weather/wind_speed_kt[0]";
    struct Row {
        int version;
        const char *dirRef, *speedRef;
        float from_deg;
        const char *expected;
    } rows[] = {
        {12000, dir12, speed12, 160, "10R"},
        {11000, dir11, speed11, 160, "10R"},
        {12000, dir12, speed12, -180, "21"}, // from 180: 21 is 44.9 off, 10R 60.9
        {12000, dir12, speed12, 520, "10R"}, // from 160
        {12000, dir12, speed12, NAN, "03"},  // no reading counts as from 000: 03 is 44.9 off
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.dirRef) + " " + std::to_string(row.from_deg));
        ResetHost(row.version);
        LayAirports();
        simhost::SetFloat(row.dirRef, row.from_deg); // only the version's own datarefs carry the wind
        simhost::SetFloat(row.speedRef, 15);
        Flight("KPDX", "KSEA", 45.5890, -122.5930);
        EXPECT_EQ(Choose(1), row.expected);
    }
}

TEST_F(RunwaySelection, AirportsWithoutRunwaysClearTheRecordAndWarnOnce)
{
    parseSingleAptDat(HostFile("heliport.dat", AptText("17 120 0 0 ZHEL Helipad only\n"
                                                       "102 H1 47.6 -122.3 0 10 10 1 0 0 0 0\n")));
    simhost::SetWeather(160, 15, 1013);
    Flight("KSEA", "KPDX", 45.9, -122.6); // the arrival airport read on its own, not the departure's
    EXPECT_EQ(Choose(0), "10R");
    Flight("ZHEL", "ZHEL", 47.6, -122.3);
    snprintf(record.departureRunwayName, sizeof record.departureRunwayName, "16L");
    record.departureRunwayStruct.index = 1;
    EXPECT_EQ(Choose(1), "");
    EXPECT_EQ(record.departureRunwayStruct.index, 0);
    void *warning = simhost::FindWindowByTitle("Vellomir - Warning");
    ASSERT_NE(warning, nullptr);
    EXPECT_NE(simhost::FindWidget(warning, "No runway at departure airport"), nullptr);
    Warning_Destroy();

    for (const char *arrival : {"ZHEL", "NONE"}) {
        SCOPED_TRACE(arrival);
        Flight("KSEA", arrival, 47.6, -122.3);
        record.arrivalRunwayStruct.index = 3;
        for (int frame = 0; frame < 3; frame++) {
            EXPECT_EQ(Choose(0), "");
            EXPECT_EQ(record.arrivalRunwayStruct.index, 0);
            EXPECT_EQ(warningIsOpen, frame == 0 ? 1 : 0);
            Warning_Destroy();
        }
    }
    EXPECT_EQ(LogCount("Arrival airport ZHEL has no runway, not read again"), 1);
    EXPECT_EQ(LogCount("Arrival airport NONE is not in the scenery index"), 1);
}

TEST_F(RunwaySelection, ChooseRunwayWindowPilotsChoiceHoldsUntilAutomaticOrAnotherAirport)
{
    simhost::SetWeather(340, 15, 1013);
    Depart("KSEA");
    ASSERT_STREQ(record.departureRunwayName, "34R");
    CreateChooseRunwayControl(&record, 1);
    EXPECT_EQ(gIsCopiing, 1);
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"Automatic", "Runway 16L", "Runway 34R", "Runway 16C", "Runway 34C",
                                                   "Runway 16R", "Runway 34L"}));
    Click("Runway 16C");
    EXPECT_STREQ(record.departureRunwayName, "16C");
    EXPECT_EQ(record.preferredDepRunway, 3);
    EXPECT_EQ(gIsCopiing, 0);
    SetMatchingRunway(&record, 1); // a later automatic re-selection keeps the pilot's runway
    EXPECT_STREQ(record.departureRunwayName, "16C");

    CreateChooseRunwayControl(&record, 1);
    Click("Automatic");
    EXPECT_EQ(record.preferredDepRunway, 0);
    EXPECT_STREQ(record.departureRunwayName, "34R");

    CreateChooseRunwayControl(&record, 1);
    Click("Runway 34L");
    CreateChooseRunwayControl(&record, 1);
    ASSERT_TRUE(simhost::PressCloseBox(ControlChooseRwyWin));
    EXPECT_EQ(ControlChooseRwyWin, nullptr);
    EXPECT_EQ(record.preferredDepRunway, 0);
    EXPECT_STREQ(record.departureRunwayName, "34R");

    CreateChooseRunwayControl(&record, 1);
    Click("Runway 16R");
    Depart("KBFI"); // the flight is filed again from Boeing Field
    EXPECT_EQ(record.preferredDepRunway, 0);
    EXPECT_STREQ(record.departureRunwayName, "31R");
    record.preferredDepRunway = 5; // past Boeing Field's four ends: automatic
    record.preferredDepRunwayAirport = "KBFI";
    SetMatchingRunway(&record, 1);
    EXPECT_STREQ(record.departureRunwayName, "31R");
    EXPECT_EQ(record.preferredDepRunway, 0);

    record.arrAirportICAO = "KPDX";
    CreateChooseRunwayControl(&record, 0);
    EXPECT_EQ(Buttons().size(), 7u);
    Click("Runway 21");
    EXPECT_EQ(record.preferredArrRunway, 6);
    EXPECT_STREQ(record.arrivalRunwayStruct.name, "21");
    EXPECT_STREQ(record.departureRunwayName, "31R");
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(RunwaySelection, ChooseRunwayWindowTwentyButtonsAtMostAndTheWindowHoldsThem)
{
    std::string rows = "1 100 1 0 ZBIG Many runways\n";
    for (int i = 0; i < 11; i++)
        rows += RunwayRow((std::to_string(i + 1 + 100) + "L").substr(1).c_str(), 47.0 + 0.01 * i, -122.0, 0, 0,
                          (std::to_string(i + 19) + "R").c_str(), 47.005 + 0.01 * i, -122.0);
    parseSingleAptDat(HostFile("big.dat", AptText(rows)));
    record.arrAirportICAO = "ZBIG";
    CreateChooseRunwayControl(&record, 0);
    std::vector<std::string> labels = Buttons();
    ASSERT_EQ(labels.size(), 21u); // "Automatic" and the first 20 of 22 ends
    EXPECT_EQ(labels.back(), "Runway 28R");
    EXPECT_NE(ChooseRwyBtn[CHOOSE_RWY_BUTTONS - 1], nullptr);
    Click("Runway 28R");
    EXPECT_EQ(record.preferredArrRunway, 20);
    EXPECT_STREQ(record.arrivalRunwayStruct.name, "28R");

    record.arrAirportICAO = "ZNONE"; // not in the index: only "Automatic"
    CreateChooseRunwayControl(&record, 0);
    EXPECT_EQ(Buttons(), std::vector<std::string>{"Automatic"});
    Click("Automatic");
}

} // namespace
