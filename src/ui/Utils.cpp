// The host log line writer, plug-in file paths and locale-free number parsing.
#include "ui/Utils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "XPLMPlugin.h"
#include "XPLMUtilities.h"
#include "plugin/Log.h"
#include "plugin/Version.h"

void Utils::log(const char *text, int /*level*/)
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    // Prefix (about 27 characters), a printer's line (at most LOG_LINE_SIZE - 1) and the newline.
    char line[LOG_LINE_SIZE + 64];
    int n = snprintf(line, sizeof line, VELLOMIR_PRODUCT " v" VELLOMIR_VERSION " %02d:%02d:%02d: %s\n", local.tm_hour,
                     local.tm_min, local.tm_sec, text != nullptr ? text : "");
    if (n >= (int)sizeof line) // cut: the line still ends in its newline
        line[sizeof line - 2] = '\n';
    XPLMDebugString(line);
}

void Utils_Appendf(char *buf, size_t size, const char *format, ...)
{
    if (buf == nullptr || size == 0)
        return;
    size_t used = strnlen(buf, size);
    if (used >= size - 1)
        return;
    va_list args;
    va_start(args, format);
    vsnprintf(buf + used, size - used, format, args);
    va_end(args);
}

bool Utils_PluginFolderOf(const char *xplPath, const char *separator, char *out, size_t size)
{
    if (xplPath == nullptr || separator == nullptr || separator[0] == '\0' || out == nullptr || size == 0)
        return false;
    std::string path = xplPath;
    size_t slash = path.rfind(separator[0]);
    if (slash == std::string::npos || slash == 0)
        return false;
    std::string folder = path.substr(0, slash); // the binary's folder
    size_t parent = folder.rfind(separator[0]);
    if (parent == std::string::npos)
        return false;
    std::string last = folder.substr(parent + 1);
    if (last == "lin_x64" || last == "mac_x64" || last == "win_x64" || last == "64") // per-platform layouts
        folder.erase(parent);
    if (folder.empty() || folder.find(separator[0]) == std::string::npos)
        return false;
    int n = snprintf(out, size, "%s%s", folder.c_str(), separator);
    return n >= 0 && (size_t)n < size;
}

bool Utils_PluginFolder(char *out, size_t size)
{
    if (out == nullptr || size == 0)
        return false;
    const char *sep = XPLMGetDirectorySeparator();
    if (sep == nullptr || sep[0] == '\0')
        sep = "/";
    // The folder X-Plane loaded us from, whatever the user named it; the standard place when the host
    // gives no path (code linked into a test host).
    char xplPath[1024] = {0};
    XPLMGetPluginInfo(XPLMGetMyID(), nullptr, xplPath, nullptr, nullptr);
    if (Utils_PluginFolderOf(xplPath, sep, out, size))
        return true;
    char systemPath[512] = {0};
    XPLMGetSystemPath(systemPath);
    int n = snprintf(out, size, "%sResources%splugins%sVellomir64%s", systemPath, sep, sep, sep);
    return n >= 0 && (size_t)n < size;
}

bool Utils_PluginFilePath(const char *name, char *out, size_t size)
{
    if (!Utils_PluginFolder(out, size))
        return false;
    size_t used = strlen(out);
    int n = snprintf(out + used, size - used, "%s", name != nullptr ? name : "");
    return n >= 0 && (size_t)n < size - used;
}

const char *Utils_NumberStart(const char *text)
{
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\v' || *text == '\f' || *text == '\r')
        text++;
    if (*text == '+' && text[1] != '-')
        text++;
    return text;
}

bool Utils_LeadingInt(const char *text, int *value)
{
    *value = 0;
    if (text == nullptr)
        return false;
    const char *start = Utils_NumberStart(text);
    const char *end = start + strlen(start);
    long long parsed = 0;
    std::from_chars_result r = std::from_chars(start, end, parsed, 10);
    if (r.ptr == start)
        return false;
    if (r.ec == std::errc::result_out_of_range)
        parsed = *start == '-' ? LLONG_MIN : LLONG_MAX;
    if (parsed > INT_MAX)
        parsed = INT_MAX;
    if (parsed < INT_MIN)
        parsed = INT_MIN;
    *value = (int)parsed;
    return true;
}

bool Utils_LeadingFloat(const char *text, float *value)
{
    *value = 0;
    if (text == nullptr)
        return false;
    const char *start = Utils_NumberStart(text);
    const char *end = start + strlen(start);
    float parsed = 0;
    std::from_chars_result r = std::from_chars(start, end, parsed, std::chars_format::general);
    if (r.ptr == start || r.ec != std::errc() || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

void Utils_LogFormat(const char *format, ...)
{
    char line[LOG_LINE_SIZE];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Utils::log(line, 0);
}

int Utils_HashTokens(const std::string &line, std::string tokens[3])
{
    // A NUL byte ends the line (a stored value would end there anyway), and every CR before the end is
    // dropped: an editor that wrote CR CR LF, or a CR before a NUL, would else leave a CR in the value
    // (and in the speech service's request header, for the Azure key).
    size_t length = std::min(line.find('\0'), line.size());
    while (length > 0 && line[length - 1] == '\r')
        length--;
    int count = 0;
    size_t pos = 0;
    while (count < 3) {
        pos = line.find_first_not_of('#', pos);
        if (pos == std::string::npos || pos >= length)
            break;
        size_t end = line.find('#', pos);
        if (end == std::string::npos || end > length)
            end = length;
        tokens[count++] = line.substr(pos, end - pos);
        pos = end;
    }
    return count;
}
