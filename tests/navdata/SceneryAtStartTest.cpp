// The real plug-in indexes the bundled sample's airports and localizers while X-Plane starts it.
#include "support/PluginHost.h"

namespace {

class SceneryAtStartTest : public PluginTest {};

TEST_F(SceneryAtStartTest, BundledSampleIsIndexedAtStartOnXPlane11And12)
{
    for (int version : {11300, 12000}) {
        ResetHost(version);
        ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
        ASSERT_TRUE(Load(version));
        EXPECT_TRUE(Logged("airport index: 517 airports, ILS index: 34 airports")) << version;
        EXPECT_TRUE(Logged("earth_nav.dat version: 1911"));
        EXPECT_TRUE(Logged("earth_fix.dat version: 1911"));
        EXPECT_TRUE(simhost::HostErrors().empty());
        // The scan happens between the menu and the flight datarefs of the start sequence.
        const std::vector<std::string> &log = simhost::LogLines();
        auto at = [&](const char *text) {
            for (size_t i = 0; i < log.size(); i++)
                if (log[i].find(text) != std::string::npos)
                    return i;
            return log.size();
        };
        EXPECT_LT(at("loading X-Plane apt.dat"), at("User debug enabled"));
        // The simulated X-Plane's own navigation database has the region too.
        simhost::NavDatabaseInfo database = simhost::LoadNavDatabase();
        EXPECT_EQ(database.airports, 517);
        EXPECT_EQ(database.warningCount, 0) << (database.warnings.empty() ? "" : database.warnings[0]);
        simhost::UnloadPlugin();
    }
}

} // namespace
