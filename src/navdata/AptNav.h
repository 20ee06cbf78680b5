// The scenery index built at start: in which apt.dat file and at which byte offset every airport
// starts, the localizers of every airport from the plug-in's earth_nav.dat, and the AIRAC cycles.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// Where an airport's records start.
struct AptDat {
    std::string ICAOfilePath; ///< full path of the apt.dat file
    int64_t readOffset = 0;   ///< byte offset of the airport's header row
};

/// One localizer transmitter of an airport.
struct ILSDat {
    std::string runway; ///< runway designator
    float bearing = 0;  ///< localizer bearing, degrees
    int type = 0;       ///< 4 localizer of an ILS, 5 localizer without glide slope
    float lat = 0, lon = 0;
};

struct NavDat {
    std::vector<ILSDat> ils; ///< in file order
};

/// Airport identifier (exactly as written in its header row) to its file and offset.
extern std::map<std::string, AptDat> IcaoMap;
/// Airport identifier to its localizers.
extern std::map<std::string, NavDat> ILSMap;
/// AIRAC cycles of the plug-in's earth_nav.dat and earth_fix.dat; empty when not found.
extern std::string earthNavDatVersion;
extern std::string earthFixDatVersion;

/// Builds the airport index from the global and custom scenery, the ILS index and the AIRAC cycles.
void Utils_readAllAptDat();
/// Adds every airport of one apt.dat file to IcaoMap (an airport already there is replaced).
void parseSingleAptDat(const std::string &path);
/// Adds the localizers of one earth_nav.dat file to ILSMap.
void parseSingleNavDat(const std::string &path);
/// Entry names of a folder, sorted (the host lists them in no promised order); empty when it cannot be listed.
std::vector<std::string> getDirContent(const std::string &path);
/// The AIRAC cycle digits of a navigation data file's version line, or an empty string.
std::string ottieniVersioneAiracFile(const std::string &path);
/// The path in the host's form; unchanged on Linux.
std::string convertiPathOSX(const std::string &path);

/// The apt.dat files of the custom scenery in reading order: lowest priority first, so that the
/// highest-priority pack is read last and its airports win.
std::vector<std::string> Scenery_CustomAptDatFiles(const std::string &systemPath, const std::string &separator);
