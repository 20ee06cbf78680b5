// dlopen of an optional library and its symbol table. The handle is never closed: libraries like libcurl
// keep threads and TLS state that do not survive an unload.
#include "plugin/RuntimeLib.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>

namespace
{
std::mutex gLoadMutex;
}

const char *RuntimeLib_Name(const RuntimeLib &lib)
{
    const char *name = lib.overrideVariable != nullptr ? getenv(lib.overrideVariable) : nullptr;
    return name != nullptr && name[0] != '\0' ? name : lib.defaultName;
}

void RuntimeLib_Forget(RuntimeLib &lib)
{
    std::lock_guard<std::mutex> lock(gLoadMutex);
    lib.state = 0;
    lib.missing[0] = '\0';
}

bool RuntimeLib_Load(RuntimeLib &lib)
{
    std::lock_guard<std::mutex> lock(gLoadMutex);
    if (lib.state != 0)
        return lib.state == 1;
    const char *name = RuntimeLib_Name(lib);
    void *handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char *why = dlerror();
        snprintf(lib.missing, sizeof lib.missing, "%s (%s)", name, why != nullptr ? why : "not found");
        lib.state = -1;
        return false;
    }
    for (size_t i = 0; i < lib.symbolCount; i++) {
        *lib.symbols[i].slot = dlsym(handle, lib.symbols[i].name);
        if (*lib.symbols[i].slot == nullptr) {
            snprintf(lib.missing, sizeof lib.missing, "%s (it has no %s: too old)", name, lib.symbols[i].name);
            for (size_t j = 0; j < lib.symbolCount; j++)
                *lib.symbols[j].slot = nullptr;
            lib.state = -1;
            return false;
        }
    }
    lib.missing[0] = '\0';
    lib.state = 1;
    return true;
}
