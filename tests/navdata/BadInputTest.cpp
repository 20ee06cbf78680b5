// The airport reader and the index on broken files: no crash, nothing read past a line, clear log lines;
// the readers' number conversions on garbage.
#include <climits>
#include <random>

#include "navdata/AptFiles.h"
#include "support/PluginHost.h"
#include "ui/Utils.h"

namespace {

const std::string kAirport = "1 433 1 0 KSEA Seattle\n54 11990 TWR\n" +
                             RunwayRow("16L", 47.46, -122.31, 0, 60, "34R", 47.43, -122.31) +
                             "1300 47.44 -122.30 90 gate jets A1\n";

class BadInputTest : public HostTest {
  protected:
    Parser parser;
    void SetUp() override { HostTest::SetUp(); ClearSceneryIndex(); }
    /// Indexes the file and reads KSEA at its offset.
    int IndexAndRead(const std::string &path)
    {
        parseSingleAptDat(path);
        const AptDat &entry = IcaoMap["KSEA"];
        return parser.readAptDat("KSEA", entry.ICAOfilePath, entry.readOffset, 0);
    }
};

std::string Replace(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(BadInputTest, ClassicMacAndWindowsLineEndsReadLikeUnix)
{
    std::string text = AptText("1 10 1 0 KBFI Boeing\n\n" + kAirport);
    for (const char *ending : {"\r", "\r\n", "\n\r\n"}) {
        ClearSceneryIndex();
        ASSERT_EQ(IndexAndRead(HostFile("ends.dat", Replace(text, "\n", ending))), 1) << "ending " << (int)ending[0];
        EXPECT_EQ(parser.towerFrequency, 119900);
        ASSERT_EQ(parser.runways.size() * 10 + parser.parkings.size(), 21u);
        EXPECT_EQ(parser.runways[1].name + (" " + parser.parkings[0].name), "34R A1");
        EXPECT_EQ(IcaoMap.count("KBFI"), 1u);
    }
}

TEST_F(BadInputTest, TruncatedFileKeepsWhatWasWhole)
{
    std::string text = AptText(kAirport + "1 10 1 0 KBFI Boeing\n");
    std::string cut = text.substr(0, text.find("1300") + 12); // ends inside the parking row
    EXPECT_EQ(IndexAndRead(HostFile("cut.dat", cut)), 1);
    EXPECT_EQ(parser.runways.size(), 2u);
    EXPECT_TRUE(parser.parkings.empty());
    EXPECT_TRUE(Logged("row 1300 needs 6 fields, has 3; skipped"));
    ClearSceneryIndex();
    EXPECT_EQ(IndexAndRead(HostFile("header.dat", "I\n1 433 1 0 KS")), 0); // header cut inside its identifier
    EXPECT_EQ(IcaoMap.count("KS"), 1u);
}

TEST_F(BadInputTest, RandomBytesNeitherCrashNorOverflow)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; round++) {
        std::string bytes(20000, 0);
        for (char &c : bytes)
            c = (char)(random() % 4 == 0 ? "1 \n\r0.5-9"[random() % 9] : random() % 256);
        if (round % 2 == 0)
            bytes[0] = 'I'; // past the first-byte check
        std::string path = HostFile("random.dat", bytes);
        parseSingleAptDat(path);
        for (const auto &entry : IcaoMap)
            parser.readAptDat(entry.first, path, entry.second.readOffset, 0);
        parser.readAptDat("KSEA", path, 0, 0);
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(BadInputTest, MegabyteLineIsSkippedWholeNotReadAsRows)
{
    // A parking row with a one-megabyte name whose tail looks like a runway row.
    std::string huge = "1300 47.44 -122.30 90 gate jets " + std::string(1 << 20, 'x') + " " +
                       RunwayRow("01", 47.0, -122.0, 0, 0, "19", 47.1, -122.0);
    std::string path = HostFile("huge.dat", AptText("1 10 1 0 KBFI " + std::string(1 << 20, 'B') + "\n" + kAirport +
                                                    huge + "100 bogus\n"));
    ASSERT_EQ(IndexAndRead(path), 1);
    EXPECT_EQ(IcaoMap.count("KBFI"), 1u); // the index reads a long header whole
    EXPECT_EQ(parser.runways.size(), 2u);
    EXPECT_EQ(parser.parkings.size(), 1u);
    EXPECT_TRUE(Logged("longer than 2047 bytes, skipped"));
    EXPECT_TRUE(Logged("row 100 needs 22 fields, has 2; skipped"));

    // A header longer than the index's read block is skipped and the next airport still found.
    ClearSceneryIndex();
    path = HostFile("block.dat", AptText("1 10 1 0 KBFI " + std::string(3 << 20, 'B') + "\n" + kAirport));
    EXPECT_EQ(IndexAndRead(path), 1);
    EXPECT_EQ(IcaoMap.count("KBFI"), 0u);
    EXPECT_TRUE(Logged("line at offset"));
}

TEST_F(BadInputTest, OffsetPastTheEndOrMissingFileReadsNothing)
{
    std::string path = HostFile("small.dat", AptText(kAirport));
    EXPECT_EQ(parser.readAptDat("KSEA", path, 1 << 30, 0), 0);
    EXPECT_TRUE(parser.runways.empty());
    EXPECT_EQ(parser.towerFrequency, 126850);
    EXPECT_EQ(parser.readAptDat("KSEA", path, -5, 0), 0);
    EXPECT_TRUE(Logged("Error seeking " + path + " to offset -5"));
    // An airport the index does not know: its default entry has no file.
    EXPECT_EQ(parser.readAptDat("ZZZZ", IcaoMap["ZZZZ"].ICAOfilePath, IcaoMap["ZZZZ"].readOffset, 0), 0);
    EXPECT_TRUE(Logged("Error opening file: "));
    EXPECT_EQ(parser.towerFrequency, 0);
}

// The readers' number conversions on garbage: 0 (the readers' tests read the numbers of real rows).
TEST(ConversionsTest, GarbageOverflowAndNonNumbersGiveZero)
{
    for (const char *text : {"", "abc", "+-5", "nan", "inf", "x1"}) {
        EXPECT_EQ(Utils::stringToDouble(text), 0) << text;
        EXPECT_EQ(Utils::stringToInt(text), 0) << text;
        EXPECT_EQ(Utils::stringToFloat(text), 0) << text;
    }
    EXPECT_EQ(Utils::stringToInt("99999999999"), INT_MAX); // clamped, as stream extraction stores it
    EXPECT_EQ(Utils::stringToDouble("1e999") + Utils::stringToFloat("1e39") + Utils::stringToInt(nullptr) +
                  Utils::stringToDoubleCut5Digits("TWR", true),
              0);
    double value = 7;
    for (const char *text : {"47.1N", "nan", "5+"})
        EXPECT_FALSE(Utils_ParseDouble(text, &value)) << text;
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(Utils_ParseDouble(" -33.5\r\n", &value));
    EXPECT_EQ(value, -33.5);
}

} // namespace
