// The ILS index from the plug-in's earth_nav.dat, and the AIRAC cycle of a navigation data file.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "XPLMUtilities.h"
#include "navdata/AptLine.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/Utils.h"

std::map<std::string, NavDat> ILSMap;
std::string earthNavDatVersion;
std::string earthFixDatVersion;

namespace {

/// From this version earth_nav.dat rows carry an ICAO region before the runway.
const int kVersionRegionField = 11000;
/// From this version the localizer bearing field adds the magnetic bearing times 360.
const int kVersionBearingTimes360 = 11500;

/// Stores the localizer of one row 4 or 5; false when the row is too short.
bool ReadLocalizer(const AptFields &fields, int xplaneVersion)
{
    int runwayField = xplaneVersion < kVersionRegionField ? 9 : 10;
    if (fields.count <= runwayField)
        return false;
    ILSDat ils;
    ils.lat = Utils::stringToFloat(fields.field[1]);
    ils.lon = Utils::stringToFloat(fields.field[2]);
    ils.bearing = Utils::stringToFloat(fields.field[6]);
    if (xplaneVersion >= kVersionBearingTimes360)
        ils.bearing = fmodf(ils.bearing, 360.0f);
    ils.type = Utils::stringToInt(fields.field[0]);
    ils.runway = fields.field[runwayField];
    ILSMap[fields.field[8]].ils.push_back(ils);
    return true;
}

} // namespace

void parseSingleNavDat(const std::string &path)
{
    PrintInfo("parseSingleNavDat", "ILS scanning... %s", path.c_str());
    printf("parsing %s\n", path.c_str());
    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        PrintInfo("parseSingleNavDat", "error opening... %s", path.c_str());
        return;
    }
    XPLMGetVersions(&gFDV_XPlaneVersion, nullptr, nullptr);
    if (!AptLine_CheckFirstByte(file, path.c_str(), "parseSingleNavDat")) {
        fclose(file);
        return;
    }
    char line[APT_LINE_SIZE];
    AptFields fields;
    int lineNumber = 0, shortRows = 0;
    int result;
    bool overlong = false;
    while ((result = T_fgetc(file, line, sizeof line, &overlong)) > 0) {
        lineNumber++;
        if (overlong)
            continue; // no localizer row is that long
        AptLine_Split(line, &fields);
        if (fields.count < 1)
            continue;
        int code = Utils::stringToInt(fields.field[0]);
        if ((code == 4 || code == 5) && !ReadLocalizer(fields, gFDV_XPlaneVersion) && shortRows++ == 0)
            PrintInfo("parseSingleNavDat", "%s line %d: localizer row with %d fields, too few; skipped", path.c_str(),
                      lineNumber, fields.count);
    }
    if (result < 0)
        printf("Error reading %s, %s %d\n", path.c_str(), strerror(-result), -result);
    if (shortRows > 1)
        PrintInfo("parseSingleNavDat", "%s: %d localizer rows too short, skipped", path.c_str(), shortRows);
    fclose(file);
}

std::string ottieniVersioneAiracFile(const std::string &path)
{
    Utils_LogFormat("checking %s version", path.c_str());
    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        Utils_LogFormat("unable to parse %s", path.c_str());
        return "";
    }
    std::string cycle;
    char line[APT_LINE_SIZE];
    for (int i = 0; i < 3 && T_fgetc(file, line, sizeof line) > 0; i++) {
        if (strstr(line, "Version") == nullptr)
            continue;
        size_t partLength = strcspn(line, ",");
        // The leading format number (1100, 1200 ...) ends before the fifth character.
        for (size_t c = 4; c < partLength && c < 35; c++)
            if (line[c] >= '0' && line[c] <= '9')
                cycle += line[c];
        break;
    }
    fclose(file);
    return cycle;
}
