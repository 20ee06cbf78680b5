// Voices.txt and the controller voice.
#include "speech/Voices.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class VoicesTest : public HostTest {
  protected:
    void SetUp() override { HostTest::SetUp(); azureTtsOn = 1; voceRandomAttuale[0] = '\0'; }
    void TearDown() override { azureTtsOn = 0; HostTest::TearDown(); }
    static void VoicesFile(const std::string &s) { simhost::WriteFile("Resources/plugins/Vellomir64/Voices.txt", s); }
};

TEST_F(VoicesTest, OnlyKeysRandom01ToRandom15WithTwoDigitsAndShortNamesCount)
{
    VoicesFile("random01#en-US-GuyNeural\r\n"
               "random1#en-US-OneDigitNeural\n"
               "random00#en-US-ZeroNeural\n"
               "random16#en-US-SixteenNeural\n"
               "Random02#en-US-CaseNeural\n"
               "random15##en-GB-SoniaNeural#\n"                     // runs of "#" give no empty token
               "random03#en-US-A#extra\n"                           // three tokens: skipped
               "random04\n"                                         // no value
               "random05#en-US-AVoiceNameFarTooLongForTheBuffer\n"  // refused, not cut
               "random01#en-US-GuyNeural\n");                       // twice: two entries
    readVoices();
    readVoices(); // reading again starts from an empty list
    ASSERT_EQ(vociRandom.size(), 3u);
    EXPECT_STREQ(vociRandom[0].name, "en-US-GuyNeural"); // CR stripped
    EXPECT_STREQ(vociRandom[1].name, "en-GB-SoniaNeural");
    EXPECT_STREQ(vociRandom[2].name, "en-US-GuyNeural");
    EXPECT_EQ(vociRandom[0].scelta, 0);
    EXPECT_TRUE(Logged("line 9: voice name longer than 31 characters ignored"));
}

TEST_F(VoicesTest, MissingOrEmptyFileSwitchesCloudSpeechOffButAUserVoiceAloneKeepsIt)
{
    readVoices();
    EXPECT_TRUE(Logged("Voices.txt not found!"));
    EXPECT_EQ(vociCustom, 0);
    EXPECT_EQ(azureTtsOn, 0);

    azureTtsOn = 1;
    VoicesFile("garbage\n\x01\x02#\n###\n");
    readVoices();
    EXPECT_EQ(azureTtsOn, 0);
    EXPECT_TRUE(Logged("Random voices found: 0"));

    azureTtsOn = 1;
    VoicesFile("user#en-US-JennyNeural\n");
    readVoices();
    EXPECT_EQ(vociCustom, 1);
    EXPECT_TRUE(vociRandom.empty());
    CambiaVoceRandom(); // no controller voice to choose
    EXPECT_STREQ(voceRandomAttuale, "");
    EXPECT_EQ(azureTtsOn, 1);
}

class VoicesPluginTest : public PluginTest {};

TEST_F(VoicesPluginTest, StartReadsVoicesAndPicksAControllerVoiceAndResetReadsThemAgain)
{
    PluginFile("Voices.txt", "random01#en-US-GuyNeural\n");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(Logged("Setting new random voice: en-US-GuyNeural (0/1)"));

    PluginFile("Voices.txt", "random01#en-GB-SoniaNeural\nrandom02#en-GB-SoniaNeural\n");
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Reset plugin"));
    EXPECT_TRUE(Logged("Setting new random voice: en-GB-SoniaNeural") && Logged("Random voices found: 2"));
}

} // namespace
