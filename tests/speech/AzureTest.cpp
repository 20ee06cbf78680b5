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

TEST_F(AzureTest, TokenAnswersAreKeptRetriedOnceOrSwitchCloudSpeechOff)
{
    const struct {
        const char *what;
        std::vector<ScriptedResponse> answers;
        bool trusted;
        int status;
        const char *token;
        int on;
        size_t requests;
        bool namedBySslCertFile; ///< the authority comes from the environment, as OpenSSL programs take it
    } rows[] = {
        {"granted", {Answer(200, "eyJhbGciOi.token-body.sig")}, true, 200, "eyJhbGciOi.token-body.sig", 1, 1, false},
        {"refused once", {Answer(401), Answer(200, "second")}, true, 200, "second", 1, 2, false},
        {"server error: not retried", {Answer(500, "oops")}, true, 500, "", 1, 1, false},
        {"refused twice", {Answer(401, "denied")}, true, 401, "", 0, 2, false},
        // the system's store does not know the test authority: the key never reaches the server
        {"untrusted server", {Answer(200, "secret-token")}, false, 0, "", 1, 0, false},
        {"authority in SSL_CERT_FILE", {Answer(200, "env-token")}, false, 200, "env-token", 1, 1, true},
        {"hostile token", {Answer(200, "abc\r\nX-Injected: 1")}, true, 200, "abc", 1, 1, false},
    };
    simhost::RunSeconds(5);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        azureToken[0] = '\0';
        azureTtsOn = 1;
        snprintf(httpsCaFile, sizeof httpsCaFile, "%s", row.trusted ? server.CaFile().c_str() : "");
        if (row.namedBySslCertFile) {
            setenv("SSL_CERT_FILE", server.CaFile().c_str(), 1);
            Https_TakeCaFileFromEnvironment();
            unsetenv("SSL_CERT_FILE");
        }
        const size_t before = server.RequestsTo(kTokenPath).size();
        Token(row.answers);
        EXPECT_EQ(getAzureToken(), row.status);
        EXPECT_STREQ(azureToken, row.token);
        EXPECT_EQ(azureTtsOn, row.on);
        EXPECT_EQ(server.RequestsTo(kTokenPath).size() - before, row.requests);
    }
    EXPECT_FLOAT_EQ(lastAzureTokenUpdateTime, simhost::ElapsedTime());
    const RecordedRequest first = server.RequestsTo(kTokenPath)[0];
    EXPECT_EQ(first.method, "POST");
    EXPECT_EQ(first.Header("Ocp-Apim-Subscription-Key"), "0123456789abcdef");
    EXPECT_EQ(first.Header("User-Agent"), curlUserAgent);
    EXPECT_EQ(first.Header("Content-Length"), "0");
    // The hostile token's second line never becomes a header of the synthesis request.
    Speech({Answer(200, speechtest::SineWave(100))});
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200);
    ASSERT_EQ(server.RequestsTo(kSpeechPath).size(), 1u);
    EXPECT_EQ(server.RequestsTo(kSpeechPath)[0].Header("X-Injected"), "");
}

TEST_F(AzureTest, SynthesisSendsEscapedSsmlAndHeadersWritesTheScratchWaveAndRenewsARefusedToken)
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
    EXPECT_EQ(request.Header("Authorization"), "Bearer tok123");
    EXPECT_EQ(request.Header("X-Microsoft-OutputFormat"), "riff-24khz-16bit-mono-pcm");
    EXPECT_EQ(request.Header("Content-type"), "application/ssml+xml");

    // A sentence with markup characters stays valid SSML.
    azureTTS("Tom & Jerry <field> 'wind'", "en-US-GuyNeural", false);
    ASSERT_EQ(server.RequestsTo(kSpeechPath).size(), 2u);
    EXPECT_NE(server.RequestsTo(kSpeechPath)[1].body.find("> Tom &amp; Jerry &lt;field&gt; &apos;wind&apos; </voice>"),
              std::string::npos);

    // Refused: the token is renewed and the same request sent again with it.
    Token({Answer(200, "fresh")});
    Speech({Answer(401, "expired token"), Answer(200, speechtest::SineWave(100))});
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200);
    requests = server.RequestsTo(kSpeechPath);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[2].Header("Authorization"), "Bearer tok123");
    EXPECT_EQ(requests[3].Header("Authorization"), "Bearer fresh");
    EXPECT_EQ(requests[3].body, requests[2].body);
}

TEST_F(AzureTest, SlowTokenAndSynthesisRequestsAreAbandonedAtTheTimeLimit)
{
    AzureTTS_SetRequestTimeoutMs(300);
    Token({Answer(200, "late", 3000)});
    Speech({Answer(200, speechtest::SineWave(100), 3000)});
    for (bool token : {true, false}) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(token ? getAzureToken() : azureTTS("Hello", "en-US-GuyNeural", false), 0) << token;
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.5) << token;
    }
    EXPECT_STREQ(azureToken, "");
}

TEST_F(AzureTest, KeepAliveRenewsAfterFourHundredSecondsRetriesAMinuteLaterAndARefusalRenewsTheToken)
{
    Speech({Answer(503)});
    lastAzureTokenUpdateTime = 0;
    simhost::RunSeconds(399);
    AzureTTS_KeepTokenAlive();
    EXPECT_TRUE(server.Requests().empty());

    simhost::RunSeconds(2);
    AzureTTS_KeepTokenAlive(); // failing: not tried again every frame
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    AzureTTS_KeepTokenAlive();
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 1u);
    EXPECT_EQ(azureReturnCode, 503);

    simhost::RunSeconds(61);
    Speech({Answer(200, speechtest::SineWave(100))});
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 2u);
    EXPECT_EQ(azureReturnCode, 200);

    simhost::RunSeconds(401);
    Token({Answer(401)});
    Speech({Answer(401)});
    AzureTTS_KeepTokenAlive();
    ASSERT_TRUE(speechtest::DrainSpeechWorker());
    EXPECT_EQ(server.RequestsTo(kSpeechPath).size(), 4u); // tried, and once more after renewing the token
    EXPECT_EQ(server.RequestsTo(kTokenPath).size(), 4u);  // renewed by the synthesis, then by the keep-alive
    EXPECT_EQ(azureReturnCode, 401);
}

TEST_F(AzureTest, ServiceAddressesFollowTheRegionAndABadRegionOrAnUnwritableScratchFileSendsNothing)
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

    // An unwritable scratch file: 1, and nothing asked of the service either.
    snprintf(azureTtsUrl, sizeof azureTtsUrl, "%s", server.Url(kSpeechPath).c_str());
    simhost::WriteFile("Resources/plugins/Vellomir64/Vellomir_temp.wav/blocker", "");
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 1);
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
