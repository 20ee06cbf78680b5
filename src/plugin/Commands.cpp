// The published commands: one table, registered at start and unregistered at stop.
// Every handler acts on the end phase only (key released) and stops the command there.
#include "plugin/Commands.h"

#include "XPLMProcessing.h"
#include "comms/DialogState.h"
#include "comms/FrequencySelector.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/AtcDialog.h"
#include "ui/Settings.h"

XPLMCommandRef customCommandDarkBoxToggle;
XPLMCommandRef customCommandInformationsToggle;
XPLMCommandRef customCommandFrequencyWindowToggle;
XPLMCommandRef customCommandAtcDialogToggle;
XPLMCommandRef customCommandShowDarkBox;
XPLMCommandRef customCommandReadBack;
XPLMCommandRef customCommandHeadingIndicator;

namespace {

struct CommandEntry {
    XPLMCommandRef *handle;
    const char *name;
    const char *description;
    XPLMCommandCallback_f handler;
};

const CommandEntry kCommands[] = {
    {&customCommandDarkBoxToggle, "Vellomir/dark_box_toggle", "Hide/Unhide darkbox window",
     customCommandDarkBoxToggleHandler},
    {&customCommandInformationsToggle, "Vellomir/flight_informations_toggle", "Hide/Unhide flight informations",
     customCommandInformationsToggleHandler},
    {&customCommandFrequencyWindowToggle, "Vellomir/frequency_selector_toggle", "Hide/Unhide frequency selector",
     customCommandFrequencyWindowToggleHandler},
    {&customCommandAtcDialogToggle, "Vellomir/atc_dialog_toggle", "Hide/Unhide atc dialog",
     customCommandAtcDialogToggleHandler},
    {&customCommandShowDarkBox, "Vellomir/show_dark_box", "If auto hide is active, show dark box",
     customCommandShowDarkBoxHandler},
    {&customCommandReadBack, "Vellomir/read_back", "Read back to communications", customCommandReadBackHandler},
    {&customCommandHeadingIndicator, "Vellomir/heading_indicator", "Enable Heading Indicator",
     customCommandHeadingIndicatorHandler},
};

} // namespace

void System_RegisterCommands()
{
    for (const CommandEntry &entry : kCommands) {
        *entry.handle = XPLMCreateCommand(entry.name, entry.description);
        XPLMRegisterCommandHandler(*entry.handle, entry.handler, 1, nullptr);
    }
}

void System_UnregisterCommands()
{
    for (const CommandEntry &entry : kCommands) {
        if (*entry.handle != nullptr)
            XPLMUnregisterCommandHandler(*entry.handle, entry.handler, 1, nullptr);
    }
}

int customCommandDarkBoxToggleHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandDarkBoxToggleHandler called");
        gShowDarkWindows = !gShowDarkWindows;
    }
    return 0;
}

int customCommandInformationsToggleHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandInformationsToggleHandler called");
        flightStatsIsActive = flightStatsIsActive ? 0 : 1;
    }
    return 0;
}

int customCommandFrequencyWindowToggleHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandFrequencyWindowToggleHandler called");
        FrequencySelector_Toggle();
    }
    return 0;
}

int customCommandAtcDialogToggleHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandAtcDialogToggleHandler called");
        AtcDialog_Toggle();
    }
    return 0;
}

int customCommandShowDarkBoxHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandShowDarkBoxHandler called");
        autoHideDarkBoxCounter = XPLMGetElapsedTime();
    }
    return 0;
}

int customCommandReadBackHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandReadBackHandler called");
        // Answered by the next frame: a command may come while a window is being built or drawn.
        if (readbackWinIsOpen == 1)
            readBackCustomCommand = 1;
    }
    return 0;
}

int customCommandHeadingIndicatorHandler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd) {
        PrintUsrDebug("customCommandHeadingIndicatorHandler called");
        headingIndicatorActive = headingIndicatorActive ? 0 : 1;
    }
    return 0;
}
