// libcurl transfers with verification of the server's certificate and host name always on, driven through
// a multi handle so that a waiting transfer can be cancelled at once.
#include "plugin/Https.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "plugin/LibCurl.h"
#include "plugin/PluginGlobals.h"

char httpsCaFile[512] = "";

void Https_TakeCaFileFromEnvironment()
{
    const char *named = getenv("SSL_CERT_FILE");
    if (httpsCaFile[0] == '\0' && named != nullptr && named[0] != '\0' && strlen(named) < sizeof httpsCaFile)
        snprintf(httpsCaFile, sizeof httpsCaFile, "%s", named);
}

namespace
{

/// Longest wait for the network between two looks at the cancel flag, milliseconds.
const int kPollMs = 50;

struct Sink {
    const HttpsRequest *request;
    size_t received;
};

size_t Https_write(char *data, size_t size, size_t count, void *userdata)
{
    Sink *sink = static_cast<Sink *>(userdata);
    size_t bytes = size * count;
    if (sink->received + bytes > sink->request->maxResponseBytes)
        return 0; // libcurl ends the transfer with a write error
    sink->received += bytes;
    if (sink->request->outFile != nullptr)
        return fwrite(data, 1, bytes, sink->request->outFile);
    if (sink->request->outMemory != nullptr)
        sink->request->outMemory->append(data, bytes);
    return bytes;
}

bool Https_cancelled(const HttpsRequest &request)
{
    return request.cancel != nullptr && request.cancel->load();
}

/// Runs the transfer to its end (or its cancellation); the code of the finished transfer.
CURLcode Https_run(CURL *curl, const HttpsRequest &request, bool *cancelled)
{
    CURLM *multi = gCurl.multi_init();
    if (multi == nullptr)
        return CURLE_OUT_OF_MEMORY;
    gCurl.multi_add_handle(multi, curl);
    CURLcode code = CURLE_OK;
    bool done = false;
    while (!done) {
        if (Https_cancelled(request)) {
            *cancelled = true;
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int running = 0;
        CURLMcode multiCode = gCurl.multi_perform(multi, &running);
        if (multiCode != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg *message = gCurl.multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
                code = message->data.result;
                done = true;
            }
        }
        if (!done && running == 0) // finished without a message: should not happen, never spin
            break;
        if (!done)
            gCurl.multi_poll(multi, nullptr, 0, kPollMs, nullptr);
    }
    gCurl.multi_remove_handle(multi, curl);
    gCurl.multi_cleanup(multi);
    return code;
}

} // namespace

bool Https_Available()
{
    return Curl_Load();
}

HttpsResult Https_Perform(const HttpsRequest &request)
{
    HttpsResult result;
    if (!Curl_Load()) {
        snprintf(result.error, sizeof result.error, "%s", Curl_Missing());
        return result;
    }
    CURL *curl = gCurl.easy_init();
    if (curl == nullptr) {
        snprintf(result.error, sizeof result.error, "%s", "libcurl could not start a transfer");
        return result;
    }
    struct curl_slist *headers = nullptr;
    for (const std::string &header : request.headers)
        headers = gCurl.slist_append(headers, header.c_str());

    Sink sink = {&request, 0};
    char errorBuffer[CURL_ERROR_SIZE] = "";
    gCurl.easy_setopt(curl, CURLOPT_URL, request.url);
    gCurl.easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    gCurl.easy_setopt(curl, CURLOPT_USERAGENT, curlUserAgent.c_str());
    gCurl.easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    gCurl.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    gCurl.easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    gCurl.easy_setopt(curl, CURLOPT_VERBOSE, request.verbose ? 1L : 0L);
    gCurl.easy_setopt(curl, CURLOPT_TIMEOUT_MS, request.timeoutMs);
    gCurl.easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    gCurl.easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    // The text form of the protocol list is libcurl 7.85 and later; older ones take the bit mask.
    if (gCurl.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https") != CURLE_OK) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        gCurl.easy_setopt(curl, CURLOPT_PROTOCOLS, (long)CURLPROTO_HTTPS);
#pragma GCC diagnostic pop
    }
    gCurl.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    if (request.lowSpeedBytesPerSecond > 0 && request.lowSpeedSeconds > 0) {
        gCurl.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, request.lowSpeedBytesPerSecond);
        gCurl.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, request.lowSpeedSeconds);
    }
    const char *caFile = request.caFile != nullptr ? request.caFile : httpsCaFile;
    if (caFile[0] != '\0')
        gCurl.easy_setopt(curl, CURLOPT_CAINFO, caFile);
    if (request.post) {
        gCurl.easy_setopt(curl, CURLOPT_POST, 1L);
        gCurl.easy_setopt(curl, CURLOPT_POSTFIELDS, request.body != nullptr ? request.body : "");
        gCurl.easy_setopt(curl, CURLOPT_POSTFIELDSIZE, (long)request.bodyLength);
    }
    gCurl.easy_setopt(curl, CURLOPT_WRITEFUNCTION, Https_write);
    gCurl.easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

    bool cancelled = false;
    CURLcode code = Https_run(curl, request, &cancelled);
    gCurl.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    result.transferOk = code == CURLE_OK;
    if (result.transferOk)
        snprintf(result.error, sizeof result.error, "HTTP status %ld", result.status);
    else if (cancelled)
        snprintf(result.error, sizeof result.error, "%s", "request cancelled");
    else
        snprintf(result.error, sizeof result.error, "%s",
                 errorBuffer[0] != '\0' ? errorBuffer : gCurl.easy_strerror(code));
    if (!result.transferOk)
        result.status = 0; // a cut transfer is no answer, whatever its header said

    gCurl.slist_free_all(headers);
    gCurl.easy_cleanup(curl);
    return result;
}

void Https_GlobalInit()
{
    Curl_Load();
}

void Https_GlobalCleanup()
{
}
