// Inputs the fuzz targets (fuzz/) found to break the airport readers, kept as they were found.
#include "navdata/AptFiles.h"
#include "support/PluginHost.h"

namespace {

class FuzzRegressionTest : public HostTest {
  protected:
    Parser parser;
    void SetUp() override { HostTest::SetUp(); ClearSceneryIndex(); }
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

// fuzz_AptReader: a tower frequency beyond any integer made the check for a missing tower undefined;
// a huge negative legacy frequency became infinite when extended to kHz.
TEST_F(FuzzRegressionTest, TowerWithAnAbsurdFrequencyGivesTheFakeOneNotGarbage)
{
    const std::string absurd[] = {"1054 123455" + std::string(100, '9') + " TWR\n", "54 -1e308 TWR\n",
                                  "1054 1234567 TWR\n", "1053 -121800 GND\n"};
    for (const std::string &row : absurd) {
        std::string path = HostFile("absurd.dat", AptText("1 433 1 0 KSEA Seattle\n" + row));
        ASSERT_EQ(parser.readAptDat("KSEA", path, 0, 0), 1);
        EXPECT_EQ(parser.towerFrequency, 126850) << row;
        EXPECT_EQ(parser.groundFrequency, 0) << row;
    }
    EXPECT_TRUE(Logged("airport KSEA, row 54 frequency '-1e308' is not a COM frequency"));
}

} // namespace
