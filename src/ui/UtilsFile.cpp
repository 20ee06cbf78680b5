// Whole-file writes that never leave a file half written.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ui/Utils.h"

bool Utils_WriteFileAtomic(const char *path, const std::string &contents)
{
    char temporary[1100];
    if (snprintf(temporary, sizeof temporary, "%s.tmp", path) >= (int)sizeof temporary) {
        Utils_LogFormat("The path %s is too long to be written", path);
        return false;
    }
    FILE *file = fopen(temporary, "wb");
    if (file == nullptr) {
        Utils_LogFormat("%s could not be created (%s); %s is kept", temporary, strerror(errno), path);
        return false;
    }
    bool written = fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    if (!written || rename(temporary, path) != 0) {
        Utils_LogFormat("%s could not be written (%s); the previous file is kept", path, strerror(errno));
        remove(temporary);
        return false;
    }
    return true;
}
