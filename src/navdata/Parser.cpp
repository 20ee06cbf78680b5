// Parser::readAptDat: reads one airport out of an apt.dat file, starting at its index offset.
#include "navdata/Parser.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "XPLMUtilities.h"
#include "navdata/AptLine.h"
#include "navdata/ParserRows.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/Utils.h"

Parser gTmpParser;

namespace {

/// Tower frequency given to an airport that publishes none: 126.85 MHz, in tens of kHz.
const double kFakeTowerFrequency = 12685;

bool IsAirportHeader(int code)
{
    return code == 1 || code == 16 || code == 17;
}

void ClearForRead(Parser &parser)
{
    parser.runways.clear();
    parser.runwaysInUseDeparture.clear();
    parser.runwaysInUseArrival.clear();
    parser.parkings.clear();
    parser.puntiTaxi.clear();
    parser.taxiNodes.clear();
    parser.taxiEdges.clear();
    parser.towerFrequency = 0;
    parser.groundFrequency = 0;
    parser.deliveryFrequency = 0;
    parser.atisFrequency = 0;
    parser.towerFrequencies.clear();
    parser.groundFrequencies.clear();
    parser.deliveryFrequencies.clear();
    parser.atisFrequencies.clear();
    parser.airportFound = 0;
    parser.lineCounter = -1;
    parser.nodeInLineCounter = -1;
    parser.nodeCounter = -1;
}

/// A header row of two to four fields is shown on standard output and otherwise read as any row.
void PrintShortHeader(const AptFields &fields, const char *rawLine)
{
    for (int i = 0; i < fields.count; i++)
        printf("%s|", fields.field[i]);
    printf("\n%s\n", rawLine);
}

void ApplyFakeTowerFrequency(Parser &parser, int xplaneVersion)
{
    if (std::trunc(parser.towerFrequency) == 0) {
        parser.towerFrequency = kFakeTowerFrequency;
        parser.towerFrequencies.clear();
        PrintDebugLocal2("readAptDat", "tower frequencies not found, setting a fake frequency to to 126.85!");
        if (xplaneVersion >= XPLANE_VERSION_COM_833) {
            parser.towerFrequency *= 10;
            PrintInfoLoca2("readAptDat", "towerFrequency extended for 8.33 support to: %f", parser.towerFrequency);
        }
        parser.towerFrequencies.push_back(parser.towerFrequency);
    }
    PrintInfoLoca2("readAptDat", "tower frequency on leaving: '%f'", parser.towerFrequency);
}

/// Reads the rows of the wanted airport; returns 0 or the error number of a read error.
int ReadRows(FILE *file, const std::string &icao, ParserReadState &state)
{
    Parser &parser = *state.parser;
    char line[APT_LINE_SIZE];
    char rawLine[APT_LINE_SIZE];
    AptFields fields;
    bool inside = false;
    bool stop = false;
    while (!stop) {
        bool overlong = false;
        int result = T_fgetc(file, line, sizeof line, &overlong);
        if (result < 0)
            return -result;
        if (result == 0)
            return 0;
        state.lineNumber++;
        if (line[0] == 0)
            continue;
        memcpy(rawLine, line, sizeof rawLine);
        AptLine_Split(line, &fields);
        // A line cut by the buffer keeps its whole fields only; its last field may be cut.
        if (overlong && fields.count > 0)
            fields.count--;
        if (fields.count < 2)
            continue;
        int code = Utils::stringToInt(fields.field[0]);
        if (IsAirportHeader(code) && fields.count >= 5) {
            if (strcmp(fields.field[4], icao.c_str()) == 0) {
                printf("%s found in %s\n", icao.c_str(), state.path);
                PrintInfoLoca2("readAptDat", "found '%s'", icao.c_str());
                parser.airportFound = 1;
                inside = true;
            } else {
                stop = inside;
                inside = false;
            }
            continue;
        }
        if (IsAirportHeader(code))
            PrintShortHeader(fields, rawLine);
        if (!inside)
            continue;
        if (overlong) {
            PrintInfoLoca2("readAptDat", "%s line %d: longer than %d bytes, skipped", state.path, state.lineNumber,
                           APT_LINE_SIZE - 1);
            continue;
        }
        switch (code) {
        case 50: case 51: case 52: case 53: case 54: case 55: case 56:
        case 1050: case 1051: case 1052: case 1053: case 1054: case 1055: case 1056:
            Parser_ReadFrequency(state, code, fields);
            break;
        case 100:
            Parser_ReadRunway(state, fields);
            break;
        case 15:
        case 1300:
            Parser_ReadParking(state, code, fields);
            break;
        case 120:
            Parser_OpenLine(state, fields);
            break;
        case 111: case 112: case 113: case 114: case 115: case 116:
            Parser_ReadLineNode(state, code, fields);
            break;
        case 110: case 130: // a pavement or boundary: its nodes belong to no painted line
            state.lineOpen = false;
            break;
        case 1201: case 1202: case 1204:
            Parser_ReadTaxiNetwork(state, code, fields);
            break;
        // Current scenery writes its runway-use rules as 1110 (frequency in kHz), older as 1100.
        case 1100:
        case 1110:
            Parser_ReadRunwayUse(state, fields);
            break;
        default: // 20 and every other row are not read
            break;
        }
    }
    return 0;
}

} // namespace

int Parser::readAptDat(const std::string &icao, const std::string &path, int64_t offset, float magneticVariation)
{
    Utils::log("-------------------------- Parser started!!! --------------------------", 0);
    int xplaneVersion = 0;
    XPLMGetVersions(&xplaneVersion, nullptr, nullptr);
    ClearForRead(*this);

    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        PrintInfoLoca2("readAptDat", "Error opening file: %s", path.c_str());
        return 0;
    }
    PrintInfoLoca2("readAptDat", "File opened: %s", path.c_str());
    if (offset < 0 || fseeko(file, (off_t)offset, SEEK_SET) != 0) {
        PrintInfoLoca2("readAptDat", "Error seeking %s to offset %lld", path.c_str(), (long long)offset);
        fclose(file);
        return 0;
    }

    ParserReadState state;
    state.parser = this;
    state.xplaneVersion = xplaneVersion;
    state.magneticVariation = magneticVariation;
    state.path = path.c_str();
    state.icao = icao.c_str();
    int readError = ReadRows(file, icao, state);
    Parser_RadioInformationAsTower(state);
    if (readError == 0)
        ApplyFakeTowerFrequency(*this, xplaneVersion);
    else
        printf("Error reading %s, %s %d\n", path.c_str(), strerror(readError), readError);
    fclose(file);
    Utils_LogFormat("total parkings found: %i", (int)parkings.size());

    Parser_LinkJunctions(puntiTaxi);
    Utils::log("-------------------------- Parser ended!!! --------------------------", 0);
    return airportFound;
}
