// The scripted pilot of vellomir-sim's scenarios: what it has heard and seen, awaiting the plug-in's
// lines and windows, filling those windows, taxiing, and its checks of the simulator's state.
#pragma once

#include <functional>
#include <string>
#include <vector>

/// What the pilot has seen so far, and where each kind of await goes on from.
struct ScenarioSight {
    std::vector<std::string> screen; ///< the lines the last frame drew
    std::vector<std::string> shown;  ///< lines as they appeared on screen, from after the last one an await matched
    size_t logCursor = 0, sayCursor = 0; ///< log lines and spoken texts an await looks at from here on
    std::string squawkHeard; ///< the code the last shown message assigned; empty until one did
    double frequencyTold = 0; ///< MHz the last shown message said to contact ("... on 121.700"); 0 until one did
    /// Records the lines of the frame just drawn that the frame before did not draw.
    void Look();
};

struct ScenarioPilot {
    ScenarioSight sight;
    bool readbackAuto = false; ///< "Readback" is pressed whenever it is on screen
    std::function<bool()> ensureLoaded; ///< loads the plug-in if not yet; false when it cannot start
    std::function<void()> frame;        ///< runs one frame, then the transcript and Look
};

/// The pilot's lines (`await`, `type`, `check`, `command`, `squawk heard`, `expect buttons`, `expect no
/// window`, `expect dataref`, `expect com1`, `expect file`): empty when carried out, else what went wrong;
/// handled false for any other line. met describes an awaited event or an expectation that was met.
std::string Scenario_DoPilot(const std::vector<std::string> &words, ScenarioPilot &pilot, bool &handled,
                             std::string &met);
/// `taxi to parking ICAO "NAME"`, `taxi to LAT LON` and `taxi route`, each with `[speed KT]`; met says
/// where the aircraft stopped.
std::string Scenario_DoTaxi(const std::vector<std::string> &words, ScenarioPilot &pilot, bool &handled,
                            std::string &met);

/// `take off ICAO RWY [altitude FT speed KT]`, `land ICAO RWY`, `go around [ALT]`, `readback auto on|off`,
/// `com1 told` and `expect once|no say "TEXT"`.
std::string Scenario_DoFlight(const std::vector<std::string> &words, ScenarioPilot &pilot, bool &handled,
                              std::string &met);
/// The last frequency (MHz, 118 to 137) the text names after " on ", else 0.
double Scenario_FrequencyIn(const std::string &text);

/// The text with every run of blanks (spaces, tabs, line ends) made one space.
std::string Scenario_CollapseBlanks(const std::string &text);
/// The transponder code a message assigns: the four octal digits after its last "squawk" (any case,
/// "#" markup or blanks between); empty when it assigns none.
std::string Scenario_SquawkIn(const std::string &text);

struct ScenarioPoint {
    double lat = 0, lon = 0;
};
/// The points of a taxi route KML file in order: the coordinates of its placemarks, each point once
/// where one line ends and the next begins. False with a reason when a coordinate cannot be read.
bool Scenario_ReadRouteKml(const std::string &text, std::vector<ScenarioPoint> &points, std::string &error);

/// A window on screen as the transcript shows it.
struct ScenarioWindow {
    void *id = nullptr;
    std::string title;
    std::vector<std::string> buttons;
    bool operator==(const ScenarioWindow &o) const { return id == o.id && title == o.title && buttons == o.buttons; }
};
/// The plug-in's widget windows on screen, with their push buttons in reading order.
std::vector<ScenarioWindow> Scenario_Windows();
/// The transcript lines between two looks at the screen: `WIN- "Title"` for each window gone (or
/// changed), then `WIN+ "Title" [Label] ...` for each window new (or changed).
std::vector<std::string> Scenario_WindowChanges(const std::vector<ScenarioWindow> &before,
                                                const std::vector<ScenarioWindow> &after);
