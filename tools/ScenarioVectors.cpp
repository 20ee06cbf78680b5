// The scenario's listening pilot: a heading held as the autopilot's heading mode would, and a pilot who flies
// what the controller gives as it is heard (the vectors only, or every heading, level and speed) and reads it
// back.
#include <cstdlib>
#include <string>
#include <vector>

#include "Harness.h"
#include "Scenario.h"
#include "XPStandardWidgets.h"

namespace {

struct ListeningPilot {
    bool headings = false;   ///< flies the vectors
    bool clearances = false; ///< flies the levels and speeds too
    size_t heard = 0;        ///< spoken texts already listened to
    float readbackAt = 0;    ///< a clearance to read back from this time on (0 = none)
    HeardClearance last;     ///< the last clearance flown: its readback repeats it
    int vectors = 0, levels = 0, speeds = 0, unread = 0;
};
ListeningPilot gListeningPilot;

/// Presses a visible "Readback" button, wherever it is.
bool PressReadback()
{
    for (const std::string &title : simhost::WidgetWindowTitles()) {
        void *window = simhost::FindWindowByTitle(title);
        void *button = window != nullptr ? simhost::FindWidget(window, "Readback", xpWidgetClass_Button) : nullptr;
        if (button != nullptr)
            return simhost::ClickWidget(button);
    }
    return false;
}

} // namespace

std::string Scenario_DoVectors(const std::vector<std::string> &w, bool &handled)
{
    handled = true;
    const size_t n = w.size();
    if (w[0] == "fly" && n == 4 && w[1] == "heading" && w[3] == "magnetic") {
        char *end = nullptr;
        const double heading = strtod(w[2].c_str(), &end);
        if (end == w[2].c_str() || *end != '\0' || heading < 0 || heading > 360)
            return "fly heading N magnetic needs a heading from 0 to 360";
        simhost::FlyHeadingMagnetic((float)heading);
        return "";
    }
    const bool vectors = w[0] == "pilot" && n == 3 && w[1] == "vectors";
    const bool clearances = w[0] == "follow" && n == 3 && w[1] == "clearances";
    if ((vectors || clearances) && (w[2] == "on" || w[2] == "off")) {
        ListeningPilot &pilot = gListeningPilot;
        pilot.headings = w[2] == "on";
        pilot.clearances = clearances && w[2] == "on";
        pilot.heard = simhost::SpokenTexts().size();
        pilot.last = HeardClearance();
        return "";
    }
    handled = false;
    return "";
}

void Scenario_VectorPilotFrame(const std::function<void(const std::string &)> &note)
{
    ListeningPilot &pilot = gListeningPilot;
    if (!pilot.headings)
        return;
    const std::vector<simhost::Spoken> &spoken = simhost::SpokenTexts();
    for (; pilot.heard < spoken.size(); pilot.heard++) {
        HeardClearance heard = Scenario_HeardClearance(spoken[pilot.heard].text);
        if (!pilot.clearances)
            heard.level_ft = heard.speed_kt = -1, heard.unread = heard.unread && heard.heading_deg < 0;
        if (heard.unread && pilot.clearances) {
            pilot.unread++;
            if (note)
                note("pilot: could not read \"" + spoken[pilot.heard].text + "\", not flown");
        }
        const bool gives = heard.heading_deg > 0 || heard.level_ft > 0 || heard.speed_kt > 0;
        const HeardClearance &last = pilot.last;
        if (!gives || (heard.heading_deg == last.heading_deg && heard.level_ft == last.level_ft &&
                       heard.speed_kt == last.speed_kt))
            continue; // nothing to fly, or the readback of what is flown
        pilot.last = heard;
        std::string flown;
        if (heard.heading_deg > 0) {
            simhost::FlyHeadingMagnetic((float)heard.heading_deg);
            pilot.vectors++;
            flown = "heading " + std::to_string(heard.heading_deg) + " magnetic";
        }
        simhost::SetAutopilotTargets((float)heard.level_ft, (float)heard.speed_kt);
        if (heard.level_ft > 0) {
            pilot.levels++;
            flown += (flown.empty() ? "" : ", ") + std::to_string(heard.level_ft) + " ft";
        }
        if (heard.speed_kt > 0) {
            pilot.speeds++;
            flown += (flown.empty() ? "" : ", ") + std::to_string(heard.speed_kt) + " kt";
        }
        pilot.readbackAt = simhost::ElapsedTime() + 2;
        if (note && !pilot.clearances)
            note("pilot: vector " + std::to_string(pilot.vectors) + ", flying " + flown);
        else if (note)
            note("pilot: flying " + flown + " (" + std::to_string(pilot.vectors) + " vectors, " +
                 std::to_string(pilot.levels) + " levels, " + std::to_string(pilot.speeds) + " speeds, " +
                 std::to_string(pilot.unread) + " unread)");
    }
    // A readback window that does not come within half a minute is not this clearance's.
    const float now = simhost::ElapsedTime();
    if (pilot.readbackAt > 0 && now >= pilot.readbackAt && (PressReadback() || now > pilot.readbackAt + 30))
        pilot.readbackAt = 0;
}

void Scenario_ResetVectorPilot()
{
    gListeningPilot = ListeningPilot();
}
