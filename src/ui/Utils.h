// Small helpers shared by every subsystem: the host log line, plug-in file paths and number parsing.
#pragma once

#include <cstddef>
#include <string>

#include "plugin/Log.h"

class Utils {
  public:
    virtual ~Utils() = default;

    /// Writes one line to the simulator's log: "Vellomir v2.1.0 HH:MM:SS: <text>". The level is not used.
    static void log(const char *text, int level);

    // Number conversions of the data readers: the leading number of the text, as stream extraction
    // reads it (leading blanks and a sign allowed, trailing text ignored), without the locale. Text
    // that does not convert, NaN, infinities and doubles or floats beyond range yield 0; whole
    // numbers beyond int are clamped, as stream extraction stores them.
    static int stringToInt(const char *text);
    static int stringToInt(const std::string &text) { return stringToInt(text.c_str()); }
    static float stringToFloat(const char *text);
    static float stringToFloat(const std::string &text) { return stringToFloat(text.c_str()); }
    static double stringToDouble(const char *text);
    static double stringToDouble(const std::string &text) { return stringToDouble(text.c_str()); }
    /// The double of text, divided by 10 when above 99999.0 and cut is true, truncated toward zero.
    static double stringToDoubleCut5Digits(const char *text, bool cut);
    static double stringToDoubleCut5Digits(const std::string &text, bool cut)
    {
        return stringToDoubleCut5Digits(text.c_str(), cut);
    }
};

/// Utils::log of printf-style text (cut to one log line).
void Utils_LogFormat(const char *format, ...) VELLOMIR_PRINTF(1, 2);

/// Appends printf-style text to the string in buf (size bytes); what does not fit is cut, never overflows.
void Utils_Appendf(char *buf, size_t size, const char *format, ...) VELLOMIR_PRINTF(3, 4);

/// The plug-in's folder, ending in the simulator's separator: the folder X-Plane loaded the binary from
/// (the parent of lin_x64/), so a renamed folder keeps its files; <X-Plane>/Resources/plugins/Vellomir64/
/// when the host names no binary. Simulator thread only. False when it did not fit in out (size bytes).
bool Utils_PluginFolder(char *out, size_t size);
/// The plug-in folder of a binary's path ("/X/Resources/plugins/Name/lin_x64/Vellomir64.xpl" gives
/// "/X/Resources/plugins/Name/"); false when the path has no folder to give.
bool Utils_PluginFolderOf(const char *xplPath, const char *separator, char *out, size_t size);
/// Path of a file in the plug-in's folder (Utils_PluginFolder), with the simulator's separator. Returns
/// false when the path did not fit in out (size bytes).
bool Utils_PluginFilePath(const char *name, char *out, size_t size);

/// Reads the whole number at the start of text the way atoi does (leading blanks, a sign, digits; the
/// rest ignored), without the locale; values beyond int are clamped. Returns false, with 0 in value,
/// when text does not start with a number.
bool Utils_LeadingInt(const char *text, int *value);
/// The same for a decimal number ("0.25", "1e-3"); NaN, infinities and values beyond float count as no
/// number (false, 0).
bool Utils_LeadingFloat(const char *text, float *value);
/// Skips the blanks and the plus sign atoi and strtod accept before a number (from_chars takes neither).
const char *Utils_NumberStart(const char *text);
/// Utils::stringToInt over text[0, length), which need not be terminated.
int Utils_SpanToInt(const char *text, size_t length);
/// True when text is exactly one finite number (blanks around it allowed); only then is value set.
bool Utils_ParseDouble(const char *text, double *value);

/// Cuts a settings-style line into its "#"-separated tokens; runs of "#" and "#" at either end make no
/// empty token; the line ends at a NUL byte, and the CRs ending it (CRLF files) are not part of the last
/// token. Stops after three tokens: only the count matters beyond two.
int Utils_HashTokens(const std::string &line, std::string tokens[3]);

/// Writes contents as the whole file at path: into "<path>.tmp", then renamed over path, so that a failed
/// write or a crash leaves the previous file as it was. Not synced to the disk (a sync costs tens of
/// milliseconds of a frozen simulator; Settings.txt has its own synced writer). False (with the reason
/// logged) on failure.
bool Utils_WriteFileAtomic(const char *path, const std::string &contents);
