// TracciaTaxiPath: the start and goal nodes, the shortest-route labelling and the walk back along the
// stored predecessors into the flight record's taxi points.
#include "taxi/TaxiSearch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <queue>
#include <string>

#include "monitor/Functions.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "taxi/TaxiGuide.h"
#include "taxi/TaxiKml.h"
#include "taxi/TaxiNames.h"
#include "ui/Utils.h"

TaxiGraph gTaxiGraph;

namespace
{

const char *const kTag = "TracciaTaxiPath";
/// Smallest label: a node reached is never labelled 0, even under the aircraft.
const float kMinLabel_nm = 1e-6f;
/// Distance behind the aircraft where the search starts when it stands at a gate.
const float kBehindGate_nm = 0.02f;
/// Most start nodes tried, nearest first, before the search gives up.
const int kMaxStarts = 4;
/// An aircraft this close to a gate's position stands at it.
const float kAtGate_nm = 0.05f;

float TaxiSearch_distance(double lat1, double lon1, double lat2, double lon2)
{
    distanceToCoord d{};
    CalcolaDistanzaCoordinataMini(lat1, lon1, lat2, lon2, &d, nullptr);
    return d.distance;
}

/// The gate position the aircraft stands at, -1 when none.
int TaxiSearch_gateUnderAircraft(const pilot *record)
{
    for (const Parser::parking &position : record->parser.parkings) {
        if (position.isGate == 1 &&
            TaxiSearch_distance(record->latitudine, record->longitudine, position.lat, position.lon) < kAtGate_nm)
            return position.id;
    }
    return -1;
}

/// True when the comma-separated list names the runway.
bool TaxiSearch_zoneNames(const std::string &zone, const char *runway)
{
    size_t length = strlen(runway);
    size_t at = 0;
    while (length > 0 && at <= zone.size()) {
        size_t end = zone.find(',', at);
        if (end == std::string::npos)
            end = zone.size();
        if (end - at == length && zone.compare(at, length, runway) == 0)
            return true;
        at = end + 1;
    }
    return false;
}

/// Network goals, nearest to the threshold first: the taxiway ends of the runway's departure-zone edges,
/// else the taxiway node nearest the threshold.
std::vector<int> TaxiSearch_networkGoals(const TaxiGraph &graph, const Parser &airport,
                                         const pilot::runwayStruct &runway)
{
    std::vector<int> goals;
    for (const Parser::taxiEdge &edge : airport.taxiEdges) {
        if (!TaxiSearch_zoneNames(edge.departureZone, runway.name))
            continue;
        for (int fileId : {edge.from, edge.to}) {
            int n = TaxiGraph_NodeOfFileId(graph, fileId);
            if (n >= 0 && graph.nodes[(size_t)n].taxiway)
                goals.push_back(n);
        }
    }
    std::vector<std::pair<float, int>> byDistance;
    bool fromZones = !goals.empty();
    if (!fromZones) {
        for (size_t i = 0; i < graph.nodes.size(); i++)
            if (graph.nodes[i].taxiway && graph.nodes[i].edgeCount > 0)
                goals.push_back((int)i);
    }
    for (int n : goals)
        byDistance.emplace_back(
            TaxiSearch_distance(runway.lat, runway.lon, graph.nodes[(size_t)n].lat, graph.nodes[(size_t)n].lon), n);
    std::sort(byDistance.begin(), byDistance.end());
    byDistance.erase(std::unique(byDistance.begin(), byDistance.end()), byDistance.end());
    goals.clear();
    for (const auto &entry : byDistance)
        goals.push_back(entry.second);
    // Without a departure zone only the nearest node is the holding point.
    if (!fromZones && !goals.empty())
        goals.resize(1);
    return goals;
}

/// The route end among the reached goals: for a network the first reached (nearest the threshold), for
/// painted lines the one with the smallest label plus distance from the runway point.
int TaxiSearch_routeEnd(const TaxiGraph &graph, const std::vector<int> &goals, double lat, double lon)
{
    int best = -1;
    float bestValue = kTaxiUnreached;
    for (int n : goals) {
        float label = graph.label[(size_t)n];
        if (label == kTaxiUnreached)
            continue;
        if (graph.network)
            return n;
        float value = label + TaxiSearch_distance(lat, lon, graph.nodes[(size_t)n].lat, graph.nodes[(size_t)n].lon);
        if (value < bestValue) {
            best = n;
            bestValue = value;
        }
    }
    return best;
}

/// Copies the labels into the painted-line nodes (0 = not reached), as the flood KML shows them.
void TaxiSearch_keepLabels(const TaxiGraph &graph, Parser &airport)
{
    if (graph.network)
        return;
    for (size_t i = 0; i < graph.nodes.size() && i < airport.puntiTaxi.size(); i++)
        airport.puntiTaxi[i].distanzaFlooding = graph.label[i] == kTaxiUnreached ? 0.0f : graph.label[i];
}

} // namespace

int CalcolaDistanzaCheckPoint(const std::vector<connection> &connections, TaxiGraph &graph,
                              const std::vector<int> &targets)
{
    typedef std::pair<float, int> Entry;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    std::vector<char> settled(graph.nodes.size(), 0), isTarget(graph.nodes.size(), 0);
    int targetsLeft = 0;
    for (int t : targets) {
        if (t >= 0 && (size_t)t < graph.nodes.size() && !isTarget[(size_t)t]) {
            isTarget[(size_t)t] = 1;
            targetsLeft++;
        }
    }
    const int wanted = targetsLeft;
    std::vector<const connection *> startOf(graph.nodes.size(), nullptr);
    for (const connection &c : connections) {
        if (c.id >= 0 && (size_t)c.id < graph.nodes.size()) {
            open.emplace(graph.label[(size_t)c.id], c.id);
            startOf[(size_t)c.id] = &c;
        }
    }
    while (!open.empty() && targetsLeft > 0) {
        Entry top = open.top();
        open.pop();
        size_t a = (size_t)top.second;
        if (settled[a] || top.first > graph.label[a])
            continue;
        settled[a] = 1;
        if (isTarget[a])
            targetsLeft--;
        const TaxiGraph::node &from = graph.nodes[a];
        const connection *start = graph.previous[a] < 0 ? startOf[a] : nullptr;
        for (int k = 0; k < from.edgeCount; k++) {
            const TaxiGraph::edge &e = graph.edges[(size_t)(from.firstEdge + k)];
            if (start != nullptr && !start->collectedIDs.empty() &&
                std::find(start->collectedIDs.begin(), start->collectedIDs.end(), e.to) == start->collectedIDs.end())
                continue;
            float label = std::max(graph.label[a] + e.length_nm, kMinLabel_nm);
            if (settled[(size_t)e.to] || !(label < graph.label[(size_t)e.to]))
                continue;
            graph.label[(size_t)e.to] = label;
            graph.previous[(size_t)e.to] = (int)a;
            graph.previousName[(size_t)e.to] = e.name;
            open.emplace(label, e.to);
        }
    }
    return wanted - targetsLeft;
}

int CalcolaDistanzaInversa(unsigned node, pilot *record, const TaxiGraph &graph)
{
    if ((size_t)node >= graph.nodes.size() || graph.label[node] == kTaxiUnreached) {
        PrintInfo(kTag, "CalcolaDistanzaInversa: node %u was not reached, no route", node);
        return 0;
    }
    size_t first = record->taxiPoints.size();
    int at = (int)node, after = -1;
    // A start node has no predecessor; the walk takes at most one step per node of the graph.
    for (size_t steps = 0; at >= 0 && steps < graph.nodes.size(); steps++) {
        const TaxiGraph::node &n = graph.nodes[(size_t)at];
        int nameIndex = graph.previousName[(size_t)at];
        // A start node is named by the edge the route leaves it on.
        if (nameIndex < 0 && after >= 0)
            nameIndex = graph.previousName[(size_t)after];
        const char *name = nameIndex >= 0 ? graph.names[(size_t)nameIndex].c_str() : "";
        int globalID = graph.network ? record->parser.taxiNodes[(size_t)n.source].id : n.source;
        record->AddTaxiPoint(n.nodeInLine, globalID, graph.label[(size_t)at], name, n.lineID, n.lat, n.lon);
        if (!graph.network && (size_t)n.source < record->parser.puntiTaxi.size())
            record->taxiPoints.back().neighbourIDs = record->parser.puntiTaxi[(size_t)n.source].neighbourIDs;
        after = at;
        at = graph.previous[(size_t)at];
    }
    if (at >= 0) {
        PrintInfo(kTag, "CalcolaDistanzaInversa: the walk from node %u did not reach a start node, no route", node);
        record->taxiPoints.resize(first);
        return 0;
    }
    return (int)(record->taxiPoints.size() - first);
}

void TracciaTaxiPath(pilot *record)
{
    PrintInfo(kTag, "TracciaTaxiPath: taxiPoints size now: %i", (int)record->taxiPoints.size());
    Taxi_ClearRoute(record);
    if (record->datiPilotaImpostati == 1 && record->isOnGround == 0) {
        PrintInfo(kTag, "Taxi Path Drawer: the aircraft is in the air, no taxi route");
        return;
    }
    const pilot::runwayStruct &runway = record->departureRunwayStruct;
    if (runway.index == 0 || runway.name[0] == 0) {
        PrintInfo(kTag, "Taxi Path Drawer: no departure runway, no taxi route");
        return;
    }
    Parser &airport = record->parser;
    TaxiGraph &graph = gTaxiGraph;
    TaxiGraph_Build(airport, &graph);
    if (developerDEBUG || userDebug == 1)
        PrintInfo(kTag, "Drawing taxi path to holding point for %s: ", record->nomePilota);
    PrintInfo(kTag, "Taxi Path Drawer: %s over %s, %i nodes, %i edges, to runway %s", record->depAirportICAO.c_str(),
              graph.network ? "its taxi network" : "its painted taxi lines", (int)graph.nodes.size(),
              (int)graph.edges.size(), runway.name);
    if (graph.edges.empty()) {
        PrintInfo(kTag, "Taxi Path Drawer: Warning! no taxi network nor taxi lines, no taxi route");
        return;
    }

    // Start: the nodes near the aircraft, or near the point behind it at a gate (its nose faces the gate).
    double startLat = record->latitudine, startLon = record->longitudine;
    if (TaxiSearch_gateUnderAircraft(record) >= 0) {
        coordinate behind;
        float true_deg = invertiGradi(record->headingAttuale - record->variazioneMagnetica);
        DisegnaTraiettoria(startLat, startLon, true_deg, kBehindGate_nm, &behind);
        startLat = behind.lat;
        startLon = behind.lon;
        PrintInfo(kTag, "Taxi Path Drawer: parte da gate, cerco la taxi piu' vicina alle spalle");
    }
    std::vector<int> starts;
    float box_deg = 0;
    int startNode = TaxiGraph_Nearest(startLat, startLon, graph, starts, &box_deg);
    if (startNode < 0) {
        PrintInfo(kTag, "Taxi Path Drawer: Warning! no taxi node within 0.004 degrees of the aircraft, no taxi route");
        return;
    }

    // Goal: the holding point of the runway.
    std::vector<int> goals;
    double goalLat = runway.lat, goalLon = runway.lon;
    if (graph.network) {
        goals = TaxiSearch_networkGoals(graph, airport, runway);
    } else {
        coordinate point;
        DisegnaTraiettoria(runway.lat, runway.lon, runway.heading, runway.thresholdLength / 1852.0f / 1.5f, &point);
        goalLat = point.lat;
        goalLon = point.lon;
        TaxiGraph_Nearest(goalLat, goalLon, graph, goals);
    }
    if (goals.empty()) {
        PrintInfo(kTag, "Taxi Path Drawer: Warning! taxiPiuVicinaPista empty (-1), no taxi route");
        return;
    }

    // From the node nearest the aircraft; when no holding point can be reached from it, from the next
    // nearest of the box in turn (a few at most).
    std::vector<std::pair<float, int>> byDistance;
    for (int n : starts) {
        const TaxiGraph::node &s = graph.nodes[(size_t)n];
        byDistance.emplace_back(TaxiSearch_distance(startLat, startLon, s.lat, s.lon), n);
    }
    std::sort(byDistance.begin(), byDistance.end());
    int reached = 0, routeEnd = -1, tries = 0;
    for (const auto &start : byDistance) {
        if (tries++ == kMaxStarts)
            break;
        graph.label.assign(graph.nodes.size(), kTaxiUnreached);
        graph.previous.assign(graph.nodes.size(), -1);
        graph.previousName.assign(graph.nodes.size(), -1);
        const TaxiGraph::node &s = graph.nodes[(size_t)start.second];
        graph.label[(size_t)start.second] =
            std::max(TaxiSearch_distance(record->latitudine, record->longitudine, s.lat, s.lon), kMinLabel_nm);
        reached = CalcolaDistanzaCheckPoint({connection{start.second, {}}}, graph, goals);
        routeEnd = TaxiSearch_routeEnd(graph, goals, goalLat, goalLon);
        if (routeEnd >= 0)
            break;
    }
    TaxiSearch_keepLabels(graph, airport);
    PrintInfo(kTag,
              "Taxi Path Drawer: %i of %i start nodes within %.3f degrees tried, %i of %i holding-point nodes reached",
              std::min(tries, (int)starts.size()), (int)starts.size(), box_deg, reached, (int)goals.size());
    if (routeEnd >= 0)
        CalcolaDistanzaInversa((unsigned)routeEnd, record, graph);
    if (record->taxiPoints.empty()) {
        PrintInfo(kTag, "Taxi Path Drawer: Warning! taxiPoints vector empty!");
    } else {
        char via[TAXI_VIA_SIZE];
        Taxi_ViaText(record, via, sizeof via);
        PrintInfo(kTag, "Taxi Path Drawer: route of %i points, %.2f nm, via '%s'", (int)record->taxiPoints.size(),
                  record->taxiPoints.front().distanzaFlooding, via);
        TracciaTaxiGuide(record);
    }
    Taxi_WriteKml(record, graph);
    PrintInfo(kTag, "Taxi Path Drawer: -------------------- end -------------------- %i",
              (int)record->taxiPoints.size());
}

void Taxi_HoldingPoint(const pilot *record, double *lat, double *lon)
{
    if (!record->taxiPoints.empty()) {
        *lat = record->taxiPoints.front().lat;
        *lon = record->taxiPoints.front().lon;
    } else {
        *lat = record->departureRunwayStruct.lat;
        *lon = record->departureRunwayStruct.lon;
    }
}
