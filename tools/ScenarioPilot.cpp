// The scripted pilot's lines: awaiting what the plug-in logs, says, shows and opens; typing into its
// windows, ticking their boxes, running commands and setting the squawk heard; checking buttons,
// datarefs, COM1 and the plug-in's files.
#include "ScenarioPilot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Harness.h"
#include "XPLMDataAccess.h"
#include "XPLMDefs.h"
#include "XPStandardWidgets.h"

namespace {

const double kDefaultAwait_s = 60.0;
const char *const kNotStarted = "the plug-in could not be started";

bool ParseNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    value = strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == 0 && std::isfinite(value);
}

std::string Quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

bool Contains(const std::string &line, const std::string &collapsedText)
{
    return Scenario_CollapseBlanks(line).find(collapsedText) != std::string::npos;
}

/// Runs frames until done() holds, for at most within_s simulated seconds.
bool RunUntil(ScenarioPilot &pilot, double within_s, const std::function<bool()> &done)
{
    const long frames = std::lround(within_s * simhost::CurrentOptions().frameRate);
    for (long i = 0;; i++) {
        if (done())
            return true;
        if (i >= frames)
            return false;
        pilot.frame();
    }
}

/// `await say|log|show "TEXT"`: a line of that kind after the last one such an await matched.
std::string AwaitLine(ScenarioPilot &pilot, const std::string &kind, const std::string &text, double within_s,
                      std::string &met)
{
    const std::string wanted = Scenario_CollapseBlanks(text);
    ScenarioSight &sight = pilot.sight;
    std::string last;
    auto found = [&]() {
        // The cursors count from the start: a long run's reports make the host forget what was printed.
        if (kind == "log") {
            const std::vector<std::string> &log = simhost::LogLines();
            const size_t dropped = simhost::LogLinesDropped();
            sight.logCursor = std::max(sight.logCursor, dropped);
            while (sight.logCursor - dropped < log.size())
                if (Contains(last = log[sight.logCursor++ - dropped], wanted))
                    return true;
        } else if (kind == "say") {
            const std::vector<simhost::Spoken> &spoken = simhost::SpokenTexts();
            const size_t dropped = simhost::SpokenTextsDropped();
            sight.sayCursor = std::max(sight.sayCursor, dropped);
            while (sight.sayCursor - dropped < spoken.size())
                if (Contains(last = spoken[sight.sayCursor++ - dropped].text, wanted))
                    return true;
        } else {
            for (size_t i = 0; i < sight.shown.size(); i++) {
                if (Contains(sight.shown[i], wanted)) {
                    sight.shown.erase(sight.shown.begin(), sight.shown.begin() + (long)i + 1);
                    return true;
                }
            }
            if (!sight.shown.empty())
                last = sight.shown.back();
            sight.shown.clear();
        }
        return false;
    };
    if (!RunUntil(pilot, within_s, found))
        return "no " + kind + " line with " + Quoted(text) + " within " + std::to_string((int)within_s) + " s" +
               (last.empty() ? "" : " (the last: " + Quoted(last) + ")");
    met = kind + " " + Quoted(text);
    return "";
}

bool ButtonShown(const std::string &label)
{
    for (void *window : simhost::VisibleWidgetWindows())
        for (const std::string &shown : simhost::ButtonLabels(window))
            if (shown == label)
                return true;
    return false;
}

std::string Await(const std::vector<std::string> &w, ScenarioPilot &pilot, std::string &met)
{
    const size_t n = w.size();
    double within_s = kDefaultAwait_s;
    if (n < 3 || (n != 3 && !(n == 5 && w[3] == "within" && ParseNumber(w[4], within_s) && within_s >= 0)))
        return "await needs KIND \"TEXT\" [within SECONDS]";
    const std::string &kind = w[1], &text = w[2];
    if (!pilot.ensureLoaded())
        return kNotStarted;
    if (kind == "say" || kind == "log" || kind == "show")
        return AwaitLine(pilot, kind, text, within_s, met);
    std::function<bool()> done;
    if (kind == "window")
        done = [&] { return simhost::FindWindowByTitle(text) != nullptr; };
    else if (kind == "nowindow")
        done = [&] { return simhost::FindWindowByTitle(text) == nullptr; };
    else if (kind == "button")
        done = [&] { return ButtonShown(text); };
    else
        return "await needs say, log, show, window, nowindow or button";
    if (!RunUntil(pilot, within_s, done))
        return kind + " " + Quoted(text) + " did not happen within " + std::to_string((int)within_s) + " s";
    met = kind + " " + Quoted(text);
    return "";
}

std::string ListOf(const std::vector<std::string> &labels)
{
    std::string list;
    for (const std::string &label : labels)
        list += (list.empty() ? "" : " ") + Quoted(label);
    return list.empty() ? "none" : list;
}

/// `type "WINDOW" "CAPTION[#N]" "TEXT"`: the field's text replaced as a user does, selecting it all and typing.
std::string Type(const std::vector<std::string> &w)
{
    void *window = simhost::FindWindowByTitle(w[1]);
    if (window == nullptr)
        return "no window " + Quoted(w[1]);
    std::string caption = w[2];
    int nth = 1;
    size_t hash = caption.rfind('#');
    if (hash != std::string::npos && hash + 1 < caption.size() &&
        caption.find_first_not_of("0123456789", hash + 1) == std::string::npos) {
        nth = atoi(caption.c_str() + hash + 1);
        caption.erase(hash);
    }
    void *field = simhost::FieldOfCaption(window, caption, nth);
    if (field == nullptr)
        return "no text field for the caption " + Quoted(w[2]) + " in " + Quoted(w[1]);
    simhost::SelectText(field, 0, (int)simhost::WidgetText(field).size());
    if (w[3].empty())
        simhost::KeyPress(0, xplm_DownFlag, (char)XPLM_VK_BACK);
    else
        simhost::TypeInto(field, w[3]);
    if (simhost::WidgetExists(field) && simhost::WidgetText(field) != w[3])
        return "the field of " + Quoted(w[2]) + " holds " + Quoted(simhost::WidgetText(field)) + ", not " + Quoted(w[3]);
    return "";
}

std::string Check(const std::vector<std::string> &w)
{
    void *window = simhost::FindWindowByTitle(w[1]);
    if (window == nullptr)
        return "no window " + Quoted(w[1]);
    void *box = simhost::CheckBoxOfCaption(window, w[2]);
    if (box == nullptr)
        return "no check box " + Quoted(w[2]) + " in " + Quoted(w[1]);
    const bool on = w[3] == "on";
    if ((simhost::WidgetProperty(box, xpProperty_ButtonState) != 0) != on)
        simhost::ClickWidget(box);
    if (simhost::WidgetExists(box) && (simhost::WidgetProperty(box, xpProperty_ButtonState) != 0) != on)
        return "the check box " + Quoted(w[2]) + " stays " + (on ? "off" : "on");
    return "";
}

std::string ExpectButtons(const std::vector<std::string> &w, std::string &met)
{
    void *window = simhost::FindWindowByTitle(w[2]);
    if (window == nullptr)
        return "no window " + Quoted(w[2]);
    const std::vector<std::string> wanted(w.begin() + 3, w.end());
    const std::vector<std::string> shown = simhost::ButtonLabels(window);
    if (shown != wanted)
        return Quoted(w[2]) + " shows the buttons " + ListOf(shown) + ", not " + ListOf(wanted);
    met = "buttons of " + Quoted(w[2]) + ": " + ListOf(shown);
    return "";
}

/// The decimals written in a number: the value is met to within half a unit of the last one.
double Tolerance(const std::string &value)
{
    size_t point = value.find('.');
    int decimals = point == std::string::npos ? 0 : (int)(value.size() - point - 1);
    return 0.5 * std::pow(10.0, -decimals) + 1e-9;
}

/// `expect dataref NAME[INDEX] VALUE`: numbers to the digits written, byte datarefs as text.
std::string ExpectDataRef(const std::string &ref, const std::string &value, std::string &met)
{
    std::string name = ref;
    int index = -1;
    size_t bracket = name.find('[');
    if (bracket != std::string::npos && name.back() == ']') {
        index = atoi(name.c_str() + bracket + 1);
        name.erase(bracket);
    }
    const int types = simhost::DataRefTypes(name);
    if (types == 0)
        return "no dataref " + name + " is published";
    std::ostringstream actual;
    double number = 0;
    if (index >= 0 && (types & (xplmType_IntArray | xplmType_FloatArray))) {
        std::vector<double> values;
        if (types & xplmType_FloatArray)
            for (float v : simhost::GetFloatArray(name))
                values.push_back(v);
        else
            for (int v : simhost::GetIntArray(name))
                values.push_back(v);
        if ((size_t)index >= values.size())
            return ref + ": the array has " + std::to_string(values.size()) + " values";
        number = values[(size_t)index];
    } else if (index < 0 && (types & xplmType_Data)) {
        std::string bytes = simhost::GetBytes(name);
        bytes = bytes.substr(0, bytes.find('\0'));
        if (bytes != value)
            return ref + " is " + Quoted(bytes) + ", not " + Quoted(value);
        met = "dataref " + ref + " " + Quoted(value);
        return "";
    } else if (index < 0 && (types & (xplmType_Int | xplmType_Float | xplmType_Double))) {
        number = (types & xplmType_Double)  ? simhost::GetDouble(name)
                 : (types & xplmType_Float) ? simhost::GetFloat(name)
                                            : simhost::GetInt(name);
    } else {
        return ref + (index >= 0 ? " is no array" : " is an array: give an index, NAME[0]");
    }
    double expected = 0;
    if (!ParseNumber(value, expected))
        return "expect dataref needs a number for " + ref;
    actual.precision(10);
    actual << number;
    if (std::fabs(number - expected) > Tolerance(value))
        return ref + " is " + actual.str() + ", not " + value;
    met = "dataref " + ref + " " + actual.str();
    return "";
}

std::string ExpectCom1(const std::string &value, std::string &met)
{
    double mhz = 0;
    if (!ParseNumber(value, mhz))
        return "expect com1 needs MHz";
    // X-Plane 11.30 has only the 10 kHz dataref.
    const char *const khz833 = "sim/cockpit2/radios/actuators/com1_frequency_hz_833";
    const long khz = simhost::HasDataRef(khz833) ? simhost::GetInt(khz833)
                                                : simhost::GetInt("sim/cockpit/radios/com1_freq_hz") * 10L;
    char tuned[32];
    snprintf(tuned, sizeof tuned, "%.3f", khz / 1000.0);
    if (khz != std::lround(mhz * 1000.0))
        return std::string("COM1 is ") + tuned + ", not " + value;
    met = std::string("com1 ") + tuned;
    return "";
}

/// `expect file NAME "TEXT"`: NAME is below the plug-in's folder (no absolute path, no "..").
std::string ExpectFile(const std::string &name, const std::string &text, std::string &met)
{
    if (name.empty() || name[0] == '/' || name == ".." || name.compare(0, 3, "../") == 0 ||
        name.find("/../") != std::string::npos || (name.size() >= 3 && name.compare(name.size() - 3, 3, "/..") == 0))
        return "expect file needs a file of the plug-in's folder, not " + Quoted(name);
    std::ifstream in(simhost::PluginFolder() + name, std::ios::binary);
    if (!in)
        return "the plug-in's folder has no file " + name;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (contents.str().find(text) == std::string::npos)
        return name + " does not contain " + Quoted(text);
    met = "file " + name + " contains " + Quoted(text);
    return "";
}

} // namespace

std::string Scenario_DoPilot(const std::vector<std::string> &w, ScenarioPilot &pilot, bool &handled, std::string &met)
{
    handled = true;
    const std::string &c = w[0];
    const size_t n = w.size();
    if (c == "await")
        return Await(w, pilot, met);
    if (c == "type" && n == 4)
        return Type(w);
    if (c == "check" && n == 4 && (w[3] == "on" || w[3] == "off"))
        return Check(w);
    if (c == "command" && n == 2) {
        if (!pilot.ensureLoaded())
            return kNotStarted;
        return simhost::CommandOnce(w[1]) ? "" : "no command " + w[1];
    }
    if (c == "squawk" && n == 2 && w[1] == "heard") {
        if (pilot.sight.squawkHeard.empty())
            return "no message on screen has given a squawk code yet";
        simhost::SetInt("sim/cockpit/radios/transponder_code", atoi(pilot.sight.squawkHeard.c_str()));
        return "";
    }
    if (c == "expect" && n >= 3 && w[1] == "buttons")
        return ExpectButtons(w, met);
    if (c == "expect" && n == 4 && w[1] == "no" && w[2] == "window") {
        if (simhost::FindWindowByTitle(w[3]) != nullptr)
            return "the window " + Quoted(w[3]) + " is open";
        met = "no window " + Quoted(w[3]);
        return "";
    }
    if (c == "expect" && n == 4 && w[1] == "dataref")
        return ExpectDataRef(w[2], w[3], met);
    if (c == "expect" && n == 3 && w[1] == "com1")
        return ExpectCom1(w[2], met);
    if (c == "expect" && n == 4 && w[1] == "file")
        return ExpectFile(w[2], w[3], met);
    handled = false;
    return "";
}
