// The cloud speech service: its bearer token, text-to-speech into the scratch wave file, and playback.
#pragma once

#include <cstddef>
#include <functional>

/// Size of the token buffer, NUL included.
enum { AZURE_TOKEN_SIZE = 2048 };
/// Time limit of every request to the service, seconds.
const int kAzureRequestTimeoutSeconds = 10;

extern char azureToken[AZURE_TOKEN_SIZE]; ///< the last token received
extern float lastAzureTokenUpdateTime;    ///< elapsed seconds at the last successful token or synthesis
extern int azureReturnCode;               ///< last status of a token request or synthesis

/// Requests a token with `azureKey`, waiting for the answer; returns the HTTP status (200 on success, 0 without an
/// answer). A 401 is retried once; a second refusal switches the cloud engine off.
int getAzureToken();
/// Synthesises the sentence in the voice (waiting for the answer) into Vellomir_temp.wav and plays it when play is
/// true. Returns the HTTP status, 0 without an answer, or 1 when the scratch file cannot be written. A 401 renews the
/// token and retries once.
int azureTTS(const char *sentence, const char *voice, bool play);
/// Keeps the token fresh: with the cloud engine on, once the token is older than its lifetime less the
/// renewal margin, a short synthesis that is not played renews it (on the speech worker).
void AzureTTS_KeepTokenAlive();

// getAzureToken and azureTTS wait for the service. The simulator's frame uses these instead, which hand
// the request to the speech worker and apply its result when the frame collects it.

/// Requests a token; its status goes to azureReturnCode.
void AzureTTS_RequestToken();
/// Synthesises and plays the sentence after the messages handed over before it; its status goes to
/// azureReturnCode, then done (optional) learns whether a wave was received to play.
void AzureTTS_Speak(const char *sentence, const char *voice, std::function<void(bool played)> done = nullptr);
/// True when the cloud engine can work: libcurl and OpenAL are there (opened now if needed) and a sound
/// context exists. A missing library is logged once, and shown once in a warning window when
/// userSwitchedOn (the user has just switched the engine on).
bool AzureTTS_Ready(bool userSwitchedOn);

/// The token and synthesis addresses in use: the settings azureTokenUrl / azureTtsUrl when set, else the
/// service's own for azureRegion; false (logged) when azureRegion is not a plain region name.
bool AzureTTS_TokenEndpoint(char *out, size_t size);
bool AzureTTS_SynthesisEndpoint(char *out, size_t size);

/// Changes the request time limit (milliseconds); tests shorten it. 0 restores the standard limit.
void AzureTTS_SetRequestTimeoutMs(long milliseconds);
