// libcurl, opened at first use ("libcurl.so.4"; VELLOMIR_LIBCURL names another file). Call through gCurl
// only after Curl_Load() returned true.
#pragma once

#ifndef CURL_DISABLE_TYPECHECK
#define CURL_DISABLE_TYPECHECK
#endif
#include <curl/curl.h>

struct CurlApi {
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_easy_strerror) easy_strerror;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_info_read) multi_info_read;
    decltype(&::curl_multi_cleanup) multi_cleanup;
};
extern CurlApi gCurl;

/// Opens libcurl and initialises it once (thread-safe); false when it is missing or too old (7.66 and later
/// have everything used here).
bool Curl_Load();
/// The next Curl_Load opens libcurl again by the name set then (tests); only while no request runs.
void Curl_Forget();
/// What is missing ("libcurl.so.4 (reason)"), empty when libcurl is loaded or not tried yet.
const char *Curl_Missing();
