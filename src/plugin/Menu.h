// The plug-in's sub-menu under the host's plug-ins menu.
#pragma once

/// Item references of the sub-menu, in order.
enum MenuItem {
    MENU_START = 0,
    MENU_STOP = 1,
    MENU_RESET = 2,
    MENU_ATC_DIALOG = 3,
    MENU_FREQUENCIES = 4,
    MENU_OPTIONS = 5,
    MENU_UPDATE = 6,
    MENU_DOCUMENTATION = 7,
    MENU_PATREON = 8,
    MENU_ABOUT = 9,
    MENU_ITEM_COUNT = 10
};

/// Builds the menu (once, at start).
void System_CreateMenu();
void System_DestroyMenu();
/// Running pattern: Start off, Stop and Reset on, item 3 by the flight's state, 4 to 9 on.
void System_MenuRunningPattern();
/// The fixed part of the running pattern applied at start: item 3 off.
void System_MenuRunningPatternFixed();
/// Stopped pattern: Start on, Stop/Reset/4/5/6 off, 7 to 9 on, item 3 unchanged.
void System_MenuStoppedPattern();
/// Enables or disables item 3, "ATC dialog".
void System_MenuEnableAtcDialog(int enabled);
void System_MenuPrincipaleCallback(void *menuRef, void *itemRef);

/// Documentation and supporter pages opened by items 7 and 8.
extern const char *const kDocumentationAddress;
extern const char *const kSupporterAddress;
