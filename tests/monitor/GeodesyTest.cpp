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
    /// An aircraft at 120 kt true airspeed with a one-waypoint plan, filled from the simulator.
    void Airborne(float wind_deg, int windSpeed_kt)
    {
        record.datiPilotaImpostati = 1;
        record.trueAirspeed = 61.73333f; // 120 kt: speed factor 2
        record.windHeading = (int)wind_deg;
        record.velocitaVento = windSpeed_kt;
        record.AddToFlightPlan(46.0f, -100.0f, "NORTH", 2, 512, 100, 0);
    }
    pilot record;
};

TEST_F(GeodesyTest, OneDegreeOfLatitudeIsSixtyMilesAndBearingsAreMagnetic)
{
    distanceToCoord south = Measure(46.0, -100.0, 45.0, -100.0, &record);
    EXPECT_NEAR(south.distance, 60.0f, 1e-4);
    EXPECT_NEAR(south.heading, 180.0f, 1e-4);
    distanceToCoord same = Measure(47.5, -122.3, 47.5, -122.3, &record);
    EXPECT_EQ(same.distance, 0.0f);
    EXPECT_TRUE(std::isfinite(same.heading));

    record.variazioneMagnetica = -15.0f;
    EXPECT_NEAR(Measure(45.0, -99.0, 45.0, -100.0, &record).heading, 255.0f, 1e-3);
    record.variazioneMagnetica = 20.0f;
    EXPECT_NEAR(Measure(46.0, -100.0, 46.5, -100.05, &record).heading, 16.0f, 0.5f); // 356 + 20 wraps
}

TEST_F(GeodesyTest, CityPairsStayWithinOnePercentOfTheGreatCircle)
{
    struct Pair {
        const char *name;
        double lat1, lon1, lat2, lon2;
    };
    const Pair pairs[] = {
        {"Seattle-Portland", 47.4490, -122.3093, 45.5887, -122.5975},
        {"Heathrow-Charles de Gaulle", 51.4700, -0.4543, 49.0097, 2.5479},
        {"Zurich-Geneva", 47.4647, 8.5492, 46.2381, 6.1090},
        {"Sydney-Canberra", -33.9461, 151.1772, -35.3069, 149.1950},
        {"Guarulhos-Santos Dumont", -23.4356, -46.4731, -22.9105, -43.1631},
        {"Suva-Taveuni across 180", -18.0433, 178.5592, -16.6906, -179.8769},
    };
    for (const Pair &p : pairs) {
        SCOPED_TRACE(p.name);
        double reference = Haversine_nm(p.lat1, p.lon1, p.lat2, p.lon2);
        ASSERT_LT(reference, 200.0);
        distanceToCoord d = Measure(p.lat1, p.lon1, p.lat2, p.lon2, &record);
        EXPECT_NEAR(d.distance, reference, reference * 0.01);
        // The flat earth gives the mid-course bearing; the great circle's initial one differs by half the
        // meridian convergence, about a degree at these ranges.
        EXPECT_LT(GetHeadingDifference(d.heading, (float)InitialBearing(p.lat1, p.lon1, p.lat2, p.lon2)), 1.5f);
    }
}

TEST_F(GeodesyTest, PointsAMileApartAcrossTheDateLineAreAMileApart)
{
    const double lon1 = 179.99, lon2 = -179.99; // 0.02 degrees at 60 N: 0.6 nm
    distanceToCoord east = Measure(60.0, lon1, 60.0, lon2, &record);
    EXPECT_NEAR(east.distance, Haversine_nm(60.0, lon1, 60.0, lon2), 0.01);
    EXPECT_NEAR(east.heading, 90.0f, 1e-3);
    distanceToCoord west = Measure(60.0, lon2, 60.0, lon1, &record);
    EXPECT_NEAR(west.distance, east.distance, 1e-5);
    EXPECT_NEAR(west.heading, 270.0f, 1e-3);
}

TEST_F(GeodesyTest, CrossWindIsCorrectedIntoTheWindUnlessTheAutopilotFlies)
{
    Airborne(90, 20);
    record.headingAttuale = 30.0f;
    distanceToCoord d = {0, -1, 0};
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_NEAR(record.angoloDiCorrezioneVento, 10.0f, 1e-3); // 20 kt x 60 / 120 kt
    EXPECT_NEAR(d.headingWCA, 10.0f, 1e-3);
    EXPECT_TRUE(record.usaHeadingWCA);
    EXPECT_EQ(record.dirVentoRelativa, 60); // for the display: the wind 60 degrees right of the nose

    record.statoAutopilotaAdesso = 528;
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_FALSE(record.usaHeadingWCA);
    record.statoAutopilotaAdesso = 0;
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 0, &record); // the option off
    EXPECT_FALSE(record.usaHeadingWCA);

    record.windHeading = 90;            // true: from 081 magnetic
    record.variazioneMagnetica = -9.0f; // course 351: corrected 361 becomes 1
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_NEAR(d.heading, 351.0f, 1e-3);
    EXPECT_NEAR(d.headingWCA, 1.0f, 1e-3);
}

TEST_F(GeodesyTest, NoCorrectionWhenItIsZeroTooLargeStandingStillOrTheRecordIsNotSetUp)
{
    Airborne(0, 20); // wind straight down the northbound course
    distanceToCoord d = {0, -1, 0};
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_NEAR(record.angoloDiCorrezioneVento, 0.0f, 1e-3);
    EXPECT_FALSE(record.usaHeadingWCA);

    record.windHeading = 90;
    record.velocitaVento = 40; // 20 degrees: not strictly below the limit
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_NEAR(record.angoloDiCorrezioneVento, 20.0f, 1e-3);
    EXPECT_FALSE(record.usaHeadingWCA);

    record.velocitaVento = 15;
    record.trueAirspeed = 0; // standing still: no division by zero
    CalcolaDistanzaCoordinata(45.0, -100.0, 46.0, -100.0, &d, 1, &record);
    EXPECT_EQ(record.angoloDiCorrezioneVento, 0.0f);
    EXPECT_NEAR(GetHeadingDifference(d.headingWCA, d.heading), 0.0f, 1e-4);
    EXPECT_FALSE(record.usaHeadingWCA);

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
