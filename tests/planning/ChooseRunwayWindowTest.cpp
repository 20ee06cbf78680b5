// The choose-runway window: every button inside it and clickable, the pilot's choice kept until
// "Automatic", the close box or another airport; and the wind datarefs the loaded plug-in binds.
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "navdata/AptFiles.h"
#include "planning/ChooseRunwayWindow.h"
#include "planning/RunwaySelection.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace
{

class ChooseRunwayWindow : public HostTest
{
  protected:
    pilot record;
    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("runways/apt.dat")));
        ClearSceneryIndex();
        parseSingleAptDat(simhost::SystemPath() + simhost::GlobalAptDatPath(12000));
        simhost::SetWeather(340, 15, 1013);
    }
    void Depart(const std::string &icao)
    {
        record.depAirportICAO = icao;
        record.parser = Parser();
        record.parser.readAptDat(icao, IcaoMap[icao].ICAOfilePath, IcaoMap[icao].readOffset, 0);
        SetMatchingRunway(&record, 1);
    }
    /// The open window's buttons, each checked to lie inside the window, in creation order.
    std::vector<std::string> Buttons()
    {
        void *window = simhost::FindWindowByTitle("Choose runway");
        EXPECT_EQ(window, ControlChooseRwyWin);
        int left, top, right, bottom;
        XPGetWidgetGeometry(ControlChooseRwyWin, &left, &top, &right, &bottom);
        std::vector<std::string> labels;
        for (int n = 0; void *button = simhost::NthWidgetOfClass(window, xpWidgetClass_Button, n); n++) {
            int l, t, r, b;
            XPGetWidgetGeometry((XPWidgetID)button, &l, &t, &r, &b);
            EXPECT_TRUE(l >= left && r <= right && t <= top && b >= bottom) << simhost::WidgetText(button);
            labels.push_back(simhost::WidgetText(button));
        }
        return labels;
    }
    void Click(const std::string &label)
    {
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(ControlChooseRwyWin, label)));
        EXPECT_EQ(ControlChooseRwyWin, nullptr); // every button closes the window
    }
};

TEST_F(ChooseRunwayWindow, PilotsChoiceHoldsUntilAutomaticOrAnotherAirport)
{
    Depart("KSEA");
    ASSERT_STREQ(record.departureRunwayName, "34R"); // wind from 340
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
    record.preferredDepRunway = 1;
    record.ResetFlight(); // a new flight forgets both choices
    EXPECT_EQ(record.preferredDepRunway, 0);
    EXPECT_EQ(record.preferredArrRunway, 0);
}

TEST_F(ChooseRunwayWindow, TwentyButtonsAtMostAndTheWindowHoldsThem)
{
    std::string rows = "1 100 1 0 ZBIG Many runways\n";
    for (int i = 0; i < 11; i++) {
        char end1[8], end2[8];
        snprintf(end1, sizeof end1, "%02dL", i + 1);
        snprintf(end2, sizeof end2, "%02dR", i + 19);
        rows += RunwayRow(end1, 47.0 + 0.01 * i, -122.0, 0, 0, end2, 47.005 + 0.01 * i, -122.0);
    }
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

class WindDataRefs : public PluginTest
{
};

TEST_F(WindDataRefs, EachVersionBindsItsOwnWind)
{
    const std::vector<std::string> xp11 = {"sim/weather/wind_direction_degt[0]", "sim/weather/wind_speed_kt[0]"};
    const std::vector<std::string> xp12 = {"sim/weather/aircraft/wind_now_direction_degt",
                                           "sim/cockpit2/gauges/indicators/wind_speed_kts"};
    for (int version : {11000, 12000}) {
        SCOPED_TRACE(version);
        ResetHost(version);
        ASSERT_TRUE(Load(version));
        for (const std::string &name : xp11)
            EXPECT_EQ(simhost::FindCount(name) > 0, version < 12000) << name;
        for (const std::string &name : xp12)
            EXPECT_EQ(simhost::FindCount(name) > 0, version >= 12000) << name;
        EXPECT_EQ(simhost::FindCount("sim/weather/region/wind_direction_degt[0]"), 0);
        simhost::UnloadPlugin();
    }
}

} // namespace
