// Clears every flight so that a new one can start; the scenery index and the stored settings stay.
#include "plugin/Reset.h"

#include "XPLMMenus.h"
#include "XPLMProcessing.h"
#include "comms/DialogBox.h"
#include "comms/FrequencySelector.h"
#include "comms/MessageQueue.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "planning/JumpToWaypoint.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/Log.h"
#include "plugin/Menu.h"
#include "plugin/PluginGlobals.h"
#include "planning/FlightPlanWindow.h"
#include "speech/AzureTTS.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "taxi/TaxiGuide.h"
#include "ui/AboutWindow.h"
#include "ui/AtcDialog.h"
#include "ui/OptionsWindow.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"
#include "update/UpdateWindow.h"

void System_ResetPlugin()
{
    PrintInfo("System_ResetPlugin", "plugin reset invoked...");
    if (gMyMenu != nullptr)
        XPLMEnableMenuItem(gMyMenu, MENU_ATC_DIALOG, 0);

    RequestDialog_Close();
    ReadbackWindow_Close();
    Radio_ResetState();
    SpeechWorker_CancelSpeech(); // the voices of the emptied queue
    FlightGlobals_Reset();

    gAlreadyChecked = 0;
    userDebug = 0;
    vociCustom = 0;
    azureReturnCode = 0;
    overwrittenDepartureApt.clear();

    pilotObj.ResetFlight();
    taxiGuide.clear();

    autoHideDarkBoxCounter = XPLMGetElapsedTime();

    Warning_Destroy();
    AzureDisclaimer_Destroy();
    About_Destroy();
    Options_Destroy();
    FlightPlanWindow_Destroy();
    Update_DestroyWindows();
    JumpToWaypoint_Close();
    AtcDialog_Destroy();

    readSettings();
    readVoices();
    CambiaVoceRandom();

    FrequencySelector_Destroy();
}
