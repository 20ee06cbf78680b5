// simhost's aircraft: it flies where it is told, stands on the scenery's parking positions, and the
// simulator datarefs follow it.
#include "XPLMNavigation.h"
#include "support/PluginHost.h"

namespace {

class AircraftTest : public HostTest {};

TEST_F(AircraftTest, FliesTowardsTheCommandedHeadingAltitudeAndSpeed)
{
    simhost::PlaceAircraft(47.45, -122.31, 130.0, 160.0f, true);
    EXPECT_EQ(simhost::GetInt("sim/flightmodel/failures/onground_any"), 1);
    simhost::FlyTowards(90.0f, 5000.0f, 250.0f);
    simhost::RunSeconds(200.0f); // 4574 ft to climb at 1800 ft/min
    simhost::AircraftState a = simhost::Aircraft();
    EXPECT_NEAR(a.headingTrue_deg, 90.0f, 0.01f);
    EXPECT_NEAR(a.speed_kt, 250.0f, 0.01f);
    EXPECT_NEAR(a.elevation_m * 3.28084, 5000.0, 5.0);
    EXPECT_FALSE(a.onGround);
    EXPECT_EQ(simhost::GetInt("sim/flightmodel/failures/onground_any"), 0);
    EXPECT_NEAR(simhost::GetDouble("sim/flightmodel/position/longitude"), a.lon, 1e-9);
    EXPECT_GT(a.lon, -122.31 + 0.05); // it went east
    EXPECT_NEAR(simhost::GetFloat("sim/flightmodel/position/groundspeed"), 250.0f * 0.514444f, 0.01f);

    simhost::PlaceAircraft(0.0, 179.99, 1000.0, 90.0f, false);
    simhost::FlyTowards(90.0f, 3280.84f, 600.0f);
    simhost::RunSeconds(600.0f);
    EXPECT_LT(simhost::Aircraft().lon, 0.0); // wrapped across the date line
    EXPECT_GE(simhost::Aircraft().lon, -180.0);
}

TEST_F(AircraftTest, TheFmsAutopilotHoldsTheAltimetersAltitudeInColdAir)
{
    // X-Plane 12's altimeter reads high in air colder than standard; its autopilot flies the altimeter.
    for (int version : {11500, 12000}) {
        ResetHost(version);
        simhost::SetWeather(0, 0, 1013.25f, -15);
        simhost::PlaceAircraft(47.0, -122.0, 3000.0, 180.0f, false);
        XPLMSetFMSEntryLatLon(0, 45.0f, -122.0f, 16000);
        XPLMSetDestinationFMSEntry(0);
        simhost::FlyFms(16000, 250);
        simhost::RunSeconds(600);
        const double true_ft = simhost::Aircraft().elevation_m * 3.28084;
        const double error_ft = version >= 12000 ? simhost::GetFloat("sim/weather/aircraft/altimeter_temperature_error") : 0;
        EXPECT_NEAR(true_ft + error_ft, 16000, 30) << version;
        if (version >= 12000) {
            EXPECT_GT(error_ft, 700) << "about 5% of the height at ISA-15";
        }
    }
}

TEST_F(AircraftTest, ComOneUnitsAndThePausedClockStayInStep)
{
    simhost::SetInt("sim/cockpit/radios/com1_freq_hz", 11830); // tens of kHz into kHz
    EXPECT_EQ(simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 118300);
    float start = simhost::GetFloat("sim/time/local_time_sec");
    simhost::RunSeconds(10.0f);
    EXPECT_NEAR(simhost::GetFloat("sim/time/local_time_sec") - start, 10.0f, 0.05f);
    simhost::SetInt("sim/time/paused", 1);
    simhost::RunSeconds(10.0f);
    EXPECT_NEAR(simhost::GetFloat("sim/time/local_time_sec") - start, 10.0f, 0.05f);
}

TEST_F(AircraftTest, StandsStillOnAGateOrLegacyRampAndACustomAirportReplacesTheGlobalOne)
{
    ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("apt/pnw.apt.dat")));
    std::vector<simhost::ParkingPosition> ksea = simhost::ParkingPositions("KSEA");
    ASSERT_EQ(ksea.size(), 87u);
    EXPECT_EQ(ksea[0].name, "Exit North Ramp"); // the row 15 positions come first in the file
    EXPECT_EQ(ksea[0].kind, "legacy");
    EXPECT_TRUE(simhost::PlaceAtParking("KSEA", "GA Ramp (Weyerhauser 2)")); // names keep their blanks
    EXPECT_FALSE(simhost::PlaceAtParking("CYXX", "A1"));                     // each airport its own

    simhost::FlyTowards(90, 3000, 200);
    ASSERT_TRUE(simhost::PlaceAtParking("KSEA", "a1")); // the case of the name does not matter
    simhost::RunSeconds(1);
    simhost::AircraftState a = simhost::Aircraft();
    EXPECT_NEAR(a.lat, 47.44221033, 1e-9);
    EXPECT_NEAR(a.lon, -122.30213657, 1e-9);
    EXPECT_NEAR(a.headingTrue_deg, 45.40f, 1e-4);
    EXPECT_TRUE(a.onGround && a.speed_kt == 0.0f);
    EXPECT_NEAR(simhost::GetDouble("sim/flightmodel/position/elevation"), 433 * 0.3048, 0.01);
    EXPECT_FALSE(simhost::PlaceAtParking("KSEA", "Z99"));

    // Bad input: a row without a position or a name is reported and skipped.
    simhost::WriteFile("Custom Scenery/KSEA Better/Earth nav data/apt.dat",
                       "I\n1100 Version\n\n1 433 1 0 KSEA Seattle Tacoma Intl\n"
                       "100 46 1 0 0.25 0 0 0 16L 47.4638 -122.3077 0 0 0 0 0 0 34R 47.4312 -122.3080 0 0 0 0 0 0\n"
                       "1300 47.4400 -122.3000 90.0 gate jets Z1\n"
                       "1300 north -122.3000 90.0 gate jets Z2\n"
                       "1300 47.4401 -122.3001 90.0 gate jets\n"
                       "99\n");
    ksea = simhost::ParkingPositions("KSEA");
    ASSERT_EQ(ksea.size(), 1u);
    EXPECT_EQ(ksea[0].name, "Z1");
    simhost::NavDatabaseInfo info = simhost::NavDatabaseStatus();
    ASSERT_EQ(info.warnings.size(), 2u);
    EXPECT_NE(info.warnings[0].find("apt.dat:7: startup location needs a position, a heading and a name"),
              std::string::npos);
    EXPECT_NE(info.warnings[1].find("apt.dat:8: "), std::string::npos);
}

} // namespace
