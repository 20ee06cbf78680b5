// The dialogue box: word wrapping, three lines, time stamps and colours; the radio history.
#include <cctype>

#include "comms/DialogBox.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class DialogBoxTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        gOutputDialogues.clear();
        HisotryComunicazioniRadio.clear();
    }
    void TearDown() override
    {
        simTimeStampMessages = 0;
        HostTest::TearDown();
    }
    static std::string Words(int count, const char *word)
    {
        std::string text;
        for (int i = 0; i < count; i++)
            text += (i ? " " : "") + std::string(word);
        return text;
    }
};

TEST_F(DialogBoxTest, ThreeHundredCharacterTextTakesTwoLinesOfAtMost220)
{
    std::string text = Words(50, "abcde"); // 299 characters
    AddToDialogArray(text.c_str(), white);
    ASSERT_EQ(gOutputDialogues.size(), 2u);
    std::string first = gOutputDialogues[0].substr(gOutputDialogues[0].find('#') + 10);
    std::string second = gOutputDialogues[1].substr(gOutputDialogues[1].find('#') + 10);
    EXPECT_EQ(first, Words(36, "abcde")); // 36 words are 215 characters, a 37th would make 221
    EXPECT_EQ(second, Words(14, "abcde"));
}

TEST_F(DialogBoxTest, LinesCarryColourAndTimeAndAFourthPushesTheOldestOut)
{
    float amber[3] = {1.0f, 0.5f, 0.0f};
    AddToDialogArray("one", white);
    AddToDialogArray("two", white);
    AddToDialogArray("three", amber);
    const std::string &line = gOutputDialogues[2]; // the computer's time by default
    ASSERT_EQ(line.size(), 41u) << line;
    EXPECT_EQ(line.substr(0, 27), "1.000000:0.500000:0.000000#");
    EXPECT_TRUE(line[29] == ':' && line[32] == ':' && isdigit((unsigned char)line[34])) << line;
    EXPECT_EQ(line.substr(35), " three");
    AddToDialogArray("four  words   with  blanks", white);
    ASSERT_EQ(gOutputDialogues.size(), 3u);
    EXPECT_NE(gOutputDialogues[0].find(" two"), std::string::npos);
    EXPECT_NE(gOutputDialogues[2].find(" four words with blanks"), std::string::npos);
    AddToDialogArray(Words(120, "abcdef").c_str(), white); // four lines at once: only the last three stay
    EXPECT_EQ(gOutputDialogues.size(), 3u);

    System_FindFlightDataRefs(12000);
    simhost::SetFloat("sim/time/local_time_sec", 3723.0f);
    simTimeStampMessages = 1;
    AddToDialogArray("hello", white);
    EXPECT_EQ(gOutputDialogues.back(), "1.000000:1.000000:1.000000#01:02:03 hello");
}

} // namespace
