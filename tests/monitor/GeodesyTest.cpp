// Distances, bearings, the wind correction, the angle helpers, the point projection and the remaining route
// distance, checked against independent great-circle figures.
#include <cmath>

#include "monitor/Functions.h"
#include "support/PluginHost.h"

namespace {

const double kEarthRadius_nm = 3440.065;
const double kRad = 3.141592653589793 / 180.0;

double Haversine_nm(double lat1, double lon1, double lat2, double lon2)
{
    double a = std::pow(std::sin((lat2 - lat1) * kRad / 2), 2) +
               std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::pow(std::sin((lon2 - lon1) * kRad / 2), 2);
    return 2 * kEarthRadius_nm * std::asin(std::sqrt(a));
}

double InitialBearing(double lat1, double lon1, double lat2, double lon2)
{
    double y = std::sin((lon2 - lon1) * kRad) * std::cos(lat2 * kRad);
    double x = std::cos(lat1 * kRad) * std::sin(lat2 * kRad) -
               std::sin(lat1 * kRad) * std::cos(lat2 * kRad) * std::cos((lon2 - lon1) * kRad);
    return std::fmod(std::atan2(y, x) / kRad + 360.0, 360.0);
}

distanceToCoord Measure(double lat1, double lon1, double lat2, double lon2, pilot *p)
{
    distanceToCoord d = {0, -1, 0};
    CalcolaDistanzaCoordinataMini(lat1, lon1, lat2, lon2, &d, p);
    return d;
}

class GeodesyTest : public HostTest {
  protected:
    pilot record;
};

TEST_F(GeodesyTest, DistancesWithinOnePercentOfTheGreatCircleAndBearingsMagnetic)
{
    struct Pair {
        const char *name;
        double lat1, lon1, lat2, lon2;
        float heading; ///< the expected bearing, or -1: within 1.5 degrees of the great circle's initial one
    };
    const Pair pairs[] = {
        {"one degree south", 46.0, -100.0, 45.0, -100.0, 180},
        {"Seattle-Portland", 47.4490, -122.3093, 45.5887, -122.5975, -1},
        {"Heathrow-Charles de Gaulle", 51.4700, -0.4543, 49.0097, 2.5479, -1},
        {"Zurich-Geneva", 47.4647, 8.5492, 46.2381, 6.1090, -1},
        {"Sydney-Canberra", -33.9461, 151.1772, -35.3069, 149.1950, -1},
        {"Guarulhos-Santos Dumont", -23.4356, -46.4731, -22.9105, -43.1631, -1},
        {"Suva-Taveuni across 180", -18.0433, 178.5592, -16.6906, -179.8769, -1},
        {"a mile east across 180", 60.0, 179.99, 60.0, -179.99, 90},
        {"a mile west across 180", 60.0, -179.99, 60.0, 179.99, 270},
    };
    for (const Pair &p : pairs) {
        SCOPED_TRACE(p.name);
        double reference = Haversine_nm(p.lat1, p.lon1, p.lat2, p.lon2);
        distanceToCoord d = Measure(p.lat1, p.lon1, p.lat2, p.lon2, &record);
        EXPECT_NEAR(d.distance, reference, std::fmax(reference * 0.01, 0.01));
        // The flat earth gives the mid-course bearing; the great circle's initial one differs by half the
        // meridian convergence, about a degree at these ranges.
        if (p.heading >= 0) {
            EXPECT_NEAR(d.heading, p.heading, 1e-3);
        } else {
            EXPECT_LT(GetHeadingDifference(d.heading, (float)InitialBearing(p.lat1, p.lon1, p.lat2, p.lon2)), 1.5f);
        }
    }
    distanceToCoord same = Measure(47.5, -122.3, 47.5, -122.3, &record);
    EXPECT_EQ(same.distance, 0.0f);
    EXPECT_TRUE(std::isfinite(same.heading));

    record.variazioneMagnetica = -15.0f;
    EXPECT_NEAR(Measure(45.0, -99.0, 45.0, -100.0, &record).heading, 255.0f, 1e-3);
    record.variazioneMagnetica = 20.0f;
    EXPECT_NEAR(Measure(46.0, -100.0, 46.5, -100.05, &record).heading, 16.0f, 0.5f); // 356 + 20 wraps
}

TEST_F(GeodesyTest, CrossWindIsCorrectedIntoTheWindOnlyWhenItIsUsable)
{
    // Course north at 120 kt true airspeed (speed factor 2); the correction is wind x 60 / airspeed.
    const struct {
        const char *what;
        int windFrom, wind_kt, autopilot, option;
        float tas, variation, angle, heading, headingWCA;
        bool used;
    } rows[] = {
        {"20 kt from the east", 90, 20, 0, 1, 61.73333f, 0, 10, 0, 10, true},
        {"the autopilot flies", 90, 20, 528, 1, 61.73333f, 0, 10, 0, 0, false},
        {"the option off", 90, 20, 0, 0, 61.73333f, 0, 10, 0, 0, false},
        {"true wind, magnetic course 351: 361 becomes 1", 90, 20, 0, 1, 61.73333f, -9, 10, 351, 1, true},
        {"straight down the course", 0, 20, 0, 1, 61.73333f, 0, 0, 0, 0, false},
        {"20 degrees: not below the limit", 90, 40, 0, 1, 61.73333f, 0, 20, 0, 0, false},
        {"standing still: no division by zero", 90, 15, 0, 1, 0, 0, 0, 0, 0, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        pilot r;
        r.datiPilotaImpostati = 1;
        r.trueAirspeed = row.tas;
        r.windHeading = row.windFrom;
        r.velocitaVento = row.wind_kt;
        r.statoAutopilotaAdesso = row.autopilot;
        r.variazioneMagnetica = row.variation;
        r.headingAttuale = 30.0f;
        r.AddToFlightPlan(46.0f, -100.0f, "NORTH", 2, 512, 100, 0);
        distanceToCoord d = {0, -1, 0};
        CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, row.option, &r);
        EXPECT_NEAR(r.angoloDiCorrezioneVento, row.angle, 1e-3);
        EXPECT_EQ(r.usaHeadingWCA, row.used);
        EXPECT_LT(GetHeadingDifference(d.heading, row.heading), 1e-3);
        if (row.used) {
            EXPECT_LT(GetHeadingDifference(d.headingWCA, row.headingWCA), 1e-3);
        }
        if (&row == &rows[0]) { // for the display: the wind 60 degrees right of the nose
            EXPECT_EQ(r.dirVentoRelativa, 60);
        }
        if (row.tas == 0) {
            EXPECT_LT(GetHeadingDifference(d.headingWCA, d.heading), 1e-4);
        }
    }
    pilot parked; // not filled from the simulator: headingWCA keeps the caller's value
    distanceToCoord untouched = {0, -1, 0};
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &untouched, 1, &parked);
    EXPECT_EQ(untouched.headingWCA, -1.0f);
}

TEST(AngleHelpers, TurnsAndDifferencesAcrossNorth)
{
    EXPECT_FLOAT_EQ(GetHeadingDifference(350, 10), 20);
    EXPECT_FLOAT_EQ(calcolaDifferenzaTraAngoli(10, 190), 180);
    EXPECT_STREQ(GetLeftRightDirectionStringa(350, 10), "right");
    EXPECT_STREQ(GetLeftRightDirectionStringa(10, 350), "left");
    EXPECT_EQ(GetLeftRightDirection(90, 90), 1);   // equal below 180: left
    EXPECT_EQ(GetLeftRightDirection(200, 200), 2); // equal from 180 on: right
    EXPECT_FLOAT_EQ(invertiGradi(90), 270);
}

TEST_F(GeodesyTest, RemainingDistanceTruncatesAfterEveryLeg)
{
    record.latitudine = 45.0;
    record.longitudine = -100.0;
    const double leg_deg = 10.6 / 60.0;
    record.AddToFlightPlan((float)(45.0 + leg_deg), -100.0f, "ONE", 2, 512, 100, 0);
    record.AddToFlightPlan((float)(45.0 + 2 * leg_deg), -100.0f, "TWO", 2, 512, 100, 0);
    record.latDestinazione = (float)(45.0 + 3 * leg_deg);
    record.lonDestinazione = -100.0f;
    calcolaDistanzaRimanente(&record);
    EXPECT_EQ(record.distanzaDestinazioneTotale, 30); // 10 + 10 + 10, not 31.8

    record.gActualFlightPlanIndex = 1; // the last waypoint is the active one
    calcolaDistanzaRimanente(&record);
    EXPECT_EQ(record.distanzaDestinazioneTotale, 31); // (int)21.2 = 21, then (int)(21 + 10.6)

    record.gActualFlightPlanIndex = 2; // past the last waypoint: the way to the destination
    record.latDestinazione = 45.5f;
    calcolaDistanzaRimanente(&record);
    EXPECT_EQ(record.distanzaDestinazioneTotale, 30);
}

TEST(Projection, PointAlongAHeadingAndAcrossTheDateLine)
{
    coordinate p;
    DisegnaTraiettoria(47.0, -122.0, 360.0f, 30.0f, &p);
    EXPECT_NEAR(p.lat, 47.5, 1e-9);
    EXPECT_NEAR(p.lon, -122.0, 1e-9);
    DisegnaTraiettoria(0.0, 179.9, 90.0f, 12.0f, &p);
    EXPECT_NEAR(p.lon, -179.9, 1e-6);
    DisegnaTraiettoria(0.0, -179.9, 270.0f, 12.0f, &p);
    EXPECT_NEAR(p.lon, 179.9, 1e-6);

    // Projecting and measuring back agree.
    pilot record;
    DisegnaTraiettoria(47.449, -122.309, 37.0f, 50.0f, &p);
    distanceToCoord d = Measure(47.449, -122.309, p.lat, p.lon, &record);
    EXPECT_NEAR(d.distance, 50.0f, 0.05f);
    EXPECT_NEAR(d.heading, 37.0f, 0.1f);
}

} // namespace
