// The log printers and the two small time helpers of the phrase handlers.
#include "plugin/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "ui/Utils.h"

int developerDEBUG = 0;
int developerDEBUGlocal = 1;
int developerDEBUGlocal2 = 0;
int userDebug = 1;

char gLogMessage[LOG_MESSAGE_SIZE];

namespace {

// Formats "<prefix><message>" into a line of at most LOG_LINE_SIZE - 1 characters and logs it.
// A message longer than the line is cut; vsnprintf never writes past the buffer.
void Log_Emit(const char *tag, const char *withTag, const char *format, va_list args)
{
    char message[LOG_MESSAGE_SIZE];
    vsnprintf(message, sizeof message, format, args);
    // A longer line is cut at LOG_LINE_SIZE - 1 characters.
    char line[LOG_LINE_SIZE];
    if (tag != nullptr) {
        int length = snprintf(line, sizeof line, withTag, tag, message);
        (void)length;
    } else {
        size_t length = strnlen(message, sizeof line - 1);
        memcpy(line, message, length);
        line[length] = 0;
    }
    Utils::log(line, 0);
}

} // namespace

#define LOG_FORWARD(tagArg, fmtWithTag)                                                                      \
    do {                                                                                                     \
        va_list args;                                                                                        \
        va_start(args, format);                                                                              \
        Log_Emit(tagArg, fmtWithTag, format, args);                                                          \
        va_end(args);                                                                                        \
    } while (0)

void PrintInfo(const char *tag, const char *format, ...)
{
    LOG_FORWARD(developerDEBUG ? tag : nullptr, " ---- %s ----: %s");
}

void PrintDebug(const char *tag, const char *format, ...)
{
    if (!developerDEBUG)
        return;
    LOG_FORWARD(tag, "---- %s ---- DEVDEBUG ----: %s");
}

void PrintUsrDebug(const char *format, ...)
{
    if (!userDebug)
        return;
    LOG_FORWARD("", "DEBUG: %s%s");
}

void PrintInfoLocal(const char *tag, const char *format, ...)
{
    LOG_FORWARD(developerDEBUGlocal ? tag : nullptr, "%s: %s");
}

void PrintDebugLocal(const char *tag, const char *format, ...)
{
    if (!developerDEBUGlocal)
        return;
    LOG_FORWARD(tag, "%s DEBUG: %s");
}

void PrintInfoLoca2(const char *tag, const char *format, ...)
{
    LOG_FORWARD(developerDEBUGlocal2 ? tag : nullptr, "%s: %s");
}

void PrintDebugLocal2(const char *tag, const char *format, ...)
{
    if (!developerDEBUGlocal2)
        return;
    LOG_FORWARD(tag, "%s DEBUG: %s");
}

int millisecondiDaMezzanotte()
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    return local.tm_hour * 3600000 + local.tm_min * 60000 + local.tm_sec * 1000;
}

const char *Utils_GetDayTime(float secondsSinceMidnight)
{
    int hour = (int)(secondsSinceMidnight / 3600.0f);
    if (hour >= 5 && hour <= 11)
        return "morning";
    if (hour >= 12 && hour <= 17)
        return "afternoon";
    return "evening";
}
