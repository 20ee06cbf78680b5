// The approach path to the landing runway: arcs, the single approximation point, the ILS point and the
// runway at Seattle and Portland from the bundled sample (thresholds of its apt.dat, localizers of its
// earth_nav.dat), and on made-up runways for the close, near, date-line and repeated cases. Expected
// positions come from the rhumb-line formulas on a sphere of 60 nm per degree written here.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "navdata/AptFiles.h"
#include "navdata/FindNavType.h"
#include "navdata/ProcedureSearch.h"
#include "planning/ApproachPath.h"
#include "planning/Kml.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "support/PluginHost.h"
#include "support/ProcedureData.h"
#include "ui/Settings.h"

namespace
{

const double kPi = 3.14159265358979323846;
const double kEarthNm = 10800.0 / kPi; // one nautical mile per minute of arc

struct LatLon {
    double lat, lon;
};

double Rad(double deg)
{
    return deg * kPi / 180.0;
}
double Mercator(double latDeg)
{
    return std::log(std::tan(kPi / 4 + Rad(latDeg) / 2));
}
/// East-west factor of a rhumb line between two latitudes (the cosine where they are equal).
double RhumbQ(double lat1, double lat2)
{
    const double dPsi = Mercator(lat2) - Mercator(lat1);
    return std::fabs(dPsi) > 1e-12 ? Rad(lat2 - lat1) / dPsi : std::cos(Rad(lat1));
}
double WrapLon(double lon)
{
    return std::remainder(lon, 360.0);
}
LatLon RhumbDirect(LatLon from, double bearingDeg, double nm)
{
    const double lat2 = from.lat + nm * std::cos(Rad(bearingDeg)) / kEarthNm * 180.0 / kPi;
    const double dLon = nm * std::sin(Rad(bearingDeg)) / kEarthNm / RhumbQ(from.lat, lat2) * 180.0 / kPi;
    return {lat2, WrapLon(from.lon + dLon)};
}
double RhumbDistance(LatLon a, LatLon b)
{
    const double dLon = Rad(WrapLon(b.lon - a.lon));
    return std::hypot(Rad(b.lat - a.lat), RhumbQ(a.lat, b.lat) * dLon) * kEarthNm;
}
double RhumbBearing(LatLon a, LatLon b)
{
    const double brg = std::atan2(Rad(WrapLon(b.lon - a.lon)), Mercator(b.lat) - Mercator(a.lat)) * 180.0 / kPi;
    return brg < 0 ? brg + 360.0 : brg;
}
/// The side of the final course, as flown inbound, a point lies on, seen from the runway's outbound course.
const char *Side(LatLon runway, double outboundDeg, LatLon point)
{
    return std::sin(Rad(RhumbBearing(runway, point) - outboundDeg)) > 0 ? "left" : "right";
}

class ApproachPathTest : public HostTest
{
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        saved = {skipApprox, enableFmcProgramming, manualChooseSTAR, lookForSTAR, manualChooseSID};
        skipApprox = 0;
        enableFmcProgramming = 0;
        LayProcedureData({"KSEA", "KPDX"});
        const std::string sample = std::string(VELLOMIR_SOURCE_DIR) + "/data/sample/";
        ClearSceneryIndex();
        parseSingleAptDat(sample + "apt.dat");
        parseSingleNavDat(sample + "navdata/earth_nav.dat");
        Fresh("KSEA", "16L");
    }
    void TearDown() override
    {
        skipApprox = saved[0];
        enableFmcProgramming = saved[1];
        manualChooseSTAR = saved[2];
        lookForSTAR = saved[3];
        manualChooseSID = saved[4];
        ClearSceneryIndex();
        HostTest::TearDown();
    }
    /// A new flight record filled from the simulator, landing on the runway end of the sample's airport.
    void Fresh(const char *icao, const char *runwayName)
    {
        record = pilot();
        record.datiPilotaImpostati = 1;
        record.kmlExport = 1;
        record.variazioneMagnetica = -15.5f; // Seattle's, in X-Plane's sign
        snprintf(record.nomePilota, sizeof record.nomePilota, "N123");
        record.arrAirportICAO = icao;
        Parser airport;
        const AptDat &where = IcaoMap[icao];
        airport.readAptDat(icao, where.ICAOfilePath, where.readOffset, 0);
        for (const Parser::runway &end : airport.runways)
            if (strcmp(end.name, runwayName) == 0) {
                snprintf(record.arrivalRunwayStruct.name, sizeof record.arrivalRunwayStruct.name, "%s", end.name);
                record.arrivalRunwayStruct.lat = end.lat;
                record.arrivalRunwayStruct.lon = end.lon;
                record.arrivalRunwayStruct.heading = end.heading;
            }
        ASSERT_STREQ(record.arrivalRunwayStruct.name, runwayName);
    }
    /// A made-up runway with no localizer.
    void MadeUp(LatLon threshold, float headingDeg)
    {
        record = pilot();
        record.datiPilotaImpostati = 1;
        record.arrAirportICAO = "ZZZZ";
        snprintf(record.arrivalRunwayStruct.name, sizeof record.arrivalRunwayStruct.name, "09");
        record.arrivalRunwayStruct.lat = (float)threshold.lat;
        record.arrivalRunwayStruct.lon = (float)threshold.lon;
        record.arrivalRunwayStruct.heading = headingDeg;
    }
    void Route(const std::vector<const char *> &words)
    {
        for (const char *word : words) {
            float lat = 0, lon = 0;
            const float refLat = record.flightPlanVec.empty() ? 0 : record.flightPlanVec.back().lat;
            const float refLon = record.flightPlanVec.empty() ? 0 : record.flightPlanVec.back().lon;
            const int type = findNavType(word, &record, refLat, refLon, &lat, &lon);
            ASSERT_NE(type, 0) << word;
            record.AddToFlightPlan(lat, lon, word, 2, type, 0, 0);
        }
    }
    void AddAt(const char *name, LatLon at)
    {
        record.AddToFlightPlan((float)at.lat, (float)at.lon, name, 2, 512, 0, 0);
    }
    std::string Names() const
    {
        std::string out;
        for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
            out += (out.empty() ? "" : " ") + loc.name + "/" + std::to_string(loc.order);
        return out;
    }
    LatLon At(size_t i) const { return {record.flightPlanVec[i].lat, record.flightPlanVec[i].lon}; }
    LatLon Threshold() const { return {record.arrivalRunwayStruct.lat, record.arrivalRunwayStruct.lon}; }
    /// Index of the first waypoint of that name, or the route's size.
    size_t Find(const std::string &name) const
    {
        for (size_t i = 0; i < record.flightPlanVec.size(); i++)
            if (record.flightPlanVec[i].name == name)
                return i;
        return record.flightPlanVec.size();
    }

    pilot record;
    std::vector<int> saved;
};

/// An arc point kept: its step from the arc's start and its radius.
struct Kept {
    int step;
    double radiusNm;
};

TEST_F(ApproachPathTest, SeattleSixteenLeftFromEachStarEntryIfrAndVfr)
{
    // Localizer ISNQ: true bearing 180.343 (59220.343 in the file), so the final course leaves the runway
    // northwards on 0.343. AUBRN lies 9 nm south-east (entry direction 133), HETHR 8.7 nm north-east (49),
    // GRIFY 18.7 nm north-north-west (348). Worked out from the rules: the arc starts 7 degrees past the
    // entry direction and steps 16 (VFR 18) degrees towards the final course; points 48 or more off it go.
    // HETHR is 49 degrees off the runway heading in true bearings; in magnetic (34) it would be straight in.
    const double course = 180.343 - 180.0;
    const struct {
        const char *fix;
        int vfr;
        const char *route;
        std::vector<Kept> arc; ///< kept points in order
        double singleNm;       ///< the single approximation point, 0 = none
        double ilsNm;
        int landingType;
    } rows[] = {
        {"AUBRN",
         0,
         "AUBRN/2 Approximation 1/4 Approximation 2/4 Approximation 3/4 ILS/5 Runway 16L/6",
         {{5, 30}, {6, 26}, {7, 22}},
         0,
         12,
         4},
        {"HETHR", 0, "HETHR/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 16L/6", {{1, 30}, {2, 26}}, 0, 12, 4},
        // Near and within 30 degrees: straight in, no approximation point.
        {"GRIFY", 0, "GRIFY/2 ILS/5 Runway 16L/6", {}, 0, 12, 4},
        {"AUBRN", 1, "AUBRN/2 Approximation 1/4 Approximation 2/4 ILS/5 Runway 16L/6", {{5, 6.5}, {6, 6.5}}, 0, 4, 0},
        {"HETHR", 1, "HETHR/2 Approximation 1/4 ILS/5 Runway 16L/6", {{1, 6.5}}, 0, 4, 0},
        // Not near for VFR: the one point on the centreline, 5 nm out.
        {"GRIFY", 1, "GRIFY/2 Approximation/4 ILS/5 Runway 16L/6", {}, 5, 4, 0},
    };
    for (const auto &row : rows) {
        Fresh("KSEA", "16L");
        record.vfrFlight = row.vfr;
        Route({row.fix});
        const LatLon entry = At(0);
        SetILSPath(&record);
        const std::string what = std::string(row.fix) + (row.vfr ? " VFR" : " IFR");
        EXPECT_EQ(Names(), row.route) << what;
        EXPECT_EQ(record.arrivalRunwayStruct.landingType, row.landingType) << what;
        EXPECT_TRUE(record.ilsPathCreated);
        const LatLon runway = Threshold();
        const double entryDir = RhumbBearing(runway, entry);
        const double step = row.vfr ? 18 : 16;
        const double turn = std::sin(Rad(entryDir - course)) > 0 ? -1 : 1; // towards the final course
        for (size_t k = 0; k < row.arc.size(); k++) {
            const LatLon expected =
                RhumbDirect(runway, entryDir + turn * (7 + step * row.arc[k].step), row.arc[k].radiusNm);
            EXPECT_LT(RhumbDistance(At(1 + k), expected), 0.01) << what << " arc point " << k;
            EXPECT_STREQ(Side(runway, course, At(1 + k)), "left") << what; // all three come from the east
        }
        size_t i = 1 + row.arc.size();
        if (row.singleNm > 0) {
            EXPECT_LT(RhumbDistance(At(i++), RhumbDirect(runway, course, row.singleNm)), 0.01) << what;
        }
        EXPECT_LT(RhumbDistance(At(i), RhumbDirect(runway, course, row.ilsNm)), 0.01) << what << " ILS";
        EXPECT_LT(RhumbDistance(At(i + 1), runway), 0.001) << what;
    }
}

TEST_F(ApproachPathTest, LandingTypeAndCourseFromTheLocalizerOrTheRunway)
{
    // KPDX 21 has a localizer without glide slope (IGPO, 224.922 true); 03 none; 10R an ILS (119.113).
    const struct {
        const char *runway;
        int vfr;
        double course; ///< true, 0 = the runway's own heading
        int landingType;
    } rows[] = {
        {"21", 0, 224.922, 5}, {"21", 1, 224.922, 5}, {"03", 0, 0, 0}, {"10R", 0, 119.113, 4}, {"10R", 1, 119.113, 0}};
    for (const auto &row : rows) {
        Fresh("KPDX", row.runway);
        record.vfrFlight = row.vfr;
        record.latitudine = 46.5; // far to the north: an arc, then the ILS point on the course
        record.longitudine = -122.6;
        runwayILSSet = 0;
        SetILSPath(&record);
        const double course = row.course > 0 ? row.course : record.arrivalRunwayStruct.heading;
        EXPECT_EQ(record.arrivalRunwayStruct.landingType, row.landingType) << row.runway;
        EXPECT_EQ(runwayILSSet, row.course > 0 ? 1 : 0) << row.runway;
        const size_t ils = Find("ILS");
        ASSERT_LT(ils, record.flightPlanVec.size()) << row.runway;
        EXPECT_LT(RhumbDistance(At(ils), RhumbDirect(Threshold(), course + 180, row.vfr ? 4 : 12)), 0.01) << row.runway;
        EXPECT_EQ(record.flightPlanVec.back().name, std::string("Runway ") + row.runway);
    }
}

TEST_F(ApproachPathTest, ArcsOfMadeUpRunwaysTurnTowardsTheFinalCourseAcrossNorthAndTheDateLine)
{
    const struct {
        const char *what;
        LatLon threshold;
        float heading;
        double entryDir, entryNm; ///< entry point from the threshold
        std::vector<double> bearings;
        std::vector<double> radii;
        const char *side;
    } rows[] = {
        // The rules' own example: 40 nm out, 90 degrees off the final course (270 here): three candidates
        // dropped (353, 337, 321), two kept at 30 and 26 nm, the arc ends 3 degrees off.
        {"entry to the north", {45, 10}, 90, 0, 40, {305, 289}, {30, 26}, "left"},
        {"entry to the south", {45, 10}, 90, 180, 40, {235, 251}, {30, 26}, "right"},
        // Landing west at 179.9 E, the entry and the arc east of the date line.
        {"date line", {-17, 179.9}, 270, 30, 40, {53, 69}, {30, 26}, "right"},
    };
    for (const auto &row : rows) {
        MadeUp(row.threshold, row.heading);
        const LatLon entry = RhumbDirect(row.threshold, row.entryDir, row.entryNm);
        AddAt("ENTRY", entry);
        SetILSPath(&record);
        ASSERT_EQ(record.flightPlanVec.size(), 2 + row.bearings.size() + 1) << row.what << ": " << Names();
        const double outbound = std::fmod(row.heading + 180.0, 360.0);
        for (size_t k = 0; k < row.bearings.size(); k++) {
            const LatLon point = At(1 + k);
            EXPECT_LT(RhumbDistance(point, RhumbDirect(row.threshold, row.bearings[k], row.radii[k])), 0.01)
                << row.what << " " << k;
            EXPECT_STREQ(Side(row.threshold, outbound, point), row.side) << row.what;
            EXPECT_LE(std::fabs(point.lon), 180.0);
        }
        EXPECT_LT(RhumbDistance(At(1 + row.bearings.size()), RhumbDirect(row.threshold, outbound, 12)), 0.01)
            << row.what;
    }
    EXPECT_LT(At(1).lon, -179.0); // the date-line arc is west longitude
}

TEST_F(ApproachPathTest, CloseNearStraightInAndSkippedApproximation)
{
    const LatLon threshold = {45, 10};
    const struct {
        const char *what;
        int vfr, skip;
        bool emptyRoute;
        double offsetDeg, entryNm; ///< entry direction off the final course (outbound 270), distance
        const char *route;
        double singleNm;
    } rows[] = {
        {"very close", 0, 0, false, 20, 12, "ENTRY/5 Runway 09/6", 0},
        {"very close, empty route", 0, 0, true, 10, 10, "Runway 09/6", 0},
        {"near", 0, 0, false, 20, 17, "ENTRY/2 ILS/5 Runway 09/6", 0},
        {"straight in", 0, 0, false, 20, 25, "ENTRY/2 Approximation/4 ILS/5 Runway 09/6", 17},
        {"straight in VFR", 1, 0, false, 20, 25, "ENTRY/2 Approximation/4 ILS/5 Runway 09/6", 5},
        {"VFR close", 1, 0, false, 10, 7, "ENTRY/5 Runway 09/6", 0},
        {"skip approximation", 0, 1, false, 90, 40, "ENTRY/2 ILS/5 Runway 09/6", 0},
    };
    for (const auto &row : rows) {
        MadeUp(threshold, 90);
        record.vfrFlight = row.vfr;
        skipApprox = row.skip;
        const LatLon entry = RhumbDirect(threshold, 270 + row.offsetDeg, row.entryNm);
        if (row.emptyRoute) {
            record.latitudine = entry.lat;
            record.longitudine = entry.lon;
        } else {
            AddAt("ENTRY", entry);
        }
        SetILSPath(&record);
        EXPECT_EQ(Names(), row.route) << row.what;
        if (row.singleNm > 0) {
            EXPECT_LT(RhumbDistance(At(1), RhumbDirect(threshold, 270, row.singleNm)), 0.01) << row.what;
        }
    }
}

TEST_F(ApproachPathTest, SecondCallGivesOnePathAndTheIlsStandInIsRestoredByTheBackup)
{
    Route({"HETHR"});
    SetILSPath(&record);
    const std::string once = Names();
    const std::vector<pilot::flightPlanLoc> first = record.flightPlanVec;
    SetILSPath(&record); // the runway window's close box, a new STAR: the path again, not twice
    EXPECT_EQ(Names(), once);
    for (size_t i = 0; i < first.size(); i++)
        EXPECT_LT(RhumbDistance(At(i), {first[i].lat, first[i].lon}), 1e-4) << i;

    // A route fix close in on the final course stands in as the ILS point; the backups keep it a route fix.
    MadeUp({45, 10}, 90);
    AddAt("FAR", RhumbDirect({45, 10}, 280, 60));
    AddAt("CLOSE", RhumbDirect({45, 10}, 275, 11));
    SetILSPath(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/5 Runway 09/6");
    SetILSPath(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/5 Runway 09/6");
    backuPianoDivolo(&record, true, false);
    restorePianoDivolo(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/2");
    SetILSPath(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/5 Runway 09/6");

    // A cleared arrival runway (an airport without runways) gets no path to 0/0.
    record.arrivalRunwayStruct = pilot::runwayStruct();
    SetILSPath(&record);
    EXPECT_EQ(Names(), "FAR/2 CLOSE/2");
    EXPECT_TRUE(Logged("no arrival runway chosen at ZZZZ, no approach path"));
}

TEST_F(ApproachPathTest, PathKmlHasTheRunwayIlsRouteAndArcOrIsEmptyWithoutExport)
{
    Route({"HETHR"});
    SetILSPath(&record);
    const std::string kml = simhost::ReadFile("Resources/plugins/Vellomir64/ILSPath.kml");
    const char *inOrder[] = {"<name>ILS.kml</name><Style id=\"sh_ylw-pushpin\">",
                             "wht-pushpin.png",
                             "<Folder><name>ILS</name>",
                             "<name>Runway 16L on KSEA</name>",
                             "<name>ILS</name>",
                             "<name>0: HETHR</name>",
                             "<name>Approximation 1</name>",
                             "<name>Approximation 2</name>",
                             "</Folder></Document></kml>"};
    size_t at = 0;
    for (const char *part : inOrder) {
        at = kml.find(part, at);
        ASSERT_NE(at, std::string::npos) << part << "\n" << kml;
    }
    EXPECT_NE(kml.find("<coordinates>-122.308,47.4638</coordinates>"), std::string::npos);

    record.kmlExport = 0;
    SetILSPath(&record);
    EXPECT_TRUE(simhost::FileExists("Resources/plugins/Vellomir64/ILSPath.kml"));
    EXPECT_EQ(simhost::ReadFile("Resources/plugins/Vellomir64/ILSPath.kml"), "");

    EXPECT_EQ(Kml_Placemark("A&B <C> \"d\" 'e'\n", 1.5, -2.25),
              "<Placemark><name>A&amp;B &lt;C&gt; &quot;d&quot; &apos;e&apos; </name><styleUrl>#msn_ylw-pushpin"
              "</styleUrl><Point><coordinates>-2.25,1.5</coordinates></Point></Placemark>\n");
}

TEST_F(ApproachPathTest, SeattleToPortlandWholePlanWithApproachOrdersAndLevels)
{
    // Through the procedure functions on a hand-built filed route.
    manualChooseSID = manualChooseSTAR = 0;
    record.depAirportICAO = "KSEA";
    record.arrAirportICAO = "KPDX";
    record.plannedFL = 200;
    record.departureRunwayStruct.lat = 47.4638f;
    record.departureRunwayStruct.lon = -122.3079f;
    record.departureRunwayStruct.heading = 180;
    Fresh("KPDX", "10R");
    record.depAirportICAO = "KSEA";
    record.plannedFL = 200;
    record.arrivalRunwayStruct.heightft = 30;
    Route({"HAROB", "BTG", "HHOOD"});
    char sidRunway[] = "16L", starRunway[] = "10R";
    searchSID11("KSEA", sidRunway, &record);
    fileSID11(&record);
    searchSTAR11("KPDX", starRunway, &record);
    fileSTAR11(&record);
    ASSERT_FALSE(record.ilsPathCreated);
    SetILSPath(&record);
    // NNUTT, the STAR's last fix, is 13 nm out and 24 degrees off the 10R localizer: it is flown as the ILS
    // point and only the runway follows.
    EXPECT_EQ(Names(), "CAVOB/1 RENBE/1 RICHR/1 EMRLD/1 HAROB/2 BTG/2 HHOOD/2 BLRUN/3 SSDEE/3 THEID/3 EMZEY/3 "
                       "CIZZL/3 YORKY/3 NNUTT/5 Runway 10R/6");
    std::vector<int> levels;
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        levels.push_back(loc.fl);
    EXPECT_EQ(levels, (std::vector<int>{200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 30}));
    record.altezzaDiscesaFeet = 6000;
    record.faseDiscesa = 2;
    drawFlighLevels(&record);
    levels.clear();
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        levels.push_back(loc.fl);
    EXPECT_EQ(levels, (std::vector<int>{60, 60, 60, 60, 110, 110, 110, 110, 110, 100, 80, 60, 60, 50, 30}));

    // A new STAR search and filing puts NNUTT back as a STAR fix before the path is built again.
    fileSTAR11(&record);
    EXPECT_EQ(Names().find("NNUTT/3"), Names().size() - 7);
    SetILSPath(&record);
    EXPECT_EQ(Names().substr(Names().size() - 20), "NNUTT/5 Runway 10R/6");

    // With FMS programming (approach points included) the FMS follows: the departure airport's entry, the
    // route, the arrival airport's entry.
    enableFmcProgramming = 1;
    const int approxSaved = programFMSApproxILS;
    programFMSApproxILS = 1;
    SetILSPath(&record);
    programFMSApproxILS = approxSaved;
    const std::vector<simhost::FmsEntry> fms = simhost::FmsPlan();
    ASSERT_EQ(fms.size(), record.flightPlanVec.size() + 2);
    EXPECT_EQ(fms[fms.size() - 3].id, "NNUTT");
    EXPECT_EQ(fms[fms.size() - 2].kind, "latlon"); // the runway point
    EXPECT_NEAR(fms[fms.size() - 2].lat, record.arrivalRunwayStruct.lat, 1e-4);
    enableFmcProgramming = 0;

    // The landing runway chosen again (the runway window, twice): one path, to the runway chosen.
    lookForSTAR = 0;
    record.preferredArrRunwayAirport = "KPDX";
    for (int preferred : {3, 3}) { // 10L
        record.preferredArrRunway = preferred;
        ChangeArrRunway(&record);
        EXPECT_EQ(Names().substr(Names().size() - 20), "NNUTT/5 Runway 10L/6") << Names();
    }
}

} // namespace
