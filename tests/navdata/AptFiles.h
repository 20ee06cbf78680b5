// Helpers of the airport data tests: apt.dat text and files in the simulated X-Plane folder.
#pragma once

#include <cstdio>
#include <string>

#include "Harness.h"
#include "navdata/AptNav.h"
#include "navdata/Parser.h"

/// An apt.dat file around the given rows: byte-order line, version line, rows, end row.
inline std::string AptText(const std::string &rows)
{
    return "I\n1000 Version - data cycle 2013.10, test\n\n" + rows + "99\n";
}

/// Writes a file below the X-Plane folder and returns its full path.
inline std::string HostFile(const std::string &relative, const std::string &contents)
{
    simhost::WriteFile(relative, contents);
    return simhost::SystemPath() + relative;
}

/// A land runway row from end 1 (designator, threshold, displaced threshold, blast pad) to end 2.
inline std::string RunwayRow(const char *name1, double lat1, double lon1, double displaced1, double blast1,
                             const char *name2, double lat2, double lon2, double displaced2 = 0, double blast2 = 0)
{
    char row[512];
    snprintf(row, sizeof row,
             "100 45.72 1 0 0.25 1 3 1 %s %.8f %.8f %.2f %.2f 3 10 1 1 %s %.8f %.8f %.2f %.2f 3 10 1 1\n", name1,
             lat1, lon1, displaced1, blast1, name2, lat2, lon2, displaced2, blast2);
    return row;
}

/// Empties the scenery index between tests (the maps live as long as the process).
inline void ClearSceneryIndex()
{
    IcaoMap.clear();
    ILSMap.clear();
    earthNavDatVersion.clear();
    earthFixDatVersion.clear();
}
