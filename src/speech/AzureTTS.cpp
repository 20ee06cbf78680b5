// Token and synthesis requests to the cloud speech service. The requests themselves (AzureTTS_*Work) make
// no SDK call and touch no global: they run on the speech worker, or inline for the synchronous calls; what
// they bring back is applied on the simulator's thread.
#include "speech/AzureTTS.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "XPLMProcessing.h"
#include "plugin/Audio.h"
#include "plugin/Https.h"
#include "plugin/LibCurl.h"
#include "plugin/LibOpenAL.h"
#include "plugin/Log.h"
#include "speech/RadioSound.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "ui/Settings.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"

char azureToken[AZURE_TOKEN_SIZE] = "";
float lastAzureTokenUpdateTime = 0;
int azureReturnCode = 0;

namespace
{

long gRequestTimeoutMs = kAzureRequestTimeoutSeconds * 1000L;
/// A keep-alive is not tried again before this many seconds (more than a request and its renewal take).
const float kKeepAliveRetrySeconds = 60.0f;
float gLastKeepAliveAttempt = -1.0e9f;
/// Size of the SSML request body.
const size_t kSsmlBodySize = 16384;
/// Largest wave accepted from the service.
const size_t kMaxWaveBytes = 32u * 1024 * 1024;

/// Builds an endpoint address: the override when set, else the service's address for azureRegion. A region
/// that is not a plain name (letters and digits) is refused: it would send the key to another host.
bool AzureTTS_endpoint(char *out, size_t size, const char *overrideUrl, const char *format, const char *tag)
{
    if (overrideUrl[0] != '\0') {
        snprintf(out, size, "%s", overrideUrl);
        return true;
    }
    bool valid = azureRegion[0] != '\0';
    for (const char *c = azureRegion; *c != '\0'; c++)
        valid = valid && isalnum((unsigned char)*c);
    if (!valid) {
        PrintInfo(tag, "Azure region '%s' is not a valid region name, no request sent", azureRegion);
        return false;
    }
    snprintf(out, size, format, azureRegion);
    return true;
}

/// The token: the body up to the first character that cannot appear in a header value.
std::string AzureTTS_tokenOf(const std::string &body)
{
    size_t length = 0;
    while (length < body.size() && length < AZURE_TOKEN_SIZE - 1 && body[length] > ' ' && body[length] < 0x7f)
        length++;
    return body.substr(0, length);
}

/// What a request needs, copied from the settings on the simulator's thread.
struct AzureSetup {
    std::string key, token, tokenUrl, ttsUrl, wavePath, caFile;
    bool tokenUrlOk = false, ttsUrlOk = false, wavePathOk = false;
    long timeoutMs = 0;
    bool verbose = false;
};

/// What a request brought back, applied on the simulator's thread.
struct AzureOutcome {
    DeferredLog log;
    int status = 0;             ///< the operation's result (token or synthesis status)
    bool tokenReceived = false; ///< token holds a new token
    std::string token;
    bool switchOff = false;   ///< the token was refused twice: the cloud engine goes off
    int renewalStatus = -1;   ///< status of a token renewal inside a synthesis, -1 without one
    bool synthesised = false; ///< the service answered 200 with a wave
    std::string wave;         ///< the wave received
};

AzureSetup AzureTTS_setup(bool forToken)
{
    AzureSetup setup;
    setup.key = azureKey;
    setup.token = azureToken;
    setup.timeoutMs = gRequestTimeoutMs;
    setup.caFile = httpsCaFile;
    setup.verbose = developerDEBUG != 0;
    char url[512] = "";
    setup.tokenUrlOk = AzureTTS_TokenEndpoint(url, sizeof url);
    setup.tokenUrl = url;
    if (!forToken) {
        url[0] = '\0';
        setup.ttsUrlOk = AzureTTS_SynthesisEndpoint(url, sizeof url);
        setup.ttsUrl = url;
        char wavePath[1024];
        setup.wavePathOk = Utils_PluginFilePath("Vellomir_temp.wav", wavePath, sizeof wavePath);
        setup.wavePath = wavePath;
    }
    return setup;
}

HttpsResult AzureTTS_requestToken(const AzureSetup &setup, const std::atomic<bool> &cancel, std::string *body)
{
    HttpsRequest request;
    request.url = setup.tokenUrl.c_str();
    request.headers.push_back("Ocp-Apim-Subscription-Key: " + setup.key);
    request.post = true;
    request.body = "";
    request.bodyLength = 0;
    request.timeoutMs = setup.timeoutMs;
    request.outMemory = body;
    request.maxResponseBytes = 64 * 1024;
    request.caFile = setup.caFile.c_str();
    request.cancel = &cancel;
    body->clear();
    return Https_Perform(request);
}

/// The token request, retried once after a refusal; a second refusal switches the engine off.
void AzureTTS_tokenWork(const AzureSetup &setup, const std::atomic<bool> &cancel, AzureOutcome &out)
{
    out.log.Debug("getAzureToken", "Obtaining token from: %s", setup.tokenUrl.c_str());
    std::string body;
    HttpsResult result = AzureTTS_requestToken(setup, cancel, &body);
    if (!(result.transferOk && result.status == 200)) {
        out.log.Info("getAzureToken", "Token request failed with error code: %s", result.error);
        if (result.status == 401) {
            out.log.Info("getAzureToken", "Azure TTS Token denied with error 401, renewing token ");
            out.log.Info("getAzureToken", "Retrying request");
            result = AzureTTS_requestToken(setup, cancel, &body);
            if (!(result.transferOk && result.status == 200)) {
                out.log.Info("getAzureToken", "Request failed beside the token renewing, with error code: %s",
                             result.error);
                out.log.Info("getAzureToken", "Deactivating AzureTTS");
                out.switchOff = true;
            }
        }
    }
    if (result.transferOk && result.status == 200) {
        out.tokenReceived = true;
        out.token = AzureTTS_tokenOf(body);
        out.log.Info("getAzureToken", "Token request successfully");
        out.log.Debug("getAzureToken", "Token got: %s", out.token.c_str());
    }
    out.status = (int)result.status;
}

void AzureTTS_appendEscaped(std::string &out, const char *text, size_t limit)
{
    for (const char *c = text; *c != '\0'; c++) {
        const char *piece;
        char single[2] = {*c, '\0'};
        switch (*c) {
        case '&':
            piece = "&amp;";
            break;
        case '<':
            piece = "&lt;";
            break;
        case '>':
            piece = "&gt;";
            break;
        case '\'':
            piece = "&apos;";
            break;
        case '"':
            piece = "&quot;";
            break;
        default:
            piece = single;
            break;
        }
        if (out.size() + strlen(piece) > limit)
            return;
        out += piece;
    }
}

void AzureTTS_buildSsml(std::string &body, const char *sentence, const char *voice)
{
    const char *head =
        "<speak version='1.0' xmlns='http://www.w3.org/2001/10/synthesis' xml:lang='en-US'> <voice name='";
    const char *tail = " </voice> </speak>";
    body = head;
    AzureTTS_appendEscaped(body, voice, 256);
    body += "'> ";
    AzureTTS_appendEscaped(body, sentence, kSsmlBodySize - 1 - strlen(tail));
    body += tail;
}

void AzureTTS_play(const std::string &wave)
{
    PrintDebug("azureTTS", "Playing Wave");
    AudioContextScope scope;
    if (!scope.active) {
        PrintInfo("azureTTS", "No OpenAL context, the wave is not played");
        return;
    }
    PrintDebug("azureTTS", "Adding Wave to queue");
    Wave_AddToBufferQueue(wave, OpenAlBufferCounter);
    Wave_PlayQueuedBuffers();
}

HttpsResult AzureTTS_requestWave(const AzureSetup &setup, const std::string &token, const std::string &ssml,
                                 const std::atomic<bool> &cancel, std::string *wave)
{
    HttpsRequest request;
    request.url = setup.ttsUrl.c_str();
    request.headers.push_back("Authorization: Bearer " + token);
    request.headers.push_back("X-Microsoft-OutputFormat: riff-24khz-16bit-mono-pcm");
    request.headers.push_back("Content-type: application/ssml+xml");
    request.post = true;
    request.body = ssml.c_str();
    request.bodyLength = ssml.size();
    request.timeoutMs = setup.timeoutMs;
    request.outMemory = wave;
    request.maxResponseBytes = kMaxWaveBytes;
    request.verbose = setup.verbose;
    request.caFile = setup.caFile.c_str();
    request.cancel = &cancel;
    wave->clear();
    return Https_Perform(request);
}

/// Writes the received bytes to the scratch file (kept between utterances, for the curious user).
bool AzureTTS_writeScratch(FILE *file, const std::string &bytes)
{
    rewind(file);
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fflush(file) == 0 && written;
}

/// The synthesis; a refusal renews the token and retries once with the new one.
void AzureTTS_synthesisWork(const AzureSetup &setup, const std::string &ssml, const std::string &sentence,
                            const std::atomic<bool> &cancel, AzureOutcome &out)
{
    out.log.Debug("azureTTS", "wave full path now %s", setup.wavePath.c_str());
    FILE *scratch = setup.wavePathOk ? fopen(setup.wavePath.c_str(), "wb") : nullptr;
    if (scratch == nullptr) {
        out.log.Info("azureTTS", "can't write file %s", setup.wavePath.c_str());
        out.log.Info("azureTTS", "Azure TTS download failed with error code: %i", 1);
        out.status = 1;
        return;
    }
    out.log.Debug("azureTTS", "Request url: %s", setup.ttsUrl.c_str());
    out.log.Debug("azureTTS", "Payload: %s", ssml.c_str());
    out.log.Debug("azureTTS", "Sentence: %s", sentence.c_str());
    HttpsResult result = AzureTTS_requestWave(setup, setup.token, ssml, cancel, &out.wave);
    AzureTTS_writeScratch(scratch, out.wave);
    if (result.status == 200 && result.transferOk) {
        out.log.Info("azureTTS", "Azure TTS wav file downloaded successfully");
    } else {
        out.log.Info("azureTTS", "Azure TTS download failed with error code: %i", (int)result.status);
        if (result.status == 401) {
            out.log.Info("azureTTS", "Azure TTS Token denied with error 401, renewing token ");
            AzureTTS_tokenWork(setup, cancel, out);
            out.renewalStatus = out.status;
            out.log.Debug("azureTTS", "Reopening file");
            out.log.Info("azureTTS", "Retrying Azure TTS request");
            result = AzureTTS_requestWave(setup, out.tokenReceived ? out.token : setup.token, ssml, cancel, &out.wave);
            AzureTTS_writeScratch(scratch, out.wave);
            if (result.status == 200 && result.transferOk)
                out.log.Info("azureTTS", "Azure file request successfully");
            else
                out.log.Info("azureTTS", "Request failed beside the token renewing, with error code: %s", result.error);
        }
    }
    bool kept = ftruncate(fileno(scratch), (off_t)out.wave.size()) == 0; // a shorter retry's answer
    kept = fclose(scratch) == 0 && kept;
    if (!kept)
        out.log.Info("azureTTS", "can't write file %s", setup.wavePath.c_str());
    out.synthesised = result.status == 200 && result.transferOk;
    out.status = (int)result.status;
}

/// Applies what a token request brought back; returns its status.
int AzureTTS_applyToken(AzureOutcome &out)
{
    if (out.tokenReceived) {
        snprintf(azureToken, sizeof azureToken, "%s", out.token.c_str());
        lastAzureTokenUpdateTime = XPLMGetElapsedTime();
    }
    if (out.switchOff)
        azureTtsOn = 0;
    return out.status;
}

/// Applies what a synthesis brought back and plays the wave when asked; returns its status.
int AzureTTS_applySynthesis(AzureOutcome &out, bool play)
{
    if (out.renewalStatus >= 0) {
        int synthesisStatus = out.status;
        out.status = out.renewalStatus;
        azureReturnCode = AzureTTS_applyToken(out);
        out.status = synthesisStatus;
    }
    if (out.synthesised)
        lastAzureTokenUpdateTime = XPLMGetElapsedTime();
    if (play && out.synthesised)
        AzureTTS_play(out.wave);
    return out.status;
}

} // namespace

bool AzureTTS_TokenEndpoint(char *out, size_t size)
{
    return AzureTTS_endpoint(out, size, azureTokenUrl, "https://%s.api.cognitive.microsoft.com/sts/v1.0/issueToken",
                             "getAzureToken");
}

bool AzureTTS_SynthesisEndpoint(char *out, size_t size)
{
    return AzureTTS_endpoint(out, size, azureTtsUrl, "https://%s.tts.speech.microsoft.com/cognitiveservices/v1",
                             "azureTTS");
}

void AzureTTS_SetRequestTimeoutMs(long milliseconds)
{
    gRequestTimeoutMs = milliseconds > 0 ? milliseconds : kAzureRequestTimeoutSeconds * 1000L;
}

int getAzureToken()
{
    PrintDebug("getAzureToken", "Entering");
    AzureSetup setup = AzureTTS_setup(true);
    if (!setup.tokenUrlOk)
        return 0;
    std::atomic<bool> never(false);
    AzureOutcome out;
    AzureTTS_tokenWork(setup, never, out);
    out.log.Flush();
    return AzureTTS_applyToken(out);
}

int azureTTS(const char *sentence, const char *voice, bool play)
{
    PrintDebug("azureTTS", "Entering function");
    AzureSetup setup = AzureTTS_setup(false);
    if (!setup.ttsUrlOk)
        return 0;
    std::string ssml;
    AzureTTS_buildSsml(ssml, sentence != nullptr ? sentence : "", voice != nullptr ? voice : "");
    std::atomic<bool> never(false);
    AzureOutcome out;
    AzureTTS_synthesisWork(setup, ssml, sentence != nullptr ? sentence : "", never, out);
    out.log.Flush();
    return AzureTTS_applySynthesis(out, play);
}

void AzureTTS_RequestToken()
{
    PrintDebug("getAzureToken", "Entering");
    AzureSetup setup = AzureTTS_setup(true);
    if (!setup.tokenUrlOk)
        return;
    std::shared_ptr<AzureOutcome> out = std::make_shared<AzureOutcome>();
    SpeechJob job;
    job.work = [setup, out](const std::atomic<bool> &cancel) { AzureTTS_tokenWork(setup, cancel, *out); };
    job.finish = [out] {
        out->log.Flush();
        azureReturnCode = AzureTTS_applyToken(*out);
    };
    SpeechWorker_Submit(std::move(job));
}

namespace
{

/// Hands a synthesis to the worker; done runs with the outcome on the simulator's thread.
void AzureTTS_submitSynthesis(const char *sentence, const char *voice, bool play, bool speaks,
                              std::function<void(AzureOutcome &)> done)
{
    PrintDebug("azureTTS", "Entering function");
    AzureSetup setup = AzureTTS_setup(false);
    if (!setup.ttsUrlOk) {
        AzureOutcome none;
        done(none);
        return;
    }
    std::string text = sentence != nullptr ? sentence : "";
    std::string ssml;
    AzureTTS_buildSsml(ssml, text.c_str(), voice != nullptr ? voice : "");
    std::shared_ptr<AzureOutcome> out = std::make_shared<AzureOutcome>();
    SpeechJob job;
    job.speaks = speaks;
    // The radio sound is worked out here too, off the simulator's thread.
    static unsigned utterances = 0;
    const bool radio = play && radioSoundOn == 1;
    const unsigned seed = ++utterances;
    job.work = [setup, ssml, text, out, radio, seed](const std::atomic<bool> &cancel) {
        AzureTTS_synthesisWork(setup, ssml, text, cancel, *out);
        if (radio && out->synthesised)
            RadioSound_Apply(out->wave, seed);
    };
    job.finish = [out, play, done] {
        out->log.Flush();
        AzureTTS_applySynthesis(*out, play);
        done(*out);
    };
    SpeechWorker_Submit(std::move(job));
}

/// What was last said to be missing, in the log and in a window: each is said once.
std::string gMissingLogged, gMissingShown;

} // namespace

void AzureTTS_Speak(const char *sentence, const char *voice, std::function<void(bool played)> done)
{
    AzureTTS_submitSynthesis(sentence, voice, true, true, [done](AzureOutcome &out) {
        azureReturnCode = out.status;
        if (done)
            done(out.synthesised);
    });
}

void AzureTTS_KeepTokenAlive()
{
    float now = XPLMGetElapsedTime();
    if (azureTtsOn != 1 || now - lastAzureTokenUpdateTime <= azureTokenExpiration - anticipateAzureTokenExpiration)
        return;
    if (now >= gLastKeepAliveAttempt && now - gLastKeepAliveAttempt < kKeepAliveRetrySeconds)
        return;
    if (!Https_Available())
        return;
    gLastKeepAliveAttempt = now;
    PrintInfo("AzureTTS_KeepTokenAlive", "Keeping Azure TTS token alive");
    AzureTTS_submitSynthesis("TR", kPilotVoice, false, false, [](AzureOutcome &out) {
        azureReturnCode = out.status;
        if (azureReturnCode == 401) {
            PrintInfo("AzureTTS_KeepTokenAlive", "Azure TTS Token denied, renewing token ");
            AzureTTS_RequestToken();
        } else {
            PrintInfo("AzureTTS_KeepTokenAlive", "Azure authentication granted with curl code %i", azureReturnCode);
        }
    });
}

bool AzureTTS_Ready(bool userSwitchedOn)
{
    bool curl = Https_Available();
    bool audio = Audio_Prepare();
    if (curl && (audio || OpenAL_Missing()[0] == '\0'))
        return curl && audio;
    // A library is missing: say so once in the log, and once in a window when the user switches it on.
    char missing[1100] = "";
    if (!curl)
        Utils_Appendf(missing, sizeof missing, "%s", Curl_Missing());
    if (OpenAL_Missing()[0] != '\0')
        Utils_Appendf(missing, sizeof missing, "%s%s", missing[0] != '\0' ? ", " : "", OpenAL_Missing());
    if (gMissingLogged != missing) {
        gMissingLogged = missing;
        PrintInfo("AzureTTS_Ready",
                  "Azure TTS needs libcurl and OpenAL; missing: %s. X-Plane's own voice speaks instead", missing);
    }
    if (userSwitchedOn && gMissingShown != missing) {
        gMissingShown = missing;
        CreateWarningWinControl(400, 440, 740, 110, "Vellomir - Warning",
                                "Azure TTS needs the libcurl and OpenAL libraries of your system. Missing:", missing,
                                "Install them (Debian and Ubuntu: libcurl4 and libopenal1) and restart X-Plane.",
                                "Until then X-Plane's own voice speaks the messages.");
    }
    return false;
}
