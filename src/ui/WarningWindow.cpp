// The warning window through which refused input and start-up notices reach the user.
#include "ui/WarningWindow.h"

#include "XPStandardWidgets.h"
#include "plugin/Log.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlWarningWin = nullptr;
XPWidgetID ControlWarningOkButton = nullptr;
XPWidgetID ControlWarnWinSubWindow = nullptr;
XPWidgetID WarningWinText[WARNING_LINES] = {};
int warningIsOpen = 0;

namespace {

// Layout, in pixels from the window's edges.
const int kRowHeight = 15;
const int kButtonLeftOfRight = 80, kButtonRightOfRight = 12;
const int kButtonTopAboveBottom = 23, kButtonBottomAboveBottom = 18;

} // namespace

void Utils_CreateNoticeWindow(int left, int top, int width, int height, const char *title,
                              const char *const lines[WARNING_LINES], const char *buttonLabel, XPWidgetFunc_t handler,
                              NoticeWidgets *out)
{
    int right = left + width, bottom = top - height;
    *out = NoticeWidgets();
    out->window = Utils_CreatePanelWindow(left, top, width, height, title, &out->subWindow);
    int row = 0;
    for (int i = 0; i < WARNING_LINES; i++) {
        if (lines[i] == nullptr || lines[i][0] == 0)
            continue;
        out->text[row] = Utils_CreatePanelRow(out->window, row, kRowHeight, lines[i]);
        row++;
    }
    out->button =
        Utils_CreatePushButton(right - kButtonLeftOfRight, bottom + kButtonTopAboveBottom, right - kButtonRightOfRight,
                               bottom + kButtonBottomAboveBottom, buttonLabel, out->window);
    XPAddWidgetCallback(out->window, handler);
}

void CreateWarningWinControl(int left, int top, int width, int height, const char *title, const char *line1,
                             const char *line2, const char *line3, const char *line4, const char *line5,
                             const char *line6, const char *line7, const char *line8, const char *line9,
                             const char *line10, const char *line11, const char *line12, const char *line13,
                             const char *line14, const char *line15)
{
    if (warningIsOpen == 1 && ControlWarningWin != nullptr) {
        PrintInfo("CreateWarningWinControl", "A warning is already open; not shown: %s: %s", title ? title : "",
                  line1 ? line1 : "");
        return;
    }
    const char *const lines[WARNING_LINES] = {line1, line2,  line3,  line4,  line5,  line6,  line7, line8,
                                              line9, line10, line11, line12, line13, line14, line15};
    warningIsOpen = 1;
    NoticeWidgets widgets;
    Utils_CreateNoticeWindow(left, top, width, height, title, lines, "Ok", ControlWarningWinHandler, &widgets);
    ControlWarningWin = widgets.window;
    ControlWarnWinSubWindow = widgets.subWindow;
    ControlWarningOkButton = widgets.button;
    for (int i = 0; i < WARNING_LINES; i++)
        WarningWinText[i] = widgets.text[i];
}

void Warning_Destroy()
{
    Utils_DestroyWindow(&ControlWarningWin);
    ControlWarnWinSubWindow = nullptr;
    ControlWarningOkButton = nullptr;
    for (XPWidgetID &text : WarningWinText)
        text = nullptr;
    warningIsOpen = 0;
}

int ControlWarningWinHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed ||
        (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == ControlWarningOkButton)) {
        Warning_Destroy();
        return 1;
    }
    return 0;
}
