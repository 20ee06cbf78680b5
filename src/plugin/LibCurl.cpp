// The libcurl symbol table and its one-time global initialisation.
#include "plugin/LibCurl.h"

#include <mutex>

#include "plugin/RuntimeLib.h"

CurlApi gCurl = {};

namespace
{

#define CURL_SYMBOL(field)                                                                                             \
    {                                                                                                                  \
        "curl_" #field, reinterpret_cast<void **>(&gCurl.field)                                                        \
    }
const RuntimeSymbol kCurlSymbols[] = {
    CURL_SYMBOL(global_init),      CURL_SYMBOL(easy_init),           CURL_SYMBOL(easy_setopt),
    CURL_SYMBOL(easy_getinfo),     CURL_SYMBOL(easy_strerror),       CURL_SYMBOL(easy_cleanup),
    CURL_SYMBOL(slist_append),     CURL_SYMBOL(slist_free_all),      CURL_SYMBOL(multi_init),
    CURL_SYMBOL(multi_add_handle), CURL_SYMBOL(multi_remove_handle), CURL_SYMBOL(multi_perform),
    CURL_SYMBOL(multi_poll),       CURL_SYMBOL(multi_info_read),     CURL_SYMBOL(multi_cleanup),
};
#undef CURL_SYMBOL

RuntimeLib gCurlLib = {
    "libcurl.so.4", "VELLOMIR_LIBCURL", kCurlSymbols, sizeof kCurlSymbols / sizeof kCurlSymbols[0], 0, ""};
std::once_flag gCurlInit;
bool gCurlInitOk = false;

} // namespace

bool Curl_Load()
{
    // The global initialisation is not thread-safe in older libcurl and is never undone: other threads
    // (or another add-on sharing the library) may still be using it when the plug-in stops.
    if (!RuntimeLib_Load(gCurlLib))
        return false;
    std::call_once(gCurlInit, [] { gCurlInitOk = gCurl.global_init(CURL_GLOBAL_ALL) == CURLE_OK; });
    return gCurlInitOk;
}

void Curl_Forget()
{
    RuntimeLib_Forget(gCurlLib);
}

const char *Curl_Missing()
{
    return gCurlLib.missing;
}
