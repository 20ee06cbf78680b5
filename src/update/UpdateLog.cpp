// Log lines of the updater's worker, kept until the simulator's thread prints them.
#include "update/UpdateLog.h"

#include <cstdarg>
#include <cstdio>

namespace {

void UpdateLog_add(std::vector<UpdateLogLine> &lines, bool debug, const char *tag, const char *format, va_list args)
{
    char text[LOG_LINE_SIZE];
    vsnprintf(text, sizeof text, format, args);
    lines.push_back({debug, tag, text});
}

} // namespace

void UpdateLog::Info(const char *tag, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    UpdateLog_add(lines, false, tag, format, args);
    va_end(args);
}

void UpdateLog::Debug(const char *tag, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    UpdateLog_add(lines, true, tag, format, args);
    va_end(args);
}

void UpdateLog::Print()
{
    for (const UpdateLogLine &line : lines) {
        if (line.debug)
            PrintDebug(line.tag, "%s", line.text.c_str());
        else
            PrintInfo(line.tag, "%s", line.text.c_str());
    }
    lines.clear();
}
