// The approach path to the landing runway at Seattle and Portland from the bundled sample (thresholds of
// its apt.dat, localizers of its earth_nav.dat) and on made-up runways. Expected positions come from the
// rhumb-line formulas on a sphere of 60 nm per degree written here.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "navdata/AptFiles.h"
#include "navdata/ProcedureSearch.h"
#include "planning/ApproachPath.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "RouteText.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "support/ProcedureData.h"
#include "ui/Settings.h"

namespace
{

struct LatLon {
    double lat, lon;
};
const double kRad = 3.14159265358979323846 / 180.0;
double Psi(double lat)
{
    return std::log(std::tan(45 * kRad + lat * kRad / 2)) / kRad; // Mercator, in degrees
}
double Q(double lat1, double lat2) // east-west factor of a rhumb line
{
    return std::fabs(lat2 - lat1) > 1e-9 ? (lat2 - lat1) / (Psi(lat2) - Psi(lat1)) : std::cos(lat1 * kRad);
}
LatLon Direct(LatLon from, double bearing, double nm)
{
    const double lat = from.lat + nm * std::cos(bearing * kRad) / 60;
    return {lat, std::remainder(from.lon + nm * std::sin(bearing * kRad) / 60 / Q(from.lat, lat), 360)};
}
double Distance(LatLon a, LatLon b)
{
    return 60 * std::hypot(b.lat - a.lat, Q(a.lat, b.lat) * std::remainder(b.lon - a.lon, 360));
}
double Bearing(LatLon a, LatLon b)
{
    return std::fmod(std::atan2(std::remainder(b.lon - a.lon, 360), Psi(b.lat) - Psi(a.lat)) / kRad + 360, 360);
}
/// Side of the final course, as flown inbound, of a point: outbound is the course out from the runway.
const char *Side(LatLon runway, double outbound, LatLon point)
{
    return std::sin((Bearing(runway, point) - outbound) * kRad) > 0 ? "left" : "right";
}

class ApproachPathTest : public HostTest
{
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        skipApprox = enableFmcProgramming = manualChooseSID = manualChooseSTAR = 0;
        LayProcedureData({"KSEA", "KPDX"});
        ClearSceneryIndex();
        parseSingleAptDat(VELLOMIR_SOURCE_DIR "/data/sample/apt.dat");
        parseSingleNavDat(VELLOMIR_SOURCE_DIR "/data/sample/navdata/earth_nav.dat");
    }
    void TearDown() override { ClearSceneryIndex(); HostTest::TearDown(); }
    /// A new flight landing on a runway end of the sample, or of a made-up airport without localizers.
    void Fresh(const char *icao, const char *runway, LatLon madeUp = {0, 0}, float madeUpHeading = 0)
    {
        record = pilot();
        record.datiPilotaImpostati = record.kmlExport = 1;
        record.variazioneMagnetica = -15.5f; // Seattle's, in X-Plane's sign
        record.arrAirportICAO = icao;
        pilot::runwayStruct &rwy = record.arrivalRunwayStruct;
        snprintf(rwy.name, sizeof rwy.name, "%s", runway);
        rwy.lat = (float)madeUp.lat, rwy.lon = (float)madeUp.lon, rwy.heading = madeUpHeading;
        Parser airport;
        if (IcaoMap.count(icao) != 0)
            airport.readAptDat(icao, IcaoMap[icao].ICAOfilePath, IcaoMap[icao].readOffset, 0);
        for (const Parser::runway &end : airport.runways)
            if (strcmp(end.name, runway) == 0)
                rwy.lat = end.lat, rwy.lon = end.lon, rwy.heading = end.heading;
    }
    void Route(const std::vector<const char *> &words) { Filing_Route(record, words); }
    void AddAt(const char *id, LatLon at) { record.AddToFlightPlan((float)at.lat, (float)at.lon, id, 2, 512, 0, 0); }
    std::string Names() const { return RouteNames(record); }
    std::string Tail(size_t chars) const { return Names().substr(Names().size() - std::min(chars, Names().size())); }
    LatLon At(size_t i) const { return {record.flightPlanVec[i].lat, record.flightPlanVec[i].lon}; }
    LatLon Threshold() const { return {record.arrivalRunwayStruct.lat, record.arrivalRunwayStruct.lon}; }

    KeepSettings keep{&skipApprox, &enableFmcProgramming, &manualChooseSTAR, &lookForSTAR, &manualChooseSID,
                      &programFMSApproxILS};
    pilot record;
};

TEST_F(ApproachPathTest, ArcSingleIlsAndRunwayPointsAtSeattleAndOnMadeUpRunways)
{
    // KSEA 16L: localizer ISNQ 180.343 true (59220.343 in the file), the final course leaves the runway on
    // 0.343. AUBRN is 9 nm out on 133, HETHR 8.7 nm on 49, GRIFY 18.7 nm on 348. The arc starts 7 degrees
    // past the entry direction, steps 16 (VFR 18) towards the final course and drops points 48 or more off
    // it. HETHR is 49 degrees off the runway heading in true bearings, 34 (straight in) in magnetic.
    // Made-up runway 09 at 45N 10E (outbound 270), the rules' own example: 40 nm out, 90 off.
    const LatLon madeUp = {45, 10}, dateLine = {-17, 179.9};
    const struct {
        const char *fix; ///< a sample fix, or "" for the entry point below
        LatLon runway;   ///< {0, 0}: KSEA 16L
        float heading;   ///< of a made-up runway
        double entryDir, entryNm;
        int vfr;
        const char *route;
        std::vector<std::vector<double>> arc; ///< {bearing from the runway, radius} of each point kept
        const char *side;
        double singleNm, ilsNm;
    } rows[] = {
        // clang-format off
        {"AUBRN", {}, 0, 0, 0, 0, "AUBRN/2 Approximation 1/4 Approximation 2/4 Approximation 3/4 ILS/5 Runway 16L/6",
         {{-87, 30}, {-103, 26}, {-119, 22}}, "left", 0, 12},
        {"HETHR", {}, 0, 0, 0, 0, "HETHR/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 16L/6",
         {{-23, 30}, {-39, 26}}, "left", 0, 12},
        {"GRIFY", {}, 0, 0, 0, 0, "GRIFY/2 ILS/5 Runway 16L/6", {}, "", 0, 12}, // near, within 30: no point
        {"AUBRN", {}, 0, 0, 0, 1, "AUBRN/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 16L/6",
         {{-97, 6.5}, {-115, 6.5}}, "left", 0, 4},
        {"GRIFY", {}, 0, 0, 0, 1, "GRIFY/2 Approximation/4 ILS/5 Runway 16L/6", {}, "", 5, 4},
        // Across north: 353, 337 and 321 dropped; across the date line, landing west at 179.9 E.
        {"", madeUp, 90, 0, 40, 0, "ENTRY/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 09/6",
         {{305, 30}, {289, 26}}, "left", 0, 12},
        {"", madeUp, 90, 180, 40, 0, "ENTRY/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 09/6",
         {{235, 30}, {251, 26}}, "right", 0, 12},
        {"", dateLine, 270, 30, 40, 0, "ENTRY/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 09/6",
         {{53, 30}, {69, 26}}, "right", 0, 12},
        {"", madeUp, 90, 290, 12, 0, "ENTRY/5 Runway 09/6", {}, "", 0, 0}, // very close: flown as the ILS point
        {"", madeUp, 90, 290, 17, 0, "ENTRY/2 ILS/5 Runway 09/6", {}, "", 0, 12},
        {"", madeUp, 90, 290, 25, 0, "ENTRY/2 Approximation/4 ILS/5 Runway 09/6", {}, "", 17, 12}, // straight in
        {"", madeUp, 90, 280, 7, 1, "ENTRY/5 Runway 09/6", {}, "", 0, 0},
        // clang-format on
    };
    for (const auto &row : rows) {
        const bool seattle = row.runway.lat == 0;
        Fresh(seattle ? "KSEA" : "ZZZZ", seattle ? "16L" : "09", row.runway, row.heading);
        record.vfrFlight = row.vfr;
        if (seattle)
            Route({row.fix});
        else
            AddAt("ENTRY", Direct(row.runway, row.entryDir, row.entryNm));
        const LatLon runway = Threshold(), entry = At(0);
        SetILSPath(&record);
        const std::string what = std::string(row.fix) + " " + row.route + (row.vfr ? " VFR" : "");
        ASSERT_EQ(Names(), row.route) << what;
        EXPECT_EQ(record.arrivalRunwayStruct.landingType, seattle && !row.vfr ? 4 : 0) << what;
        const double outbound = seattle ? 0.343 : std::fmod(row.heading + 180.0, 360.0);
        size_t i = 1;
        for (const std::vector<double> &kept : row.arc) {
            const double bearing = seattle ? Bearing(runway, entry) + kept[0] : kept[0]; // Seattle: off the entry
            EXPECT_LT(Distance(At(i), Direct(runway, bearing, kept[1])), 0.01) << what << " " << i;
            EXPECT_STREQ(Side(runway, outbound, At(i++)), row.side) << what;
        }
        for (double nm : {row.singleNm, row.ilsNm}) {
            if (nm > 0) {
                EXPECT_LT(Distance(At(i++), Direct(runway, outbound, nm)), 0.01) << what << " " << nm;
            }
        }
        EXPECT_LT(Distance(At(i), runway), 0.001) << what;
        EXPECT_TRUE(row.heading != 270 || At(1).lon < -179.0) << what; // the date line: the arc lies west of 180
    }
}

TEST_F(ApproachPathTest, LandingTypeAndCourseFromTheLocalizerOrTheRunwayAndEdgesOfTheRoute)
{
    // KPDX 21: localizer only (IGPO, 224.922 true); 03: none, the runway's heading; 10R: ILS.
    const struct {
        const char *runway;
        int vfr;
        double course;
        int landingType;
    } rows[] = {{"21", 0, 224.922, 5}, {"03", 0, 0, 0}, {"10R", 1, 119.113, 0}};
    for (const auto &row : rows) {
        Fresh("KPDX", row.runway);
        record.vfrFlight = row.vfr;
        record.latitudine = 46.5, record.longitudine = -122.6; // an empty route: from the aircraft
        runwayILSSet = 0;
        SetILSPath(&record);
        EXPECT_EQ(record.arrivalRunwayStruct.landingType, row.landingType) << row.runway;
        EXPECT_EQ(runwayILSSet, row.course > 0 ? 1 : 0) << row.runway;
        const double course = row.course > 0 ? row.course : record.arrivalRunwayStruct.heading;
        const size_t ils = record.flightPlanVec.size() - 2;
        EXPECT_EQ(record.flightPlanVec[ils].name, "ILS");
        EXPECT_LT(Distance(At(ils), Direct(Threshold(), course + 180, row.vfr ? 4 : 12)), 0.01) << row.runway;
    }
    // An emergency: no route, the aircraft very close; and the option without approximation points.
    Fresh("ZZZZ", "09", {45, 10}, 90);
    const LatLon close = Direct({45, 10}, 275, 10);
    record.latitudine = close.lat, record.longitudine = close.lon;
    SetILSPath(&record);
    EXPECT_EQ(Names(), "Runway 09/6");
    Fresh("ZZZZ", "09", {45, 10}, 90), skipApprox = 1;
    AddAt("ENTRY", Direct({45, 10}, 0, 40));
    SetILSPath(&record);
    EXPECT_EQ(Names(), "ENTRY/2 ILS/5 Runway 09/6");
}

TEST_F(ApproachPathTest, SecondCallGivesOnePathTheKmlFollowsTheExportAndTheBackupRestoresTheIlsStandIn)
{
    Fresh("KSEA", "16L");
    Route({"HETHR"});
    SetILSPath(&record);
    const std::string kml = simhost::ReadFile("Resources/plugins/Vellomir64/ILSPath.kml");
    size_t at = 0;
    for (const char *part :
         {"<name>ILS.kml</name><Style id=\"sh_ylw-pushpin\">", "wht-pushpin.png", "<name>ILS</name>",
          "<name>Runway 16L on KSEA</name><styleUrl>#msn_ylw-pushpin</styleUrl><Point><coordinates>"
          "-122.308,47.4638</coordinates>",
          "<name>ILS</name>", "<name>0: HETHR</name>", "<name>Approximation 2</name>", "</Folder></Document></kml>"})
        ASSERT_NE(at = kml.find(part, at), std::string::npos) << part << "\n" << kml;
    const std::vector<pilot::flightPlanLoc> first = record.flightPlanVec;
    record.kmlExport = 0;
    SetILSPath(&record); // the runway window's close box, a new STAR: the path again, not twice
    EXPECT_EQ(simhost::ReadFile("Resources/plugins/Vellomir64/ILSPath.kml"), "");
    EXPECT_TRUE(simhost::FileExists("Resources/plugins/Vellomir64/ILSPath.kml"));
    ASSERT_EQ(record.flightPlanVec.size(), first.size()) << Names();
    for (size_t i = 0; i < first.size(); i++)
        EXPECT_LT(Distance(At(i), {first[i].lat, first[i].lon}), 1e-4) << i;

    Fresh("ZZZZ", "09", {45, 10}, 90);
    AddAt("FAR", Direct({45, 10}, 280, 60));
    AddAt("CLOSE", Direct({45, 10}, 275, 11));
    for (int call = 0; call < 2; call++) {
        SetILSPath(&record);
        EXPECT_EQ(Names(), "FAR/2 CLOSE/5 Runway 09/6");
    }
    backuPianoDivolo(&record, true, false);
    restorePianoDivolo(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/2"); // a route fix still

    record.arrivalRunwayStruct = pilot::runwayStruct(); // an airport without runways: no path to 0/0
    SetILSPath(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/2");
    EXPECT_TRUE(Logged("no arrival runway chosen at ZZZZ, no approach path"));
}

TEST_F(ApproachPathTest, SeattleToPortlandWholePlanWithApproachOrdersAndLevels)
{
    Fresh("KPDX", "10R"); // through the procedure functions on a hand-built filed route
    record.depAirportICAO = "KSEA", record.plannedFL = 200, record.arrivalRunwayStruct.heightft = 30;
    Route({"HAROB", "BTG", "HHOOD"});
    char sidRunway[] = "16L", starRunway[] = "10R";
    searchSID11("KSEA", sidRunway, &record);
    fileSID11(&record);
    searchSTAR11("KPDX", starRunway, &record);
    fileSTAR11(&record);
    ASSERT_FALSE(record.ilsPathCreated);
    enableFmcProgramming = programFMSApproxILS = 1;
    SetILSPath(&record);
    // NNUTT, the STAR's last fix, is 13 nm out and 24 degrees off the 10R localizer: flown as the ILS point.
    EXPECT_EQ(Names(), "CAVOB/1 RENBE/1 RICHR/1 EMRLD/1 HAROB/2 BTG/2 HHOOD/2 BLRUN/3 SSDEE/3 THEID/3 EMZEY/3 "
                       "CIZZL/3 YORKY/3 NNUTT/5 Runway 10R/6");
    // By hand from the files: HAROB6 RW16L has only at-or-above altitudes (no SID restriction); HHOOD4
    // gives SSDEE 110 and THEID 100 and EMZEY 80 (between: the upper altitude), CIZZL 50 (at or above),
    // YORKY 50; the highest, 110, is at SSDEE (index 8). The runway is 30 ft + 3000 ft.
    const struct {
        int descentFeet, fase;
        std::vector<int> expected;
    } rows[] = {
        // Cruise (as the path drew it): nothing below FL200 before the descent; the runway at its approach height.
        {0, 0, {200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 30}},
        // Descending to 11000: everything at 110, past the STAR's last restriction down to it.
        {11000, 1, {110, 110, 110, 110, 110, 110, 110, 110, 110, 110, 110, 110, 110, 50, 30}},
        // Descending to 6000: the route and the STAR up to SSDEE held at 110, then the STAR's floors.
        {6000, 2, {60, 60, 60, 60, 110, 110, 110, 110, 110, 100, 80, 60, 60, 50, 30}},
        // Final step, 3000 (above the terrain floor): everything ahead at it, the STAR's floors no longer
        // holding the aircraft up at 11000 after a route fix at 3000.
        {3000, 3, {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}},
    };
    for (const auto &row : rows) {
        if (row.descentFeet != 0) {
            record.altezzaDiscesaFeet = row.descentFeet, record.faseDiscesa = row.fase;
            drawFlighLevels(&record);
        }
        EXPECT_EQ(RouteLevels(record), row.expected) << row.descentFeet;
    }
    enableFmcProgramming = lookForSTAR = 0;
    record.preferredArrRunwayAirport = "KPDX";
    record.preferredArrRunway = 3; // 10L, from the runway window, twice: one path, to 10L
    for (int call = 0; call < 2; call++) {
        ChangeArrRunway(&record);
        EXPECT_EQ(Tail(20), "NNUTT/5 Runway 10L/6") << Names();
    }
}

} // namespace
