// The taxi routing network of an airport: nodes (row 1201), edges with their taxiway names (1202) and
// the runway zones of an edge (1204, which belong to the edge row before them).
#include <cmath>
#include <cstring>

#include "navdata/ParserRows.h"
#include "plugin/Log.h"
#include "ui/Utils.h"

namespace
{

/// Fields first.. joined with single blanks.
std::string ParserNetwork_join(const AptFields &fields, int first)
{
    std::string joined;
    for (int i = first; i < fields.count; i++) {
        if (!joined.empty())
            joined += ' ';
        joined += fields.field[i];
    }
    return joined;
}

void ParserNetwork_skip(const ParserReadState &state, int code, const char *what)
{
    PrintInfoLoca2("readAptDat", "%s line %d: row %d %s, skipped", state.path, state.lineNumber, code, what);
}

void ParserNetwork_readNode(ParserReadState &state, const AptFields &fields)
{
    double lat = 0, lon = 0;
    int id = 0;
    if (Parser_RowTooShort(state, 1201, fields, 5))
        return;
    if (!Utils_ParseDouble(fields.field[1], &lat) || !Utils_ParseDouble(fields.field[2], &lon) ||
        std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0 || !Utils_LeadingInt(fields.field[4], &id)) {
        ParserNetwork_skip(state, 1201, "is not a node with a position and a number");
        return;
    }
    Parser::taxiNode node;
    node.id = id;
    node.lat = lat;
    node.lon = lon;
    state.parser->taxiNodes.push_back(node);
}

void ParserNetwork_readEdge(ParserReadState &state, const AptFields &fields)
{
    int from = 0, to = 0;
    state.edgeStored = false;
    if (Parser_RowTooShort(state, 1202, fields, 5))
        return;
    const char *direction = fields.field[3];
    const char *kind = fields.field[4];
    bool oneWay = strcmp(direction, "oneway") == 0;
    if (!Utils_LeadingInt(fields.field[1], &from) || !Utils_LeadingInt(fields.field[2], &to) ||
        (!oneWay && strcmp(direction, "twoway") != 0)) {
        ParserNetwork_skip(state, 1202, "is not an edge between two nodes, one-way or two-way");
        return;
    }
    Parser::taxiEdge edge;
    edge.from = from;
    edge.to = to;
    edge.oneWay = oneWay;
    // "taxiway" or "taxiway_A".."taxiway_F" (the widest aircraft allowed); "runway" runs along one.
    edge.runway = strcmp(kind, "runway") == 0;
    edge.name = ParserNetwork_join(fields, 5);
    state.parser->taxiEdges.push_back(std::move(edge));
    state.edgeStored = true;
}

void ParserNetwork_readZone(ParserReadState &state, const AptFields &fields)
{
    Parser &parser = *state.parser;
    if (Parser_RowTooShort(state, 1204, fields, 3))
        return;
    if (!state.edgeStored) {
        ParserNetwork_skip(state, 1204, "follows no edge that was kept");
        return;
    }
    Parser::taxiEdge &edge = parser.taxiEdges.back();
    const char *kind = fields.field[1];
    std::string *zone = strcmp(kind, "departure") == 0 ? &edge.departureZone
                        : strcmp(kind, "arrival") == 0 ? &edge.arrivalZone
                        : strcmp(kind, "ils") == 0     ? &edge.ilsZone
                                                       : nullptr;
    if (zone == nullptr) {
        ParserNetwork_skip(state, 1204, "names no departure, arrival or ils zone");
        return;
    }
    if (!zone->empty())
        *zone += ',';
    *zone += fields.field[2];
}

} // namespace

void Parser_ReadTaxiNetwork(ParserReadState &state, int code, const AptFields &fields)
{
    if (code == 1201)
        ParserNetwork_readNode(state, fields);
    else if (code == 1202)
        ParserNetwork_readEdge(state, fields);
    else
        ParserNetwork_readZone(state, fields);
}
