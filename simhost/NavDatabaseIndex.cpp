// The search structures of the navigation database: every identifier suffix in sorted order (an
// identifier fragment finds the identifiers that contain it by binary search) and a 1-degree grid per
// navaid type (the nearest match is searched ring by ring outwards from the position).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "NavDatabase.h"

namespace simhost {
namespace detail {

namespace {

const int kRows = 180, kColumns = 360;
const double kDegToRad = 0.017453292519943295;
/// Above this many entries with a matching identifier the spatial search is quicker.
const size_t kCandidateLimit = 4096;

int BitOf(XPLMNavType type)
{
    for (int bit = 0; bit < 13; bit++)
        if (type == (1 << bit))
            return bit;
    return -1;
}

int RowOf(double lat)
{
    int row = (int)std::floor(lat + 90.0);
    return std::clamp(row, 0, kRows - 1);
}

int ColumnOf(double lon)
{
    int column = (int)std::floor(lon + 180.0) % kColumns;
    return column < 0 ? column + kColumns : column;
}

/// Central angle between two points, radians.
double Angle(double lat1, double lon1, double lat2, double lon2)
{
    double dLat = (lat2 - lat1) * kDegToRad;
    double dLon = (lon2 - lon1) * kDegToRad;
    double s1 = std::sin(dLat / 2), s2 = std::sin(dLon / 2);
    double h = s1 * s1 + std::cos(lat1 * kDegToRad) * std::cos(lat2 * kDegToRad) * s2 * s2;
    return 2.0 * std::asin(std::sqrt(std::min(1.0, std::max(0.0, h))));
}

/// A lower bound of the central angle from the query to any cell of ring r (cells r rows or r columns
/// away): r - 1 degrees of latitude, or r - 1 degrees of longitude at the highest latitude of the band.
double RingBound(int r, int queryRow)
{
    if (r <= 1)
        return 0;
    double degrees = r - 1;
    double byLat = degrees * kDegToRad;
    if (r - 1 >= 180)
        return byLat;
    double south = queryRow - 90 - (r - 1), north = queryRow - 90 + r;
    double highest = std::min(90.0, std::max(std::fabs(south), std::fabs(north)));
    double c = std::cos(highest * kDegToRad);
    double byLon = 2.0 * std::asin(std::min(1.0, c * std::sin(degrees * kDegToRad / 2)));
    return std::min(byLat, byLon);
}

} // namespace

struct NavIndex::Query {
    const char *name;
    const char *id;
    const int *frequency;
    XPLMNavType types;
    bool hasPosition;
    double lat, lon;
};

void NavIndex::Clear()
{
    ids_.clear();
    idStart_.clear();
    idRefs_.clear();
    suffixes_.clear();
    for (Grid &g : grids_) {
        g.cellStart.clear();
        g.refs.clear();
    }
    std::fill(first_, first_ + kTypeBits, -1);
    std::fill(last_, last_ + kTypeBits, -1);
}

std::string_view NavIndex::SuffixText(const Suffix &s) const
{
    return std::string_view(ids_[s.idIndex]).substr(s.offset);
}

void NavIndex::Build(const std::vector<NavAid> &entries)
{
    Clear();
    const uint32_t count = (uint32_t)entries.size();

    // Identifiers: distinct, each with its references in ascending order.
    std::vector<uint32_t> byId(count);
    for (uint32_t i = 0; i < count; i++)
        byId[i] = i;
    std::stable_sort(byId.begin(), byId.end(),
                     [&](uint32_t a, uint32_t b) { return entries[a].id < entries[b].id; });
    for (uint32_t k = 0; k < count; k++) {
        if (k == 0 || entries[byId[k]].id != entries[byId[k - 1]].id) {
            ids_.push_back(entries[byId[k]].id);
            idStart_.push_back(k);
        }
        idRefs_.push_back(byId[k]);
    }
    idStart_.push_back(count);
    for (uint32_t i = 0; i < ids_.size(); i++)
        for (uint32_t off = 0; off < ids_[i].size(); off++)
            suffixes_.push_back(Suffix{i, off});
    std::sort(suffixes_.begin(), suffixes_.end(),
              [&](const Suffix &a, const Suffix &b) { return SuffixText(a) < SuffixText(b); });

    // Types: the database is sorted by type, so each type is one range of references.
    for (uint32_t i = 0; i < count; i++) {
        int bit = BitOf(entries[i].type);
        if (bit < 0)
            continue;
        if (first_[bit] < 0)
            first_[bit] = (int)i;
        last_[bit] = (int)i;
    }

    // One grid per type, cells in row-major order.
    for (int bit = 0; bit < kTypeBits; bit++) {
        if (first_[bit] < 0)
            continue;
        Grid &g = grids_[bit];
        g.cellStart.assign(kRows * kColumns + 1, 0);
        for (int i = first_[bit]; i <= last_[bit]; i++)
            g.cellStart[RowOf(entries[i].lat) * kColumns + ColumnOf(entries[i].lon) + 1]++;
        for (size_t c = 1; c < g.cellStart.size(); c++)
            g.cellStart[c] += g.cellStart[c - 1];
        g.refs.resize(g.cellStart.back());
        std::vector<uint32_t> fill(g.cellStart.begin(), g.cellStart.end() - 1);
        for (int i = first_[bit]; i <= last_[bit]; i++)
            g.refs[fill[RowOf(entries[i].lat) * kColumns + ColumnOf(entries[i].lon)]++] = (uint32_t)i;
    }
}

bool NavIndex::Matches(const NavAid &a, const Query &q) const
{
    if ((a.type & q.types) == 0)
        return false;
    // A frequency screens out radio navaids without it, but not fixes and airports.
    if (q.frequency != nullptr && a.type != xplm_Nav_Fix && a.type != xplm_Nav_Airport &&
        a.frequency != *q.frequency)
        return false;
    if (q.id != nullptr && strstr(a.id.c_str(), q.id) == nullptr)
        return false;
    if (q.name != nullptr && strstr(a.name.c_str(), q.name) == nullptr)
        return false;
    return true;
}

XPLMNavRef NavIndex::FindByIdentifier(const std::vector<NavAid> &entries, const Query &q, bool &decided) const
{
    decided = false;
    std::string_view fragment(q.id);
    auto low = std::lower_bound(suffixes_.begin(), suffixes_.end(), fragment,
                                [&](const Suffix &s, std::string_view f) { return SuffixText(s) < f; });
    std::vector<uint32_t> idIndexes;
    size_t candidates = 0;
    for (auto it = low; it != suffixes_.end(); ++it) {
        std::string_view text = SuffixText(*it);
        if (text.compare(0, fragment.size(), fragment) != 0)
            break;
        idIndexes.push_back(it->idIndex);
        if (idIndexes.size() > kCandidateLimit)
            return XPLM_NAV_NOT_FOUND;
    }
    std::sort(idIndexes.begin(), idIndexes.end());
    idIndexes.erase(std::unique(idIndexes.begin(), idIndexes.end()), idIndexes.end());
    for (uint32_t idIndex : idIndexes)
        candidates += idStart_[idIndex + 1] - idStart_[idIndex];
    if (candidates > kCandidateLimit)
        return XPLM_NAV_NOT_FOUND;

    decided = true;
    XPLMNavRef best = XPLM_NAV_NOT_FOUND;
    double bestAngle = 0;
    for (uint32_t idIndex : idIndexes) {
        for (uint32_t k = idStart_[idIndex]; k < idStart_[idIndex + 1]; k++) {
            uint32_t ref = idRefs_[k];
            const NavAid &a = entries[ref];
            if (!Matches(a, q))
                continue;
            if (!q.hasPosition) {
                best = std::max(best, (XPLMNavRef)ref);
                continue;
            }
            double angle = Angle(q.lat, q.lon, a.lat, a.lon);
            if (best == XPLM_NAV_NOT_FOUND || angle < bestAngle || (angle == bestAngle && (int)ref < best)) {
                best = (XPLMNavRef)ref;
                bestAngle = angle;
            }
        }
    }
    return best;
}

XPLMNavRef NavIndex::FindNearest(const std::vector<NavAid> &entries, const Query &q) const
{
    const int row0 = RowOf(q.lat), column0 = ColumnOf(q.lon);
    XPLMNavRef best = XPLM_NAV_NOT_FOUND;
    double bestAngle = 0;
    auto visit = [&](int row, int column) {
        const int cell = row * kColumns + column;
        for (int bit = 0; bit < kTypeBits; bit++) {
            const Grid &g = grids_[bit];
            if ((q.types & (1 << bit)) == 0 || g.cellStart.empty())
                continue;
            for (uint32_t k = g.cellStart[cell]; k < g.cellStart[cell + 1]; k++) {
                uint32_t ref = g.refs[k];
                const NavAid &a = entries[ref];
                if (!Matches(a, q))
                    continue;
                double angle = Angle(q.lat, q.lon, a.lat, a.lon);
                if (best == XPLM_NAV_NOT_FOUND || angle < bestAngle || (angle == bestAngle && (int)ref < best)) {
                    best = (XPLMNavRef)ref;
                    bestAngle = angle;
                }
            }
        }
    };
    // Ring r holds the cells r rows or r columns away; beyond r = 180 every cell has been seen.
    for (int r = 0; r <= 180; r++) {
        if (best != XPLM_NAV_NOT_FOUND && bestAngle <= RingBound(r, row0))
            break;
        for (int dr = -r; dr <= r; dr++) {
            int row = row0 + dr;
            if (row < 0 || row >= kRows)
                continue;
            if (dr == -r || dr == r) {
                int from = std::max(-r, -179), to = std::min(r, 180);
                for (int dc = from; dc <= to; dc++)
                    visit(row, ((column0 + dc) % kColumns + kColumns) % kColumns);
            } else if (r < 180) {
                visit(row, ((column0 - r) % kColumns + kColumns) % kColumns);
                visit(row, (column0 + r) % kColumns);
            } else if (r == 180) {
                visit(row, (column0 + r) % kColumns);
            }
        }
    }
    return best;
}

XPLMNavRef NavIndex::FindLast(const std::vector<NavAid> &entries, const Query &q) const
{
    for (int bit = kTypeBits - 1; bit >= 0; bit--) {
        if ((q.types & (1 << bit)) == 0 || first_[bit] < 0)
            continue;
        for (int ref = last_[bit]; ref >= first_[bit]; ref--)
            if (Matches(entries[ref], q))
                return ref;
    }
    return XPLM_NAV_NOT_FOUND;
}

XPLMNavRef NavIndex::Find(const std::vector<NavAid> &entries, const char *nameFragment, const char *idFragment,
                          const float *lat, const float *lon, const int *frequency, XPLMNavType types) const
{
    Query q;
    q.name = nameFragment != nullptr && nameFragment[0] != 0 ? nameFragment : nullptr;
    q.id = idFragment != nullptr && idFragment[0] != 0 ? idFragment : nullptr;
    q.frequency = frequency;
    q.types = types;
    q.hasPosition = lat != nullptr && lon != nullptr;
    q.lat = q.hasPosition ? *lat : 0;
    q.lon = q.hasPosition ? *lon : 0;
    if (q.hasPosition && !(std::isfinite(q.lat) && std::isfinite(q.lon)))
        return XPLM_NAV_NOT_FOUND;
    if (q.id != nullptr) {
        bool decided = false;
        XPLMNavRef ref = FindByIdentifier(entries, q, decided);
        if (decided)
            return ref;
    }
    return q.hasPosition ? FindNearest(entries, q) : FindLast(entries, q);
}

XPLMNavRef NavIndex::FirstOfType(XPLMNavType type) const
{
    int bit = BitOf(type);
    return bit < 0 || first_[bit] < 0 ? XPLM_NAV_NOT_FOUND : first_[bit];
}

XPLMNavRef NavIndex::LastOfType(XPLMNavType type) const
{
    int bit = BitOf(type);
    return bit < 0 || last_[bit] < 0 ? XPLM_NAV_NOT_FOUND : last_[bit];
}

} // namespace detail
} // namespace simhost
