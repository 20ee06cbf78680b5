// The parking positions simhost reads from the scenery's apt.dat, and the aircraft placed on them.
#include "support/PluginHost.h"

namespace {

class ParkingTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("apt/pnw.apt.dat")));
    }
    static const simhost::ParkingPosition *Named(const std::vector<simhost::ParkingPosition> &all,
                                                 const std::string &name)
    {
        for (const simhost::ParkingPosition &p : all)
            if (p.name == name)
                return &p;
        return nullptr;
    }
};

TEST_F(ParkingTest, AircraftStandsStillOnAGateOrLegacyRampOfTheAirport)
{
    std::vector<simhost::ParkingPosition> ksea = simhost::ParkingPositions("KSEA");
    ASSERT_EQ(ksea.size(), 87u);
    EXPECT_EQ(ksea[0].name, "Exit North Ramp"); // the row 15 positions come first in the file
    EXPECT_EQ(ksea[0].kind, "legacy");
    EXPECT_NE(Named(ksea, "GA Ramp (Weyerhauser 2)"), nullptr); // names keep their blanks
    EXPECT_EQ(Named(simhost::ParkingPositions("CYXX"), "A1"), nullptr); // each airport its own

    simhost::FlyTowards(90, 3000, 200);
    ASSERT_TRUE(simhost::PlaceAtParking("KSEA", "a1")); // the case of the name does not matter
    simhost::RunSeconds(1);
    simhost::AircraftState a = simhost::Aircraft();
    EXPECT_NEAR(a.lat, 47.44221033, 1e-9);
    EXPECT_NEAR(a.lon, -122.30213657, 1e-9);
    EXPECT_NEAR(a.headingTrue_deg, 45.40f, 1e-4);
    EXPECT_TRUE(a.onGround);
    EXPECT_EQ(a.speed_kt, 0.0f);
    EXPECT_NEAR(simhost::GetDouble("sim/flightmodel/position/elevation"), 433 * 0.3048, 0.01);
    EXPECT_FALSE(simhost::PlaceAtParking("KSEA", "Z99"));
    EXPECT_FALSE(simhost::PlaceAtParking("XXXX", "A1"));
}

TEST_F(ParkingTest, CustomSceneryAirportReplacesTheGlobalOneAndBadRowsAreReported)
{
    simhost::WriteFile("Custom Scenery/KSEA Better/Earth nav data/apt.dat",
                       "I\n1100 Version\n\n1 433 1 0 KSEA Seattle Tacoma Intl\n"
                       "100 46 1 0 0.25 0 0 0 16L 47.4638 -122.3077 0 0 0 0 0 0 34R 47.4312 -122.3080 0 0 0 0 0 0\n"
                       "1300 47.4400 -122.3000 90.0 gate jets Z1\n"
                       "1300 north -122.3000 90.0 gate jets Z2\n"
                       "1300 47.4401 -122.3001 90.0 gate jets\n"
                       "99\n");
    std::vector<simhost::ParkingPosition> ksea = simhost::ParkingPositions("KSEA");
    ASSERT_EQ(ksea.size(), 1u);
    EXPECT_EQ(ksea[0].name, "Z1");
    simhost::NavDatabaseInfo info = simhost::NavDatabaseStatus();
    EXPECT_EQ(info.warningCount, 2);
    ASSERT_EQ(info.warnings.size(), 2u);
    EXPECT_NE(info.warnings[0].find("apt.dat:7: startup location needs a position, a heading and a name"),
              std::string::npos);
    EXPECT_NE(info.warnings[1].find("apt.dat:8: "), std::string::npos);
}

} // namespace
