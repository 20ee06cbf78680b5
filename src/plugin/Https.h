// One HTTPS request over libcurl's easy interface: TLS verified, a time-out, the response into memory or a
// file with a size cap. Runs synchronously on the caller's thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

/// Certificate authority file used instead of the system's store when not empty (tests, private services).
extern char httpsCaFile[512];

struct HttpsRequest {
    const char *url = "";
    std::vector<std::string> headers;
    bool post = false;
    const char *body = nullptr; ///< POST body (may be empty)
    size_t bodyLength = 0;
    long timeoutMs = 10000;     ///< whole transfer, connection included
    FILE *outFile = nullptr;    ///< response body goes here when set ...
    std::string *outMemory = nullptr; ///< ... else here, when set
    size_t maxResponseBytes = 1024 * 1024; ///< a larger response fails the transfer
    bool verbose = false;       ///< libcurl's transfer trace on standard error
    /// With lowSpeedSeconds: a transfer slower than this many bytes per second for that long fails.
    long lowSpeedBytesPerSecond = 0;
    long lowSpeedSeconds = 0;
    /// Set from another thread, ends the transfer soon after (as a failed one).
    const std::atomic<bool> *cancel = nullptr;
};

struct HttpsResult {
    bool transferOk = false; ///< libcurl completed the exchange (any HTTP status)
    long status = 0;         ///< HTTP status; 0 when the transfer did not complete
    char error[256] = "";    ///< libcurl's error text, or "HTTP status N" when the transfer completed
};

/// Performs the request. The caller brackets it with curl_global_init / curl_global_cleanup (or the two
/// functions below). Redirects are never followed: a 3xx answer is returned as it is.
HttpsResult Https_Perform(const HttpsRequest &request);

/// libcurl's global set-up and clean-up (counted): a thread that makes requests runs between the two
/// calls, made on the simulator's thread, so that no other caller's clean-up pulls libcurl from under it.
void Https_GlobalInit();
void Https_GlobalCleanup();
