// Lays the tests' navigation data into the simulated X-Plane.
#include "support/NavData.h"

#include "Harness.h"
#include "support/PluginHost.h"

void LayTestNavDatabase()
{
    EXPECT_TRUE(simhost::LayNavData(simhost::NavDataFile::EarthNav, TestData("navdb/earth_nav.dat")));
    EXPECT_TRUE(simhost::LayNavData(simhost::NavDataFile::EarthFix, TestData("navdb/earth_fix.dat")));
    const char *global = simhost::CurrentOptions().xplaneVersion >= 12000
                             ? "Global Scenery/Global Airports/Earth nav data/apt.dat"
                             : "Resources/default scenery/default apt dat/Earth nav data/apt.dat";
    EXPECT_TRUE(simhost::CopyFileInto(TestData("navdb/apt.dat"), global));
}
