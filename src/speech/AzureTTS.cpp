// Token and synthesis requests to the cloud speech service. Transfers are synchronous and bounded by
// kAzureRequestTimeoutSeconds, because they run inside the simulator's frame.
#include "speech/AzureTTS.h"

#include <AL/alc.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <string>

#include "XPLMProcessing.h"
#include "plugin/Https.h"
#include "plugin/Log.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

char azureToken[AZURE_TOKEN_SIZE] = "";
float lastAzureTokenUpdateTime = 0;
int azureReturnCode = 0;

namespace {

long gRequestTimeoutMs = kAzureRequestTimeoutSeconds * 1000L;
/// A failed keep-alive is not tried again before this many seconds: every try may block the frame.
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

/// Keeps the token up to the first character that cannot appear in a header value.
void AzureTTS_storeToken(const std::string &body)
{
    size_t length = 0;
    while (length < body.size() && length < AZURE_TOKEN_SIZE - 1 && body[length] > ' ' && body[length] < 0x7f)
        length++;
    memcpy(azureToken, body.data(), length);
    azureToken[length] = '\0';
}

HttpsResult AzureTTS_requestToken(const char *url, std::string *body)
{
    HttpsRequest request;
    request.url = url;
    request.headers.push_back(std::string("Ocp-Apim-Subscription-Key: ") + azureKey);
    request.post = true;
    request.body = "";
    request.bodyLength = 0;
    request.timeoutMs = gRequestTimeoutMs;
    request.outMemory = body;
    request.maxResponseBytes = 64 * 1024;
    body->clear();
    return Https_Perform(request);
}

/// Appends text to out with the five XML special characters escaped; stops before an entity that would
/// not fit, so the document stays well-formed.
void AzureTTS_appendEscaped(std::string &out, const char *text, size_t limit)
{
    for (const char *c = text; *c != '\0'; c++) {
        const char *piece;
        char single[2] = {*c, '\0'};
        switch (*c) {
        case '&': piece = "&amp;"; break;
        case '<': piece = "&lt;"; break;
        case '>': piece = "&gt;"; break;
        case '\'': piece = "&apos;"; break;
        case '"': piece = "&quot;"; break;
        default: piece = single; break;
        }
        if (out.size() + strlen(piece) > limit)
            return;
        out += piece;
    }
}

void AzureTTS_buildSsml(std::string &body, const char *sentence, const char *voice)
{
    const char *head = "<speak version='1.0' xmlns='http://www.w3.org/2001/10/synthesis' xml:lang='en-US'> <voice name='";
    const char *tail = " </voice> </speak>";
    body = head;
    AzureTTS_appendEscaped(body, voice, 256);
    body += "'> ";
    AzureTTS_appendEscaped(body, sentence, kSsmlBodySize - 1 - strlen(tail));
    body += tail;
}

HttpsResult AzureTTS_requestWave(const char *url, const std::string &ssml, FILE *wave)
{
    HttpsRequest request;
    request.url = url;
    request.headers.push_back(std::string("Authorization: Bearer ") + azureToken);
    request.headers.push_back("X-Microsoft-OutputFormat: riff-24khz-16bit-mono-pcm");
    request.headers.push_back("Content-type: application/ssml+xml");
    request.post = true;
    request.body = ssml.c_str();
    request.bodyLength = ssml.size();
    request.timeoutMs = gRequestTimeoutMs;
    request.outFile = wave;
    request.maxResponseBytes = kMaxWaveBytes;
    request.verbose = developerDEBUG != 0;
    return Https_Perform(request);
}

void AzureTTS_play(const char *wavePath)
{
    PrintDebug("azureTTS", "Playing Wave");
    if (alcGetCurrentContext() == nullptr) {
        PrintInfo("azureTTS", "No OpenAL context, the wave is not played");
        return;
    }
    PrintDebug("azureTTS", "Adding Wave to queue");
    Utils_WavAddToBufferQueue(wavePath, OpenAlBufferCounter);
    Wave_PlayQueuedBuffers();
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
    char url[512];
    if (!AzureTTS_TokenEndpoint(url, sizeof url))
        return 0;
    PrintDebug("getAzureToken", "Obtaining token from: %s", url);

    curl_global_init(CURL_GLOBAL_ALL);
    std::string body;
    HttpsResult result = AzureTTS_requestToken(url, &body);
    if (!(result.transferOk && result.status == 200)) {
        PrintInfo("getAzureToken", "Token request failed with error code: %s", result.error);
        if (result.status == 401) {
            PrintInfo("getAzureToken", "Azure TTS Token denied with error 401, renewing token ");
            PrintInfo("getAzureToken", "Retrying request");
            result = AzureTTS_requestToken(url, &body);
            if (!(result.transferOk && result.status == 200)) {
                PrintInfo("getAzureToken", "Request failed beside the token renewing, with error code: %s",
                          result.error);
                PrintInfo("getAzureToken", "Deactivating AzureTTS");
                azureTtsOn = 0;
            }
        }
    }
    if (result.transferOk && result.status == 200) {
        AzureTTS_storeToken(body);
        lastAzureTokenUpdateTime = XPLMGetElapsedTime();
        PrintInfo("getAzureToken", "Token request successfully");
        PrintDebug("getAzureToken", "Token got: %s", azureToken);
    }
    curl_global_cleanup();
    return (int)result.status;
}

int azureTTS(const char *sentence, const char *voice, bool play)
{
    PrintDebug("azureTTS", "Entering function");
    char wavePath[1024];
    bool pathFits = Utils_PluginFilePath("Vellomir_temp.wav", wavePath, sizeof wavePath);
    PrintDebug("azureTTS", "wave full path now %s", wavePath);
    char url[512];
    if (!AzureTTS_SynthesisEndpoint(url, sizeof url))
        return 0;
    std::string ssml;
    AzureTTS_buildSsml(ssml, sentence != nullptr ? sentence : "", voice != nullptr ? voice : "");

    FILE *wave = pathFits ? fopen(wavePath, "wb") : nullptr;
    if (wave == nullptr) {
        PrintInfo("azureTTS", "can't write file %s", wavePath);
        PrintInfo("azureTTS", "Azure TTS download failed with error code: %i", 1);
        return 1;
    }
    curl_global_init(CURL_GLOBAL_ALL);
    PrintDebug("azureTTS", "Request url: %s", url);
    PrintDebug("azureTTS", "Payload: %s", ssml.c_str());
    PrintDebug("azureTTS", "Sentence: %s", sentence != nullptr ? sentence : "");
    HttpsResult result = AzureTTS_requestWave(url, ssml, wave);
    fclose(wave);

    if (result.status == 200 && result.transferOk) {
        PrintInfo("azureTTS", "Azure TTS wav file downloaded successfully");
        lastAzureTokenUpdateTime = XPLMGetElapsedTime();
    } else {
        PrintInfo("azureTTS", "Azure TTS download failed with error code: %i", (int)result.status);
        if (result.status == 401) {
            PrintInfo("azureTTS", "Azure TTS Token denied with error 401, renewing token ");
            azureReturnCode = getAzureToken();
            PrintDebug("azureTTS", "Reopening file");
            wave = fopen(wavePath, "wb");
            if (wave == nullptr) {
                PrintInfo("azureTTS", "can't write file %s", wavePath);
            } else {
                PrintInfo("azureTTS", "Retrying Azure TTS request");
                result = AzureTTS_requestWave(url, ssml, wave);
                fclose(wave);
                if (result.status == 200 && result.transferOk) {
                    PrintInfo("azureTTS", "Azure file request successfully");
                    lastAzureTokenUpdateTime = XPLMGetElapsedTime();
                } else {
                    PrintInfo("azureTTS", "Request failed beside the token renewing, with error code: %s",
                              result.error);
                }
            }
        }
    }
    if (play && result.status == 200 && result.transferOk)
        AzureTTS_play(wavePath);
    curl_global_cleanup();
    return (int)result.status;
}

void AzureTTS_KeepTokenAlive()
{
    float now = XPLMGetElapsedTime();
    if (azureTtsOn != 1 || now - lastAzureTokenUpdateTime <= azureTokenExpiration - anticipateAzureTokenExpiration)
        return;
    if (now >= gLastKeepAliveAttempt && now - gLastKeepAliveAttempt < kKeepAliveRetrySeconds)
        return;
    gLastKeepAliveAttempt = now;
    PrintInfo("AzureTTS_KeepTokenAlive", "Keeping Azure TTS token alive");
    azureReturnCode = azureTTS("TR", kPilotVoice, false);
    if (azureReturnCode == 401) {
        PrintInfo("AzureTTS_KeepTokenAlive", "Azure TTS Token denied, renewing token ");
        getAzureToken();
    } else {
        PrintInfo("AzureTTS_KeepTokenAlive", "Azure authentication granted with curl code %i", azureReturnCode);
    }
}
