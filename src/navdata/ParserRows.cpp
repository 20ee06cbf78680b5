// The row readers of the airport parser: frequencies, runways, parking positions, painted taxi
// lines and runway-use rules.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "navdata/ParserRows.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/Utils.h"

namespace {

/// The COM band, kHz: 118.000 to 136.990 MHz.
const double kLowestComFrequency = 118000, kHighestComFrequency = 136990;
const double kPi = 3.141592653589793;

struct FrequencyKind {
    double Parser::*member;
    std::vector<double> Parser::*list;
    const char *name;
};

/// Indexed by the row code minus 50 (or minus 1050).
const FrequencyKind kFrequencyKinds[] = {
    {&Parser::atisFrequency, &Parser::atisFrequencies, "atisFrequency"},
    {&Parser::towerFrequency, &Parser::towerFrequencies, "towerFrequency"},
    {&Parser::deliveryFrequency, &Parser::deliveryFrequencies, "deliveryFrequency"},
    {&Parser::groundFrequency, &Parser::groundFrequencies, "groundFrequency"},
    {&Parser::towerFrequency, &Parser::towerFrequencies, "towerFrequency"},
    {&Parser::approachFrequency, &Parser::approachFrequencies, "approachFrequency"},
    {&Parser::departureFrequency, &Parser::departureFrequencies, "departureFrequency"},
};

std::string UpperCase(const char *text)
{
    std::string upper = text;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    return upper;
}

bool Contains(const std::string &text, const char *word)
{
    return text.find(word) != std::string::npos;
}

/// Fields first.. joined with single blanks.
std::string JoinFields(const AptFields &fields, int first)
{
    std::string joined;
    for (int i = first; i < fields.count; i++) {
        if (!joined.empty())
            joined += ' ';
        joined += fields.field[i];
    }
    return joined;
}

void EraseAll(std::string &text, const char *word)
{
    size_t length = strlen(word);
    size_t at;
    while ((at = text.find(word)) != std::string::npos)
        text.erase(at, length);
}

/// A node's latitude and longitude when both fields are numbers within range.
bool ReadNodePosition(const ParserReadState &state, const AptFields &fields, double *lat, double *lon)
{
    double latValue = 0, lonValue = 0;
    if (!Utils_ParseDouble(fields.field[1], &latValue) || !Utils_ParseDouble(fields.field[2], &lonValue) ||
        std::fabs(latValue) > 90.0 || std::fabs(lonValue) > 180.0) {
        PrintInfoLoca2("readAptDat", "%s line %d: taxi line node at '%s' '%s' is not a position, skipped",
                       state.path, state.lineNumber, fields.field[1], fields.field[2]);
        return false;
    }
    *lat = (double)(float)latValue; // the latitude is kept with single precision
    *lon = lonValue;
    return true;
}

void StoreNode(ParserReadState &state, double lat, double lon, int lineType)
{
    Parser &parser = *state.parser;
    Parser::linePoint point;
    point.id = ++parser.nodeInLineCounter;
    point.globalID = ++parser.nodeCounter;
    point.lineID = parser.lineCounter;
    point.name = state.lineName;
    point.lat = lat;
    point.lon = lon;
    point.lineType = lineType;
    parser.puntiTaxi.push_back(std::move(point));
}

/// Reads one runway end from the five fields starting at first.
Parser::runway ReadRunwayEnd(const AptFields &fields, int first)
{
    Parser::runway end;
    end.number = Utils::stringToInt(fields.field[first]);
    snprintf(end.name, sizeof end.name, "%s", fields.field[first]);
    end.lat = Utils::stringToFloat(fields.field[first + 1]);
    end.lon = Utils::stringToFloat(fields.field[first + 2]);
    end.thresholdLength = Utils::stringToFloat(fields.field[first + 3]);
    if (end.thresholdLength == 0)
        end.thresholdLength = Utils::stringToFloat(fields.field[first + 4]);
    return end;
}

} // namespace

bool Parser_RowTooShort(const ParserReadState &state, int code, const AptFields &fields, int needed)
{
    if (fields.count >= needed)
        return false;
    PrintInfoLoca2("readAptDat", "%s line %d: row %d needs %d fields, has %d; skipped", state.path, state.lineNumber,
                   code, needed, fields.count);
    return true;
}

void Parser_ReadFrequency(ParserReadState &state, int code, const AptFields &fields)
{
    Parser &parser = *state.parser;
    bool legacyRow = code < 1000; // 50-56: tens of kHz; 1050-1056: kHz
    int kind = legacyRow ? code - 50 : code - 1050;
    const char *text = fields.field[1];
    const FrequencyKind &frequency = kFrequencyKinds[kind];
    // Only the VHF air band is tuned by a COM radio: UHF military towers, HF and garbage are no
    // controller's frequency here.
    double written = std::trunc(Utils::stringToDouble(text));
    double lowest = legacyRow ? kLowestComFrequency / 10 : kLowestComFrequency;
    double highest = legacyRow ? kHighestComFrequency / 10 : kHighestComFrequency;
    if (!(written >= lowest && written <= highest)) {
        PrintInfoLoca2("readAptDat", "%s line %d: airport %s, row %d frequency '%s' is not a COM frequency (118.000 "
                       "to 136.990 MHz), skipped", state.path, state.lineNumber, state.icao, code, text);
        return;
    }
    bool isRadioInformation = kind == 1;
    double value = Utils::stringToDoubleCut5Digits(text, state.xplaneVersion < XPLANE_VERSION_COM_833);
    if (isRadioInformation && parser.towerFrequencies.empty() && state.radioInformation.empty())
        PrintInfoLoca2("readAptDat", "radio information found (used as tower): '%s', parsed in %f", text, value);
    else
        PrintInfoLoca2("readAptDat", "%s found: '%s', parsed in %f", frequency.name, text, value);
    if (state.xplaneVersion >= XPLANE_VERSION_COM_833 && value < 99999.0) {
        value *= 10;
        PrintInfoLoca2("readAptDat", "%s extended for 8.33 support to: %f", frequency.name, value);
    }
    if (isRadioInformation) {
        state.radioInformation.push_back(value);
        return;
    }
    // The first frequency listed is the facility's primary (the one phrases name); a later row of the kHz
    // series replaces a primary read from the 10 kHz series. Every one of them names the facility.
    std::vector<double> &all = parser.*frequency.list;
    if (!state.frequencyListed[kind]) {
        all.clear(); // approach and departure frequencies of an earlier read stay until a row replaces them
        state.frequencyListed[kind] = true;
        parser.*frequency.member = value;
        state.primaryFromLegacyRow[kind] = legacyRow;
    } else if (state.primaryFromLegacyRow[kind] && !legacyRow) {
        parser.*frequency.member = value;
        state.primaryFromLegacyRow[kind] = false;
    }
    if (std::find(all.begin(), all.end(), value) == all.end())
        all.push_back(value);
}

void Parser_RadioInformationAsTower(ParserReadState &state)
{
    Parser &parser = *state.parser;
    if (parser.towerFrequencies.empty() && !state.radioInformation.empty()) {
        parser.towerFrequency = state.radioInformation.front();
        for (double value : state.radioInformation)
            if (std::find(parser.towerFrequencies.begin(), parser.towerFrequencies.end(), value) ==
                parser.towerFrequencies.end())
                parser.towerFrequencies.push_back(value);
    }
}

void Parser_ReadRunway(ParserReadState &state, const AptFields &fields)
{
    if (Parser_RowTooShort(state, 100, fields, 22))
        return;
    Parser::runway end1 = ReadRunwayEnd(fields, 8);
    Parser::runway end2 = ReadRunwayEnd(fields, 17);

    double lat1 = end1.lat, lon1 = end1.lon, lat2 = end2.lat, lon2 = end2.lon;
    double dNS = std::fabs(lat2 - lat1) * 60.0;
    double dEW = std::fabs(lon2 - lon1) * 60.0 * cos(((lat1 + lat2) * 0.5) * 0.01745);
    double d = sqrt(dNS * dNS + dEW * dEW);
    bool north = lat2 > lat1, east = lon2 > lon1;
    // asin of a ratio a rounding step above 1 would be NaN; both ends on one spot have no heading.
    auto angle = [d](double side) { return d > 0 ? asin(std::min(1.0, side / d)) * 180.0 / kPi : 0.0; };
    double h;
    const char *quadrant;
    if (north && east) {
        h = angle(dEW);
        quadrant = "nord-ost";
    } else if (!north && east) {
        h = 90.0 + angle(dNS);
        quadrant = "sued-ost";
    } else if (!north) {
        h = 180.0 + angle(dEW);
        quadrant = "sued-west";
    } else {
        h = 270.0 + angle(dNS);
        quadrant = "nord-west";
    }
    if (h < 0)
        h += 360.0;
    if (h > 360.0)
        h -= 360.0;
    double reverse = h - 180.0;
    if (reverse < 0)
        reverse += 360.0;
    end1.heading = (float)h;
    end2.heading = (float)reverse;
    printf("Strecke N/S: %f Strecke W/O: %f Distanz: %f\n%s\n", dNS, dEW, d, quadrant);

    for (const Parser::runway &end : {end1, end2}) {
        state.parser->runways.push_back(end);
        PrintInfoLoca2("readAptDat", "Runway found: '%i' '%s' lat'%f' lon'%f' heading %.2f", end.number, end.name,
                       end.lat, end.lon, end.heading);
    }
    Utils_LogFormat("Runway length: %.4f magnetic variation: %.2f", d, state.magneticVariation);
}

void Parser_ReadParking(ParserReadState &state, int code, const AptFields &fields)
{
    Parser &parser = *state.parser;
    if (parser.parkings.size() >= PARSER_MAX_PARKINGS)
        return;
    bool legacy = code == 15;
    if (Parser_RowTooShort(state, code, fields, legacy ? 5 : 6))
        return;
    std::string word = UpperCase(fields.field[4]);
    bool accepted = Contains(word, "GATE") || Contains(word, "TERMINAL") || Contains(word, "APRON") ||
                    Contains(word, legacy ? "RAMP" : "MISC");
    if (!accepted)
        return;
    Parser::parking position;
    position.id = (int)parser.parkings.size();
    position.lat = Utils::stringToFloat(fields.field[1]);
    position.lon = Utils::stringToFloat(fields.field[2]);
    position.heading = Utils::stringToFloat(fields.field[3]);
    position.isGate = Contains(word, "GATE") ? 1 : 0;
    position.name = JoinFields(fields, legacy ? 4 : 6);
    position.name.erase(std::remove_if(position.name.begin(), position.name.end(),
                                       [](char c) { return c == '\t' || c == '\n' || c == '\r'; }),
                        position.name.end());
    position.legacy = legacy;
    if (!legacy)
        position.type = fields.field[5];
    parser.parkings.push_back(std::move(position));
}

std::string Parser_LineName(const AptFields &fields)
{
    std::string name;
    for (int i = 3; i < fields.count; i++) {
        const char *field = fields.field[i];
        if (strcmp(field, "Taxi") == 0 || strcmp(field, "join") == 0 || strcmp(field, "\n") == 0 ||
            strcmp(field, " ") == 0)
            continue;
        if (!name.empty())
            name += ' ';
        name += field;
    }
    for (const char *word : {"\n", "\r", "Centerline for", ",", "Taxiline", "join", "Path"})
        EraseAll(name, word);
    return name;
}

void Parser_OpenLine(ParserReadState &state, const AptFields &fields)
{
    Parser &parser = *state.parser;
    state.lineName = Parser_LineName(fields);
    parser.lineCounter++;
    parser.nodeInLineCounter = -1;
    state.lineOpen = true;
    state.lineType = 0;
}

void Parser_ReadLineNode(ParserReadState &state, int code, const AptFields &fields)
{
    // 113 and 114 close a loop, 115 and 116 end a line: either way the line is done.
    bool endNode = code >= 113;
    if (Parser_RowTooShort(state, code, fields, 3))
        return;
    if (!state.lineOpen)
        return;
    // A row without a line type continues its line's last one; an end row closes the line. Only the
    // nodes of yellow centre lines are stored: hold, edge and white lines give none, not even their ends.
    int typeField = code == 111 || code == 113 || code == 115 ? 3 : 5;
    if (fields.count > typeField)
        state.lineType = Utils::stringToInt(fields.field[typeField]);
    if (endNode)
        state.lineOpen = false;
    if (state.lineType != 1 && state.lineType != 51) // solid yellow, without and with black border
        return;
    double lat = 0, lon = 0;
    if (ReadNodePosition(state, fields, &lat, &lon))
        StoreNode(state, lat, lon, state.lineType);
}

void Parser_ReadRunwayUse(ParserReadState &state, const AptFields &fields)
{
    Parser &parser = *state.parser;
    if (Parser_RowTooShort(state, Utils::stringToInt(fields.field[0]), fields, 6))
        return;
    std::string operations = UpperCase(fields.field[3]);
    bool departure = Contains(operations, "DEPARTURES");
    // Current scenery writes most rules for both kinds ("arrivals|departures"): such a rule is in both lists.
    bool arrival = Contains(operations, "ARRIVALS");
    if (!departure && !arrival)
        return;
    Parser::runwayInUseDeparture rule;
    snprintf(rule.runway, sizeof rule.runway, "%s", fields.field[1]);
    snprintf(rule.operations, sizeof rule.operations, "%s", fields.field[3]);
    const char *range = fields.field[5];
    size_t length = strlen(range);
    rule.headingFrom = Utils_SpanToInt(range, std::min<size_t>(length, 3));
    rule.headingTo = length > 3 ? Utils_SpanToInt(range + 3, std::min<size_t>(length - 3, 3)) : 0;
    if (departure) {
        parser.runwaysInUseDeparture.push_back(rule);
        Utils_LogFormat("runway %s in-use departure (range: %i %i)", rule.runway, rule.headingFrom, rule.headingTo);
    }
    if (arrival) {
        parser.runwaysInUseArrival.push_back(rule);
        Utils_LogFormat("runway %s in-use arrival (range: %i %i)", rule.runway, rule.headingFrom, rule.headingTo);
    }
}
