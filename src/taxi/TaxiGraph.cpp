// The taxi route search's graph: one node per network node or painted-line node, edges in one array
// grouped by the node they leave.
#include "taxi/TaxiGraph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "monitor/Functions.h"
#include "plugin/Log.h"

const float kTaxiUnreached = std::numeric_limits<float>::infinity();
const float kTaxiMaxEdge_nm = 50.0f;

namespace
{

const char *const kTag = "TaxiGraph";
/// Search boxes around a position, degrees: the first that holds a node is used.
const float kBoxSteps_deg[] = {0.001f, 0.002f, 0.003f, 0.004f};

struct PendingEdge {
    int from, to, name;
};

float TaxiGraph_distance(const TaxiGraph::node &a, const TaxiGraph::node &b)
{
    distanceToCoord d{};
    CalcolaDistanzaCoordinataMini(a.lat, a.lon, b.lat, b.lon, &d, nullptr);
    return d.distance;
}

/// Index of name in graph.names, added when new.
int TaxiGraph_intern(TaxiGraph *graph, std::unordered_map<std::string, int> &known, const std::string &name)
{
    auto found = known.find(name);
    if (found != known.end())
        return found->second;
    int index = (int)graph->names.size();
    graph->names.push_back(name);
    known.emplace(name, index);
    return index;
}

/// Lays the pending edges out by the node they leave; over-long ones are dropped and counted.
int TaxiGraph_layOut(TaxiGraph *graph, const std::vector<PendingEdge> &pending)
{
    int tooLong = 0;
    std::vector<TaxiGraph::node> &nodes = graph->nodes;
    std::vector<float> lengths(pending.size());
    for (size_t i = 0; i < pending.size(); i++) {
        lengths[i] = TaxiGraph_distance(nodes[(size_t)pending[i].from], nodes[(size_t)pending[i].to]);
        if (!(lengths[i] <= kTaxiMaxEdge_nm)) {
            lengths[i] = -1;
            tooLong++;
            continue;
        }
        nodes[(size_t)pending[i].from].edgeCount++;
    }
    int first = 0;
    for (TaxiGraph::node &n : nodes) {
        n.firstEdge = first;
        first += n.edgeCount;
        n.edgeCount = 0;
    }
    graph->edges.resize((size_t)first);
    for (size_t i = 0; i < pending.size(); i++) {
        if (lengths[i] < 0)
            continue;
        TaxiGraph::node &from = nodes[(size_t)pending[i].from];
        graph->edges[(size_t)(from.firstEdge + from.edgeCount++)] = {pending[i].to, lengths[i], pending[i].name};
    }
    return tooLong;
}

void TaxiGraph_fromNetwork(const Parser &airport, TaxiGraph *graph)
{
    graph->network = true;
    graph->nodes.resize(airport.taxiNodes.size());
    graph->fileIds.reserve(airport.taxiNodes.size());
    for (size_t i = 0; i < airport.taxiNodes.size(); i++) {
        graph->nodes[i].lat = airport.taxiNodes[i].lat;
        graph->nodes[i].lon = airport.taxiNodes[i].lon;
        graph->nodes[i].source = (int)i;
        graph->fileIds.emplace_back(airport.taxiNodes[i].id, (int)i);
    }
    // A number given twice names its first node.
    std::stable_sort(graph->fileIds.begin(), graph->fileIds.end(),
                     [](const std::pair<int, int> &a, const std::pair<int, int> &b) { return a.first < b.first; });
    graph->fileIds.erase(
        std::unique(graph->fileIds.begin(), graph->fileIds.end(),
                    [](const std::pair<int, int> &a, const std::pair<int, int> &b) { return a.first == b.first; }),
        graph->fileIds.end());

    std::unordered_map<std::string, int> known;
    std::vector<PendingEdge> pending;
    pending.reserve(airport.taxiEdges.size() * 2);
    int unknown = 0;
    for (const Parser::taxiEdge &e : airport.taxiEdges) {
        int from = TaxiGraph_NodeOfFileId(*graph, e.from), to = TaxiGraph_NodeOfFileId(*graph, e.to);
        if (from < 0 || to < 0) {
            unknown++;
            continue;
        }
        if (e.runway) {
            graph->nodes[(size_t)from].taxiway = false;
            graph->nodes[(size_t)to].taxiway = false;
            continue;
        }
        int name = TaxiGraph_intern(graph, known, e.name);
        pending.push_back({from, to, name});
        if (!e.oneWay)
            pending.push_back({to, from, name});
    }
    int tooLong = TaxiGraph_layOut(graph, pending);
    if (unknown > 0 || tooLong > 0)
        PrintInfo(kTag, "Taxi network: %i edges name no node of the airport, %i are longer than %.0f nm; left out",
                  unknown, tooLong, kTaxiMaxEdge_nm);
}

void TaxiGraph_fromLines(const Parser &airport, TaxiGraph *graph)
{
    const std::vector<Parser::linePoint> &points = airport.puntiTaxi;
    graph->nodes.resize(points.size());
    std::unordered_map<std::string, int> known;
    std::vector<int> lineName(points.size());
    for (size_t i = 0; i < points.size(); i++) {
        TaxiGraph::node &n = graph->nodes[i];
        n.lat = points[i].lat;
        n.lon = points[i].lon;
        n.source = (int)i;
        n.lineID = points[i].lineID;
        n.nodeInLine = points[i].id;
        lineName[i] = i > 0 && points[i].lineID == points[i - 1].lineID
                          ? lineName[i - 1]
                          : TaxiGraph_intern(graph, known, points[i].name);
    }
    std::vector<PendingEdge> pending;
    pending.reserve(points.size() * 3);
    int badJunctions = 0;
    for (size_t i = 0; i < points.size(); i++) {
        // Consecutive nodes of one line, both ways; a junction leads onto the partner's line.
        if (i + 1 < points.size() && points[i + 1].lineID == points[i].lineID && points[i + 1].id == points[i].id + 1) {
            pending.push_back({(int)i, (int)i + 1, lineName[i]});
            pending.push_back({(int)i + 1, (int)i, lineName[i]});
        }
        for (int partner : points[i].neighbourIDs) {
            if (partner < 0 || (size_t)partner >= points.size() || (size_t)partner == i) {
                badJunctions++;
                continue;
            }
            pending.push_back({(int)i, partner, lineName[(size_t)partner]});
        }
    }
    int tooLong = TaxiGraph_layOut(graph, pending);
    if (badJunctions > 0 || tooLong > 0)
        PrintInfo(kTag, "Taxi lines: %i junctions name no node, %i segments are longer than %.0f nm; left out",
                  badJunctions, tooLong, kTaxiMaxEdge_nm);
}

} // namespace

void TaxiGraph_Build(const Parser &airport, TaxiGraph *graph)
{
    *graph = TaxiGraph();
    if (!airport.taxiNodes.empty() && !airport.taxiEdges.empty())
        TaxiGraph_fromNetwork(airport, graph);
    else
        TaxiGraph_fromLines(airport, graph);
}

int TaxiGraph_NodeOfFileId(const TaxiGraph &graph, int fileId)
{
    auto found = std::lower_bound(graph.fileIds.begin(), graph.fileIds.end(), std::make_pair(fileId, -1));
    return found != graph.fileIds.end() && found->first == fileId ? found->second : -1;
}

int cercaTaxiPiuVicina(double lat, double lon, float box, const TaxiGraph &graph, std::vector<int> &out)
{
    int nearest = -1;
    double nearest_deg = 0;
    for (size_t i = 0; i < graph.nodes.size(); i++) {
        double e = std::max(std::fabs(lat - graph.nodes[i].lat), std::fabs(lon - graph.nodes[i].lon));
        if (!(e < box))
            continue;
        out.push_back((int)i);
        if (nearest < 0 || e < nearest_deg) {
            nearest = (int)i;
            nearest_deg = e;
        }
    }
    return nearest;
}

int TaxiGraph_Nearest(double lat, double lon, const TaxiGraph &graph, std::vector<int> &out, float *box_deg)
{
    // One pass finds the nearest node, and with it the smallest box that holds one.
    double nearest_deg = std::numeric_limits<double>::infinity();
    for (const TaxiGraph::node &n : graph.nodes)
        nearest_deg = std::min(nearest_deg, std::max(std::fabs(lat - n.lat), std::fabs(lon - n.lon)));
    for (float box : kBoxSteps_deg) {
        if (nearest_deg < box) {
            if (box_deg != nullptr)
                *box_deg = box;
            return cercaTaxiPiuVicina(lat, lon, box, graph, out);
        }
    }
    return -1;
}
