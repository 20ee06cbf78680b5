// Loading the plug-in as X-Plane does (from Resources/plugins/<name>/lin_x64/), its entry points,
// host messages and the plug-in identity calls.
#include <cstring>
#include <dlfcn.h>
#include <filesystem>

#include "HostInternal.h"
#include "XPLMPlugin.h"

namespace fs = std::filesystem;

namespace simhost {

using namespace detail;

namespace {
const int kPluginID = 1;
const size_t kStartBufferSize = 256;

bool Fail(const std::string &reason)
{
    host().lastError = reason;
    return false;
}
} // namespace

bool LoadPlugin(const std::string &xplPath)
{
    return LoadPluginFrom(xplPath, "Vellomir64");
}

bool LoadPluginFrom(const std::string &xplPath, const std::string &folderName)
{
    Host &h = host();
    if (h.plugin.started)
        return Fail("a plug-in is already loaded");
    std::string installed = SystemPath() + "Resources/plugins/" + folderName + "/lin_x64/Vellomir64.xpl";
    std::error_code error;
    fs::create_directories(fs::path(installed).parent_path(), error);
    if (fs::absolute(xplPath) != fs::absolute(installed) &&
        !fs::copy_file(xplPath, installed, fs::copy_options::overwrite_existing, error))
        return Fail("cannot copy " + xplPath + ": " + error.message());

    PluginModule &p = h.plugin;
    p = PluginModule();
    // Each simulated X-Plane folder has its own copy, so every load is a fresh instance.
    p.handle = dlopen(installed.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (p.handle == nullptr)
        return Fail(std::string("dlopen failed: ") + dlerror());
    p.path = installed;
    p.start = (int (*)(char *, char *, char *))dlsym(p.handle, "XPluginStart");
    p.stop = (void (*)())dlsym(p.handle, "XPluginStop");
    p.enable = (int (*)())dlsym(p.handle, "XPluginEnable");
    p.disable = (void (*)())dlsym(p.handle, "XPluginDisable");
    p.receive = (void (*)(int, int, void *))dlsym(p.handle, "XPluginReceiveMessage");
    if (!p.start || !p.stop || !p.enable || !p.disable || !p.receive)
        return Fail("the plug-in lacks one of the five XPlugin entry points");

    char name[kStartBufferSize] = {0}, signature[kStartBufferSize] = {0}, description[kStartBufferSize] = {0};
    if (p.start(name, signature, description) == 0)
        return Fail("XPluginStart returned 0");
    p.name = name;
    p.signature = signature;
    p.description = description;
    p.started = true;
    p.enabled = p.enable() != 0;
    return true;
}

void UnloadPlugin()
{
    PluginModule &p = host().plugin;
    if (!p.started)
        return;
    if (p.enabled)
        p.disable();
    p.enabled = false;
    p.stop();
    p.started = false;
    TerrainPluginStopped();
}

bool PluginLoaded()
{
    return host().plugin.started;
}

std::string LastError()
{
    return host().lastError;
}

std::string PluginName()
{
    return host().plugin.name;
}

std::string PluginSignature()
{
    return host().plugin.signature;
}

std::string PluginDescription()
{
    return host().plugin.description;
}

void SendMessage(int message, intptr_t param)
{
    PluginModule &p = host().plugin;
    if (p.started && p.enabled)
        p.receive(XPLM_PLUGIN_XPLANE, message, (void *)param);
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API XPLMPluginID XPLMGetMyID(void)
{
    return simhost::kPluginID;
}

XPLM_API int XPLMCountPlugins(void)
{
    return host().plugin.started ? 2 : 1;
}

XPLM_API XPLMPluginID XPLMGetNthPlugin(int inIndex)
{
    return inIndex < XPLMCountPlugins() ? inIndex : XPLM_NO_PLUGIN_ID;
}

XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char *inSignature)
{
    if (inSignature != nullptr && host().plugin.started && host().plugin.signature == inSignature)
        return simhost::kPluginID;
    return XPLM_NO_PLUGIN_ID;
}

XPLM_API void XPLMGetPluginInfo(XPLMPluginID inPlugin, char *outName, char *outFilePath, char *outSignature,
                                char *outDescription)
{
    const PluginModule &p = host().plugin;
    bool ours = inPlugin == simhost::kPluginID;
    if (outName != nullptr)
        snprintf(outName, 256, "%s", ours ? p.name.c_str() : "X-Plane");
    if (outFilePath != nullptr)
        snprintf(outFilePath, 256, "%s", ours ? p.path.c_str() : "");
    if (outSignature != nullptr)
        snprintf(outSignature, 256, "%s", ours ? p.signature.c_str() : "xplanesdk.xplane");
    if (outDescription != nullptr)
        snprintf(outDescription, 256, "%s", ours ? p.description.c_str() : "");
}

XPLM_API int XPLMIsPluginEnabled(XPLMPluginID inPluginID)
{
    return inPluginID == simhost::kPluginID ? host().plugin.enabled : inPluginID == XPLM_PLUGIN_XPLANE;
}

XPLM_API void XPLMSendMessageToPlugin(XPLMPluginID inPlugin, int inMessage, void *inParam)
{
    PluginModule &p = host().plugin;
    if ((inPlugin == simhost::kPluginID || inPlugin == XPLM_NO_PLUGIN_ID) && p.started && p.enabled)
        p.receive(simhost::kPluginID, inMessage, inParam);
}
