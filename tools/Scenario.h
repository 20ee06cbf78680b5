// Scenario files for vellomir-sim: a small script that sets up the simulated X-Plane, places the
// aircraft, sets the weather and schedules events in simulated time. See docs/scenarios.md.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Harness.h"

struct ScenarioLine {
    int number = 0;
    std::vector<std::string> words; ///< the command and its arguments; quoted words keep their blanks
};

struct Scenario {
    std::string path;
    simhost::Options options;
    bool sample = true;       ///< lay the bundled sample region into the X-Plane folder
    std::vector<ScenarioLine> setup; ///< commands that run before the plug-in loads
    /// `setting KEY VALUE` lines: written into the plug-in's Settings.txt before it loads, ahead of the
    /// lines already there (the command line's), so that those win
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<ScenarioLine> events;
};

/// Splits a line into words: blanks separate, double quotes group, '#' outside quotes starts a comment.
std::vector<std::string> Scenario_SplitWords(const std::string &line);
/// Reads a scenario; on failure returns false with a message naming the line.
bool Scenario_Read(const std::string &path, Scenario &out, std::string &error);
bool Scenario_Parse(const std::string &text, Scenario &out, std::string &error);

struct ScenarioHooks {
    std::function<bool()> loadPlugin;       ///< loads the plug-in; false when it cannot be started
    std::function<void()> afterFrame;       ///< called after every frame and event (the transcript)
    std::function<void(const std::string &)> note; ///< a line of the scenario's own narration
    std::function<void(const std::string &)> event; ///< an action carried out (the line's words)
};

/// The FMS lines (`fly fms`, `expect fms`, `expect fms-count`, `expect fms-destination`, `jump`): empty
/// when carried out, else what went wrong; handled false for any other line. met describes an expectation
/// that was met.
std::string Scenario_DoFms(const std::vector<std::string> &words, bool &handled, std::string &met);

/// What a controller's text gives the pilot to fly: "turn left|right heading D D D", a level after "climb",
/// "descend" or "maintain" ("N feet", "flight level D D D"), a speed after "speed" or "maintain" ("N knots").
struct HeardClearance {
    int heading_deg = -1; ///< magnetic; -1 when none
    int level_ft = -1;
    int speed_kt = -1;
    bool unread = false; ///< it gives one of them in words the pilot cannot read
};
HeardClearance Scenario_HeardClearance(const std::string &text);

/// The listening pilot's lines (`fly heading N magnetic`, `pilot vectors on|off` for the headings alone,
/// `follow clearances on|off` for headings, levels and speeds): empty when carried out, else what went wrong;
/// handled false for any other line.
std::string Scenario_DoVectors(const std::vector<std::string> &words, bool &handled);
/// The listening pilot's work after each frame: flies each heading heard as a magnetic heading, each level and
/// speed as the autopilot's, and presses "Readback" 2 s later when it appears; note gets a line per clearance.
void Scenario_VectorPilotFrame(const std::function<void(const std::string &)> &note);
/// Forgets the listening pilot (a new run).
void Scenario_ResetVectorPilot();

/// Runs the events after Reset. Returns 0 on success, 2 when the plug-in cannot be loaded,
/// 4 when an "expect" failed or an event could not be carried out.
int Scenario_Run(const Scenario &scenario, const ScenarioHooks &hooks, std::string &error);
