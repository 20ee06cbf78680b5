// The highest terrain along the route still to fly, found with simhost's probe over the sample grid and
// over synthetic peaks: on the true track, a bounded number of probes per frame, none left alive.
#include <algorithm>
#include <cmath>
#include <memory>

#include "monitor/Terrain.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace {

const double kMetresToFeet = 3.280839895;

class TerrainClearanceTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        CalcolaAltezzaOstacoli_Reset();
        r = std::make_unique<pilot>();
        r->variazioneMagnetica = -15.4f; // Seattle's: a magnetic bearing taken for a true one is 15 degrees off
    }
    void Route(std::initializer_list<std::pair<double, double>> points, int active)
    {
        r->flightPlanVec.clear();
        int n = 0;
        for (const auto &p : points)
            r->AddToFlightPlan((float)p.first, (float)p.second, ("WP" + std::to_string(n++)).c_str(), 2, 0, 100, 0);
        r->gActualFlightPlanIndex = active;
    }
    void Aircraft(double lat, double lon)
    {
        r->latitudine = lat;
        r->longitudine = lon;
        simhost::PlaceAircraft(lat, lon, 6000, 0, false);
    }
    /// Runs the scan to its end, a frame between shares, as the monitor does.
    int Scan(float step, int *frames = nullptr)
    {
        int found = CalcolaAltezzaOstacoliPercorso(r.get(), step);
        int count = 1;
        while (CalcolaAltezzaOstacoli_InCorso() && count < 1000) {
            simhost::RunFrame();
            CalcolaAltezzaOstacoli_Continua(r.get());
            found = r->ostacoloMassimoFt;
            count++;
        }
        if (frames != nullptr)
            *frames = count;
        return found;
    }
    /// The ground's own maximum (ft) on the straight line between two points, sampled every few metres.
    static double TrackMaximum(double lat1, double lon1, double lat2, double lon2)
    {
        double highest = 0;
        for (int i = 0; i <= 20000; i++)
            highest = std::max(highest, simhost::TerrainElevation(lat1 + (lat2 - lat1) * i / 20000.0,
                                                                  lon1 + (lon2 - lon1) * i / 20000.0));
        return highest * kMetresToFeet;
    }
    std::unique_ptr<pilot> r;
};

TEST_F(TerrainClearanceTest, LegOverMountRainierFindsTheSummitOnTheTrueTrack)
{
    ASSERT_TRUE(simhost::LoadTerrain(VELLOMIR_SOURCE_DIR "/data/sample/terrain.dem"));
    // South-east across the summit (46.8529 N, 121.7604 W) from a waypoint north-west of it.
    Route({{47.30, -122.30}, {47.1029, -121.9604}, {46.6029, -121.5604}}, 1);
    Aircraft(47.20, -122.10);
    const double expected = TrackMaximum(47.1029, -121.9604, 46.6029, -121.5604);
    EXPECT_GT(expected, 12000); // the grid's Rainier, not the foothills
    for (float step : {0.15f, 0.25f}) {
        const int found = Scan(step);
        EXPECT_LE(found, expected + 1) << step;
        EXPECT_GE(found, expected - 250) << step; // within the sampling of a cell's slope
    }
    EXPECT_EQ(simhost::TerrainProbeStats().alive, 0);
}

TEST_F(TerrainClearanceTest, PeakBesideTheLegIsFoundOnlyWhenCloseToIt)
{
    simhost::SetFlatTerrain(0);
    const struct {
        double offset_nm;
        bool found;
    } rows[] = {{0.4, true}, {-0.4, true}, {5.0, false}};
    for (const auto &row : rows) {
        simhost::ClearTerrainPeaks();
        simhost::AddTerrainPeak(47.0 + row.offset_nm / 60.0, -121.5, 1000, 1.0);
        Route({{47.0, -122.0}, {47.0, -121.0}}, 1);
        Aircraft(47.0, -122.0);
        const double expected = TrackMaximum(47.0, -122.0, 47.0, -121.0);
        const int found = Scan(0.15f);
        if (row.found) {
            EXPECT_GT(expected, 2000) << row.offset_nm;
            EXPECT_NEAR(found, expected, 60) << row.offset_nm;
        } else {
            EXPECT_EQ(found, 0) << row.offset_nm;
        }
    }
}

TEST_F(TerrainClearanceTest, LongRouteIsScannedOverFramesWithBoundedProbes)
{
    // 2,000 nm north along a meridian over a 300 m plateau, a 1,500 m peak at 60 nm from the start.
    simhost::SetFlatTerrain(300);
    simhost::AddTerrainPeak(11.0, -30.0, 1200, 1.0);
    Route({{10.0, -30.0}, {20.0, -30.0}, {30.0, -30.0}, {43.33, -30.0}}, 0);
    Aircraft(9.99, -30.0);
    int frames = 0;
    const int found = Scan(0.15f, &frames);
    EXPECT_NEAR(found, 1500 * kMetresToFeet, 30);
    const simhost::ProbeStats stats = simhost::TerrainProbeStats();
    EXPECT_GT(frames, 1);
    EXPECT_LE(stats.maxProbesInFrame, TERRAIN_PROBES_PER_FRAME);
    EXPECT_LT(stats.probes, 1200); // only the scenery in reach of the aircraft is probed
    EXPECT_EQ(stats.alive, 0);
    EXPECT_EQ(stats.created, stats.destroyed);

    // Back 150 nm, the peak is out of reach: its height is kept, not replaced by the sea-level answer.
    r->ostacoloMassimoFt = 0;
    Aircraft(7.5, -30.0);
    EXPECT_EQ(Scan(0.15f), found);

    // A new flight forgets it.
    CalcolaAltezzaOstacoli_Reset();
    EXPECT_EQ(Scan(0.15f), (int)(300 * kMetresToFeet));
}

TEST_F(TerrainClearanceTest, MissesAndBadPointsNeverBecomeHeights)
{
    simhost::SetFlatTerrain(500);
    Aircraft(47.0, -122.1);
    EXPECT_TRUE(std::isnan(CalcolaGroundElevation(NAN, NAN)));
    EXPECT_NEAR(CalcolaGroundElevation(47.0f, -122.0f), 500 * kMetresToFeet, 0.5);
    Route({{47.0, -122.0}, {NAN, -121.9}, {47.0, -121.8}}, 0);
    Aircraft(47.0, -122.1);
    EXPECT_EQ(Scan(0.15f), (int)(500 * kMetresToFeet));
    Route({{47.0, -122.0}}, 0);
    EXPECT_EQ(Scan(0.15f), 0); // a single waypoint has no leg to compare
    Route({{47.0, -122.0}, {47.0, -121.8}}, 5); // every waypoint flown
    EXPECT_EQ(Scan(0.15f), 0);
    EXPECT_EQ(simhost::TerrainProbeStats().alive, 0);
}

} // namespace
