// Addresses of the update server: the setting updateUrl followed by the paths of the server's layout.
#include "update/UpdateServer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "ui/Settings.h"

UpdateLimits updateLimits;

UpdateServerState Update_ServerState()
{
    if (updateUrl[0] == '\0')
        return UPDATE_SERVER_NOT_CONFIGURED;
    if (strncasecmp(updateUrl, "https://", 8) != 0 || updateUrl[8] == '\0' || updateUrl[8] == '/')
        return UPDATE_SERVER_NOT_HTTPS;
    return UPDATE_SERVER_OK;
}

bool Update_Address(char *out, size_t size, const char *format, ...)
{
    size_t base = strlen(updateUrl);
    while (base > 0 && updateUrl[base - 1] == '/')
        base--;
    if (base >= size) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, updateUrl, base);
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out + base, size - base, format, args);
    va_end(args);
    if (n < 0 || (size_t)n >= size - base) {
        out[0] = '\0';
        return false;
    }
    return true;
}
