// Airline telephony designators looked up in the plug-in's ICAOCodes.dat.
#include "navdata/Callsigns.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "plugin/Log.h"
#include "ui/Utils.h"

namespace {

const char *const kFileName = "ICAOCodes.dat";
/// Longest code taken, characters.
const size_t kCodeMax = 64;
/// Longest telephony designator returned, characters (the longest real one has about 25).
const size_t kNameMax = 127;

char gNomeLinea[kNameMax + 1];

/// The nth ";"-separated field of line (0-based), or an empty string.
std::string Callsigns_field(const std::string &line, int nth)
{
    size_t start = 0;
    for (int i = 0; i < nth; i++) {
        start = line.find(';', start);
        if (start == std::string::npos)
            return "";
        start++;
    }
    size_t end = line.find(';', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

/// A name the phrases can carry: printable, without the markup marks "@", "#" and "*".
bool Callsigns_speakable(const std::string &name)
{
    for (char c : name)
        if ((unsigned char)c < 0x20 || c == 0x7f || c == '@' || c == '#' || c == '*')
            return false;
    return true;
}

} // namespace

const char *Utils_nomeLinea(const char *code)
{
    char passed[kCodeMax + 1];
    snprintf(passed, sizeof passed, "%s", code != nullptr ? code : "");
    char wanted[kCodeMax + 1];
    size_t length = strlen(passed);
    for (size_t i = 0; i <= length; i++)
        wanted[i] = (char)toupper((unsigned char)passed[i]);
    snprintf(gNomeLinea, sizeof gNomeLinea, "%s", passed);

    char path[1024];
    std::ifstream file;
    if (Utils_PluginFilePath(kFileName, path, sizeof path))
        file.open(path, std::ios::binary);
    if (!file) {
        Utils::log("ERROR: cannot open ICAOCodes.dat", 0);
        return gNomeLinea;
    }
    Utils::log("reading ICAOCodes.dat", 0);
    if (wanted[0] == '\0') {
        Utils_LogFormat("cannot find ICAO Airline %s", wanted);
        return gNomeLinea;
    }

    bool found = false;
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        lineNumber++;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty() || line[0] == '#' || line.find(wanted) == std::string::npos)
            continue;
        if (Callsigns_field(line, 0).find(wanted) == std::string::npos)
            continue;
        std::string name = Callsigns_field(line, 2);
        if (name.empty() || name.size() > kNameMax || !Callsigns_speakable(name)) {
            Utils_LogFormat("ICAOCodes.dat line %i: no usable telephony designator in its third field, skipped",
                            lineNumber);
            continue;
        }
        snprintf(gNomeLinea, sizeof gNomeLinea, "%s", name.c_str());
        found = true;
        Utils_LogFormat("found ICAO airline %s as %s", wanted, gNomeLinea);
    }
    if (!found)
        Utils_LogFormat("cannot find ICAO Airline %s", wanted);
    return gNomeLinea;
}
