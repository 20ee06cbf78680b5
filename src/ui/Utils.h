// Small helpers shared by every subsystem: the host log line, plug-in file paths and number parsing.
#pragma once

#include <cstddef>

#include "plugin/Log.h"

class Utils {
  public:
    virtual ~Utils() = default;

    /// Writes one line to the simulator's log: "Vellomir v2.1.0 HH:MM:SS: <text>". The level is not used.
    static void log(const char *text, int level);
};

/// Appends printf-style text to the string in buf (size bytes); what does not fit is cut, never overflows.
void Utils_Appendf(char *buf, size_t size, const char *format, ...) VELLOMIR_PRINTF(3, 4);

/// Path of a file in the plug-in's folder: <X-Plane>/Resources/plugins/Vellomir64/<name>, with the
/// simulator's separator. Returns false when the path did not fit in out (size bytes).
bool Utils_PluginFilePath(const char *name, char *out, size_t size);

/// Reads the whole number at the start of text the way atoi does (leading blanks, a sign, digits; the
/// rest ignored), without the locale; values beyond int are clamped. Returns false, with 0 in value,
/// when text does not start with a number.
bool Utils_LeadingInt(const char *text, int *value);
/// The same for a decimal number ("0.25", "1e-3"); NaN, infinities and values beyond float count as no
/// number (false, 0).
bool Utils_LeadingFloat(const char *text, float *value);
