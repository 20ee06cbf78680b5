// The row readers of Parser::readAptDat and the state of one read. Internal to the airport reader.
#pragma once

#include <string>
#include <vector>

#include "navdata/AptLine.h"
#include "navdata/Parser.h"

/// What one readAptDat call keeps between rows.
struct ParserReadState {
    Parser *parser = nullptr;
    int xplaneVersion = 0;
    float magneticVariation = 0; ///< degrees, only logged
    bool lineOpen = false;    ///< a painted line (row 120) is open
    int lineType = 0;         ///< line type of the current painted line's last node row that gave one
    bool edgeStored = false;  ///< the last network edge row was kept: zone rows belong to it
    std::string lineName;     ///< cleaned name of the current painted line
    const char *path = "";    ///< for messages
    int lineNumber = 0;       ///< line number counted from the read's offset, for messages
};

/// True (and a log line naming the row) when the row has fewer than needed fields.
bool Parser_RowTooShort(const ParserReadState &state, int code, const AptFields &fields, int needed);

/// Rows 50-56 and 1050-1056.
void Parser_ReadFrequency(ParserReadState &state, int code, const AptFields &fields);
/// Row 100: both runway ends.
void Parser_ReadRunway(ParserReadState &state, const AptFields &fields);
/// Rows 15 and 1300.
void Parser_ReadParking(ParserReadState &state, int code, const AptFields &fields);
/// Row 120.
void Parser_OpenLine(ParserReadState &state, const AptFields &fields);
/// Rows 111 to 116.
void Parser_ReadLineNode(ParserReadState &state, int code, const AptFields &fields);
/// Rows 1201, 1202 and 1204 of the taxi routing network.
void Parser_ReadTaxiNetwork(ParserReadState &state, int code, const AptFields &fields);
/// Rows 1100 and 1110.
void Parser_ReadRunwayUse(ParserReadState &state, const AptFields &fields);

/// The cleaned name of a painted line from the fields of its row 120.
std::string Parser_LineName(const AptFields &fields);
/// Fills every node's neighbourIDs with the globalIDs of the other nodes within 0.0001 degrees in
/// latitude and longitude, in ascending order.
void Parser_LinkJunctions(std::vector<Parser::linePoint> &points);
