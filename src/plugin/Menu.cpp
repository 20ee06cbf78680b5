// The sub-menu "Vellomirv2": its items, enable patterns and handler.
#include "plugin/Menu.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "XPLMMenus.h"
#include "comms/FrequencySelector.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "plugin/Reset.h"
#include "state/Pilot.h"
#include "ui/AboutWindow.h"
#include "ui/AtcDialog.h"
#include "ui/OptionsWindow.h"
#include "ui/WarningWindow.h"
#include "update/UpdateCheck.h"
#include "update/UpdateState.h"

const char *const kDocumentationAddress = "https://vellomir.org/docs/";
const char *const kSupporterAddress = "https://www.patreon.com/vellomir";

namespace {

const char *const kMenuLabels[MENU_ITEM_COUNT] = {
    "Start plugin",         "Stop plugin", "Reset plugin",  "ATC dialog",    "Frequencies selector",
    "Options",              "Update",      "Documentation", "Patreon Page",  "?",
};

void Menu_enable(int item, int enabled)
{
    if (gMyMenu != nullptr)
        XPLMEnableMenuItem(gMyMenu, item, enabled);
}

// Opens an address in the desktop's browser without waiting for it.
void Menu_openAddress(const char *address)
{
    char command[512];
    snprintf(command, sizeof command, "xdg-open '%s' >/dev/null 2>&1 &", address);
    int status = system(command);
    if (status != 0)
        PrintInfo("System_MenuPrincipaleCallback", "Could not open %s (status %i)", address, status);
}

} // namespace

void System_CreateMenu()
{
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    int item = XPLMAppendMenuItem(plugins, "Vellomirv2", nullptr, 1);
    gMyMenu = XPLMCreateMenu("Vellomirv2", plugins, item, System_MenuPrincipaleCallback, nullptr);
    for (intptr_t ref = 0; ref < MENU_ITEM_COUNT; ref++)
        XPLMAppendMenuItem(gMyMenu, kMenuLabels[ref], (void *)ref, 1);
}

void System_DestroyMenu()
{
    if (gMyMenu != nullptr)
        XPLMDestroyMenu(gMyMenu);
    gMyMenu = nullptr;
}

void System_MenuRunningPatternFixed()
{
    Menu_enable(MENU_START, 0);
    Menu_enable(MENU_STOP, 1);
    Menu_enable(MENU_RESET, 1);
    Menu_enable(MENU_ATC_DIALOG, 0);
    for (int item = MENU_FREQUENCIES; item < MENU_ITEM_COUNT; item++)
        Menu_enable(item, 1);
}

void System_MenuRunningPattern()
{
    System_MenuRunningPatternFixed();
    Menu_enable(MENU_ATC_DIALOG, pilotObj.primaChiamataCenterEffettuataMIA == 1 && pilotObj.isOnGround == 0);
}

void System_MenuStoppedPattern()
{
    Menu_enable(MENU_START, 1);
    Menu_enable(MENU_STOP, 0);
    Menu_enable(MENU_RESET, 0);
    Menu_enable(MENU_FREQUENCIES, 0);
    Menu_enable(MENU_OPTIONS, 0);
    Menu_enable(MENU_UPDATE, 0);
    Menu_enable(MENU_DOCUMENTATION, 1);
    Menu_enable(MENU_PATREON, 1);
    Menu_enable(MENU_ABOUT, 1);
}

void System_MenuEnableAtcDialog(int enabled)
{
    Menu_enable(MENU_ATC_DIALOG, enabled);
}

void System_MenuPrincipaleCallback(void *, void *itemRef)
{
    intptr_t item = (intptr_t)itemRef;
    switch (item) {
    case MENU_START:
        gPluginEnabled = 1;
        break;
    case MENU_STOP:
        gPluginEnabled = 0;
        break;
    case MENU_RESET:
        System_ResetPlugin();
        break;
    case MENU_ATC_DIALOG:
        if (gPluginEnabled == 1)
            AtcDialog_Toggle();
        break;
    case MENU_FREQUENCIES:
        if (gPluginEnabled == 1)
            FrequencySelector_Toggle();
        break;
    case MENU_OPTIONS:
        if (optionsWinIsOpen == 0)
            CreateOptionsWinControl(400, 700, 975, 610);
        else
            Options_Destroy();
        break;
    case MENU_UPDATE:
        if (updateRestartPending)
            CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update restart pending",
                                    "An update restart is pending, please restart your sim");
        else
            checkForUpdates(true);
        break;
    case MENU_DOCUMENTATION:
        Menu_openAddress(kDocumentationAddress);
        break;
    case MENU_PATREON:
        Menu_openAddress(kSupporterAddress);
        break;
    case MENU_ABOUT:
        if (aboutIsOpen == 0)
            CreateAboutWinControl(400, 600, 500, 220);
        else
            About_Destroy();
        break;
    default:
        break;
    }
    if (item == MENU_START)
        System_MenuRunningPattern();
    else if (item == MENU_STOP)
        System_MenuStoppedPattern();
    else if (gPluginEnabled == 1)
        System_MenuRunningPattern();
    else
        System_MenuStoppedPattern();
}
