// Centre lookup: the airport to look up, acc.dat's line for it, the hold-back of a changed frequency and
// the made-up frequency used when no line serves the airport.
#include "navdata/CenterFrequency.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "XPLMNavigation.h"
#include "XPLMProcessing.h"
#include "plugin/FirstFrame.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Utils.h"

namespace {

const char *const kTag = "Radio_ottieniFrequenzaCenter";
/// COM band in kHz: 118.000 to 136.990 MHz.
const long kLowestComKHz = 118000, kHighestComKHz = 136990;
/// Made-up frequencies: 118.05 to 135.95 MHz in steps of 100 kHz, ending in 5, in tens of kHz.
const int kMadeUpChoices = 180;
const double kMadeUpFirst = 11805, kMadeUpStep = 10;
/// Sizes XPLMGetNavAidInfo writes into: identifier and name.
const int kNavIdSize = 32, kNavNameSize = 256;

bool IsAlnum(char c)
{
    return isalnum((unsigned char)c) != 0;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// [begin, end) without the blanks around it.
void Trim(const char **begin, const char **end)
{
    while (*begin < *end && IsBlank(**begin))
        (*begin)++;
    while (*end > *begin && IsBlank((*end)[-1]))
        (*end)--;
}

/// Reads one line of any length (without its line feed) into line; false at the end of the file.
bool ReadLine(FILE *file, std::string &line)
{
    line.clear();
    char chunk[4096];
    while (fgets(chunk, sizeof chunk, file) != nullptr) {
        size_t length = strlen(chunk);
        bool complete = length > 0 && chunk[length - 1] == '\n';
        line.append(chunk, complete ? length - 1 : length);
        if (complete)
            return true;
    }
    return !line.empty();
}

/// One usable acc.dat line for the wanted airport.
struct CenterCandidate {
    std::string name;
    double frequency = 0;
    int lineNumber = 0;
};

/// True when f is one of the airport's published frequencies (any facility, any of them).
bool IsAirportFrequency(const Parser &airport, double f)
{
    const double primaries[] = {airport.towerFrequency,    airport.groundFrequency,    airport.deliveryFrequency,
                                airport.approachFrequency, airport.departureFrequency, airport.atisFrequency};
    for (double p : primaries)
        if (p != 0 && p == f)
            return true;
    for (const std::vector<double> *list :
         {&airport.towerFrequencies, &airport.groundFrequencies, &airport.deliveryFrequencies,
          &airport.approachFrequencies, &airport.departureFrequencies, &airport.atisFrequencies})
        for (double p : *list)
            if (p == f)
                return true;
    return false;
}

/// True when f is an approach frequency of the departure or the arrival airport: the centre would be
/// named approach on it.
bool ClashesWithApproach(const pilot &record, double f)
{
    for (const Parser *airport : {&record.targetAirport, &record.parser}) {
        if (airport->approachFrequency == f)
            return true;
        for (double p : airport->approachFrequencies)
            if (p == f)
                return true;
    }
    return false;
}

/// Reads acc.dat for identifier: the last usable line (name and frequency both good, no clash with an
/// approach frequency). *clashed tells whether a line was refused for a clash. False when the file cannot
/// be opened.
bool FindCandidate(const char *path, const char *identifier, const pilot &record, CenterCandidate *candidate,
                   bool *clashed, bool *found)
{
    FILE *file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    std::string line;
    int lineNumber = 0;
    *found = false;
    *clashed = false;
    while (ReadLine(file, line)) {
        lineNumber++;
        const char *text = line.c_str();
        size_t length = line.size();
        if (length == 0 || text[0] == '#')
            continue;
        const char *colon1 = (const char *)memchr(text, ':', length);
        size_t field1Length = colon1 != nullptr ? (size_t)(colon1 - text) : length;
        if (!Radio_ContainsIdentifier(text, field1Length, identifier))
            continue;
        const char *end = text + length;
        const char *colon2 = colon1 != nullptr ? (const char *)memchr(colon1 + 1, ':', end - colon1 - 1) : nullptr;
        if (colon2 == nullptr) {
            PrintInfo(kTag, "ACC lookup: %s line %d: expected identifiers:name:frequency, skipped", path, lineNumber);
            continue;
        }
        const char *colon3 = (const char *)memchr(colon2 + 1, ':', end - colon2 - 1);
        const char *nameBegin = colon1 + 1, *nameEnd = colon2;
        const char *freqBegin = colon2 + 1, *freqEnd = colon3 != nullptr ? colon3 : end;
        Trim(&nameBegin, &nameEnd);
        Trim(&freqBegin, &freqEnd);
        std::string frequencyText(freqBegin, freqEnd);
        double value = 0;
        if (!Radio_ParseCenterFrequency(freqBegin, (size_t)(freqEnd - freqBegin), gFDV_XPlaneVersion, &value)) {
            PrintInfo(kTag, "ACC lookup: %s line %d: frequency '%.32s' for %s is not a COM frequency (118.000 to "
                      "136.990 MHz), skipped", path, lineNumber, frequencyText.c_str(), identifier);
            continue;
        }
        // The name goes into phrases: their markup characters and control characters would be read as markup.
        std::string name(nameBegin, nameEnd);
        for (char &c : name)
            if (c == '#' || c == '*' || c == '@' || (unsigned char)c < 32 || c == 127)
                c = ' ';
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (name.empty()) {
            PrintInfo(kTag, "ACC lookup: %s line %d: no centre name for %s, skipped", path, lineNumber, identifier);
            continue;
        }
        PrintDebug(kTag, "ACC lookup: %s nome frequenza center trovata per %s: %s - (token %s)", record.nomePilota,
                   identifier, name.c_str(), frequencyText.c_str());
        PrintInfo(kTag, "Casting string to double effettuato da tokenPulito %s a %9.20lf", frequencyText.c_str(),
                  value);
        if (ClashesWithApproach(record, value)) {
            PrintDebug(kTag, "%s frequenza center trovata per %s: %9.20lf, ma in clash con departure o arrival "
                       "approach, aborting", record.nomePilota, identifier, value);
            PrintUsrDebug("acc frequency clash detected with either departure or arrival approach, aborting acc "
                          "frequency parser");
            *clashed = true;
            continue;
        }
        PrintInfo(kTag, "%s frequenza center trovata per %s: %9.20lf, clash not detected", record.nomePilota,
                  identifier, value);
        *found = true;
        candidate->name = name;
        candidate->frequency = value;
        candidate->lineNumber = lineNumber;
    }
    fclose(file);
    return true;
}

std::minstd_rand &MadeUpGenerator()
{
    static std::minstd_rand generator((unsigned)time(nullptr));
    return generator;
}

/// A made-up centre frequency that is none of the departure or arrival airport's frequencies.
double MadeUpFrequency(const pilot &record)
{
    double scale = gFDV_XPlaneVersion >= XPLANE_VERSION_COM_833 ? 10 : 1;
    int first = (int)(MadeUpGenerator()() % kMadeUpChoices);
    for (int k = 0; k < kMadeUpChoices; k++) {
        double f = (kMadeUpFirst + kMadeUpStep * ((first + k) % kMadeUpChoices)) * scale;
        if (!IsAirportFrequency(record.parser, f) && !IsAirportFrequency(record.targetAirport, f))
            return f;
    }
    return (kMadeUpFirst + kMadeUpStep * first) * scale; // every choice taken: no free one exists
}

void UseMadeUpFrequency(pilot *record)
{
    double f = MadeUpFrequency(*record);
    if (gFDV_XPlaneVersion >= XPLANE_VERSION_COM_833) {
        PrintInfo(kTag, "ACC lookup: generating dummy center frequency: %f", f / 10);
        PrintInfo(kTag, "dummy center frequency extended for 8.33 support to: %f", f);
    } else {
        PrintInfo(kTag, "ACC lookup: generating dummy center frequency: %f", f);
    }
    record->centerFittizia = true;
    snprintf(record->nomeCenter, sizeof record->nomeCenter, "%s", "Center");
    record->nuovaCenterTrovata = true;
    record->frequenzaCenter = f;
}

} // namespace

bool Radio_ContainsIdentifier(const char *text, size_t length, const char *identifier)
{
    size_t wanted = identifier != nullptr ? strlen(identifier) : 0;
    if (wanted == 0 || wanted > length)
        return false;
    for (size_t at = 0; at + wanted <= length; at++) {
        const char *found = (const char *)memchr(text + at, identifier[0], length - wanted - at + 1);
        if (found == nullptr)
            return false;
        at = (size_t)(found - text);
        if (memcmp(found, identifier, wanted) == 0 && (at == 0 || !IsAlnum(text[at - 1])) &&
            (at + wanted == length || !IsAlnum(text[at + wanted])))
            return true;
    }
    return false;
}

bool Radio_ParseCenterFrequency(const char *text, size_t length, int xplaneVersion, double *value)
{
    const char *begin = text, *end = text + length;
    Trim(&begin, &end);
    // Three digits of MHz, then an optional decimal point with its digits: "127.125", "121.5", "118".
    if (end - begin < 3 || !isdigit((unsigned char)begin[0]) || !isdigit((unsigned char)begin[1]) ||
        !isdigit((unsigned char)begin[2]))
        return false;
    const char *p = begin + 3;
    if (p < end && *p++ != '.')
        return false;
    for (const char *q = p; q < end; q++)
        if (!isdigit((unsigned char)*q))
            return false;
    // The kHz value: the first six digits, padded with zeros.
    long kHz = 0;
    int digits = 0;
    for (const char *q = begin; q < end && digits < 6; q++) {
        if (*q == '.')
            continue;
        kHz = kHz * 10 + (*q - '0');
        digits++;
    }
    for (; digits < 6; digits++)
        kHz *= 10;
    if (kHz < kLowestComKHz || kHz > kHighestComKHz)
        return false;
    *value = xplaneVersion >= XPLANE_VERSION_COM_833 ? (double)kHz : (double)(kHz / 10);
    return true;
}

void Radio_ottieniFrequenzaCenter(const char *identifier, pilot *record)
{
    PrintDebug(kTag, "ACC lookup: Entro in Radio_ottieniFrequenzaCenter");
    if (record == nullptr)
        return;
    if (identifier == nullptr || !IsAlnum(identifier[0]) || !IsAlnum(identifier[1])) {
        PrintInfo(kTag, "Invalid aiport passed to the function, skipping acc frequency search for airport %s",
                  identifier != nullptr ? identifier : "");
        return;
    }
    char path[1024];
    Utils_PluginFilePath("acc.dat", path, sizeof path);
    CenterCandidate candidate;
    bool clashed = false, found = false;
    if (FindCandidate(path, identifier, *record, &candidate, &clashed, &found))
        PrintInfo(kTag, "ACC lookup: reading acc.dat file %s, plane %s, airport %s", path, record->nomePilota,
                  identifier);
    else
        PrintInfo(kTag, "ACC lookup: ERROR: cannot open acc.dat file %s", path);

    bool used = false, filed = false;
    if (found) {
        double value = candidate.frequency;
        PrintInfo(kTag, "Token e token pulito: %s line %d, %9.20lf", identifier, candidate.lineNumber, value);
        if (value != record->frequenzaCenter && value != record->frequenzaCenterTemp &&
            record->frequenzaCenter != 0 && record->centerTrovata) {
            record->frequenzaCenterTemp = value;
            record->nuovaCenterTrovata = true;
            filed = true;
            PrintInfo(kTag, "%s frequenza center trovata per %s: %9.20lf, pero' non la imposto perche' aspetto la "
                      "conferma (impostata su temp)", record->nomePilota, identifier, value);
            PrintInfo(kTag, "ACC lookup: %s frequenza center trovata per %s: %9.20lf, pero' non la imposto perche' "
                      "aspetto la conferma (impostata su temp)", record->nomePilota, identifier, value);
        } else {
            // The name goes with its frequency: a held-back or refused line renames nobody.
            record->frequenzaCenter = value;
            snprintf(record->nomeCenter, sizeof record->nomeCenter, "%s", candidate.name.c_str());
            record->centerTrovata = true;
            record->nuovaCenterTrovata = true;
            used = true;
            PrintInfo(kTag, "ACC lookup: flight %s, acc frequency found for %s: %9.20lf", record->nomePilota,
                      identifier, value);
        }
    } else if (clashed) {
        record->nuovaCenterTrovata = false;
    }

    if (used && record->frequenzaCenter != 0) {
        record->centerFittizia = false;
    } else if (record->centerTrovata && record->frequenzaCenter != 0) {
        record->centerFittizia = false;
        if (filed)
            PrintInfo(kTag, "ACC lookup: temporary frequency filed %f for airport %s", record->frequenzaCenterTemp,
                      identifier);
        else
            PrintInfo(kTag, "ACC lookup: can't find frequency for %s, keeping the previous frequency: %f", identifier,
                      record->frequenzaCenter);
    } else {
        PrintInfo(kTag, "ACC lookup: acc frequency not found for %s", identifier);
        if (!(record->centerFittizia && record->frequenzaCenter != 0))
            UseMadeUpFrequency(record);
    }
}

void Radio_settaFrequenzaCenter(pilot *record)
{
    const char *const tag = "Radio_settaFrequenzaCenter";
    PrintDebug(tag, "ACC lookup: Entro in Radio_settaFrequenzaCenter");
    if (record == nullptr)
        return;
    record->ultimaRicercaCenter = (int)XPLMGetElapsedTime();
    record->frequenzaCenterPrecedente = record->frequenzaCenter;
    PrintInfo(tag, "ACC lookup: %s vecchia frequenza center archiviata: %2f", record->nomePilota,
              record->frequenzaCenter);

    bool filed = record->gIsFPFiled != 0 || gIsFPFiled != 0;
    if (record->primaChiamataCenterEffettuataMIA != 1 && filed && gActualAptICAO[0] != 0) {
        PrintInfo(tag, "ACC lookup: %s Center search for DEPARTURE airport %s", record->nomePilota, gActualAptICAO);
        Radio_ottieniFrequenzaCenter(gActualAptICAO, record);
        return;
    }
    float lat = (float)record->latitudine, lon = (float)record->longitudine;
    XPLMNavRef ref = XPLMFindNavAid(nullptr, nullptr, &lat, &lon, nullptr, xplm_Nav_Airport);
    if (ref == XPLM_NAV_NOT_FOUND) {
        PrintInfo(tag, "ACC lookup: %s no airport near %f %f, centre unchanged", record->nomePilota, lat, lon);
        return;
    }
    char id[kNavIdSize] = "", name[kNavNameSize] = "";
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, name, nullptr);
    PrintInfo(tag, "ACC lookup: %s Center search for CLOSEST airport %s %s", record->nomePilota, id, name);
    Radio_ottieniFrequenzaCenter(id, record);
}
