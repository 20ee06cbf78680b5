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
    const char *icao = "";    ///< the airport being read, for messages
    /// Per frequency kind (row code - 50): a row of it was read in this call; its primary came from a row
    /// of the 10 kHz series 50-56 (a 1050-series row of the same kind gives the kHz value instead).
    bool frequencyListed[7] = {};
    bool primaryFromLegacyRow[7] = {};
    std::vector<double> radioInformation; ///< row 51 frequencies, the tower's when it publishes none
};

/// True (and a log line naming the row) when the row has fewer than needed fields.
bool Parser_RowTooShort(const ParserReadState &state, int code, const AptFields &fields, int needed);

/// Rows 50-56 and 1050-1056.
void Parser_ReadFrequency(ParserReadState &state, int code, const AptFields &fields);
/// At the end of the airport: the radio information frequencies serve as tower when there is none.
void Parser_RadioInformationAsTower(ParserReadState &state);
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
