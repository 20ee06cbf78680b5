// Airline telephony designators from the shipped ICAOCodes.dat, and from damaged copies of it.
#include <fstream>
#include <sstream>

#include "Harness.h"
#include "navdata/Callsigns.h"
#include "support/PluginHost.h"

namespace {

const char *const kFile = "Resources/plugins/Vellomir64/ICAOCodes.dat";

class CallsignsTest : public HostTest {};

TEST_F(CallsignsTest, ShippedFileNamesAirlinesByTheirDesignatorInAnyCase)
{
    std::stringstream text;
    text << std::ifstream(std::string(VELLOMIR_SOURCE_DIR) + "/data/plugin/ICAOCodes.dat", std::ios::binary).rdbuf();
    simhost::WriteFile(kFile, text.str());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ASA", "ALASKA"}, // the source row's callsign is " Inc."
        {"BAW", "SPEEDBIRD"}, {"qxe", "HORIZON"}, {"dal", "DELTA"},
        {"ZZZ", "ZZZ"}, {"zzq", "zzq"}, {"", ""}, // not found: the code as passed
    };
    for (const auto &c : cases)
        EXPECT_STREQ(Utils_nomeLinea(c.first.c_str()), c.second.c_str()) << c.first;
    EXPECT_TRUE(Logged("cannot find ICAO Airline ZZQ"));
    // The credit and the licence the source's licence asks for, in the file's comment header.
    std::string header = text.str().substr(0, text.str().find("\n#", text.str().find("Open Database License")));
    EXPECT_NE(header.find("OpenFlights"), std::string::npos);
}

TEST_F(CallsignsTest, DamagedFileLinesAreSkippedAndAMissingFileGivesTheCode)
{
    EXPECT_STREQ(Utils_nomeLinea("asa"), "asa");
    EXPECT_TRUE(Logged("ERROR: cannot open ICAOCodes.dat"));
    const char damaged[] = "# ASA;comment;NOT THIS\r\n"
                           "ASA;Alaska\r\n"       // no third field
                           "ASA;Alaska;AL@SKA\n" // phrase markup in the name
                           "BAS;Basler;BASLER\n"
                           "XAS;Other;OTHER\n" // a two-letter code: the last line containing it
                           "DAL;Delta;DELTA;extra;fields\r\n"
                           "EZY;easy\0Jet;EASY\n";
    simhost::WriteFile(kFile, std::string(damaged, sizeof damaged - 1));
    for (auto c : std::vector<std::pair<const char *, const char *>>{
             {"asa", "asa"}, {"AS", "OTHER"}, {"DAL", "DELTA"}, {"EZY", "EASY"}})
        EXPECT_STREQ(Utils_nomeLinea(c.first), c.second) << c.first;
    std::string longCode(100, 'A');
    EXPECT_STREQ(Utils_nomeLinea(longCode.c_str()), std::string(64, 'A').c_str());
}

} // namespace
