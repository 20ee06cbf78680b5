// simhost's navigation database: the navaids, fixes and airports X-Plane loads from its data and scenery
// folders, and the indexes the XPLMNavigation search calls use. Internal to simhost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "HostInternal.h"
#include "XPLMNavigation.h"

namespace simhost {
namespace detail {

/// One entry of the database, as XPLMGetNavAidInfo reports it.
struct NavAid {
    XPLMNavType type = xplm_Nav_Unknown;
    float lat = 0, lon = 0;
    float heightM = 0;  ///< elevation, metres
    int frequency = 0;  ///< as in nav.dat: NDB kHz, others MHz x 100; 0 for fixes and airports
    float heading = 0;  ///< localizer and glide slope: true bearing; VOR: slaved variation
    std::string id;
    std::string name;
};

/// A startup location of an airport: apt.dat row 1300, or the legacy row 15.
struct AptStartup {
    std::string airport;
    std::string name;
    std::string kind; ///< row 1300: the location type (gate, tie_down, hangar, misc); row 15: "legacy"
    double lat = 0, lon = 0;
    float heading = 0;    ///< true
    float elevationM = 0; ///< the airport's elevation
};

/// Rows a reader could not use, with where they were (kept to a few, all counted).
struct NavWarnings {
    std::vector<std::string> lines;
    int count = 0;
    void Add(const std::string &file, int line, const char *what);
};

// MARK: readers (NavDatabaseNav.cpp, NavDatabaseApt.cpp)

/// Reads a whole file; false when it cannot be opened.
bool NavReadWholeFile(const std::string &path, std::string &contents);
/// The next line of text from pos on, without its line end (CR LF or LF); false at the end.
bool NavNextLine(const std::string &text, size_t &pos, std::string_view &line);
/// Splits a line at blanks and tabs into at most maxFields fields; returns how many.
int NavSplit(std::string_view line, std::string_view *fields, int maxFields);
/// The line from the start of a field to its end, trailing blanks removed (names with spaces).
std::string NavRest(std::string_view line, std::string_view field);
/// Reads a whole data file and checks its "I"/"A" line and format version; pos is left after them. False
/// when it cannot be read, or (with a warning naming `kind`) does not start like an X-Plane data file.
bool NavOpenDataFile(const std::string &path, const char *kind, std::string &text, size_t &pos, int &version,
                     NavWarnings &warnings);

const float kNavFeetToMetres = 0.3048f;
inline bool NavValidPosition(double lat, double lon)
{
    return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0;
}
/// Number parsing without the locale; false for anything but a whole finite number (within a float's
/// range for NavParseDouble).
bool NavParseDouble(std::string_view text, double &value);
bool NavParseInt(std::string_view text, int &value);

/// Appends the navaids of an earth_nav.dat (X-Plane 810, 1100, 1150 and 1200 layouts). False when the
/// file is missing or is not a navigation data file.
bool NavReadEarthNav(const std::string &path, std::vector<NavAid> &out, NavWarnings &warnings);
/// Appends the fixes of an earth_fix.dat (600, 1100, 1101 and 1200 layouts).
bool NavReadEarthFix(const std::string &path, std::vector<NavAid> &out, NavWarnings &warnings);
/// Appends the airports of one apt.dat whose identifier is not in `known` yet (an airport of a
/// higher-priority scenery wins); adds the new identifiers to `known`. With `startups`, also appends the
/// startup locations of the airports it appends.
bool NavReadAptDat(const std::string &path, std::vector<NavAid> &out, std::unordered_set<std::string> &known,
                   NavWarnings &warnings, std::vector<AptStartup> *startups = nullptr);
/// The apt.dat files X-Plane reads, highest priority first: the custom scenery packs in the order of
/// Custom Scenery/scenery_packs.ini (new packs first, alphabetically), and the global airports.
std::vector<std::string> NavAptDatFiles(const std::string &xplaneFolder, int xplaneVersion);

// MARK: the loaded database (NavDatabase.cpp, NavDatabaseIndex.cpp)

/// Loads the database if it is not loaded or a navigation file was laid since; then returns it.
const std::vector<NavAid> &NavDatabase();
/// The entry of a reference, or null.
const NavAid *NavDatabaseEntry(XPLMNavRef ref);
/// The startup locations of the database's airports, airport by airport in reading order.
const std::vector<AptStartup> &NavStartups();

/// Search structures over a database sorted by type.
class NavIndex {
  public:
    void Build(const std::vector<NavAid> &entries);
    void Clear();
    XPLMNavRef Find(const std::vector<NavAid> &entries, const char *nameFragment, const char *idFragment,
                    const float *lat, const float *lon, const int *frequency, XPLMNavType types) const;
    XPLMNavRef FirstOfType(XPLMNavType type) const;
    XPLMNavRef LastOfType(XPLMNavType type) const;

  private:
    struct Query;
    struct Suffix {
        uint32_t idIndex;
        uint32_t offset;
    };
    /// One spatial grid of 1-degree cells per navaid type.
    struct Grid {
        std::vector<uint32_t> cellStart; ///< cells + 1 offsets into refs
        std::vector<uint32_t> refs;
    };
    static const int kTypeBits = 13;

    std::string_view SuffixText(const Suffix &s) const;
    bool Matches(const NavAid &a, const Query &q) const;
    XPLMNavRef FindByIdentifier(const std::vector<NavAid> &entries, const Query &q, bool &decided) const;
    XPLMNavRef FindNearest(const std::vector<NavAid> &entries, const Query &q) const;
    XPLMNavRef FindLast(const std::vector<NavAid> &entries, const Query &q) const;

    std::vector<std::string> ids_;     ///< distinct identifiers
    std::vector<uint32_t> idStart_;    ///< ids_ + 1 offsets into idRefs_
    std::vector<uint32_t> idRefs_;     ///< references of each identifier, ascending
    std::vector<Suffix> suffixes_;     ///< every suffix of every identifier, sorted
    Grid grids_[kTypeBits];
    int first_[kTypeBits] = {};
    int last_[kTypeBits] = {};
};

} // namespace detail
} // namespace simhost
