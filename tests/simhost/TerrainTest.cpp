// simhost's terrain: the sample grid, the local frame, the Y probe with its misuses, and the aircraft on the
// ground following the terrain.
#include <cmath>

#include "XPLMGraphics.h"
#include "XPLMScenery.h"
#include "support/PluginHost.h"

namespace {

const double kFeetToMetres = 0.3048;

class TerrainTest : public HostTest {
  protected:
    void LoadSampleTerrain() { ASSERT_TRUE(simhost::LoadTerrain(VELLOMIR_SOURCE_DIR "/data/sample/terrain.dem")); }
    /// Probes (lat, lon) in the local frame: the hit's altitude (m), checked against the ground where the Y
    /// line met it (beside the point by the tilt of the frame's Y axis there); NAN when not a hit.
    static double ProbeAltitude(XPLMProbeRef probe, double lat, double lon)
    {
        double x, y, z;
        XPLMWorldToLocal(lat, lon, 1000.0, &x, &y, &z);
        XPLMProbeInfo_t info;
        info.structSize = sizeof info;
        if (XPLMProbeTerrainXYZ(probe, (float)x, (float)y, (float)z, &info) != xplm_ProbeHitTerrain)
            return NAN;
        double hitLat, hitLon, alt;
        XPLMLocalToWorld(info.locationX, info.locationY, info.locationZ, &hitLat, &hitLon, &alt);
        EXPECT_NEAR(hitLat, lat, 2e-3);
        EXPECT_NEAR(hitLon, lon, 2e-3);
        EXPECT_NEAR(alt, simhost::TerrainElevation(hitLat, hitLon), 0.05) << lat << " " << lon;
        return alt;
    }
};

TEST_F(TerrainTest, SampleGridHasTheRegionsGroundWithItsAirportsFlat)
{
    LoadSampleTerrain();
    const struct {
        const char *what;
        double lat, lon, metres, tolerance;
    } rows[] = {
        {"KSEA runway 16L, apt.dat 433 ft", 47.4638, -122.3079, 433 * kFeetToMetres, 0.6},
        {"KSEA gate A1", 47.4430, -122.3022, 433 * kFeetToMetres, 0.6},
        {"KPDX, apt.dat 31 ft", 45.5887, -122.5975, 31 * kFeetToMetres, 0.6},
        {"KGEG, apt.dat 2376 ft", 47.6199, -117.5338, 2376 * kFeetToMetres, 0.6},
        {"Mount Rainier's summit, bilinear", 46.8529, -121.7604, 3800, 150},
        {"the Pacific", 47.0, -124.9, 0, 0},
        {"outside the grid", 40.0, -122.0, 0, 0},
    };
    for (const auto &row : rows)
        EXPECT_NEAR(simhost::TerrainElevation(row.lat, row.lon), row.metres, row.tolerance) << row.what;
    EXPECT_FALSE(simhost::LoadTerrain(VELLOMIR_SOURCE_DIR "/data/sample/apt.dat"));
    EXPECT_NE(simhost::LastError().find("VELLOMIR-DEM 2"), std::string::npos);
    EXPECT_NEAR(simhost::TerrainElevation(46.8529, -121.7604), 3800, 150); // the grid is kept
}

TEST_F(TerrainTest, LocalFrameIsMetresEastUpSouthAndMovesWithTheOrigin)
{
    simhost::SetLocalOrigin(47.0, -122.0);
    double x, y, z, lat, lon, alt;
    XPLMWorldToLocal(47.0, -122.0, 0, &x, &y, &z);
    EXPECT_NEAR(std::hypot(x, std::hypot(y, z)), 0, 1e-6);
    XPLMWorldToLocal(47.0 + 1000.0 / 111195.0, -122.0, 250.0, &x, &y, &z); // 1 km north, 250 m up
    EXPECT_NEAR(x, 0, 0.01);
    EXPECT_NEAR(y, 250, 0.2);
    EXPECT_NEAR(z, -1000, 1);
    XPLMLocalToWorld(30000, -50, 40000, &lat, &lon, &alt);
    EXPECT_TRUE(lat < 47.0 && lon > -122.0);
    EXPECT_GT(alt, -50); // the Earth curves away below the frame's horizontal plane

    // Flying 100 km away moves the frame between frames.
    simhost::PlaceAircraft(47.0, -122.0, 3000, 90, false);
    simhost::FlyTowards(90, 9842, 600);
    simhost::RunSeconds(600);
    const simhost::AircraftState a = simhost::Aircraft();
    XPLMWorldToLocal(a.lat, a.lon, 0, &x, &y, &z);
    EXPECT_LT(std::hypot(x, z), 100000);
    EXPECT_GT(a.lon, -122.0 + 100000.0 / 75800.0);
}

TEST_F(TerrainTest, ProbeFindsTheGroundInTheLoadedAreaAndSeaLevelBeyond)
{
    LoadSampleTerrain();
    simhost::AddTerrainPeak(47.2, -122.0, 1000, 1.0);
    simhost::PlaceAircraft(47.45, -122.31, 1000, 180, false);
    XPLMProbeRef probe = XPLMCreateProbe(xplm_ProbeY);
    const struct {
        double lat, lon;
    } points[] = {{47.4638, -122.3079}, {46.8529, -121.7604}, {47.2, -122.0}, {47.6, -121.2}};
    for (const auto &p : points)
        EXPECT_NEAR(ProbeAltitude(probe, p.lat, p.lon), simhost::TerrainElevation(p.lat, p.lon), 15) << p.lat;
    // Spokane's 2376 ft field lies 200 km away: outside the loaded scenery the probe hits sea level.
    double x, y, z, lat, lon, alt;
    XPLMWorldToLocal(47.6199, -117.5338, 0, &x, &y, &z);
    XPLMProbeInfo_t hit;
    hit.structSize = sizeof hit;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, (float)x, (float)y, (float)z, &hit), xplm_ProbeHitTerrain);
    XPLMLocalToWorld(hit.locationX, hit.locationY, hit.locationZ, &lat, &lon, &alt);
    EXPECT_NEAR(alt, 0, 0.05);
    EXPECT_EQ(simhost::TerrainProbeStats().probes, 5);

    XPLMProbeInfo_t info;
    info.structSize = 40;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, 0, 0, 0, &info), xplm_ProbeError);
    XPLMDestroyProbe(probe);
    info.structSize = sizeof info;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, 0, 0, 0, &info), xplm_ProbeError);
    XPLMDestroyProbe(probe);
    const std::vector<std::string> errors = simhost::HostErrors();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_NE(errors[0].find("probe info size 40"), std::string::npos);
    EXPECT_NE(errors[1].find("was destroyed"), std::string::npos);
    simhost::ClearHostErrors();
    EXPECT_EQ(simhost::TerrainProbeStats().alive, 0);
}

TEST_F(TerrainTest, ProbeLeftAliveWhenThePluginStopsIsReported)
{
    ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
    XPLMCreateProbe(xplm_ProbeY); // as if the plug-in had forgotten it
    simhost::UnloadPlugin();
    const std::vector<std::string> errors = simhost::HostErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("1 terrain probe(s) not destroyed"), std::string::npos);
    simhost::ClearHostErrors();
}

TEST_F(TerrainTest, AircraftRollsOverTheTerrainAndCannotSinkIntoIt)
{
    simhost::SetFlatTerrain(100);
    simhost::AddTerrainPeak(47.0, -121.95, 50, 2.0); // a 50 m hill 2 nm east
    simhost::PlaceAircraft(47.0, -122.0, 100, 90, true);
    simhost::FlyTowards(90, 328, 20); // taxiing east at the level it started at
    for (int i = 0; i < 60; i++) {
        simhost::RunSeconds(10);
        const simhost::AircraftState a = simhost::Aircraft();
        ASSERT_TRUE(a.onGround) << i;
        ASSERT_NEAR(a.elevation_m, simhost::TerrainElevation(a.lat, a.lon), 1e-6) << i;
        ASSERT_EQ(simhost::GetInt("sim/flightmodel/failures/onground_any"), 1);
    }
    EXPECT_GT(simhost::Aircraft().lon, -121.95); // over the hill and down the other side

    simhost::PlaceAircraft(47.0, -122.1, 400, 90, false);
    simhost::FlyTowards(90, 0, 200, 3000); // into the ground
    simhost::RunSeconds(120);
    EXPECT_NEAR(simhost::Aircraft().elevation_m, simhost::TerrainElevation(simhost::Aircraft().lat, simhost::Aircraft().lon), 1e-6);
}

} // namespace
