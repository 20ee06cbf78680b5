// Index of the plug-in's earth_fix.dat and earth_nav.dat by identifier, for placing procedure fixes.
// Built once per file (again only when the file changes on disk).
#pragma once

#include <string>

/// A fix or navaid found in the index.
struct FixPosition {
    float lat = 0, lon = 0;
    int navType = 0; ///< 512 fix, 4 VOR, 2 NDB, 1024 DME
};

/// Makes sure the index of the two files is built (reading them when new or changed since the last build).
/// Returns false when earth_fix.dat cannot be read; a missing earth_nav.dat only leaves navaids out.
bool FixIndex_Load(const std::string &fixPath, const std::string &navPath);

/// The terminal fix `ident` of the airport `icao` (the last such row of earth_fix.dat).
bool FixIndex_Terminal(const std::string &ident, const std::string &icao, FixPosition *out);
/// The fix `ident` of the region (the last such row of earth_fix.dat).
bool FixIndex_Fix(const std::string &ident, const std::string &region, FixPosition *out);
/// The VOR, NDB or DME `ident` of the region (the first such row of earth_nav.dat).
bool FixIndex_Navaid(const std::string &ident, const std::string &region, FixPosition *out);

/// Number of fixes and navaids indexed (for the log and the tests).
size_t FixIndex_FixCount();
size_t FixIndex_NavaidCount();

/// Builds the index from text already in memory (the fuzz target and the tests).
void FixIndex_BuildFromText(const std::string &fixText, const std::string &navText);
