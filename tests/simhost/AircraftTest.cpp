// simhost's aircraft: it flies where it is told and the simulator datarefs follow it.
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

    // Heading east at 60 kt for a minute covers one nautical mile of longitude, scaled by latitude.
    simhost::PlaceAircraft(0.0, 179.99, 1000.0, 90.0f, false);
    simhost::FlyTowards(90.0f, 3280.84f, 600.0f);
    simhost::RunSeconds(600.0f);
    EXPECT_LT(simhost::Aircraft().lon, 0.0); // wrapped across the date line
    EXPECT_GE(simhost::Aircraft().lon, -180.0);
}

TEST_F(AircraftTest, ComOneUnitsAndTheClockStayInStep)
{
    simhost::TuneCom1(121.825);
    EXPECT_EQ(simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 121825);
    EXPECT_EQ(simhost::GetInt("sim/cockpit/radios/com1_freq_hz"), 12182);
    simhost::SetInt("sim/cockpit/radios/com1_freq_hz", 11830);
    EXPECT_EQ(simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 118300);

    float start = simhost::GetFloat("sim/time/local_time_sec");
    simhost::RunSeconds(10.0f);
    EXPECT_NEAR(simhost::GetFloat("sim/time/local_time_sec") - start, 10.0f, 0.05f);
    simhost::SetInt("sim/time/paused", 1);
    simhost::RunSeconds(10.0f);
    EXPECT_NEAR(simhost::GetFloat("sim/time/local_time_sec") - start, 10.0f, 0.05f);

    simhost::SetWeather(250.0f, 15.0f, 1013.25f);
    EXPECT_NEAR(simhost::GetFloat("sim/weather/barometer_sealevel_inhg"), 29.92f, 0.01f);
    EXPECT_NEAR(simhost::GetFloat("sim/weather/aircraft/qnh_pas"), 101325.0f, 1.0f);
}

} // namespace
