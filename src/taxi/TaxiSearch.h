// The taxi route search: from the aircraft to the departure runway's holding point over the departure
// airport's taxi routing network, or its painted taxi lines when it has none.
#pragma once

#include <vector>

#include "taxi/TaxiGraph.h"

class pilot;

/// A start of the search: a node and the nodes to label from it (empty: every edge of the node).
struct connection {
    int id = 0;
    std::vector<int> collectedIDs;
};

/// The graph of the last search (rebuilt by each one).
extern TaxiGraph gTaxiGraph;

/// Searches the taxi route of the record's aircraft to its departure runway into taxiPoints (from the route
/// end at the runway back to the aircraft's start node; empty when there is none) and builds the guide.
/// Nothing is searched in the air, without a departure runway or without taxi data.
void TracciaTaxiPath(pilot *record);

/// Labels the graph with the shortest distances from the start connections, whose nodes already carry
/// their labels (distance from the aircraft), until every target is labelled for good or nothing more is
/// reachable; only edges listed in a start's collectedIDs leave it when the list is not empty. Returns the
/// number of targets reached. Each node is settled once, so the work is bounded by the graph's size.
int CalcolaDistanzaCheckPoint(const std::vector<connection> &connections, TaxiGraph &graph,
                              const std::vector<int> &targets);

/// Appends the route from node back to its start node to the record's taxiPoints, following the stored
/// predecessors; at most one point per node of the graph. Returns the number of points appended, 0 (and
/// taxiPoints emptied) when node was not reached or the walk did not end at a start node.
int CalcolaDistanzaInversa(unsigned node, pilot *record, const TaxiGraph &graph);

/// The departure holding point as the taxi route ends: the route's end when there is a route, else the
/// departure runway's point. The holding-point test measures from there.
void Taxi_HoldingPoint(const pilot *record, double *lat, double *lon);
