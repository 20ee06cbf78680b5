// Lays procedure data into the simulated X-Plane: the sample region's fixes and navaids (as the plug-in's
// navdata and as X-Plane's own database) and CIFP files.
#pragma once

#include <string>
#include <vector>

/// The sample's earth_fix.dat and earth_nav.dat, and the CIFP files of the airports named: those of the
/// sample region (data/sample) or of tests/data/cifp.
void LayProcedureData(const std::vector<std::string> &airports);
/// Writes a CIFP file of the plug-in's navdata.
void WriteCifp(const std::string &airport, const std::string &contents);
