// The update window and the completion window. Their texts come from the release notes, already cleaned
// and bounded; they are shown as captions, never used as formats.
#include "update/UpdateWindow.h"

#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "plugin/Menu.h"
#include "plugin/PluginGlobals.h"
#include "plugin/Reset.h"
#include "ui/WidgetHelpers.h"
#include "update/UpdateInstall.h"

#include "XPLMMenus.h"

PLUGIN_API void XPluginStop(void);

bool updateIsOpen = false;
XPWidgetID ControlUpdateWin = nullptr, CreateUpdateSubWindows = nullptr, ControlUpdateNowButton = nullptr,
           ControlUpdateOkButton = nullptr;
XPWidgetID UpdateWinText[WARNING_LINES] = {};
bool updateFase2IsOpen = false;
XPWidgetID ControlUpdateWinFase2 = nullptr, CreateUpdateSubWindowsFase2 = nullptr, ControlUpdateOkButtonFase2 = nullptr;
XPWidgetID UpdateWinTextFase2[3] = {};

namespace {

const int kRowHeight = 15;

void UpdateWindow_destroy()
{
    Utils_DestroyWindow(&ControlUpdateWin);
    CreateUpdateSubWindows = ControlUpdateNowButton = ControlUpdateOkButton = nullptr;
    for (XPWidgetID &text : UpdateWinText)
        text = nullptr;
    updateIsOpen = false;
}

void UpdateWindow_destroyFase2()
{
    Utils_DestroyWindow(&ControlUpdateWinFase2);
    CreateUpdateSubWindowsFase2 = ControlUpdateOkButtonFase2 = nullptr;
    for (XPWidgetID &text : UpdateWinTextFase2)
        text = nullptr;
    updateFase2IsOpen = false;
}

} // namespace

void CreateUpdateControl(int left, int top, int width, int height, const char *title,
                         const char *const lines[WARNING_LINES])
{
    updateIsOpen = true;
    int right = left + width, bottom = top - height;
    ControlUpdateWin = Utils_CreatePanelWindow(left, top, width, height, title, &CreateUpdateSubWindows);
    int row = 0;
    for (int i = 0; i < WARNING_LINES; i++) {
        if (lines[i] == nullptr || lines[i][0] == '\0')
            continue;
        UpdateWinText[row] = Utils_CreatePanelRow(ControlUpdateWin, row, kRowHeight, lines[i]);
        row++;
    }
    Utils_CreateCaption(right - 415, bottom + 53, right - 315, bottom + 18,
                        "Warning, the sim may hangs during the update process", ControlUpdateWin);
    ControlUpdateNowButton = Utils_CreatePushButton(right - 80, bottom + 53, right - 12, bottom + 18, "Update",
                                                    ControlUpdateWin);
    ControlUpdateOkButton =
        Utils_CreatePushButton(right - 80, bottom + 23, right - 12, bottom + 18, "Ok", ControlUpdateWin);
    XPAddWidgetCallback(ControlUpdateWin, CreateUpdateControlHandler);
}

int CreateUpdateControlHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed ||
        (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == ControlUpdateOkButton)) {
        UpdateWindow_destroy();
        return 1;
    }
    if (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == ControlUpdateNowButton) {
        updatePlugin(); // starts the download; its result opens its own window
        UpdateWindow_destroy();
        return 1;
    }
    return 0;
}

void CreateUpdateControlFase2(int left, int top, int width, int height, const char *title, const char *line1)
{
    updateFase2IsOpen = true;
    int right = left + width, bottom = top - height;
    ControlUpdateWinFase2 = Utils_CreatePanelWindow(left, top, width, height, title, &CreateUpdateSubWindowsFase2);
    const char *const lines[3] = {line1, "", "A backup is available in the plugin folder. Please restart X-Plane."};
    for (int row = 0; row < 3; row++)
        UpdateWinTextFase2[row] = Utils_CreatePanelRow(ControlUpdateWinFase2, row, kRowHeight, lines[row]);
    ControlUpdateOkButtonFase2 =
        Utils_CreatePushButton(right - 80, bottom + 23, right - 12, bottom + 18, "Ok", ControlUpdateWinFase2);
    XPAddWidgetCallback(ControlUpdateWinFase2, CreateUpdateControlHandlerFase2);
}

int CreateUpdateControlHandlerFase2(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    bool ok = message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == ControlUpdateOkButtonFase2;
    if (message != xpMessage_CloseButtonPushed && !ok)
        return 0;
    UpdateWindow_destroyFase2();
    if (gMyMenu != nullptr) {
        for (int item = MENU_START; item <= MENU_UPDATE; item++)
            XPLMEnableMenuItem(gMyMenu, item, 0);
        for (int item = MENU_DOCUMENTATION; item <= MENU_ABOUT; item++)
            XPLMEnableMenuItem(gMyMenu, item, 1);
    }
    if (ok)
        XPluginStop(); // inert until the simulator restarts
    else
        System_ResetPlugin();
    return 1;
}

void Update_DestroyWindows()
{
    UpdateWindow_destroy();
    UpdateWindow_destroyFase2();
}
