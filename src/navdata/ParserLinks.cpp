// Junction links of the painted taxi lines: nodes of different lines lying on the same spot.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "navdata/ParserRows.h"

namespace {

/// Two nodes closer than this in latitude and in longitude (degrees) are one junction.
const double kJunctionTolerance = 0.0001;
/// Grid cell side: twice the tolerance, so that a junction partner always lies in a neighbouring cell
/// even when the division rounds.
const double kCellSize = 2 * kJunctionTolerance;

struct CellEntry {
    int64_t cellLat, cellLon;
    int index;
    bool operator<(const CellEntry &other) const
    {
        if (cellLat != other.cellLat)
            return cellLat < other.cellLat;
        if (cellLon != other.cellLon)
            return cellLon < other.cellLon;
        return index < other.index;
    }
};

int64_t CellOf(double degrees)
{
    return (int64_t)std::floor(degrees / kCellSize);
}

} // namespace

// Same result as comparing every node with every other, in the grid's time: each node looks only at
// the nodes of its own and the eight neighbouring cells, and its partners are sorted by index.
void Parser_LinkJunctions(std::vector<Parser::linePoint> &points)
{
    std::vector<CellEntry> cells;
    cells.reserve(points.size());
    for (size_t i = 0; i < points.size(); i++)
        cells.push_back(CellEntry{CellOf(points[i].lat), CellOf(points[i].lon), (int)i});
    std::sort(cells.begin(), cells.end());

    std::vector<int> partners;
    for (size_t i = 0; i < points.size(); i++) {
        Parser::linePoint &node = points[i];
        partners.clear();
        int64_t cellLat = CellOf(node.lat), cellLon = CellOf(node.lon);
        for (int64_t dLat = -1; dLat <= 1; dLat++) {
            for (int64_t dLon = -1; dLon <= 1; dLon++) {
                CellEntry first{cellLat + dLat, cellLon + dLon, -1};
                for (auto it = std::lower_bound(cells.begin(), cells.end(), first);
                     it != cells.end() && it->cellLat == first.cellLat && it->cellLon == first.cellLon; ++it) {
                    const Parser::linePoint &other = points[(size_t)it->index];
                    if ((size_t)it->index != i &&
                        std::max(std::fabs(node.lat - other.lat), std::fabs(node.lon - other.lon)) <
                            kJunctionTolerance)
                        partners.push_back(it->index);
                }
            }
        }
        std::sort(partners.begin(), partners.end());
        for (int j : partners)
            node.neighbourIDs.push_back(points[(size_t)j].globalID);
    }
}
