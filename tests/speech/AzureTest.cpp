// The cloud speech service's token and synthesis requests against a local HTTPS server, and when the
// plug-in asks for a token.
#include <chrono>

#include "SpeechFixtures.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "speech/Voices.h"
#include "ui/OptionsWindow.h"

namespace {

using speechtest::CloudSpeechTest;

class AzureTest : public CloudSpeechTest {};

const char *const kTokenPath = "/sts/v1.0/issueToken";
const char *const kSpeechPath = "/cognitiveservices/v1";

TEST_F(AzureTest, TokenIsRequestedWithTheKeyAndKept)
{
    Token({Answer(200, "eyJhbGciOi.token-body.sig")});
    simhost::RunSeconds(5);
    EXPECT_EQ(getAzureToken(), 200);
    EXPECT_STREQ(azureToken, "eyJhbGciOi.token-body.sig");
    EXPECT_FLOAT_EQ(lastAzureTokenUpdateTime, simhost::ElapsedTime());

    std::vector<RecordedRequest> requests = server.RequestsTo(kTokenPath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].Header("Ocp-Apim-Subscription-Key"), "0123456789abcdef");
    EXPECT_EQ(requests[0].Header("User-Agent"), curlUserAgent);
    EXPECT_EQ(requests[0].Header("Content-Length"), "0");
}

TEST_F(AzureTest, TokenRefusedTwiceSwitchesCloudSpeechOff)
{
    Token({Answer(401, "denied")});
    EXPECT_EQ(getAzureToken(), 401);
    EXPECT_EQ(server.RequestsTo(kTokenPath).size(), 2u);
    EXPECT_TRUE(Logged("Retrying request"));
    EXPECT_TRUE(Logged("Deactivating AzureTTS"));
    EXPECT_EQ(azureTtsOn, 0);
    EXPECT_STREQ(azureToken, "");
}

TEST_F(AzureTest, TokenRefusedOnceIsRetriedButAServerErrorIsNot)
{
    Token({Answer(401), Answer(200, "second")});
    EXPECT_EQ(getAzureToken(), 200);
    EXPECT_STREQ(azureToken, "second");
    EXPECT_EQ(azureTtsOn, 1);

    Token({Answer(500, "oops")});
    EXPECT_EQ(getAzureToken(), 500);
    EXPECT_EQ(server.RequestsTo(kTokenPath).size(), 3u);
    EXPECT_EQ(azureTtsOn, 1);
}

TEST_F(AzureTest, HostileTokenCannotInjectHeaders)
{
    Token({Answer(200, "abc\r\nX-Injected: 1")});
    Speech({Answer(200, speechtest::SineWave(100))});
    EXPECT_EQ(getAzureToken(), 200);
    EXPECT_STREQ(azureToken, "abc");
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200);
    ASSERT_EQ(server.RequestsTo(kSpeechPath).size(), 1u);
    EXPECT_EQ(server.RequestsTo(kSpeechPath)[0].Header("X-Injected"), "");
}

TEST_F(AzureTest, ServerWithoutATrustedCertificateGetsNothingUntilSslCertFileNamesItsAuthority)
{
    httpsCaFile[0] = '\0'; // the system's store does not know the test authority
    Token({Answer(200, "secret-token")});
    EXPECT_EQ(getAzureToken(), 0);
    EXPECT_TRUE(server.Requests().empty()) << "the key reached an unverified server";
    EXPECT_STREQ(azureToken, "");

    setenv("SSL_CERT_FILE", server.CaFile().c_str(), 1);
    Https_TakeCaFileFromEnvironment();
    unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(getAzureToken(), 200);
    EXPECT_STREQ(azureToken, "secret-token");
}

TEST_F(AzureTest, SynthesisSendsEscapedSsmlAndHeadersAndWritesTheScratchWave)
{
    snprintf(azureToken, sizeof azureToken, "%s", "tok123");
    std::string wave = speechtest::SineWave(2400);
    Speech({Answer(200, wave)});
    simhost::RunSeconds(3);
    EXPECT_EQ(azureTTS("Cleared to land runway two seven left", "en-US-GuyNeural", false), 200);
    EXPECT_FLOAT_EQ(lastAzureTokenUpdateTime, simhost::ElapsedTime());
    EXPECT_EQ(simhost::ReadFile("Resources/plugins/Vellomir64/Vellomir_temp.wav"), wave);

    std::vector<RecordedRequest> requests = server.RequestsTo(kSpeechPath);
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest &request = requests[0];
    EXPECT_EQ(request.body, "<speak version='1.0' xmlns='http://www.w3.org/2001/10/synthesis' xml:lang='en-US'> "
                            "<voice name='en-US-GuyNeural'> Cleared to land runway two seven left </voice> </speak>");
    EXPECT_EQ(request.Header("User-Agent"), curlUserAgent);
    // The three headers, in this order.
    std::vector<std::string> names;
    for (const auto &header : request.headers)
        if (header.first == "Authorization" || header.first == "X-Microsoft-OutputFormat" ||
            header.first == "Content-type")
            names.push_back(header.first + ": " + header.second);
    EXPECT_EQ(names, (std::vector<std::string>{"Authorization: Bearer tok123",
                                               "X-Microsoft-OutputFormat: riff-24khz-16bit-mono-pcm",
                                               "Content-type: application/ssml+xml"}));

    // A sentence with markup characters stays valid SSML.
    azureTTS("Tom & Jerry <field> 'wind'", "en-US-GuyNeural", false);
    ASSERT_EQ(server.RequestsTo(kSpeechPath).size(), 2u);
    EXPECT_NE(server.RequestsTo(kSpeechPath)[1].body.find("> Tom &amp; Jerry &lt;field&gt; &apos;wind&apos; </voice>"),
              std::string::npos);
}

TEST_F(AzureTest, SynthesisRefusedRenewsTheTokenAndRetries)
{
    snprintf(azureToken, sizeof azureToken, "%s", "expired");
    Token({Answer(200, "fresh")});
    Speech({Answer(401, "expired token"), Answer(200, speechtest::SineWave(100))});
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200);
    std::vector<RecordedRequest> requests = server.RequestsTo(kSpeechPath);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Header("Authorization"), "Bearer expired");
    EXPECT_EQ(requests[1].Header("Authorization"), "Bearer fresh");
    EXPECT_EQ(requests[1].body, requests[0].body);
    EXPECT_TRUE(Logged("Retrying Azure TTS request"));
}

TEST_F(AzureTest, SlowServiceIsAbandonedAtTheTimeLimit)
{
    AzureTTS_SetRequestTimeoutMs(300);
    Speech({Answer(200, speechtest::SineWave(100), 3000)});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.5);
    EXPECT_TRUE(Logged("Azure TTS download failed with error code: 0"));
}

TEST_F(AzureTest, TokenRequestHasTheTenSecondLimit)
{
    AzureTTS_SetRequestTimeoutMs(0); // the standard limit
    Token({Answer(200, "late", 14000)});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(getAzureToken(), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, kAzureRequestTimeoutSeconds - 0.5);
    EXPECT_LT(seconds, kAzureRequestTimeoutSeconds + 2.5);
    EXPECT_TRUE(Logged("Token request failed with error code: "));
}

TEST_F(AzureTest, KeepAliveRenewsOnlyAfterFourHundredSeconds)
{
    Speech({Answer(200, speechtest::SineWave(100))});
    lastAzureTokenUpdateTime = 0;
    simhost::RunSeconds(399);
    AzureTTS_KeepTokenAlive();
    EXPECT_TRUE(server.Requests().empty());

    simhost::RunSeconds(2);
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    std::vector<RecordedRequest> requests = server.RequestsTo(kSpeechPath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(azureReturnCode, 200);

    AzureTTS_KeepTokenAlive(); // fresh again
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 1u);
}

TEST_F(AzureTest, FailingKeepAliveDoesNotBlockEveryFrameAndARefusalRenewsTheToken)
{
    Speech({Answer(503)});
    simhost::RunSeconds(470); // a minute past the other keep-alive test's try, which the process keeps
    AzureTTS_KeepTokenAlive();
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    AzureTTS_KeepTokenAlive();
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 1u);
    simhost::RunSeconds(61);
    Token({Answer(401)});
    Speech({Answer(401)});
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 3u); // tried, and once more after renewing the token
    EXPECT_TRUE(Logged("Azure TTS Token denied, renewing token "));
}

TEST_F(AzureTest, ServiceAddressesFollowTheRegionAndARegionThatIsNotANameSendsNothing)
{
    char url[512];
    azureTokenUrl[0] = azureTtsUrl[0] = '\0';
    snprintf(azureRegion, sizeof azureRegion, "%s", "westeurope");
    ASSERT_TRUE(AzureTTS_TokenEndpoint(url, sizeof url));
    EXPECT_STREQ(url, "https://westeurope.api.cognitive.microsoft.com/sts/v1.0/issueToken");
    ASSERT_TRUE(AzureTTS_SynthesisEndpoint(url, sizeof url));
    EXPECT_STREQ(url, "https://westeurope.tts.speech.microsoft.com/cognitiveservices/v1");

    snprintf(azureRegion, sizeof azureRegion, "%s", "127.0.0.1:1/x?");
    EXPECT_EQ(getAzureToken(), 0);
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 0);
    EXPECT_TRUE(Logged("Azure region '127.0.0.1:1/x?' is not a valid region name, no request sent"));
    azureRegion[0] = '\0';
}

TEST_F(AzureTest, UnwritableScratchFileReturnsOne)
{
    simhost::WriteFile("Resources/plugins/Vellomir64/Vellomir_temp.wav/blocker", "");
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 1);
    EXPECT_TRUE(Logged("can't write file "));
    EXPECT_TRUE(server.Requests().empty());
}

// MARK: when the token is requested: when the user accepts the Azure disclaimer, and at start with the
// cloud engine on (the addresses come from Settings.txt)

TEST_F(AzureTest, UnderstoodInTheDisclaimerRequestsAToken)
{
    Token({Answer(200, "granted")});
    CreateAzureDisclaimerWinControl(400, 600, 740, 130);
    void *window = simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Understood")));
    EXPECT_EQ(simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!"), nullptr);
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    EXPECT_EQ(server.RequestsTo("/sts/v1.0/issueToken").size(), 1u);
    EXPECT_STREQ(azureToken, "granted");
}

TEST_F(AzureTest, PluginAsksForATokenAtStartAndChecksTheServer)
{
    // The loaded plug-in trusts the system's authorities only: the test server's key exchange is refused
    // before the key is sent.
    Token({Answer(200, "granted")});
    simhost::WriteFile("Resources/plugins/Vellomir64/Voices.txt", "random01#en-US-GuyNeural\n");
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt",
                       "welcomeMessage202012#0\nazureTtsOn#1\nazureKey#secret\nazureTokenUrl#" +
                           server.Url("/sts/v1.0/issueToken") + "\n");
    ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
    for (int i = 0; i < 400 && !Logged("Token request failed with error code: "); i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        simhost::RunFrame();
    }
    EXPECT_TRUE(Logged("Token request failed with error code: "));
    EXPECT_TRUE(server.Requests().empty());
    // The address stays in the file when the settings are written back.
    simhost::UnloadPlugin();
    EXPECT_NE(simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt")
                  .find("azureTokenUrl#" + server.Url("/sts/v1.0/issueToken") + "\n"),
              std::string::npos);
}

} // namespace
