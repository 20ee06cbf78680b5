// Reading and running vellomir-sim scenarios.
#include "Scenario.h"
#include "ScenarioPilot.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "XPLMPlugin.h"
#include "XPStandardWidgets.h"

namespace {

bool ParseNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    value = strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == 0 && std::isfinite(value);
}

// Setup commands shape the simulated X-Plane before anything runs.
bool IsSetup(const std::string &command)
{
    return command == "xplane" || command == "fps" || command == "sample" || command == "folder" ||
           command == "setting";
}

std::string Fail(int line, const std::string &what)
{
    return "line " + std::to_string(line) + ": " + what;
}

// Finds a visible push button, check box or radio button with the label, in any widget window.
void *FindButton(const std::string &label)
{
    for (const std::string &title : simhost::WidgetWindowTitles()) {
        void *window = simhost::FindWindowByTitle(title);
        if (void *button = window != nullptr ? simhost::FindWidget(window, label, xpWidgetClass_Button) : nullptr)
            return button;
    }
    return nullptr;
}

bool AnyLogContains(const std::string &text)
{
    return simhost::LogContains(text);
}

bool AnySpoken(const std::string &text)
{
    for (const simhost::Spoken &s : simhost::SpokenTexts())
        if (s.text.find(text) != std::string::npos)
            return true;
    return false;
}

/// Places the aircraft on a parking position, or says what the airport has.
std::string PlaceAtParking(const std::string &icao, const std::string &name)
{
    if (simhost::PlaceAtParking(icao, name))
        return "";
    std::vector<simhost::ParkingPosition> positions = simhost::ParkingPositions(icao);
    if (positions.empty())
        return "no parking positions at " + icao + " in the scenery";
    std::string known;
    for (size_t i = 0; i < positions.size() && i < 8; i++)
        known += (i > 0 ? ", " : "") + positions[i].name;
    if (positions.size() > 8)
        known += " ...";
    return icao + " has no parking position \"" + name + "\" (it has " + known + ")";
}

/// Writes the scenario's settings into Settings.txt ahead of the lines already there.
void LaySettings(const Scenario &scenario)
{
    if (scenario.settings.empty())
        return;
    const std::string file = "Resources/plugins/Vellomir64/Settings.txt";
    std::string lines;
    for (const auto &setting : scenario.settings)
        lines += setting.first + "#" + setting.second + "\n";
    simhost::WriteFile(file, lines + simhost::ReadFile(file));
}

struct Runner {
    const Scenario &scenario;
    const ScenarioHooks &hooks;
    bool loaded = false;
    ScenarioPilot pilot;

    Runner(const Scenario &s, const ScenarioHooks &h) : scenario(s), hooks(h)
    {
        pilot.ensureLoaded = [this] { return EnsureLoaded(); };
        pilot.frame = [this] { Frame(); };
    }

    bool EnsureLoaded()
    {
        if (loaded)
            return true;
        loaded = true;
        LaySettings(scenario);
        return hooks.loadPlugin();
    }

    void Frame()
    {
        simhost::RunFrame();
        pilot.sight.Look();
        Scenario_VectorPilotFrame(hooks.note);
        if (pilot.readbackAuto) {
            if (void *button = FindButton("Readback"))
                simhost::ClickWidget(button);
        }
        if (hooks.afterFrame)
            hooks.afterFrame();
    }

    void Wait(double seconds)
    {
        float rate = simhost::CurrentOptions().frameRate;
        int frames = (int)std::lround(seconds * rate);
        for (int i = 0; i < frames; i++)
            Frame();
    }

    // Returns an empty string on success, else what went wrong.
    std::string Do(const ScenarioLine &line)
    {
        const std::vector<std::string> &w = line.words;
        const std::string &c = w[0];
        size_t n = w.size();
        double a = 0, b = 0, d = 0;
        bool fmsLine = false;
        std::string met;
        std::string fmsFailure = Scenario_DoFms(w, fmsLine, met);
        if (!fmsLine)
            fmsFailure = Scenario_DoPilot(w, pilot, fmsLine, met);
        if (!fmsLine)
            fmsFailure = Scenario_DoTaxi(w, pilot, fmsLine, met);
        if (!fmsLine)
            fmsFailure = Scenario_DoFlight(w, pilot, fmsLine, met);
        if (!fmsLine)
            fmsFailure = Scenario_DoVectors(w, fmsLine);
        if (fmsLine) {
            if (fmsFailure.empty() && !met.empty() && hooks.note)
                hooks.note("ok: " + met);
            return fmsFailure;
        }
        if (c == "load") {
            return EnsureLoaded() ? "" : "the plug-in could not be started";
        }
        if (c == "wait" && n == 2 && ParseNumber(w[1], a) && a >= 0) {
            if (!EnsureLoaded())
                return "the plug-in could not be started";
            Wait(a);
            return "";
        }
        if (c == "wait" && n == 3 && w[1] == "align" && ParseNumber(w[2], a) && a > 0) {
            if (!EnsureLoaded())
                return "the plug-in could not be started";
            // Frames until the clock reaches the next multiple of the period (none when it is on one).
            long period = std::lround(a * simhost::CurrentOptions().frameRate);
            long frame = simhost::FrameCount();
            Wait(period > 0 ? (double)((period - frame % period) % period) / simhost::CurrentOptions().frameRate : 0);
            return "";
        }
        if (c == "place" && n == 4 && w[1] == "parking")
            return PlaceAtParking(w[2], w[3]);
        if (c == "place" && n >= 3 && w[1] == "position" && ParseNumber(w[2], a) && n >= 4 && ParseNumber(w[3], b)) {
            double elevation = 0, heading = 0;
            bool airborne = false;
            for (size_t i = 4; i < n; i++) {
                if (w[i] == "elevation" && i + 1 < n && ParseNumber(w[i + 1], elevation))
                    i++;
                else if (w[i] == "heading" && i + 1 < n && ParseNumber(w[i + 1], heading))
                    i++;
                else if (w[i] == "airborne")
                    airborne = true;
                else
                    return "place position: unexpected '" + w[i] + "'";
            }
            simhost::PlaceAircraft(a, b, elevation, (float)heading, !airborne);
            return "";
        }
        if (c == "weather" && (n == 6 || n == 8) && w[1] == "wind" && ParseNumber(w[2], a) &&
            ParseNumber(w[3], b) && w[4] == "qnh" && ParseNumber(w[5], d)) {
            double isa = 0;
            if (n == 8 && (w[6] != "isa" || !ParseNumber(w[7], isa)))
                return "weather: after the qnh only 'isa DEGREES' may follow";
            simhost::SetWeather((float)a, (float)b, (float)d, (float)isa);
            return "";
        }
        if (c == "time" && n == 2) {
            int hours = 0, minutes = 0;
            if (sscanf(w[1].c_str(), "%d:%d", &hours, &minutes) != 2 || hours < 0 || hours > 23 || minutes < 0 ||
                minutes > 59)
                return "time needs HH:MM";
            simhost::SetFloat("sim/time/local_time_sec", (float)(hours * 3600 + minutes * 60));
            return "";
        }
        if (c == "com1" && n == 2 && ParseNumber(w[1], a) && a > 100 && a < 140) {
            simhost::TuneCom1(a);
            return "";
        }
        if (c == "squawk" && n == 2 && ParseNumber(w[1], a)) {
            simhost::SetInt("sim/cockpit/radios/transponder_code", (int)a);
            return "";
        }
        if (c == "engines" && n == 2 && (w[1] == "on" || w[1] == "off")) {
            simhost::SetEngines(w[1] == "on");
            return "";
        }
        if (c == "pause" && n == 2 && (w[1] == "on" || w[1] == "off")) {
            simhost::SetInt("sim/time/paused", w[1] == "on" ? 1 : 0);
            return "";
        }
        if (c == "tail" && n == 2) {
            simhost::SetBytes("sim/aircraft/view/acf_tailnum", w[1]);
            return "";
        }
        if (c == "fly" && (n == 7 || n == 9) && w[1] == "heading" && ParseNumber(w[2], a) && w[3] == "altitude" &&
            ParseNumber(w[4], b) && w[5] == "speed" && ParseNumber(w[6], d)) {
            double climb = 0;
            if (n == 9 && w[7] == "climb" && !ParseNumber(w[8], climb))
                return "fly: climb needs a number";
            simhost::FlyTowards((float)a, (float)b, (float)d, (float)climb);
            return "";
        }
        if (c == "stop" && n == 1) {
            simhost::StopAircraft();
            return "";
        }
        if (c == "message" && n == 2) {
            if (!EnsureLoaded())
                return "the plug-in could not be started";
            int message = w[1] == "plane-loaded"     ? XPLM_MSG_PLANE_LOADED
                          : w[1] == "airport-loaded" ? XPLM_MSG_AIRPORT_LOADED
                                                     : atoi(w[1].c_str());
            if (message <= 0)
                return "message needs plane-loaded, airport-loaded or a number";
            simhost::SendMessage(message, 0);
            return "";
        }
        if (c == "press" && n == 2) {
            void *button = FindButton(w[1]);
            if (button == nullptr)
                return "no button \"" + w[1] + "\" on screen";
            simhost::ClickWidget(button);
            return "";
        }
        if (c == "close" && n == 2) {
            void *window = simhost::FindWindowByTitle(w[1]);
            if (window == nullptr || !simhost::PressCloseBox(window))
                return "no window \"" + w[1] + "\" with a close box";
            return "";
        }
        if (c == "menu" && n == 3) {
            return simhost::ClickMenuItem(w[1], w[2]) ? "" : "no enabled menu item \"" + w[2] + "\"";
        }
        if (c == "expect" && n == 3) {
            bool ok = w[1] == "log"      ? AnyLogContains(w[2])
                      : w[1] == "say"    ? AnySpoken(w[2])
                      : w[1] == "window" ? simhost::FindWindowByTitle(w[2]) != nullptr
                                         : false;
            if (w[1] != "log" && w[1] != "say" && w[1] != "window")
                return "expect needs log, say or window";
            if (!ok)
                return "expected " + w[1] + " \"" + w[2] + "\" did not happen";
            if (hooks.note)
                hooks.note("ok: " + w[1] + " \"" + w[2] + "\"");
            return "";
        }
        if (c == "expect" && n == 4 && w[1] == "max" && w[2] == "frame") {
            double limit_ms = atof(w[3].c_str());
            // The plug-in's own time: a loaded machine's other processes do not count against it.
            double longest_ms = simhost::LongestFramePluginSeconds() * 1000.0;
            if (!(limit_ms > 0))
                return "expect max frame needs milliseconds";
            if (longest_ms > limit_ms) {
                char text[128];
                snprintf(text, sizeof text, "the longest frame took %.1f ms, more than %s ms", longest_ms, w[3].c_str());
                return text;
            }
            if (hooks.note) {
                char text[128];
                snprintf(text, sizeof text, "ok: longest frame %.1f ms (at most %s ms)", longest_ms, w[3].c_str());
                hooks.note(text);
            }
            return "";
        }
        if (c == "snapshot" && (n == 2 || n == 3)) {
            void *window = n == 3 ? simhost::FindWindowByTitle(w[2]) : nullptr;
            std::string why;
            if (n == 3 && window == nullptr)
                return "no window \"" + w[2] + "\" to take a picture of";
            return simhost::WriteSnapshot(w[1], why, window) ? "" : "snapshot: " + why;
        }
        if (c == "note" && n >= 2) {
            std::string text;
            for (size_t i = 1; i < n; i++)
                text += (i > 1 ? " " : "") + w[i];
            if (hooks.note)
                hooks.note(text);
            return "";
        }
        return "cannot read '" + c + "' with these arguments (see docs/scenarios.md)";
    }
};

} // namespace

std::vector<std::string> Scenario_SplitWords(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char ch : line) {
        if (quoted) {
            if (ch == '"')
                quoted = false;
            else
                word += ch;
        } else if (ch == '"') {
            quoted = inWord = true;
        } else if (ch == '#') {
            break;
        } else if (ch == ' ' || ch == '\t' || ch == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

bool Scenario_Parse(const std::string &text, Scenario &out, std::string &error)
{
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        number++;
        ScenarioLine line;
        line.number = number;
        line.words = Scenario_SplitWords(raw);
        if (line.words.empty())
            continue;
        const std::string &c = line.words[0];
        if (!IsSetup(c)) {
            out.events.push_back(line);
            continue;
        }
        if (!out.events.empty()) {
            error = Fail(number, "'" + c + "' must come before the first event");
            return false;
        }
        if (c == "setting") {
            if (line.words.size() != 3 || line.words[1].empty()) {
                error = Fail(number, "'setting' takes a key and a value");
                return false;
            }
            // Settings.txt holds "key#value" lines: a '#' or a line end inside would make another line.
            for (const std::string &part : {line.words[1], line.words[2]}) {
                for (char ch : part) {
                    if (ch == '#' || (unsigned char)ch < 0x20) {
                        error = Fail(number, "a setting's key or value cannot hold '#' or a control character");
                        return false;
                    }
                }
            }
            out.settings.emplace_back(line.words[1], line.words[2]);
            continue;
        }
        double value = 0;
        if (line.words.size() != 2) {
            error = Fail(number, "'" + c + "' takes one value");
            return false;
        }
        const std::string &v = line.words[1];
        if (c == "xplane" && ParseNumber(v, value) && value >= 10000 && value < 20000)
            out.options.xplaneVersion = (int)value;
        else if (c == "fps" && ParseNumber(v, value) && value > 0 && value <= 1000)
            out.options.frameRate = (float)value;
        else if (c == "sample" && (v == "on" || v == "off"))
            out.sample = v == "on";
        else if (c == "folder")
            out.options.xplaneFolder = v;
        else {
            error = Fail(number, "bad value '" + v + "' for '" + c + "'");
            return false;
        }
    }
    return true;
}

bool Scenario_Read(const std::string &path, Scenario &out, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    out.path = path;
    if (!Scenario_Parse(text.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

int Scenario_Run(const Scenario &scenario, const ScenarioHooks &hooks, std::string &error)
{
    Runner runner(scenario, hooks);
    Scenario_ResetVectorPilot();
    for (const ScenarioLine &line : scenario.events) {
        const std::string &command = line.words[0];
        if (hooks.event && command != "wait" && command != "note" && command != "expect" && command != "await") {
            std::string text;
            for (const std::string &word : line.words)
                text += (text.empty() ? "" : " ") + (word.find(' ') != std::string::npos ? '"' + word + '"' : word);
            hooks.event(text);
        }
        std::string failure = runner.Do(line);
        if (hooks.afterFrame)
            hooks.afterFrame();
        if (!failure.empty()) {
            error = scenario.path + ": " + Fail(line.number, failure);
            return failure == "the plug-in could not be started" ? 2 : 4;
        }
    }
    return 0;
}
