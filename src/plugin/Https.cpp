// libcurl easy transfers with verification of the server's certificate and host name always on.
#include "plugin/Https.h"

#include <cstring>
#include <curl/curl.h>

#include "plugin/PluginGlobals.h"

char httpsCaFile[512] = "";

namespace {

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

int Https_progress(void *userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const std::atomic<bool> *cancel = static_cast<const std::atomic<bool> *>(userdata);
    return cancel->load() ? 1 : 0; // non-zero aborts the transfer
}

} // namespace

HttpsResult Https_Perform(const HttpsRequest &request)
{
    HttpsResult result;
    CURL *curl = curl_easy_init();
    if (curl == nullptr) {
        snprintf(result.error, sizeof result.error, "%s", "libcurl could not start a transfer");
        return result;
    }
    struct curl_slist *headers = nullptr;
    for (const std::string &header : request.headers)
        headers = curl_slist_append(headers, header.c_str());

    Sink sink = {&request, 0};
    char errorBuffer[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl, CURLOPT_URL, request.url);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, curlUserAgent.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, request.verbose ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, request.timeoutMs);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    if (request.lowSpeedBytesPerSecond > 0 && request.lowSpeedSeconds > 0) {
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, request.lowSpeedBytesPerSecond);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, request.lowSpeedSeconds);
    }
    if (request.cancel != nullptr) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Https_progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool> *>(request.cancel));
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
    if (httpsCaFile[0] != '\0')
        curl_easy_setopt(curl, CURLOPT_CAINFO, httpsCaFile);
    if (request.post) {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body != nullptr ? request.body : "");
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, (long)request.bodyLength);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Https_write);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

    CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    result.transferOk = code == CURLE_OK;
    if (result.transferOk)
        snprintf(result.error, sizeof result.error, "HTTP status %ld", result.status);
    else
        snprintf(result.error, sizeof result.error, "%s", errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code));
    if (!result.transferOk)
        result.status = 0; // a cut transfer is no answer, whatever its header said

    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return result;
}

void Https_GlobalInit()
{
    curl_global_init(CURL_GLOBAL_ALL);
}

void Https_GlobalCleanup()
{
    curl_global_cleanup();
}
