// Frequency and altimeter texts of the phrases.
#include "comms/RadioTexts.h"

#include <cmath>
#include <cstdio>

#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "ui/Settings.h"

namespace {
/// Room for any of the texts below.
enum { RADIO_TEXT_SIZE = 64 };
} // namespace

std::string printFrequenciesDecimals(double frequency)
{
    char text[RADIO_TEXT_SIZE];
    if (gFDV_XPlaneVersion < XPLANE_VERSION_COM_833)
        snprintf(text, sizeof text, "%.2f", frequency / 100.0);
    else
        snprintf(text, sizeof text, "%.3f", frequency / 1000.0);
    return text;
}

int getAltimeterQNHInHpa()
{
    return (int)std::trunc(SimData_BarometerHpa());
}

float getAltimeterInHg()
{
    // From the reading itself: through whole hectopascal 29.92 would come out as 29.91.
    return std::round(SimData_BarometerInHg() * 100.0f) / 100.0f;
}

std::string printAltimeter(bool spelled)
{
    const char *mark = spelled ? "#" : "";
    char text[RADIO_TEXT_SIZE];
    if (gQNH == 1) {
        int hPa = getAltimeterQNHInHpa();
        snprintf(text, sizeof text, hPa > 999 ? "QNH %s%i%s" : "QNH %s%i%s hectopascal", mark, hPa, mark);
    } else if (altimeterDecimal == 1) {
        snprintf(text, sizeof text, "altimeter %s%.2f%s", mark, getAltimeterInHg(), mark);
    } else {
        snprintf(text, sizeof text, "altimeter %s%i%s", mark, (int)std::lround(getAltimeterInHg() * 100.0f), mark);
    }
    return text;
}
