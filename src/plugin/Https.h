// One HTTPS request over libcurl: TLS verified, a time-out, the response into memory or a file with a size
// cap. Runs synchronously on the caller's thread, which must not be the simulator's (a request can take
// seconds); it makes no SDK call. libcurl is opened at the first request.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

/// Certificate authority file used instead of the system's store when not empty (tests, private services).
extern char httpsCaFile[512];
/// Takes the certificate store named by the environment variable SSL_CERT_FILE, as OpenSSL programs do, into
/// httpsCaFile when that is empty (a private service's authority); called at start on the simulator's thread.
void Https_TakeCaFileFromEnvironment();

struct HttpsRequest {
    const char *url = "";
    std::vector<std::string> headers;
    bool post = false;
    const char *body = nullptr; ///< POST body (may be empty)
    size_t bodyLength = 0;
    long timeoutMs = 10000;                ///< whole transfer, connection included
    FILE *outFile = nullptr;               ///< response body goes here when set ...
    std::string *outMemory = nullptr;      ///< ... else here, when set
    size_t maxResponseBytes = 1024 * 1024; ///< a larger response fails the transfer
    bool verbose = false;                  ///< libcurl's transfer trace on standard error
    /// With lowSpeedSeconds: a transfer slower than this many bytes per second for that long fails.
    long lowSpeedBytesPerSecond = 0;
    long lowSpeedSeconds = 0;
    /// Certificate authority file for this request; null uses httpsCaFile (read when the request starts).
    const char *caFile = nullptr;
    /// Set from another thread, ends the transfer (as no answer) within about a tenth of a second.
    const std::atomic<bool> *cancel = nullptr;
};

struct HttpsResult {
    bool transferOk = false; ///< libcurl completed the exchange (any HTTP status)
    long status = 0;         ///< HTTP status; 0 when the transfer did not complete
    char error[256] = "";    ///< libcurl's error text, or "HTTP status N" when the transfer completed
};

/// Performs the request. Without libcurl the result says so ("libcurl.so.4 (reason)") and nothing is sent.
/// Redirects are never followed: a 3xx answer is returned as it is.
HttpsResult Https_Perform(const HttpsRequest &request);
/// True when libcurl could be opened (opens it on the first call); thread-safe.
bool Https_Available();

/// libcurl's global set-up, for a thread about to make requests (opens libcurl; its set-up is done once
/// and never undone, since another thread may still be using it), and its counterpart, which keeps it.
void Https_GlobalInit();
void Https_GlobalCleanup();
