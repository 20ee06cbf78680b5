// The About window: version, build, credits and where to support the project.
#include "ui/AboutWindow.h"

#include <cstdio>

#include "XPStandardWidgets.h"
#include "plugin/Menu.h"
#include "plugin/Version.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlAboutWin = nullptr;
XPWidgetID AboutWinText[ABOUT_LINES] = {};
int aboutIsOpen = 0;

namespace {

const int kRowHeight = 20;

} // namespace

void CreateAboutWinControl(int left, int top, int width, int height)
{
    if (aboutIsOpen == 1 && ControlAboutWin != nullptr)
        return;
    char version[64];
    snprintf(version, sizeof version, VELLOMIR_PRODUCT " %s - build %i", VELLOMIR_VERSION, VELLOMIR_BUILD);
    char support[160];
    snprintf(support, sizeof support, "Support the project: %s", kSupporterAddress);
    char documentation[160];
    snprintf(documentation, sizeof documentation, "Documentation: %s", kDocumentationAddress);
    const char *const lines[ABOUT_LINES] = {
        version,
        "Offline air traffic control for X-Plane 11 and 12.",
        "Free for everyone, written by the Vellomir developers.",
        support,
        documentation,
        "Thanks to every pilot who tested and reported bugs,",
        "and to the X-Plane community for its scenery and data.",
    };
    aboutIsOpen = 1;
    ControlAboutWin = Utils_CreatePanelWindow(left, top, width, height, "About", nullptr);
    for (int i = 0; i < ABOUT_LINES; i++)
        AboutWinText[i] = Utils_CreatePanelRow(ControlAboutWin, i, kRowHeight, lines[i]);
    XPAddWidgetCallback(ControlAboutWin, ControlAboutWinHandler);
}

void About_Destroy()
{
    Utils_DestroyWindow(&ControlAboutWin);
    for (XPWidgetID &text : AboutWinText)
        text = nullptr;
    aboutIsOpen = 0;
}

int ControlAboutWinHandler(XPWidgetMessage message, XPWidgetID, intptr_t, intptr_t)
{
    if (message != xpMessage_CloseButtonPushed)
        return 0;
    About_Destroy();
    return 1;
}
