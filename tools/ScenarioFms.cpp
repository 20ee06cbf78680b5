// The scenario lines about the simulator's FMS: flying it, checking its entries, and jumping to a
// waypoint through the plug-in's "Jump to" window.
#include "Scenario.h"

#include <cmath>
#include <cstdlib>

#include "XPStandardWidgets.h"

namespace {

bool ParseWhole(const std::string &text, int &value)
{
    char *end = nullptr;
    long parsed = strtol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != 0 || parsed < -1000000 || parsed > 1000000)
        return false;
    value = (int)parsed;
    return true;
}

std::string Describe(int index, const simhost::FmsEntry &e)
{
    if (e.empty())
        return "entry " + std::to_string(index) + " is empty";
    return "entry " + std::to_string(index) + " is " + e.kind + " \"" + (e.kind == "latlon" ? "latlon" : e.id) +
           "\" at " + std::to_string(e.altitude_ft) + " ft";
}

/// `expect fms ENTRY "ID" [altitude FT]`: a lat/lon entry answers to the identifier "latlon".
std::string ExpectEntry(const std::vector<std::string> &w, std::string &met)
{
    int index = 0, altitude = 0;
    const bool withAltitude = w.size() == 6 && w[4] == "altitude" && ParseWhole(w[5], altitude);
    if (!ParseWhole(w[2], index) || (w.size() != 4 && !withAltitude))
        return "expect fms needs ENTRY \"ID\" [altitude FT]";
    simhost::FmsEntry e = simhost::FmsEntryAt(index);
    const std::string id = e.kind == "latlon" ? "latlon" : e.id;
    if (e.empty() || id != w[3] || (withAltitude && e.altitude_ft != altitude))
        return "expected FMS entry " + w[2] + " \"" + w[3] + "\"" +
               (withAltitude ? " at " + w[5] + " ft" : std::string()) + ", but " + Describe(index, e);
    met = "fms " + Describe(index, e);
    return "";
}

/// The "Jump to" window, opened through the ATC dialog's "Choose waypoint" when it is not open yet. The
/// dialog opens from the menu, or from its command while the menu item is off (before the first centre
/// call, on the ground, after a diversion), as a pilot with the command on a key would open it.
void *JumpWindow()
{
    if (void *window = simhost::FindWindowByTitle("Jump to"))
        return window;
    if (simhost::FindWindowByTitle("ATC Dialog") == nullptr && !simhost::ClickMenuItem("Vellomirv2", "ATC dialog"))
        simhost::CommandOnce("Vellomir/atc_dialog_toggle");
    if (void *dialog = simhost::FindWindowByTitle("ATC Dialog"))
        if (void *button = simhost::FindWidget(dialog, "Choose waypoint", xpWidgetClass_Button))
            simhost::ClickWidget(button);
    return simhost::FindWindowByTitle("Jump to");
}

std::string Jump(const std::string &name)
{
    void *window = JumpWindow();
    if (window == nullptr)
        return "no \"Jump to\" window (the ATC dialog's \"Choose waypoint\" opens it)";
    void *button = simhost::FindWidget(window, name, xpWidgetClass_Button);
    if (button == nullptr) // the active waypoint's label ends in "*"
        button = simhost::FindWidget(window, name + "*", xpWidgetClass_Button);
    if (button == nullptr)
        return "the \"Jump to\" window has no waypoint \"" + name + "\"";
    simhost::ClickWidget(button);
    return "";
}

} // namespace

std::string Scenario_DoFms(const std::vector<std::string> &w, bool &handled, std::string &met)
{
    handled = true;
    const size_t n = w.size();
    int altitude = 0, speed = 0, climb = 0;
    if (w[0] == "fly" && n >= 2 && w[1] == "fms") {
        if (!((n == 6 || n == 8) && w[2] == "altitude" && ParseWhole(w[3], altitude) && w[4] == "speed" &&
              ParseWhole(w[5], speed) && (n == 6 || (w[6] == "climb" && ParseWhole(w[7], climb)))))
            return "fly fms needs altitude FT speed KT [climb FPM]";
        simhost::FlyFms((float)altitude, (float)speed, (float)climb);
        return "";
    }
    if (w[0] == "jump" && n == 2)
        return Jump(w[1]);
    if (w[0] == "expect" && n >= 2 && w[1] == "fms")
        return ExpectEntry(w, met);
    if (w[0] == "expect" && n == 3 && w[1] == "fms-count") {
        int count = 0;
        if (!ParseWhole(w[2], count))
            return "expect fms-count needs a number";
        const int actual = (int)simhost::FmsPlan().size();
        if (actual != count)
            return "expected " + w[2] + " FMS entries, the FMS has " + std::to_string(actual);
        met = "fms-count " + w[2];
        return "";
    }
    if (w[0] == "expect" && n == 3 && w[1] == "fms-destination") {
        int entry = 0;
        if (!ParseWhole(w[2], entry))
            return "expect fms-destination needs an entry number";
        const int actual = simhost::FmsDestinationEntry();
        if (actual != entry)
            return "expected FMS destination entry " + w[2] + ", it is " + std::to_string(actual) + " (" +
                   Describe(actual, simhost::FmsEntryAt(actual)) + ")";
        met = "fms-destination " + Describe(entry, simhost::FmsEntryAt(entry));
        return "";
    }
    handled = false;
    return "";
}
