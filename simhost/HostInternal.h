// simhost's internal state shared by its parts. Never included by the plug-in.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Harness.h"

namespace simhost {
namespace detail {

/// Objects the plug-in has destroyed (windows, probes), kept a while so that a late call on one is named
/// as such: their memory is not given back meanwhile, so no new object takes their address. Only the
/// last kLimit are kept (a soak leg destroys about 50 windows), so that a long run neither grows nor
/// searches further each hour.
template <typename T> class Retired {
  public:
    static const size_t kLimit = 64;
    void Add(std::unique_ptr<T> object)
    {
        objects_.push_back(std::move(object));
        if (objects_.size() > kLimit)
            objects_.pop_front();
    }
    bool Holds(const void *object) const
    {
        for (const std::unique_ptr<T> &o : objects_)
            if (o.get() == object)
                return true;
        return false;
    }
    size_t Size() const { return objects_.size(); }
    void Clear() { objects_.clear(); }

  private:
    std::deque<std::unique_ptr<T>> objects_;
};

/// Moves the object p of live into retired; false when live does not hold it.
template <typename T> bool Retire(std::vector<std::unique_ptr<T>> &live, Retired<T> &retired, const T *p)
{
    for (size_t i = 0; i < live.size(); i++)
        if (live[i].get() == p) {
            retired.Add(std::move(live[i]));
            live.erase(live.begin() + (long)i);
            return true;
        }
    return false;
}

struct PluginModule {
    void *handle = nullptr;
    int (*start)(char *, char *, char *) = nullptr;
    void (*stop)() = nullptr;
    int (*enable)() = nullptr;
    void (*disable)() = nullptr;
    void (*receive)(int, int, void *) = nullptr;
    std::string path;
    std::string name, signature, description;
    bool started = false;
    bool enabled = false;
};

struct Host {
    Options options;
    std::string folder; ///< ends in "/"
    std::string temporaryRoot; ///< the temporary folder that holds a default X-Plane folder; removed at Shutdown
    unsigned directorySeed = 0;
    bool directorySeedShown = false; ///< a random seed is printed once, with the first listing
    /// Seconds since start, kept in double as X-Plane does: a float sum of frame steps drifts within hours.
    double elapsed = 0;
    int frames = 0;
    std::vector<std::string> log;
    std::string logPartial; ///< text of an unfinished log line
    std::vector<Spoken> spoken;
    size_t logDropped = 0, spokenDropped = 0; ///< lines ClearLog and texts ClearSpokenTexts forgot
    std::vector<std::string> errors;
    PluginModule plugin;
    std::string lastError;
    int mouseX = 0, mouseY = 0;
};

Host &host();

/// Records a misuse of the SDK by the plug-in (a call X-Plane would reject or crash on).
void HostError(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Reset hooks of the host's parts, called by Reset() in this order.
void ResetDataRefs();
void ResetCommands();
void ResetMenus();
void ResetWindows();
void ResetWidgets();
void ResetAircraft();
void ResetFms();
/// The FMS destination entry the autopilot flies to: false when it is empty.
bool FmsDestinationPoint(float &lat, float &lon, int &altitude_ft);
/// Sequences the FMS as X-Plane does once the destination is reached: the next entry becomes the
/// destination (and the displayed one); false at the last entry.
bool FmsSequence();

/// The simulator's flight model step, before the frame is drawn.
void StepAircraft(float seconds);
/// Called after a simulator dataref was written (keeps linked datarefs such as COM1's two units together).
void DataRefWritten(const std::string &name);
void ResetNavDatabase();
/// A file was laid into the X-Plane folder (relative path): navigation files make the database reload.
void NoteFileWritten(const std::string &relativePath);

// Terrain (Terrain.cpp, TerrainProbe.cpp).
void ResetTerrain();
void ResetTerrainProbes();
/// False once a terrain was chosen (a grid or a flat elevation); until then the world is flat at the
/// aircraft's ground level.
bool TerrainFollowsAircraftLevel();
/// Ground elevation (m) with the peaks; aircraftGround_m is the level of the world while no terrain is chosen.
double TerrainAt(double lat, double lon, double aircraftGround_m);
/// The ground level under the aircraft (m).
double AircraftGroundLevel();
/// True once PlaceAircraft put the aircraft somewhere.
bool AircraftPlaced();
/// Start of a frame: the per-frame probe count restarts, and the local frame moves to the aircraft when
/// it has gone far from the origin.
void TerrainFrameBegins(double aircraftLat, double aircraftLon, bool placed);
void TerrainPlaceFrame(double lat, double lon);
/// The plug-in stopped: probes it did not destroy are reported.
void TerrainPluginStopped();
size_t RetiredProbes();

/// Draws every visible window once (the frame's drawing pass).
void DrawWindows();
void BeginFrameRecording();

// Window plumbing used by the widget library: a root widget owns one XPLM window.
void *CreateWidgetWindow(int left, int top, int right, int bottom, int visible, intptr_t rootWidget);
void DestroyWidgetWindow(void *window);
void SetWidgetWindowGeometry(void *window, int left, int top, int right, int bottom);
void SetWidgetWindowVisible(void *window, int visible);
void BringWindowToFront(void *window);
bool WindowIsInFront(void *window);
void TakeWindowFocus(void *window);
/// Widget side of mouse and keys, called by the window layer.
int WidgetMouse(intptr_t rootWidget, int x, int y, int status);
void WidgetDraw(intptr_t rootWidget);
bool WidgetKey(char key, int flags, char virtualKey);
bool WidgetHasFocus();

} // namespace detail
} // namespace simhost
