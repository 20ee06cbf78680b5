// The cloud speech service's token and synthesis requests against a local HTTPS server, and when the
// plug-in asks for a token.
#include "SpeechFixtures.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "speech/Voices.h"
#include "ui/OptionsWindow.h"

namespace {

using namespace speechtest;

class AzureTest : public CloudSpeechTest {};

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
    EXPECT_EQ(first.Header("Content-Length"), "0");
    // The hostile token's second line never becomes a header of the synthesis request.
    Speech({Answer(200, SineWave(100))});
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200);
    ASSERT_EQ(SpeechRequests().size(), 1u);
    EXPECT_EQ(SpeechRequests()[0].Header("X-Injected"), "");
}

TEST_F(AzureTest, SynthesisSendsEscapedSsmlAndHeadersWritesTheScratchWaveAndRenewsARefusedToken)
{
    snprintf(azureToken, sizeof azureToken, "%s", "tok123");
    std::string wave = SineWave(2400);
    Speech({Answer(200, wave)});
    simhost::RunSeconds(3);
    EXPECT_EQ(azureTTS("Cleared to land runway two seven left", "en-US-GuyNeural", false), 200);
    EXPECT_FLOAT_EQ(lastAzureTokenUpdateTime, simhost::ElapsedTime());
    EXPECT_EQ(simhost::ReadFile("Resources/plugins/Vellomir64/Vellomir_temp.wav"), wave);
    azureTTS("Tom & Jerry <field> 'wind'", "en-US-GuyNeural", false); // markup stays valid SSML
    Token({Answer(200, "fresh")});
    Speech({Answer(401, "expired token"), Answer(200, SineWave(100))});
    EXPECT_EQ(azureTTS("Hello", "en-US-GuyNeural", false), 200); // refused: renewed, sent again

    std::vector<RecordedRequest> requests = SpeechRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].body,
              "<speak version='1.0' xmlns='http://www.w3.org/2001/10/synthesis' xml:lang='en-US'> "
              "<voice name='en-US-GuyNeural'> Cleared to land runway two seven left </voice> </speak>");
    for (auto header : std::vector<std::pair<const char *, std::string>>{
             {"User-Agent", curlUserAgent}, {"Authorization", "Bearer tok123"},
             {"X-Microsoft-OutputFormat", "riff-24khz-16bit-mono-pcm"}, {"Content-type", "application/ssml+xml"}})
        EXPECT_EQ(requests[0].Header(header.first), header.second) << header.first;
    EXPECT_NE(requests[1].body.find("> Tom &amp; Jerry &lt;field&gt; &apos;wind&apos; </voice>"), std::string::npos);
    EXPECT_EQ(requests[2].Header("Authorization"), "Bearer tok123");
    EXPECT_EQ(requests[3].Header("Authorization"), "Bearer fresh");
    EXPECT_EQ(requests[3].body, requests[2].body);
}

TEST_F(AzureTest, SlowTokenAndSynthesisRequestsAreAbandonedAtTheTimeLimit)
{
    AzureTTS_SetRequestTimeoutMs(300);
    Token({Answer(200, "late", 3000)});
    Speech({Answer(200, SineWave(100), 3000)});
    for (bool token : {true, false}) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(token ? getAzureToken() : azureTTS("Hello", "en-US-GuyNeural", false), 0) << token;
        EXPECT_LT(SecondsSince(start), 2.5) << token;
    }
    EXPECT_STREQ(azureToken, "");
}

TEST_F(AzureTest, KeepAliveRenewsAfterFourHundredSecondsRetriesAMinuteLaterAndARefusalRenewsTheToken)
{
    const struct {
        int wait;
        std::vector<ScriptedResponse> token, speech;
        int calls;
        size_t speechRequests, tokenRequests; ///< in all, so far
        int code;
    } steps[] = {
        {399, {}, {Answer(503)}, 1, 0, 0, 0},
        {2, {}, {}, 2, 1, 0, 503}, // failing: not tried again every frame
        {61, {}, {Answer(200, SineWave(100))}, 1, 2, 0, 200},
        // tried, and once more after renewing the token; renewed by the synthesis, then by the keep-alive
        {401, {Answer(401)}, {Answer(401)}, 1, 4, 4, 401},
    };
    lastAzureTokenUpdateTime = 0;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.wait);
        simhost::RunSeconds(step.wait);
        if (!step.token.empty())
            Token(step.token);
        if (!step.speech.empty())
            Speech(step.speech);
        for (int i = 0; i < step.calls; i++)
            AzureTTS_KeepTokenAlive();
        ASSERT_TRUE(DrainSpeechWorker());
        AzureTTS_KeepTokenAlive();
        EXPECT_EQ(SpeechRequests().size(), step.speechRequests);
        EXPECT_EQ(server.RequestsTo(kTokenPath).size(), step.tokenRequests);
        EXPECT_EQ(azureReturnCode, step.code);
    }
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

TEST_F(AzureTest, UnderstoodInTheDisclaimerRequestsAToken)
{
    Token({Answer(200, "granted")});
    CreateAzureDisclaimerWinControl(400, 600, 740, 130);
    void *window = simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!");
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Understood")));
    ASSERT_TRUE(DrainSpeechWorker());
    EXPECT_EQ(server.RequestsTo(kTokenPath).size(), 1u);
    EXPECT_STREQ(azureToken, "granted");
}

TEST_F(AzureTest, PluginAsksForATokenAtStartAndKeepsTheAddressInTheSettings)
{
    // The loaded plug-in trusts the system's authorities only: refused before the key is sent.
    Token({Answer(200, "granted")});
    const std::string address = "azureTokenUrl#" + server.Url(kTokenPath) + "\n";
    simhost::WriteFile("Resources/plugins/Vellomir64/Voices.txt", "random01#en-US-GuyNeural\n");
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt",
                       "welcomeMessage202012#0\nazureTtsOn#1\nazureKey#secret\n" + address);
    ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
    RunFramesWhile([&] { return !Logged("Token request failed with error code: "); });
    EXPECT_TRUE(Logged("Token request failed with error code: "));
    EXPECT_TRUE(server.Requests().empty());
    simhost::UnloadPlugin();
    EXPECT_NE(simhost::ReadFile("Resources/plugins/Vellomir64/Settings.txt").find(address), std::string::npos);
}

} // namespace
