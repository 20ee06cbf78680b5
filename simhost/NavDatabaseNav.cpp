// Readers of X-Plane's earth_nav.dat and earth_fix.dat, and the text helpers the database readers share.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "NavDatabase.h"

namespace simhost {
namespace detail {

namespace {

const size_t kWarningsKept = 50;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

/// The X-Plane type of an earth_nav.dat row code; 0 for rows X-Plane does not publish to plug-ins
/// (the approach-path rows 14-16 of GPS approaches).
XPLMNavType NavTypeOfRow(int code)
{
    switch (code) {
    case 2: return xplm_Nav_NDB;
    case 3: return xplm_Nav_VOR;
    case 4: return xplm_Nav_ILS;
    case 5: return xplm_Nav_Localizer;
    case 6: return xplm_Nav_GlideSlope;
    case 7: return xplm_Nav_OuterMarker;
    case 8: return xplm_Nav_MiddleMarker;
    case 9: return xplm_Nav_InnerMarker;
    case 12:
    case 13: return xplm_Nav_DME;
    default: return xplm_Nav_Unknown;
    }
}

bool IsLandingAidRow(int code)
{
    return code >= 4 && code <= 9;
}

} // namespace

void NavWarnings::Add(const std::string &file, int line, const char *what)
{
    count++;
    if (lines.size() < kWarningsKept) {
        char text[1024];
        snprintf(text, sizeof text, "%s:%d: %s", file.c_str(), line, what);
        lines.push_back(text);
    }
}

bool NavReadWholeFile(const std::string &path, std::string &contents)
{
    contents.clear();
    FILE *f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    char buffer[1 << 16];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        contents.append(buffer, n);
    bool ok = ferror(f) == 0;
    fclose(f);
    return ok;
}

bool NavNextLine(const std::string &text, size_t &pos, std::string_view &line)
{
    if (pos >= text.size())
        return false;
    size_t end = text.find('\n', pos);
    if (end == std::string::npos)
        end = text.size();
    size_t stop = end;
    if (stop > pos && text[stop - 1] == '\r')
        stop--;
    line = std::string_view(text.data() + pos, stop - pos);
    pos = end + 1;
    return true;
}

int NavSplit(std::string_view line, std::string_view *fields, int maxFields)
{
    int count = 0;
    size_t i = 0;
    while (i < line.size() && count < maxFields) {
        while (i < line.size() && IsBlank(line[i]))
            i++;
        if (i >= line.size())
            break;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            i++;
        fields[count++] = line.substr(start, i - start);
    }
    return count;
}

std::string NavRest(std::string_view line, std::string_view field)
{
    size_t start = (size_t)(field.data() - line.data());
    std::string_view rest = line.substr(start);
    while (!rest.empty() && IsBlank(rest.back()))
        rest.remove_suffix(1);
    return std::string(rest);
}

bool NavParseDouble(std::string_view text, double &value)
{
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        first++;
    double parsed = 0;
    std::from_chars_result r = std::from_chars(first, last, parsed);
    // Every value read ends up in a float (an elevation of 1e300 feet would be an infinite height).
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX)
        return false;
    value = parsed;
    return true;
}

bool NavParseInt(std::string_view text, int &value)
{
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        first++;
    int parsed = 0;
    std::from_chars_result r = std::from_chars(first, last, parsed);
    if (r.ec != std::errc() || r.ptr != last)
        return false;
    value = parsed;
    return true;
}

/// Checks the "I"/"A" line and reads the format version of the line after it.
static bool NavReadHeader(const std::string &text, size_t &pos, int &version)
{
    std::string_view line;
    pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    if (!NavNextLine(text, pos, line))
        return false;
    std::string_view fields[2];
    if (NavSplit(line, fields, 2) != 1 || (fields[0] != "I" && fields[0] != "A"))
        return false;
    if (!NavNextLine(text, pos, line))
        return false;
    std::string_view first[1];
    return NavSplit(line, first, 1) == 1 && NavParseInt(first[0], version);
}

bool NavOpenDataFile(const std::string &path, const char *kind, std::string &text, size_t &pos, int &version,
                     NavWarnings &warnings)
{
    if (!NavReadWholeFile(path, text))
        return false;
    if (!NavReadHeader(text, pos, version)) {
        char what[128];
        snprintf(what, sizeof what, "not an X-Plane %s (no I/A line and version)", kind);
        warnings.Add(path, 1, what);
        return false;
    }
    return true;
}

bool NavReadEarthNav(const std::string &path, std::vector<NavAid> &out, NavWarnings &warnings)
{
    std::string text;
    size_t pos = 0;
    int version = 0;
    if (!NavOpenDataFile(path, "navigation data file", text, pos, version, warnings))
        return false;
    // From 1100 on a terminal area (or the airport) and an ICAO region follow the identifier.
    const bool regions = version >= 1100;
    std::string_view line;
    int lineNumber = 2;
    while (NavNextLine(text, pos, line)) {
        lineNumber++;
        std::string_view f[16];
        int n = NavSplit(line, f, 16);
        if (n == 0)
            continue;
        int code = 0;
        if (!NavParseInt(f[0], code)) {
            warnings.Add(path, lineNumber, "row code is not a number");
            continue;
        }
        if (code == 99)
            break;
        XPLMNavType type = NavTypeOfRow(code);
        if (type == xplm_Nav_Unknown)
            continue;
        // Landing aids give their airport, (region,) runway, then the name; the others (terminal area,
        // region,) then the name.
        const bool landing = IsLandingAidRow(code);
        const int runwayField = regions ? 10 : 9;
        const int nameField = landing ? runwayField + 1 : (regions ? 10 : 8);
        if (n < (landing ? runwayField + 1 : nameField)) {
            warnings.Add(path, lineNumber, "too few fields for a navaid row");
            continue;
        }
        double lat, lon, elevation, extra;
        int frequency;
        if (!NavParseDouble(f[1], lat) || !NavParseDouble(f[2], lon) || !NavParseDouble(f[3], elevation) ||
            !NavParseInt(f[4], frequency) || !NavParseDouble(f[6], extra) || !NavValidPosition(lat, lon)) {
            warnings.Add(path, lineNumber, "bad position, elevation, frequency or bearing");
            continue;
        }
        NavAid a;
        a.type = type;
        a.lat = (float)lat;
        a.lon = (float)lon;
        a.heightM = (float)elevation * kNavFeetToMetres;
        a.frequency = frequency;
        a.heading = (float)extra;
        if (code == 4 || code == 5) {
            // From 1150 on the localizer bearing is magnetic x 360 + true; the true part is reported.
            if (version >= 1150)
                a.heading = (float)std::fmod(extra, 360.0);
        } else if (code == 6) {
            // Glide slope: angle x 100000 + true bearing.
            a.heading = (float)std::fmod(extra, 1000.0);
        }
        a.id = std::string(f[7]);
        std::string name = n > nameField ? NavRest(line, f[nameField]) : std::string();
        if (landing) {
            // Named as X-Plane has always named them: "KSEA 16L ILS-cat-I".
            a.name = std::string(f[8]) + " " + std::string(f[runwayField]) + (name.empty() ? "" : " " + name);
        } else {
            a.name = name;
        }
        out.push_back(std::move(a));
    }
    return true;
}

bool NavReadEarthFix(const std::string &path, std::vector<NavAid> &out, NavWarnings &warnings)
{
    std::string text;
    size_t pos = 0;
    int version = 0;
    if (!NavOpenDataFile(path, "fix data file", text, pos, version, warnings))
        return false;
    std::string_view line;
    int lineNumber = 2;
    while (NavNextLine(text, pos, line)) {
        lineNumber++;
        std::string_view f[4];
        int n = NavSplit(line, f, 4);
        if (n == 0)
            continue;
        if (n == 1 && f[0] == "99")
            break;
        double lat, lon;
        if (n < 3 || !NavParseDouble(f[0], lat) || !NavParseDouble(f[1], lon) || !NavValidPosition(lat, lon)) {
            warnings.Add(path, lineNumber, "a fix row needs latitude, longitude and identifier");
            continue;
        }
        NavAid a;
        a.type = xplm_Nav_Fix;
        a.lat = (float)lat;
        a.lon = (float)lon;
        a.id = std::string(f[2]);
        a.name = a.id;
        out.push_back(std::move(a));
    }
    return true;
}

} // namespace detail
} // namespace simhost
