// The cloud speech service: its bearer token, text-to-speech into the scratch wave file, and playback.
#pragma once

#include <cstddef>

/// Size of the token buffer, NUL included.
enum { AZURE_TOKEN_SIZE = 2048 };
/// Time limit of every request to the service, seconds.
const int kAzureRequestTimeoutSeconds = 10;

extern char azureToken[AZURE_TOKEN_SIZE]; ///< the last token received
extern float lastAzureTokenUpdateTime;     ///< elapsed seconds at the last successful token or synthesis
extern int azureReturnCode;                ///< last status of a token request or synthesis

/// Requests a token with `azureKey`; returns the HTTP status (200 on success, 0 without an answer).
/// A 401 is retried once; a second refusal switches the cloud engine off.
int getAzureToken();
/// Synthesises the sentence in the voice into Vellomir_temp.wav and plays it when play is true. Returns the
/// HTTP status, 0 without an answer, or 1 when the scratch file cannot be written. A 401 renews the token
/// and retries once.
int azureTTS(const char *sentence, const char *voice, bool play);
/// Keeps the token fresh: with the cloud engine on, once the token is older than its lifetime less the
/// renewal margin, a short synthesis that is not played renews it.
void AzureTTS_KeepTokenAlive();

/// The token and synthesis addresses in use: the settings azureTokenUrl / azureTtsUrl when set, else the
/// service's own for azureRegion; false (logged) when azureRegion is not a plain region name.
bool AzureTTS_TokenEndpoint(char *out, size_t size);
bool AzureTTS_SynthesisEndpoint(char *out, size_t size);

/// Changes the request time limit (milliseconds); tests shorten it. 0 restores the standard limit.
void AzureTTS_SetRequestTimeoutMs(long milliseconds);
