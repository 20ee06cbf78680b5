// earth_fix.dat rows: "lat lon ident terminal-area region type [name]"; earth_nav.dat rows: "code lat lon
// elevation frequency range variation ident terminal-area region name...". Columns are separated by any
// run of blanks, rows may start with blanks and end in CR LF.
#include "navdata/FixIndex.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <vector>

#include "navdata/CifpReader.h"
#include "plugin/Log.h"

namespace
{

struct IndexEntry {
    char ident[8];
    char area[8];
    char region[4];
    float lat, lon;
    int navType;
    int sequence; ///< row order in its file
};

struct FileStamp {
    std::string path;
    long long size = -1, mtime = -1;
    bool operator==(const FileStamp &o) const { return path == o.path && size == o.size && mtime == o.mtime; }
};

std::vector<IndexEntry> gFixes, gNavaids;
FileStamp gFixStamp, gNavStamp;

FileStamp FixIndex_Stamp(const std::string &path)
{
    FileStamp s;
    s.path = path;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        s.size = (long long)st.st_size;
        s.mtime = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    }
    return s;
}

/// Copies a token into a fixed field; false when it does not fit.
bool FixIndex_Copy(char *dst, size_t size, const char *begin, const char *end)
{
    const size_t n = (size_t)(end - begin);
    if (n >= size)
        return false;
    memcpy(dst, begin, n);
    dst[n] = '\0';
    return true;
}

bool FixIndex_Number(const char *begin, const char *end, float *value)
{
    if (begin < end && *begin == '+')
        begin++;
    auto r = std::from_chars(begin, end, *value);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(*value);
}

bool FixIndex_Less(const IndexEntry &a, const IndexEntry &b)
{
    const int c = strcmp(a.ident, b.ident);
    return c != 0 ? c < 0 : a.sequence < b.sequence;
}

/// Splits a row into at most `max` blank-separated tokens; returns the count.
int FixIndex_Tokens(const char *p, const char *end, const char **begins, const char **ends, int max)
{
    int n = 0;
    while (p < end && n < max) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\v' || *p == '\f'))
            p++;
        if (p >= end)
            break;
        begins[n] = p;
        while (p < end && !(*p == ' ' || *p == '\t' || *p == '\r' || *p == '\v' || *p == '\f'))
            p++;
        ends[n++] = p;
    }
    return n;
}

template <typename RowFn> void FixIndex_ForEachRow(const std::string &text, RowFn fn)
{
    const char *p = text.data(), *end = p + text.size();
    while (p < end) {
        const char *nl = (const char *)memchr(p, '\n', (size_t)(end - p));
        const char *lineEnd = nl != nullptr ? nl : end;
        fn(p, lineEnd);
        p = lineEnd + 1;
    }
}

void FixIndex_BuildFixes(const std::string &text)
{
    gFixes.clear();
    int sequence = 0;
    FixIndex_ForEachRow(text, [&](const char *p, const char *end) {
        const char *b[5], *e[5];
        const int n = FixIndex_Tokens(p, end, b, e, 5);
        if (n < 3)
            return;
        IndexEntry entry;
        if (!FixIndex_Number(b[0], e[0], &entry.lat) || !FixIndex_Number(b[1], e[1], &entry.lon) ||
            std::fabs(entry.lat) > 90 || std::fabs(entry.lon) > 180)
            return;
        if (!FixIndex_Copy(entry.ident, sizeof entry.ident, b[2], e[2]))
            return;
        entry.area[0] = entry.region[0] = '\0';
        if (n >= 4 && !FixIndex_Copy(entry.area, sizeof entry.area, b[3], e[3]))
            entry.area[0] = '\0';
        if (n >= 5 && !FixIndex_Copy(entry.region, sizeof entry.region, b[4], e[4]))
            entry.region[0] = '\0';
        entry.navType = 512;
        entry.sequence = sequence++;
        gFixes.push_back(entry);
    });
    std::sort(gFixes.begin(), gFixes.end(), FixIndex_Less);
}

void FixIndex_BuildNavaids(const std::string &text)
{
    gNavaids.clear();
    int sequence = 0;
    FixIndex_ForEachRow(text, [&](const char *p, const char *end) {
        const char *b[10], *e[10];
        const int n = FixIndex_Tokens(p, end, b, e, 10);
        if (n < 8)
            return;
        const size_t codeLength = (size_t)(e[0] - b[0]);
        int navType = 0;
        if (codeLength == 1 && *b[0] == '2')
            navType = 2; // NDB
        else if (codeLength == 1 && *b[0] == '3')
            navType = 4; // VOR
        else if (codeLength == 2 && b[0][0] == '1' && (b[0][1] == '2' || b[0][1] == '3'))
            navType = 1024; // DME
        if (navType == 0)
            return;
        IndexEntry entry;
        if (!FixIndex_Number(b[1], e[1], &entry.lat) || !FixIndex_Number(b[2], e[2], &entry.lon) ||
            std::fabs(entry.lat) > 90 || std::fabs(entry.lon) > 180)
            return;
        if (!FixIndex_Copy(entry.ident, sizeof entry.ident, b[7], e[7]))
            return;
        entry.area[0] = entry.region[0] = '\0';
        if (n >= 9 && !FixIndex_Copy(entry.area, sizeof entry.area, b[8], e[8]))
            entry.area[0] = '\0';
        if (n >= 10 && !FixIndex_Copy(entry.region, sizeof entry.region, b[9], e[9]))
            entry.region[0] = '\0';
        entry.navType = navType;
        entry.sequence = sequence++;
        gNavaids.push_back(entry);
    });
    std::sort(gNavaids.begin(), gNavaids.end(), FixIndex_Less);
}

/// The entries of one identifier, in file order.
std::pair<const IndexEntry *, const IndexEntry *> FixIndex_Range(const std::vector<IndexEntry> &list,
                                                                 const std::string &ident)
{
    if (ident.empty() || ident.size() >= sizeof(IndexEntry::ident) || list.empty())
        return {nullptr, nullptr};
    IndexEntry key;
    memcpy(key.ident, ident.c_str(), ident.size() + 1);
    key.sequence = -1;
    auto lo = std::lower_bound(list.begin(), list.end(), key, FixIndex_Less);
    auto hi = lo;
    while (hi != list.end() && strcmp(hi->ident, key.ident) == 0)
        ++hi;
    return {list.data() + (lo - list.begin()), list.data() + (hi - list.begin())};
}

void FixIndex_Set(const IndexEntry &e, FixPosition *out)
{
    out->lat = e.lat;
    out->lon = e.lon;
    out->navType = e.navType;
}

} // namespace

bool FixIndex_Load(const std::string &fixPath, const std::string &navPath)
{
    const FileStamp fixStamp = FixIndex_Stamp(fixPath), navStamp = FixIndex_Stamp(navPath);
    if (fixStamp.size < 0) {
        gFixes.clear();
        gFixStamp = FileStamp();
    } else if (!(fixStamp == gFixStamp)) {
        std::string text;
        if (Cifp_ReadWhole(fixPath.c_str(), (size_t)1 << 30, &text)) {
            FixIndex_BuildFixes(text);
            gFixStamp = fixStamp;
            PrintInfo("FixIndex_Load", "Indexed %i fixes of %s", (int)gFixes.size(), fixPath.c_str());
        } else {
            gFixes.clear();
            gFixStamp = FileStamp();
        }
    }
    if (navStamp.size < 0) {
        gNavaids.clear();
        gNavStamp = FileStamp();
    } else if (!(navStamp == gNavStamp)) {
        std::string text;
        if (Cifp_ReadWhole(navPath.c_str(), (size_t)1 << 30, &text)) {
            FixIndex_BuildNavaids(text);
            gNavStamp = navStamp;
            PrintInfo("FixIndex_Load", "Indexed %i navaids of %s", (int)gNavaids.size(), navPath.c_str());
        } else {
            gNavaids.clear();
            gNavStamp = FileStamp();
        }
    }
    return gFixStamp.size >= 0;
}

void FixIndex_BuildFromText(const std::string &fixText, const std::string &navText)
{
    FixIndex_BuildFixes(fixText);
    FixIndex_BuildNavaids(navText);
    gFixStamp = FileStamp();
    gNavStamp = FileStamp();
}

bool FixIndex_Terminal(const std::string &ident, const std::string &icao, FixPosition *out)
{
    auto range = FixIndex_Range(gFixes, ident);
    const IndexEntry *found = nullptr;
    for (const IndexEntry *e = range.first; e != range.second; ++e)
        if (icao == e->area)
            found = e;
    if (found != nullptr)
        FixIndex_Set(*found, out);
    return found != nullptr;
}

bool FixIndex_Fix(const std::string &ident, const std::string &region, FixPosition *out)
{
    auto range = FixIndex_Range(gFixes, ident);
    const IndexEntry *found = nullptr;
    for (const IndexEntry *e = range.first; e != range.second; ++e)
        if (region == e->region)
            found = e;
    if (found != nullptr)
        FixIndex_Set(*found, out);
    return found != nullptr;
}

bool FixIndex_Navaid(const std::string &ident, const std::string &region, FixPosition *out)
{
    auto range = FixIndex_Range(gNavaids, ident);
    for (const IndexEntry *e = range.first; e != range.second; ++e)
        if (region == e->region) {
            FixIndex_Set(*e, out);
            return true;
        }
    return false;
}

size_t FixIndex_FixCount()
{
    return gFixes.size();
}

size_t FixIndex_NavaidCount()
{
    return gNavaids.size();
}
