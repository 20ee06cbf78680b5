// The ground under the simulated world: flat by default at the aircraft's ground level, flat at a chosen
// elevation, or a real elevation grid (the compact grid of data/make-terrain.py, sea level outside it),
// with synthetic peaks on top for tests.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "HostInternal.h"
#include "NavDatabase.h"

namespace simhost {
namespace detail {

namespace {

const double kMetresPerNm = 1852.0;
const double kMetresPerDegree = 60.0 * kMetresPerNm;

enum class Ground { AircraftLevel, Flat, Grid };

struct Peak {
    double lat, lon, summit_m, radius_m;
};

struct TerrainModel {
    Ground kind = Ground::AircraftLevel;
    double flat_m = 0;
    double west = 0, north = 0, step = 1;
    int cols = 0, rows = 0;
    std::vector<int16_t> cells; ///< metres, north row first
    std::vector<Peak> peaks;
};
TerrainModel gTerrain;

double Cell(int row, int col)
{
    const TerrainModel &t = gTerrain;
    row = row < 0 ? 0 : (row >= t.rows ? t.rows - 1 : row);
    col = col < 0 ? 0 : (col >= t.cols ? t.cols - 1 : col);
    return t.cells[(size_t)row * (size_t)t.cols + (size_t)col];
}

/// Bilinear between the cell centres; sea level outside the grid.
double GridElevation(double lat, double lon)
{
    const TerrainModel &t = gTerrain;
    double x = (lon - t.west) / t.step - 0.5, y = (t.north - lat) / t.step - 0.5;
    if (!(x >= -0.5 && y >= -0.5 && x <= t.cols - 0.5 && y <= t.rows - 0.5))
        return 0;
    int c = (int)std::floor(x), r = (int)std::floor(y);
    double fx = x - c, fy = y - r;
    double top = Cell(r, c) * (1 - fx) + Cell(r, c + 1) * fx;
    double bottom = Cell(r + 1, c) * (1 - fx) + Cell(r + 1, c + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

/// A smooth bell: the summit at the centre, nothing from radius on.
double PeakHeight(const Peak &p, double lat, double lon)
{
    double north = (lat - p.lat) * kMetresPerDegree;
    double east = (lon - p.lon) * kMetresPerDegree * std::cos(p.lat * M_PI / 180.0);
    double d = std::hypot(north, east);
    if (d >= p.radius_m)
        return 0;
    return p.summit_m * (1 + std::cos(M_PI * d / p.radius_m)) / 2;
}

bool Fail(const std::string &path, const char *why)
{
    host().lastError = "terrain " + path + ": " + why;
    return false;
}

bool HeaderNumber(const std::string &header, const char *key, double &value)
{
    std::string needle = std::string(" ") + key + " ";
    size_t at = (" " + header).find(needle);
    if (at == std::string::npos)
        return false;
    std::string_view text(header.c_str() + at + needle.size() - 1);
    size_t end = text.find_first_of(" \n");
    return NavParseDouble(text.substr(0, end), value);
}

} // namespace

void ResetTerrain()
{
    gTerrain = TerrainModel();
}

bool TerrainFollowsAircraftLevel()
{
    return gTerrain.kind == Ground::AircraftLevel;
}

double TerrainAt(double lat, double lon, double aircraftGround_m)
{
    const TerrainModel &t = gTerrain;
    double base = t.kind == Ground::Grid ? GridElevation(lat, lon)
                                         : (t.kind == Ground::Flat ? t.flat_m : aircraftGround_m);
    for (const Peak &p : t.peaks)
        base += PeakHeight(p, lat, lon);
    return base;
}

} // namespace detail

using namespace detail;

bool LoadTerrain(const std::string &path)
{
    std::string data;
    if (!NavReadWholeFile(path, data))
        return Fail(path, "cannot be read");
    size_t end = data.find("\nend\n");
    if (data.rfind("VELLOMIR-DEM 2\n", 0) != 0 || end == std::string::npos)
        return Fail(path, "not a compact terrain grid (VELLOMIR-DEM 2)");
    std::string header = data.substr(0, end + 1);
    for (char &c : header)
        if (c == '\n')
            c = ' ';
    double west, north, step, cols, rows;
    if (!HeaderNumber(header, "west", west) || !HeaderNumber(header, "north", north) ||
        !HeaderNumber(header, "step_deg", step) || !HeaderNumber(header, "cols", cols) ||
        !HeaderNumber(header, "rows", rows) || !(step > 0) || cols < 2 || rows < 2 || cols > 100000 ||
        rows > 100000 || cols * rows > 5e7)
        return Fail(path, "bad header");
    TerrainModel t;
    t.kind = Ground::Grid;
    t.west = west;
    t.north = north;
    t.step = step;
    t.cols = (int)cols;
    t.rows = (int)rows;
    t.cells.reserve((size_t)t.cols * (size_t)t.rows);
    const unsigned char *p = (const unsigned char *)data.data() + end + 5;
    const unsigned char *stop = (const unsigned char *)data.data() + data.size();
    for (int r = 0; r < t.rows; r++) {
        long value = 0;
        for (int c = 0; c < t.cols; c++) {
            uint32_t z = 0;
            int shift = 0;
            do {
                if (p == stop || shift > 28)
                    return Fail(path, "truncated or corrupt cells");
                z |= (uint32_t)(*p & 0x7F) << shift;
                shift += 7;
            } while (*p++ & 0x80);
            value += (long)(z >> 1) ^ -(long)(z & 1);
            if (value < INT16_MIN || value > INT16_MAX)
                return Fail(path, "cell out of range");
            t.cells.push_back((int16_t)value);
        }
    }
    if (p != stop)
        return Fail(path, "trailing bytes after the cells");
    t.peaks = gTerrain.peaks;
    gTerrain = std::move(t);
    return true;
}

void SetFlatTerrain(double elevation_m)
{
    std::vector<Peak> peaks = std::move(gTerrain.peaks);
    gTerrain = TerrainModel();
    gTerrain.kind = Ground::Flat;
    gTerrain.flat_m = elevation_m;
    gTerrain.peaks = std::move(peaks);
}

void AddTerrainPeak(double lat, double lon, double summit_m, double radius_nm)
{
    gTerrain.peaks.push_back({lat, lon, summit_m, radius_nm * kMetresPerNm});
}

void ClearTerrainPeaks()
{
    gTerrain.peaks.clear();
}

double TerrainElevation(double lat, double lon)
{
    return TerrainAt(lat, lon, AircraftGroundLevel());
}

} // namespace simhost
