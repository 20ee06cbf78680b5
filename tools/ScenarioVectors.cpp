// The scenario's vector pilot: a heading held as the autopilot's heading mode would, and a pilot who flies the
// controller's vectors as they are heard and reads them back.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "Scenario.h"
#include "XPStandardWidgets.h"

namespace {

struct VectorPilot {
    bool on = false;
    size_t heard = 0;   ///< spoken texts already listened to
    float readbackAt = 0; ///< a vector to read back from this time on (0 = none)
    int vectors = 0;
};
VectorPilot gVectorPilot;

/// The digit of a spoken digit word, -1 for another word.
int DigitOf(const std::string &word)
{
    static const char *const kWords[] = {"zero", "one", "two", "tree", "four", "five", "six", "seven", "eight", "niner"};
    for (int i = 0; i < 10; i++)
        if (word == kWords[i] || (i == 3 && word == "three") || (i == 9 && word == "nine"))
            return i;
    return -1;
}

/// The heading of a heard "turn left|right heading D D D", -1 when the text holds none.
int HeardHeading(const std::string &text)
{
    size_t at = text.find("turn ");
    at = at == std::string::npos ? at : text.find(" heading ", at);
    if (at == std::string::npos)
        return -1;
    int heading = 0, digits = 0;
    size_t pos = at + 9;
    while (digits < 3 && pos < text.size()) {
        size_t end = text.find_first_of(" ,.", pos);
        const int digit = DigitOf(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (digit < 0)
            break;
        heading = heading * 10 + digit, digits++;
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    return digits == 3 ? heading : -1;
}

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
    if (w[0] == "pilot" && n == 3 && w[1] == "vectors" && (w[2] == "on" || w[2] == "off")) {
        gVectorPilot.on = w[2] == "on";
        gVectorPilot.heard = simhost::SpokenTexts().size();
        return "";
    }
    handled = false;
    return "";
}

void Scenario_VectorPilotFrame(const std::function<void(const std::string &)> &note)
{
    VectorPilot &pilot = gVectorPilot;
    if (!pilot.on)
        return;
    const std::vector<simhost::Spoken> &spoken = simhost::SpokenTexts();
    for (; pilot.heard < spoken.size(); pilot.heard++) {
        const int heading = HeardHeading(spoken[pilot.heard].text);
        if (heading < 0)
            continue;
        simhost::FlyHeadingMagnetic((float)heading);
        pilot.readbackAt = simhost::ElapsedTime() + 2;
        pilot.vectors++;
        if (note)
            note("pilot: vector " + std::to_string(pilot.vectors) + ", flying heading " + std::to_string(heading) +
                 " magnetic");
    }
    if (pilot.readbackAt > 0 && simhost::ElapsedTime() >= pilot.readbackAt && PressReadback())
        pilot.readbackAt = 0;
}

void Scenario_ResetVectorPilot()
{
    gVectorPilot = VectorPilot();
}
