// Addresses of the update server (the setting updateUrl) and the bounds of every request made to it.
#pragma once

#include <cstddef>

#include "plugin/Log.h"

/// Buffer of a request address; an address that does not fit is refused, never cut.
enum { UPDATE_URL_SIZE = 384 };

/// Time-outs and size bounds of the updater's requests; tests shorten them.
struct UpdateLimits {
    long indexTimeoutMs = 10000;  ///< version index, release notes and checksum, each
    long binaryTimeoutMs = 900000; ///< the whole binary download
    long lowSpeedBytesPerSecond = 1024; ///< the binary download fails when slower than this ...
    long lowSpeedSeconds = 30;          ///< ... for this long
    size_t indexMaxBytes = 4096;
    size_t checksumMaxBytes = 4096;
    size_t binaryMaxBytes = 64 * 1024 * 1024;
};
extern UpdateLimits updateLimits;

enum UpdateServerState { UPDATE_SERVER_OK, UPDATE_SERVER_NOT_CONFIGURED, UPDATE_SERVER_NOT_HTTPS };

/// Whether updateUrl names a server the updater may contact: set, and an https:// address.
UpdateServerState Update_ServerState();

/// updateUrl (without a closing "/") followed by the path built from format; false when it does not fit.
bool Update_Address(char *out, size_t size, const char *format, ...) VELLOMIR_PRINTF(3, 4);
