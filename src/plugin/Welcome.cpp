// The welcome notice shown at the first automatic start of an installation.
#include "plugin/Welcome.h"

#include <string>

#include "ui/WarningWindow.h"

void System_ShowWelcome()
{
    const std::string dashes95(95, '-'), dashes80(80, '-'), dashes113(113, '-');
    CreateWarningWinControl(
        400, 600, 585, 200, "Vellomir - Welcome!", "Welcome to Vellomirv2 Plugin. This plugin is and will remain free.",
        dashes95.c_str(), "PROJECT IS ALIVE!! Please support the project on Patreon!", dashes80.c_str(),
        "Quick start: tune delivery, ground or tower frequency. A dialog should appear.", dashes113.c_str(),
        "Tip: for a better integration, X-Plane \"verbal and text ATC\" should be disabled "
        "(Setting->Sound).",
        "Tip: user documentation and Patreon page are linked in the plugin menu.",
        "Tip: a frequency selector dialog is available in Vellomirv2 plugin menu.", "", "", "", "", "", "");
}
