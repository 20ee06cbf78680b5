// The graph the taxi route search runs over, built from an airport's taxi routing network when it has
// one, else from its painted taxi lines; and the search for the nodes near a position.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "navdata/Parser.h"

struct TaxiGraph {
    struct node {
        double lat = 0, lon = 0;
        int firstEdge = 0, edgeCount = 0; ///< the edges leaving the node: edges[firstEdge ..]
        int source = 0;                   ///< index in the airport's puntiTaxi or taxiNodes
        int lineID = -1;                  ///< painted line of the node; -1 in a network
        int nodeInLine = 0;               ///< number of the node within its painted line
        bool taxiway = true;              ///< touches no runway edge of the network
    };
    struct edge {
        int to = 0;
        float length_nm = 0;
        int name = 0; ///< index in names
    };
    std::vector<node> nodes;
    std::vector<edge> edges;
    std::vector<std::string> names;
    bool network = false; ///< built from the taxi routing network
    /// (file number, node index) of a network's nodes, sorted.
    std::vector<std::pair<int, int>> fileIds;

    // Results of the last search over the graph.
    std::vector<float> label;      ///< nm from the aircraft along the shortest route; kTaxiUnreached if not reached
    std::vector<int> previous;     ///< node before this one on that route, -1 at a start node
    std::vector<int> previousName; ///< name of the edge from the previous node, -1 at a start node
};

/// Label of a node the search has not reached.
extern const float kTaxiUnreached;
/// Edges longer than this (nautical miles) are bad data and left out.
extern const float kTaxiMaxEdge_nm;

/// Builds graph from the airport's taxi routing network, or from its painted lines when it has none.
/// Runway edges of a network are not part of the graph (nothing taxis along a runway); their nodes lose
/// the taxiway flag. Edges naming unknown nodes, and over-long ones, are left out with one log line.
void TaxiGraph_Build(const Parser &airport, TaxiGraph *graph);

/// The node of a network with this file number, -1 when there is none.
int TaxiGraph_NodeOfFileId(const TaxiGraph &graph, int fileId);

/// The node closest to (lat, lon) by the larger of the latitude and longitude differences, among the
/// nodes closer than box degrees (all of them appended to out, in index order); -1 when none is.
int cercaTaxiPiuVicina(double lat, double lon, float box, const TaxiGraph &graph, std::vector<int> &out);

/// cercaTaxiPiuVicina with a box widened from 0.001 degree step by step up to 0.004 degree until it holds
/// a node; the box used goes to *box_deg when given.
int TaxiGraph_Nearest(double lat, double lon, const TaxiGraph &graph, std::vector<int> &out, float *box_deg = nullptr);
