// Procedure data for the search and insertion tests.
#include "support/ProcedureData.h"

#include "Harness.h"
#include "support/PluginHost.h"

namespace
{
const char *kNavdata = "Resources/plugins/Vellomir64/navdata/";
}

void LayProcedureData(const std::vector<std::string> &airports)
{
    const std::string sample = std::string(VELLOMIR_SOURCE_DIR) + "/data/sample/navdata/";
    EXPECT_TRUE(simhost::LayNavData(simhost::NavDataFile::EarthNav, sample + "earth_nav.dat"));
    EXPECT_TRUE(simhost::LayNavData(simhost::NavDataFile::EarthFix, sample + "earth_fix.dat"));
    EXPECT_TRUE(simhost::CopyFileInto(sample + "earth_nav.dat", std::string(kNavdata) + "earth_nav.dat"));
    EXPECT_TRUE(simhost::CopyFileInto(sample + "earth_fix.dat", std::string(kNavdata) + "earth_fix.dat"));
    for (const std::string &icao : airports) {
        const std::string target = std::string(kNavdata) + "CIFP/" + icao + ".dat";
        if (!simhost::CopyFileInto(sample + "CIFP/" + icao + ".dat", target))
            EXPECT_TRUE(simhost::CopyFileInto(TestData("cifp/" + icao + ".dat"), target)) << icao;
    }
}

void WriteCifp(const std::string &airport, const std::string &contents)
{
    simhost::WriteFile(std::string(kNavdata) + "CIFP/" + airport + ".dat", contents);
}
