// The host log line writer.
#include "ui/Utils.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

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
