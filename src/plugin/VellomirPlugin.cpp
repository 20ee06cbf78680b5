// The five entry points X-Plane calls. They stay thin: the work is in the System_* operations.
#include <cstdio>
#include <cstring>

#include "XPLMDefs.h"
#include "XPLMPlugin.h"
#include "XPLMUtilities.h"
#include "comms/FrequencySelector.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "navdata/AptNav.h"
#include "planning/FlightPlanWindow.h"
#include "planning/JumpToWaypoint.h"
#include "plugin/Audio.h"
#include "plugin/Commands.h"
#include "plugin/CustomDataRefs.h"
#include "plugin/FrameDriver.h"
#include "plugin/Https.h"
#include "plugin/Log.h"
#include "plugin/Menu.h"
#include "plugin/PluginGlobals.h"
#include "plugin/Reset.h"
#include "plugin/SimDataRefs.h"
#include "plugin/Version.h"
#include "plugin/Welcome.h"
#include "speech/AzureTTS.h"
#include "speech/LocalTTS.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "state/FlightGlobals.h"
#include "ui/AboutWindow.h"
#include "ui/AtcDialog.h"
#include "ui/OptionsWindow.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"
#include "update/UpdateWindow.h"
#include "update/UpdateWorker.h"

namespace {

/// Size X-Plane gives each of XPluginStart's three text buffers.
const size_t kStartBufferSize = 256;
/// XPluginStop has run since the last start: the completion window of an update stops the plug-in
/// itself, and X-Plane stops it again when it quits.
bool gStopped = false;

void System_Start()
{
    System_RegisterDataRefs();
    XPLMGetVersions(&gFDV_XPlaneVersion, &XPLMVersion, &HostID);
    Audio_Start(gFDV_XPlaneVersion);
    System_RegisterCommands();
    System_FindAttitudeDataRefs();
    System_CreateMenu();
    System_MenuRunningPatternFixed();
    Utils_readAllAptDat();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    readSettings();
    readVoices();
    Https_TakeCaFileFromEnvironment();
    PrintInfo("XPluginStart", userDebug ? "User debug enabled" : "User debug disabled");
    CambiaVoceRandom();
    if (azureTtsOn == 1) {
        PrintInfo("XPluginStart", "AzureTTS init");
        AzureTTS_Ready(false); // opens the sound device, or says once what is missing
        if (Https_Available())
            AzureTTS_RequestToken(); // answered on the speech worker: the start does not wait
    }
    if (localTtsOn == 1) {
        PrintInfo("XPluginStart", "Local voice init");
        LocalTTS_Ready(false); // opens the sound device, or says once what is missing
    }
    if (pluginAutostart == 1 && gPluginEnabled == 0) {
        gPluginEnabled = 1;
        System_MenuRunningPatternFixed();
        if (welcomeMessage202012 == 1)
            System_ShowWelcome();
        PrintDebug("XPluginStart", "XPlane version: %i %i, HostID: %i", gFDV_XPlaneVersion, XPLMVersion, HostID);
        if (welcomeMessage202012 == 1)
            welcomeMessage202012 = 0;
        writeSettings();
    }
    System_CreateDriverWindow();
}

} // namespace

PLUGIN_API int XPluginStart(char *outName, char *outSig, char *outDesc)
{
    PrintDebug("XPluginStart", "plugin start invoked...");
    snprintf(outName, kStartBufferSize, "Vellomir v%s", VELLOMIR_VERSION);
    snprintf(outSig, kStartBufferSize, "org.vellomir.vellomirv2");
    snprintf(outDesc, kStartBufferSize, "A plugin for emulate ATC functions");
    gStopped = false;
    System_Start();
    return 1;
}

PLUGIN_API void XPluginStop(void)
{
    if (gStopped)
        return;
    gStopped = true;
    UpdateWorker_Stop();
    System_DestroyDriverWindow();
    System_UnregisterCommands();
    FrequencySelector_Destroy(); // first: its position goes into the settings, as do the dialogs'
    RequestDialog_Close();
    ReadbackWindow_Close();
    PrintInfo("XPluginStop", "Writing settings");
    writeSettings();
    // The plug-in's widget windows go with it.
    FlightPlanWindow_Destroy();
    Options_Destroy();
    AzureDisclaimer_Destroy();
    About_Destroy();
    Warning_Destroy();
    Update_DestroyWindows();
    JumpToWaypoint_Close();
    AtcDialog_Destroy();
    System_DestroyMenu();
    System_UnregisterDataRefs();
    SpeechWorker_Stop();
    Wave_ReleaseAllUtterances();
    System_CloseAudio();
}

PLUGIN_API int XPluginEnable(void)
{
    return 1;
}

PLUGIN_API void XPluginDisable(void)
{
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int message, void *)
{
    if (message == XPLM_MSG_PLANE_LOADED) {
        engineRunning = 0;
    } else if (message == XPLM_MSG_AIRPORT_LOADED) {
        PrintDebug("XPluginReceiveMessage", "plugin reset invoked for airport loading...");
        System_ResetPlugin();
    }
}
