// Navigation data inputs the fuzz target (fuzz/targets/SimhostNavData.cpp) found, kept as they were found.
#include <cmath>
#include <string>

#include "Harness.h"
#include "XPLMNavigation.h"
#include "support/PluginHost.h"

namespace {

class NavDataFuzzRegression : public HostTest {};

// fuzz_SimhostNavData: an elevation beyond a float's range became an infinite height; such a row is
// now reported and skipped like any other unreadable number.
TEST_F(NavDataFuzzRegression, LocalizerAtAnAbsurdElevationIsSkippedNotInfinitelyHigh)
{
    simhost::WriteNavData(simhost::NavDataFile::EarthNav,
                          "I\n810 Version - data cycle 2008.01\n\n"
                          "4  47.46403060 -122.31078900    356 11030  18   180.000 ISNQ KSEA 16L ILS-cat-I\n"
                          "5  47.43000000 -122.30000000 " + std::string(114, '6') +
                              "   356 11150  18   360.000 IBEJ KSEA 34R LOC\n99\n");
    simhost::WriteFile(simhost::GlobalAptDatPath(12000), "I\n1100 Version\n\n1 1e39 0 0 KHI High\n"
                                                         "1302 datum_lat 47.4\n1302 datum_lon -122.3\n99\n");
    simhost::NavDatabaseInfo info = simhost::LoadNavDatabase();
    EXPECT_EQ(info.navaids, 1);
    EXPECT_EQ(info.airports, 0);
    EXPECT_EQ(info.warningCount, 2);
    for (XPLMNavRef ref = XPLMGetFirstNavAid(); ref != XPLM_NAV_NOT_FOUND; ref = XPLMGetNextNavAid(ref)) {
        float height = 0, heading = 0;
        XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, &height, nullptr, &heading, nullptr, nullptr, nullptr);
        EXPECT_TRUE(std::isfinite(height) && std::isfinite(heading));
    }
}

} // namespace
