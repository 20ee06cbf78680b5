// Inputs the fuzz targets (fuzz/) found to break the airport readers, kept as they were found.
#include "navdata/AptFiles.h"
#include "support/PluginHost.h"

namespace {

class FuzzRegressionTest : public HostTest {
  protected:
    Parser parser;
    void SetUp() override
    {
        HostTest::SetUp();
        ClearSceneryIndex();
    }
};

// fuzz_SceneryIndex: a header row indented with a vertical tab or form feed is row 1 to the airport
// reader, but the index passed it over, so the airport could not be filed.
TEST_F(FuzzRegressionTest, DepartureWhoseHeaderIsIndentedWithAFormFeedCanBeFiled)
{
    std::string path = HostFile("indented.dat", "I\n\v1 0 0 0 KVT\n\f16 0 0 0 KFF\n");
    parseSingleAptDat(path);
    ASSERT_EQ(IcaoMap.count("KVT"), 1u);
    ASSERT_EQ(IcaoMap.count("KFF"), 1u);
    EXPECT_EQ(IcaoMap["KVT"].readOffset, 2);
    EXPECT_EQ(parser.readAptDat("KFF", path, IcaoMap["KFF"].readOffset, 0), 1);
}

} // namespace
