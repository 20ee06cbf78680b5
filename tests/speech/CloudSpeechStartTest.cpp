// When the token is requested: at start with the cloud engine on, and when the user accepts the Azure
// disclaimer. The addresses come from Settings.txt.
#include "SpeechFixtures.h"
#include "ui/OptionsWindow.h"

namespace {

using speechtest::CloudSpeechTest;

class CloudSpeechStartTest : public CloudSpeechTest {};

TEST_F(CloudSpeechStartTest, UnderstoodInTheDisclaimerRequestsAToken)
{
    Token({Answer(200, "granted")});
    CreateAzureDisclaimerWinControl(400, 600, 740, 130);
    void *window = simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Understood")));
    EXPECT_EQ(simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!"), nullptr);
    EXPECT_EQ(server.RequestsTo("/sts/v1.0/issueToken").size(), 1u);
    EXPECT_EQ(azureReturnCode, 200);
    EXPECT_STREQ(azureToken, "granted");
}

TEST_F(CloudSpeechStartTest, PluginAsksForATokenAtStartAndChecksTheServer)
{
    // The loaded plug-in trusts the system's authorities only: the test server's key exchange is refused
    // before the key is sent.
    Token({Answer(200, "granted")});
    simhost::WriteFile("Resources/plugins/Vellomir64/Voices.txt", "random01#en-US-GuyNeural\n");
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt",
                       "welcomeMessage202012#0\nazureTtsOn#1\nazureKey#secret\nazureTokenUrl#" +
                           server.Url("/sts/v1.0/issueToken") + "\n");
    ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
    EXPECT_TRUE(Logged("AzureTTS init"));
    EXPECT_TRUE(Logged("Token request failed with error code: "));
    EXPECT_TRUE(server.Requests().empty());
    // The address stays in the file when the settings are written back.
    simhost::UnloadPlugin();
    EXPECT_NE(simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt")
                  .find("azureTokenUrl#" + server.Url("/sts/v1.0/issueToken") + "\n"),
              std::string::npos);
}

} // namespace
