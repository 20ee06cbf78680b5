// simhost's scripting interface: what tests and vellomir-sim use to set up the simulated X-Plane,
// load a plug-in, advance frames and read back what the plug-in logged, said and drew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#define SIMHOST_API __attribute__((visibility("default")))

namespace simhost {

// MARK: host life

struct Options {
    /// empty: "X-Plane 12/" (or "X-Plane 11/") in a fresh temporary folder, removed by Shutdown(); the
    /// space is there as in real installations
    std::string xplaneFolder;
    int xplaneVersion = 12000;
    int xplmVersion = 301;
    float frameRate = 30.0f; ///< frames per simulated second
    bool echoLog = false;    ///< also print every log line to standard error
    /// Drop the plug-in's log: no Log.txt, no LogLines(). For runs that log thousands of lines a
    /// second and never read them back (fuzzing the data readers).
    bool discardLog = false;
    /// XPLMGetDirectoryContents promises no order: simhost shuffles every listing with this seed. 0: the
    /// seed in the environment variable SIMHOST_DIRECTORY_SEED, else a random one (printed on standard
    /// error with the first listing, so that a failing run can be repeated).
    unsigned directorySeed = 0;
};

/// Throws away all host state (datarefs, commands, menus, windows, widgets, log) and builds a new
/// X-Plane folder tree. Call before anything else; calling again starts over.
SIMHOST_API void Reset(const Options &options = Options());
/// Stops a loaded plug-in, removes a temporary folder.
SIMHOST_API void Shutdown();
SIMHOST_API const Options &CurrentOptions();
/// Switches the version the host reports; from then on the simulator publishes that version's datarefs.
SIMHOST_API void SetXPlaneVersion(int version);
/// The seed of the directory listings' order in force.
SIMHOST_API unsigned DirectorySeed();

/// The simulated X-Plane folder, ending in "/".
SIMHOST_API std::string SystemPath();
/// The plug-in's own folder: <X-Plane>/Resources/plugins/Vellomir64/.
SIMHOST_API std::string PluginFolder();
/// Writes a file below the X-Plane folder (relative path), creating folders as needed.
SIMHOST_API void WriteFile(const std::string &relativePath, const std::string &contents);
/// Copies a file into the X-Plane folder (relative destination path).
SIMHOST_API bool CopyFileInto(const std::string &source, const std::string &relativePath);
/// Reads a file below the X-Plane folder; empty when missing.
SIMHOST_API std::string ReadFile(const std::string &relativePath);
SIMHOST_API bool FileExists(const std::string &relativePath);

// MARK: scenery and navigation data
// X-Plane's places: the global apt.dat (X-Plane 11 and 12 layouts), custom scenery packs with their
// scenery_packs.ini, and the plug-in's own navdata folder. Sources are files or folders on disk.

/// The global apt.dat of an X-Plane version, relative to the X-Plane folder.
SIMHOST_API std::string GlobalAptDatPath(int xplaneVersion);
/// Copies an apt.dat file to the global apt.dat of the current X-Plane version's layout
/// (set the version first). False when the source cannot be copied.
SIMHOST_API bool InstallGlobalAptDat(const std::string &sourceFile);
/// Makes the pack Custom Scenery/<pack>/ and copies aptDatSource to its Earth nav data/apt.dat;
/// an empty source makes a pack without airports (only its Earth nav data folder).
SIMHOST_API bool InstallCustomScenery(const std::string &pack, const std::string &aptDatSource = "");

struct SceneryPack {
    std::string name; ///< folder name in Custom Scenery
    bool enabled = true;
};
/// Writes Custom Scenery/scenery_packs.ini as X-Plane does: the packs in priority order, highest
/// first (SCENERY_PACK or SCENERY_PACK_DISABLED), and from X-Plane 12 the global airports after them.
SIMHOST_API void WriteSceneryPacksIni(const std::vector<SceneryPack> &packs);
/// Copies a navdata folder (earth_nav.dat, earth_fix.dat, CIFP/ ...) into the plug-in's navdata
/// folder. False when the source is not a folder.
SIMHOST_API bool InstallNavData(const std::string &sourceFolder);
/// Lays a sample folder (apt.dat and navdata/, as the project's data/sample) into the X-Plane
/// folder: its apt.dat as the global apt.dat, its navdata as the plug-in's, and its earth_nav.dat and
/// earth_fix.dat also as X-Plane's own navigation data (Resources/default data).
SIMHOST_API bool InstallSample(const std::string &sampleFolder);

// MARK: plug-in

/// Copies the plug-in into Resources/plugins/Vellomir64/lin_x64/ of the X-Plane folder, dlopens it from
/// there and calls XPluginStart then XPluginEnable, as X-Plane does. Returns false (with the reason in
/// LastError()) when it cannot be loaded or XPluginStart returns 0.
SIMHOST_API bool LoadPlugin(const std::string &xplPath);
/// The same from Resources/plugins/<folderName>/lin_x64/ (a plug-in folder the user renamed).
SIMHOST_API bool LoadPluginFrom(const std::string &xplPath, const std::string &folderName);
/// XPluginDisable then XPluginStop; the module stays mapped.
SIMHOST_API void UnloadPlugin();
SIMHOST_API bool PluginLoaded();
SIMHOST_API std::string LastError();
SIMHOST_API std::string PluginName();
SIMHOST_API std::string PluginSignature();
SIMHOST_API std::string PluginDescription();
/// Sends a host message (XPLM_MSG_*) to the loaded plug-in.
SIMHOST_API void SendMessage(int message, intptr_t param = 0);

// MARK: time and frames

/// Advances elapsed time by one frame and draws every visible window once.
SIMHOST_API void RunFrame();
SIMHOST_API void RunFrames(int count);
/// Runs frames for the given simulated seconds.
SIMHOST_API void RunSeconds(float seconds);
SIMHOST_API float ElapsedTime();
/// Wall-clock seconds the plug-in's window draw callbacks took in the last frame, and in the longest frame
/// since Reset: a frame the plug-in holds is a stutter of the simulator.
SIMHOST_API double LastFrameDrawSeconds();
SIMHOST_API double LongestFrameDrawSeconds();
/// The part of LastFrameDrawSeconds() the drawing thread waited for a processor while other processes ran
/// (from the kernel's scheduler statistics; 0 where it keeps none): what remains is the plug-in's own
/// time, including any time it blocked, whatever the machine's load.
SIMHOST_API double LastFrameDrawRunQueueSeconds();
/// The longest frame since Reset by the plug-in's own time (the draw callbacks less that wait).
SIMHOST_API double LongestFramePluginSeconds();
SIMHOST_API int FrameCount();

// MARK: datarefs

SIMHOST_API bool HasDataRef(const std::string &name);
SIMHOST_API void SetInt(const std::string &name, int value);
SIMHOST_API void SetFloat(const std::string &name, float value);
SIMHOST_API void SetDouble(const std::string &name, double value);
SIMHOST_API void SetIntArray(const std::string &name, const std::vector<int> &values);
SIMHOST_API void SetFloatArray(const std::string &name, const std::vector<float> &values);
SIMHOST_API void SetBytes(const std::string &name, const std::string &bytes);
SIMHOST_API int GetInt(const std::string &name);
SIMHOST_API float GetFloat(const std::string &name);
SIMHOST_API double GetDouble(const std::string &name);
SIMHOST_API std::vector<int> GetIntArray(const std::string &name);
SIMHOST_API std::vector<float> GetFloatArray(const std::string &name);
SIMHOST_API std::string GetBytes(const std::string &name);
/// The types of a dataref (xplmType_* bits) published now, by the simulator or a plug-in; 0 for none.
SIMHOST_API int DataRefTypes(const std::string &name);
/// Adds a simulator dataref that the built-in table does not have.
SIMHOST_API void DefineDataRef(const std::string &name, int types, int arraySize = 0);
/// Number of XPLMFindDataRef calls that found this dataref since Reset.
SIMHOST_API int FindCount(const std::string &name);
/// Number of XPLMFindDataRef calls since Reset, found or not (to check nothing is searched every frame).
SIMHOST_API int FindDataRefCalls();
/// The names XPLMFindDataRef was asked for since Reset that the running version does not publish, each
/// once, in the order first asked.
SIMHOST_API std::vector<std::string> MissingDataRefs();

// MARK: the user's aircraft and the world around it

struct AircraftState {
    double lat = 0, lon = 0;
    double elevation_m = 0;
    float headingTrue_deg = 0;
    float speed_kt = 0;       ///< true airspeed
    float groundSpeed_kt = 0; ///< over the ground: in the air the wind adds its drift
    float trackTrue_deg = 0;
    float verticalSpeed_fpm = 0;
    bool onGround = true;
};
/// Puts the aircraft somewhere, standing still; from then on the flight model writes the position
/// datarefs every frame. With onGround the terrain there is at the given elevation.
SIMHOST_API void PlaceAircraft(double lat, double lon, double elevation_m, float headingTrue_deg, bool onGround);
SIMHOST_API void SetGroundElevation(double elevation_m);
/// The mover turns (3 deg/s), accelerates (3 kt/s) and climbs or descends (climb_fpm, 0 = 1800)
/// towards these values frame by frame.
SIMHOST_API void FlyTowards(float headingTrue_deg, float altitude_ft, float speed_kt, float climb_fpm = 0);
/// The autopilot flies the FMS (LNAV and VNAV) as X-Plane's would: it steers to the destination entry, climbs
/// or descends to that entry's altitude (altitude_ft when the entry has none) and, within 1 nm of it, makes
/// the next entry the destination. While it does, the autopilot state dataref reads engaged (heading
/// navigation, vertical speed and auto-throttle). FlyTowards, StopAircraft and PlaceAircraft end it.
/// The autopilot's heading mode: turns onto and holds this magnetic heading (the variation of the place
/// the aircraft is at), keeping the commanded altitude and speed.
SIMHOST_API void FlyHeadingMagnetic(float headingMagnetic_deg);
SIMHOST_API void FlyFms(float altitude_ft, float speed_kt, float climb_fpm = 0);
/// The autopilot's altitude (as FlyFms's: what the altimeter reads) and speed selectors, set while it flies
/// on in its mode: the FMS takes the altitude for entries without one. A value of 0 or less leaves that one.
SIMHOST_API void SetAutopilotTargets(float altitude_ft, float speed_kt);
SIMHOST_API void StopAircraft();
/// Turns the aircraft to a heading at once, keeping its speed and what it was commanded otherwise (the
/// corners of a scripted taxi route, which a kinematic turn would cut).
SIMHOST_API void SetHeading(float headingTrue_deg);
SIMHOST_API AircraftState Aircraft();
/// Tunes COM1 (MHz); both COM1 datarefs follow, as in X-Plane.
SIMHOST_API void TuneCom1(double megahertz);
/// Wind (from, degrees true; knots; in the air it drifts the aircraft: "groundspeed" and the track "hpath"
/// differ from the true airspeed and the heading) and sea-level pressure (hPa), in the X-Plane 11 and 12 datarefs, and the
/// air's deviation from the standard atmosphere (degrees C): from it the flight model writes the
/// altimeter's temperature error every frame (feet the altimeter reads above the true altitude: positive
/// in colder air, growing with height).
SIMHOST_API void SetWeather(float windFromTrue_deg, float windSpeed_kt, float qnh_hpa, float isaDeviation_C = 0);
SIMHOST_API void SetEngines(bool running);
/// "sim/flightmodel/position/magnetic_variation" has X-Plane's sign: added to a true heading it gives the
/// magnetic one, so an east declination is negative. The flight model writes it every frame from a
/// centred-dipole model of the Earth's field (about -12 at Seattle, where the real declination is 15.4 E)
/// unless it is fixed here, until the next Reset.
SIMHOST_API void SetMagneticVariation(float variation_deg);
/// The model's variation at a position.
SIMHOST_API float ModelMagneticVariation(double lat, double lon);

// MARK: terrain and the local frame
// The ground the terrain probe (XPLMProbeTerrainXYZ) finds and the aircraft stands on. Until one is chosen the
// world is flat at the aircraft's ground level (PlaceAircraft, SetGroundElevation). Once a grid or a flat
// elevation is chosen, the aircraft follows the terrain on the ground and cannot sink below it in the air.
// Probes reach the scenery about 150 km around the aircraft; beyond, they hit the sea-level sphere.

/// Loads a compact terrain grid (data/sample/terrain.dem, written by data/make-terrain.py); sea level
/// outside it. False, with the reason in LastError(), for a missing or malformed file (the terrain in force
/// is then kept).
SIMHOST_API bool LoadTerrain(const std::string &path);
/// A flat world at this elevation (m).
SIMHOST_API void SetFlatTerrain(double elevation_m);
/// A smooth bell-shaped peak added to the terrain: summit height above the ground (m), radius (nm) at which
/// it meets the ground.
SIMHOST_API void AddTerrainPeak(double lat, double lon, double summit_m, double radius_nm);
SIMHOST_API void ClearTerrainPeaks();
/// The ground elevation (m) at a point, the peaks included, wherever the scenery is loaded or not.
SIMHOST_API double TerrainElevation(double lat, double lon);
/// Moves the local frame's origin (X-Plane moves it as the aircraft flies: local coordinates do not
/// survive a frame). It also follows the aircraft by itself when the aircraft gets 100 km from it.
SIMHOST_API void SetLocalOrigin(double lat, double lon);

struct ProbeStats {
    int created = 0, destroyed = 0, alive = 0;
    int probes = 0;            ///< XPLMProbeTerrainXYZ calls since Reset
    int probesInFrame = 0;     ///< in the current frame (or, outside frames, since the last one)
    int maxProbesInFrame = 0;  ///< the most in any one frame since Reset
};
SIMHOST_API ProbeStats TerrainProbeStats();
/// Destroyed windows and terrain probes the host still keeps to name late calls on them: at most 64 of
/// each, however long the run.
SIMHOST_API size_t DestroyedObjectsKept();

struct ParkingPosition {
    std::string name;
    std::string kind; ///< a row 1300's location type (gate, tie_down, hangar, misc); "legacy" for a row 15
    double lat = 0, lon = 0;
    float headingTrue_deg = 0;
    double elevation_m = 0; ///< the airport's
};
/// The startup locations (apt.dat rows 1300 and legacy 15) of an airport, in file order, from the apt.dat
/// of the scenery that defines the airport (the navigation database's priority).
SIMHOST_API std::vector<ParkingPosition> ParkingPositions(const std::string &icao);
/// Places the aircraft, standing still on the ground at the airport's elevation, on the startup location
/// of that name (exactly as written, else the one whose name equals it ignoring case). False when there
/// is no such airport or position.
SIMHOST_API bool PlaceAtParking(const std::string &icao, const std::string &name);

// MARK: commands

struct CommandInfo {
    std::string name;
    std::string description;
    int handlers = 0;
};
SIMHOST_API std::vector<CommandInfo> Commands();
SIMHOST_API bool HasCommand(const std::string &name);
/// Begin, then End (a key pressed and released). Returns false for an unknown command.
SIMHOST_API bool CommandOnce(const std::string &name);
SIMHOST_API bool CommandPhase(const std::string &name, int phase);

// MARK: menus

struct MenuItemInfo {
    std::string label;
    bool enabled = true;
    int check = 0;
    bool separator = false;
    bool hasSubmenu = false;
};
/// Items of the plug-ins menu's sub-menu named by its parent item's label.
SIMHOST_API std::vector<MenuItemInfo> MenuItems(const std::string &submenuLabel);
/// Clicks an item of that sub-menu (by its label): calls the handler with the item's reference.
/// Returns false when it does not exist or is disabled (a disabled item does nothing in X-Plane).
SIMHOST_API bool ClickMenuItem(const std::string &submenuLabel, const std::string &itemLabel);
/// The labels of the host's plug-ins menu.
SIMHOST_API std::vector<std::string> PluginsMenuLabels();

// MARK: windows and the screen

struct WindowInfo {
    void *id = nullptr;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool visible = false;
    bool isWidgetWindow = false;
};
SIMHOST_API std::vector<WindowInfo> Windows();

struct DrawnString {
    std::string text;
    int x = 0, y = 0;
    float r = 0, g = 0, b = 0;
    int font = 0;
};
struct DrawnBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};
/// What the last frame drew (strings in drawing order, translucent boxes).
SIMHOST_API std::vector<DrawnString> FrameStrings();
SIMHOST_API std::vector<DrawnBox> FrameBoxes();

/// An RGB picture, rows from the top down, three bytes a pixel.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};
/// The screen as the user sees it now, at the size XPLMGetScreenSize reports: the windows back to
/// front, widget windows in X-Plane's standard look as they stand, the others with what their last draw
/// drew (strings in their colours, translucent dark boxes), over a plain sky. Text is drawn in a
/// TrueType font (DejaVu Sans Mono from fonts-dejavu-core, or the file named by SIMHOST_FONT); false,
/// with the reason, when no font can be opened.
SIMHOST_API bool RenderScreen(Image &out, std::string &error);
/// The part of an image inside a rectangle in screen coordinates (y up), cut to the image.
SIMHOST_API Image CropImage(const Image &image, int left, int top, int right, int bottom);
SIMHOST_API bool WritePng(const Image &image, const std::string &path, std::string &error);
SIMHOST_API bool ReadPng(const std::string &path, Image &out, std::string &error);
/// Renders the screen (or, with a window as FindWindowByTitle gives it, only its rectangle and a margin
/// of 8 pixels) into a PNG file. False, with the reason, when it cannot.
SIMHOST_API bool WriteSnapshot(const std::string &path, std::string &error, void *window = nullptr);

/// Mouse and keyboard as the user gives them: delivered to the frontmost window (or widget) under
/// the point, as X-Plane does. Returns whether a window consumed the mouse-down.
SIMHOST_API bool MouseDown(int x, int y);
SIMHOST_API void MouseDrag(int x, int y);
SIMHOST_API void MouseUp(int x, int y);
SIMHOST_API bool Click(int x, int y);
/// A key press to whatever has the keyboard focus (a window or a widget).
SIMHOST_API void KeyPress(char key, int flags, char virtualKey);

// MARK: widgets

/// The visible root widget whose descriptor (title) equals title; null if none.
SIMHOST_API void *FindWindowByTitle(const std::string &title);
/// Titles of all root widgets, visible or not, in creation order.
SIMHOST_API std::vector<std::string> WidgetWindowTitles();
/// Descriptors of the window's widgets of a class (depth-first, creation order), e.g. captions.
SIMHOST_API std::vector<std::string> WidgetTexts(void *window, int widgetClass);
/// Descriptors of captions, buttons (of any behaviour) and text fields in depth-first order, each
/// prefixed with its kind: "caption:", "button:", "check:", "radio:", "field:".
SIMHOST_API std::vector<std::string> WidgetOutline(void *window);
/// The first widget of the window whose descriptor is text (optionally of a given class); null if none.
SIMHOST_API void *FindWidget(void *window, const std::string &text, int widgetClass = -1);
/// The nth widget (0-based) of a class in the window, depth-first.
SIMHOST_API void *NthWidgetOfClass(void *window, int widgetClass, int n);
/// Clicks a widget at its centre through the mouse path (press a push button, toggle a check box).
SIMHOST_API bool ClickWidget(void *widget);
/// Presses the close box of a main window.
SIMHOST_API bool PressCloseBox(void *window);
/// Gives a text field the keyboard focus and types text into it key by key.
SIMHOST_API void TypeInto(void *textField, const std::string &text);
/// Selects characters start to end of a text field as dragging the mouse over them does: the field
/// takes the keyboard focus and its selection properties become start and end, each within the text
/// (a leftward drag gives start > end).
SIMHOST_API void SelectText(void *textField, int start, int end);
SIMHOST_API std::string WidgetText(void *widget);
SIMHOST_API intptr_t WidgetProperty(void *widget, int property);
SIMHOST_API bool WidgetExists(void *widget);
SIMHOST_API int WidgetCount();
/// Widgets created since Reset, destroyed or not: a window built again and again shows here.
SIMHOST_API int WidgetsCreated();
/// The widget windows on screen (root widgets shown), in creation order.
SIMHOST_API std::vector<void *> VisibleWidgetWindows();
/// Labels of a window's push buttons on screen, in reading order: rows top to bottom, each left to right.
SIMHOST_API std::vector<std::string> ButtonLabels(void *window);
/// The text field a caption labels, as a reader of the window pairs them: of the window's captions on
/// screen the one whose text is caption, else the first that begins with it; then the nth field (1 is
/// the first) right of it on its row, before the row's next caption. A caption with no field on its row
/// labels the field just below it (the next row, when that row has no caption over the field). Null if none.
SIMHOST_API void *FieldOfCaption(void *window, const std::string &caption, int n = 1);
/// The check box a label belongs to: a check box whose own text is label, else the nearest check box left
/// of the caption found as FieldOfCaption finds it, on its row. Null if none.
SIMHOST_API void *CheckBoxOfCaption(void *window, const std::string &label);

// MARK: log and speech

SIMHOST_API const std::vector<std::string> &LogLines();
/// Log lines written since the given index.
SIMHOST_API std::vector<std::string> LogLinesSince(size_t index);
/// True when some log line contains the text.
SIMHOST_API bool LogContains(const std::string &text);
SIMHOST_API void ClearLog();
/// Forgets the spoken texts recorded so far (a long run that has printed them).
SIMHOST_API void ClearSpokenTexts();
/// How many log lines and spoken texts ClearLog and ClearSpokenTexts forgot since Reset: a line's number
/// counted from the start is this plus its index.
SIMHOST_API size_t LogLinesDropped();
SIMHOST_API size_t SpokenTextsDropped();

struct Spoken {
    std::string text;
    float time = 0;
};
SIMHOST_API const std::vector<Spoken> &SpokenTexts();

/// Misuses of the SDK the plug-in made (a destroyed widget used, a bad handle ...); empty when clean.
SIMHOST_API std::vector<std::string> HostErrors();
/// Forgets the misuses recorded so far (after a test has checked the ones it provoked).
SIMHOST_API void ClearHostErrors();

// MARK: navigation database

/// X-Plane's own navigation data: navaids and fixes. The airports come from the scenery's apt.dat files.
enum class NavDataFile { EarthNav, EarthFix };
/// Where X-Plane reads the file, relative to its folder: "Resources/default data/earth_nav.dat" (and
/// earth_fix.dat); with customData the "Custom Data/" copy, which X-Plane takes instead when present.
SIMHOST_API std::string NavDataPath(NavDataFile file, bool customData = false);
/// Copies a navigation data file (any X-Plane layout: 810/1100/1150/1200 nav, 600/1100/1101/1200 fix)
/// into the simulated X-Plane's data folder. False when the source cannot be copied.
SIMHOST_API bool LayNavData(NavDataFile file, const std::string &sourcePath, bool customData = false);
SIMHOST_API void WriteNavData(NavDataFile file, const std::string &contents, bool customData = false);

struct NavDatabaseInfo {
    bool loaded = false;
    int airports = 0, navaids = 0, fixes = 0;
    double loadSeconds = 0;
    std::vector<std::string> files;    ///< files read, in the order read (apt.dat by scenery priority first)
    int warningCount = 0;              ///< rows that could not be used
    std::vector<std::string> warnings; ///< the first of them, as "path:line: what"
};
/// The database loads by itself on the first navigation call after Reset, and again after a navigation
/// file (apt.dat, earth_nav.dat, earth_fix.dat, scenery_packs.ini) was laid with WriteFile, CopyFileInto
/// or the calls above. LoadNavDatabase (re)loads it now, as X-Plane does at start.
SIMHOST_API NavDatabaseInfo LoadNavDatabase();
/// What is loaded now (loaded false before the first navigation call or LoadNavDatabase).
SIMHOST_API NavDatabaseInfo NavDatabaseStatus();
/// Number of XPLMFindNavAid calls since Reset.
SIMHOST_API int FindNavAidCalls();

// MARK: the legacy FMS (XPLMNavigation's FMS entries)
// X-Plane's 100 entries, programmed contiguously from 0; an empty entry ends the flight plan.
// XPLMClearFMSEntry is ambiguous in the SDK ("potentially shortening the flight plan"): by default the
// entries after the cleared one shift down a place, as deleting a waypoint in X-Plane's FMS does, so
// the plan stays contiguous; FmsClear::Blank leaves the slot empty instead (the plan then ends there for
// XPLMCountFMSEntries, the later entries still stored). Indexes outside 0 to 99, a gap left before an
// entry, a navaid reference that is no airport, NDB, VOR or fix, and a destination on an empty entry are
// reported by HostErrors().

const int kFmsEntries = 100;
enum class FmsClear { Shift, Blank };
SIMHOST_API void SetFmsClearing(FmsClear mode);

struct FmsEntry {
    /// "airport", "ndb", "vor", "fix", "latlon"; empty for an empty entry
    std::string kind;
    int type = 0;         ///< XPLMNavType (xplm_Nav_Unknown for an empty entry)
    std::string id;       ///< the navaid's identifier; empty for a lat/lon entry
    int ref = -1;         ///< the navaid reference; XPLM_NAV_NOT_FOUND (-1) for a lat/lon or empty entry
    int altitude_ft = 0;
    float lat = 0, lon = 0;
    bool empty() const { return kind.empty(); }
};
/// One entry (an empty one for a bad index).
SIMHOST_API FmsEntry FmsEntryAt(int index);
/// The flight plan: the entries from 0 up to the first empty one (XPLMCountFMSEntries of them).
SIMHOST_API std::vector<FmsEntry> FmsPlan();
SIMHOST_API int FmsDisplayedEntry();
SIMHOST_API int FmsDestinationEntry();
/// Number of calls that changed the FMS (set, clear, destination, displayed) since Reset: a plug-in that
/// reprograms the FMS every frame shows here.
SIMHOST_API int FmsWriteCalls();

} // namespace simhost
