// Line reading and field splitting of X-Plane's text data files.
#include "navdata/AptLine.h"

#include <cerrno>

#include "XPLMUtilities.h"
#include "plugin/Log.h"

namespace {

int ReadError(FILE *file)
{
    int error = errno != 0 ? errno : EIO;
    clearerr(file);
    return -error;
}

} // namespace

int T_fgetc(FILE *file, char *buffer, size_t bufferSize, bool *overlong)
{
    if (overlong != nullptr)
        *overlong = false;
    if (file == nullptr || buffer == nullptr || bufferSize == 0)
        return 0;
    size_t used = 0;
    bool dropped = false;
    bool any = false;
    errno = 0;
    int c;
    while ((c = getc_unlocked(file)) != EOF) {
        any = true;
        if (c == '\r' || c == '\n') {
            do {
                if (used + 1 < bufferSize)
                    buffer[used++] = (char)c;
            } while ((c = getc_unlocked(file)) == '\r' || c == '\n');
            if (c != EOF)
                ungetc(c, file);
            break;
        }
        if (used + 1 < bufferSize)
            buffer[used++] = (char)c;
        else
            dropped = true;
    }
    buffer[used] = 0;
    if (overlong != nullptr)
        *overlong = dropped;
    if (ferror(file))
        return ReadError(file);
    return any ? 1 : 0;
}

int AptLine_Split(char *line, AptFields *fields)
{
    fields->count = 0;
    if (line == nullptr)
        return 0;
    char *p = line;
    while (*p != 0) {
        while (*p != 0 && AptLine_IsSeparator(*p))
            p++;
        if (*p == 0)
            break;
        if (fields->count == APT_MAX_FIELDS)
            break;
        fields->field[fields->count++] = p;
        while (*p != 0 && !AptLine_IsSeparator(*p))
            p++;
        if (*p != 0)
            *p++ = 0;
    }
    return fields->count;
}

bool AptLine_CheckFirstByte(FILE *file, const char *path, const char *tag)
{
    int first = getc(file);
    if (first != 'I' && first != 'A') {
        XPLMDebugString("invalid start\n");
        PrintInfo(tag, "invalid apt.dat in %s", path);
        return false;
    }
    rewind(file);
    return true;
}
