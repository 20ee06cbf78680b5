// The scenery index: global and custom apt.dat files in X-Plane's priority, ILS, AIRAC cycles.
#include "navdata/AptFiles.h"
#include "support/PluginHost.h"

namespace {

const char kPluginNavdata[] = "Resources/plugins/Vellomir64/navdata/";

class SceneryIndexTest : public HostTest {
  protected:
    void SetUp() override { HostTest::SetUp(); ClearSceneryIndex(); }
    /// An apt.dat defining KSEA (with a tower frequency telling which file it is) and one more airport.
    static std::string Airports(const std::string &other, int tower)
    {
        return AptText("1 433 1 0 KSEA Seattle\n54 " + std::to_string(tower) + " TWR\n1 10 1 0 " + other + " Other\n");
    }
    void Pack(const std::string &name, const std::string &apt)
    {
        simhost::WriteFile("Custom Scenery/" + name + "/Earth nav data/apt.dat", apt);
    }
    /// Which file the index sends KSEA to, by its tower frequency.
    static double KseaTower()
    {
        Parser parser;
        const AptDat &entry = IcaoMap["KSEA"];
        parser.readAptDat("KSEA", entry.ICAOfilePath, entry.readOffset, 0);
        return parser.towerFrequency / 10;
    }
};

TEST_F(SceneryIndexTest, PackListedFirstInSceneryPacksIniWinsAndDisabledPacksAreNotRead)
{
    simhost::WriteFile(simhost::GlobalAptDatPath(12000), Airports("KBFI", 11000));
    Pack("Alpha", Airports("KRNT", 12000));
    Pack("Beta", Airports("KPAE", 13000));
    Utils_readAllAptDat();
    EXPECT_EQ(KseaTower(), 12000); // without a list the first pack by name wins, as in X-Plane
    EXPECT_EQ(IcaoMap.size(), 4u);

    ClearSceneryIndex();
    Pack("Gamma", Airports("KTIW", 11500));
    simhost::WriteSceneryPacksIni({{"Alpha", true}, {"Beta", true}, {"Gamma", false}});
    Utils_readAllAptDat();
    EXPECT_EQ(KseaTower(), 12000);
    EXPECT_EQ(IcaoMap.count("KTIW"), 0u);
    EXPECT_TRUE(Logged("scenery pack disabled, not read: Custom Scenery/Gamma/"));
    EXPECT_TRUE(Logged("scenery_packs.ini: 2 packs enabled, 1 disabled, 0 not listed"));

    ClearSceneryIndex();
    simhost::WriteSceneryPacksIni({{"Alpha", false}, {"Beta", true}, {"Gamma", false}});
    Pack("Delta", AptText("1 10 1 0 KOLM Olympia\n")); // new since the list was written
    Utils_readAllAptDat();
    EXPECT_EQ(KseaTower(), 13000);
    EXPECT_EQ(IcaoMap.count("KOLM"), 1u);
}

TEST_F(SceneryIndexTest, PackWithoutAirportsAndMissingNavDataLeaveAnEmptyIndexAndSaySo)
{
    simhost::InstallCustomScenery("Orthophotos");
    testing::internal::CaptureStdout();
    Utils_readAllAptDat();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Orthophotos/Earth nav data/apt.dat, No such file or directory 2"), std::string::npos) << out;
    EXPECT_TRUE(IcaoMap.empty() && ILSMap.empty() && earthNavDatVersion.empty());
    EXPECT_TRUE(Logged("can't find custom nav data " + simhost::SystemPath() + kPluginNavdata + "earth_nav.dat"));
    EXPECT_TRUE(Logged("can't find custom fix data"));
}

TEST_F(SceneryIndexTest, FolderOfMoreNamesThanOneListingHoldsIsListedWhole)
{
    // 300 names of 243 characters: more than the host's 64,000-byte listing buffer.
    for (int i = 100; i < 400; i++)
        simhost::WriteFile("Many/" + std::string(240, 'z') + std::to_string(i), "");
    std::vector<std::string> names = getDirContent(simhost::SystemPath() + "Many");
    ASSERT_EQ(names.size(), 300u);
    EXPECT_EQ(names.back(), std::string(240, 'z') + "399");
}

TEST_F(SceneryIndexTest, FileThatIsNotAnAptDatIsSkippedAndAVersionLineWithoutCycleGivesNone)
{
    std::string path = HostFile("bad.dat", "1 433 1 0 KSEA Seattle\n");
    parseSingleAptDat(path);
    EXPECT_TRUE(IcaoMap.empty());
    EXPECT_TRUE(Logged("invalid apt.dat in " + path));
    parseSingleAptDat(HostFile("mac.dat", "A\r1 433 1 0 KSEA Seattle\r99\r")); // 'A': a classic Mac file
    EXPECT_EQ(IcaoMap.count("KSEA"), 1u);

    const std::pair<const char *, const char *> versions[] = {
        {"I\n1100 Version - data cycle 2013, build 20201014\n", "2013"},
        {"I\n\n1200 Version - data cycle 1911, build 2025\n", "1911"},
        {"I\nno version here\n99\n", ""}};
    for (const auto &v : versions)
        EXPECT_EQ(ottieniVersioneAiracFile(HostFile("v.dat", v.first)), v.second) << v.first;
    EXPECT_EQ(ottieniVersioneAiracFile(simhost::SystemPath() + "missing.dat"), "");
    EXPECT_TRUE(Logged("unable to parse " + simhost::SystemPath() + "missing.dat"));
}

TEST_F(SceneryIndexTest, LocalizerBearingsByNavDataLayout)
{
    std::string nav = "I\n1200 Version - data cycle 1911\n\n"
                      " 4  47.43 -122.31 0 11030 18 123840.337 ISEA KSEA K1 16R ILS-cat-III\n"
                      " 5  47.50 -122.20 0 10810 18 1167.5 IRNT KRNT K1 34\n"
                      " 4  47.44 -122.30 0 11030 18 180.0 IBAD KSEA K1\n"
                      " 3  47.43 -122.31 0 11680 130 19.0 SEA ENRT K1 SEATTLE VORTAC\n99\n";
    simhost::WriteFile(std::string(kPluginNavdata) + "earth_nav.dat", nav);
    simhost::WriteFile(std::string(kPluginNavdata) + "earth_fix.dat", "I\n1200 Version - data cycle 1911\n99\n");
    Utils_readAllAptDat();
    ASSERT_EQ(ILSMap["KSEA"].ils.size(), 1u); // the row without a runway is skipped
    const ILSDat &sea = ILSMap["KSEA"].ils[0];
    EXPECT_EQ(sea.runway, "16R");
    EXPECT_NEAR(sea.bearing, 0.337, 0.01);
    EXPECT_FLOAT_EQ(ILSMap["KRNT"].ils[0].bearing, 87.5f);
    EXPECT_EQ(earthNavDatVersion, "1911");

    ClearSceneryIndex();
    ResetHost(10500); // before the region field: the runway is field 9
    simhost::WriteFile(std::string(kPluginNavdata) + "earth_nav.dat",
                       "I\n810 Version\n4 47.43 -122.31 0 11030 18 163.2 ISEA KSEA 16R ILS-cat-III\n99\n");
    Utils_readAllAptDat();
    ASSERT_EQ(ILSMap["KSEA"].ils.size(), 1u);
    EXPECT_EQ(ILSMap["KSEA"].ils[0].runway, "16R");
    EXPECT_FLOAT_EQ(ILSMap["KSEA"].ils[0].bearing, 163.2f);
}

} // namespace
