// FlightPlan.txt, FlightSettings.txt and FlightPlan.kml in the plug-in's folder.
#include "planning/FlightPlanFiles.h"

#include <fstream>
#include <sstream>

#include "planning/FlightPlanText.h"
#include "planning/Kml.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

namespace
{

const char *const kPlanFile = "FlightPlan.txt";
const char *const kSettingsFile = "FlightSettings.txt";
const char *const kKmlFile = "FlightPlan.kml";
/// Longest file read back: the files hold one short line each; anything larger is not ours.
const std::streamsize kReadMax = 64 * 1024;

bool FlightPlanFiles_path(const char *name, char *out, size_t size)
{
    if (Utils_PluginFilePath(name, out, size))
        return true;
    PrintInfo("FlightPlanFiles", "The path of %s is too long", name);
    return false;
}

/// The whole file, or false when it is missing or too large.
bool FlightPlanFiles_read(const char *name, std::string *text)
{
    char path[1024];
    if (!FlightPlanFiles_path(name, path, sizeof path))
        return false;
    PrintDebug("FlightPlan_ReadFiles", "Path: '%s'", path);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string contents(kReadMax + 1, '\0');
    file.read(&contents[0], kReadMax + 1);
    contents.resize((size_t)file.gcount());
    if ((std::streamsize)contents.size() > kReadMax) {
        PrintInfo("FlightPlan_ReadFiles", "%s is larger than %i bytes, not read", name, (int)kReadMax);
        return false;
    }
    *text = contents;
    return true;
}

/// Whole number of text when text is nothing else (digits with an optional sign).
bool FlightPlanFiles_wholeNumber(const std::string &text, int *value)
{
    size_t digits = text.find_first_not_of("+-") == 1 ? 1 : 0;
    if (text.size() <= digits || text.size() > 9 || text.find_first_not_of("0123456789", digits) != std::string::npos)
        return false;
    return Utils_LeadingInt(text.c_str(), value);
}

} // namespace

std::string FlightPlan_PlanFileText(const std::string &departure, const std::string &route, const std::string &arrival)
{
    return departure + " SID " + route + " STAR " + arrival + "\n";
}

std::string FlightPlan_SettingsFileText(int plannedFL, const std::string &name, const std::string &number, int transDep,
                                        int transArr)
{
    return "FL#" + std::to_string(plannedFL) + "\nICAOFlightName#" + name + "\nICAOFlightNumber#" + number +
           "\nTransLevelFLDep#" + std::to_string(transDep) + "\nTransLevelFLArr#" + std::to_string(transArr) + "\n";
}

bool FlightPlan_WriteFiles(const std::string &planText, const std::string &settingsText, std::string *failed)
{
    const char *names[2] = {kPlanFile, kSettingsFile};
    const std::string *texts[2] = {&planText, &settingsText};
    bool all = true;
    for (int i = 0; i < 2; i++) {
        char path[1024];
        if (FlightPlanFiles_path(names[i], path, sizeof path) && Utils_WriteFileAtomic(path, *texts[i]))
            continue;
        PrintInfo("ControlFileFlightPlanHandler", "Unable to create %s", names[i]);
        if (failed != nullptr)
            *failed += std::string(failed->empty() ? "" : ", ") + names[i];
        all = false;
    }
    return all;
}

bool FlightPlan_ParsePlanText(const std::string &text, SavedFlightPlan *saved)
{
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    // "<departure> SID <route> STAR <arrival>": the departure is the first word, the arrival the last, so
    // that route words such as STARR or a departure such as ASID are never taken for the marks.
    size_t afterDeparture = line.find(' ');
    size_t starMark = line.rfind(" STAR ");
    if (afterDeparture == std::string::npos || line.compare(afterDeparture, 5, " SID ") != 0 ||
        starMark == std::string::npos || starMark + 1 < afterDeparture + 4 || line.find('\0') != std::string::npos) {
        PrintInfo("FlightPlan_ReadFiles", "%s does not hold a flight plan line, ignored", kPlanFile);
        return false;
    }
    size_t routeStart = afterDeparture + 5;
    std::string route = starMark >= routeStart ? line.substr(routeStart, starMark - routeStart) : "";
    std::string arrival = line.substr(starMark + 6);
    if (arrival.find(' ') != std::string::npos) {
        PrintInfo("FlightPlan_ReadFiles", "%s does not hold a flight plan line, ignored", kPlanFile);
        return false;
    }
    // Only what the form could file comes back: the route's words and an airport code.
    saved->route = FlightPlan_JoinWords(FlightPlan_RouteWords(route));
    saved->arrival = FlightPlan_CleanCode(arrival);
    saved->hasPlan = true;
    return true;
}

void FlightPlan_ParseSettingsText(const std::string &text, SavedFlightPlan *saved)
{
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        lineNumber++;
        std::string tokens[3];
        int count = Utils_HashTokens(line, tokens);
        if (count != 2) {
            if (count > 0)
                PrintInfo("FlightPlan_ReadFiles", "%s line %i: not key#value, skipped", kSettingsFile, lineNumber);
            continue;
        }
        const std::string &key = tokens[0], &value = tokens[1];
        int number = 0;
        if (key == "ICAOFlightName") {
            saved->name = FlightPlan_CleanName(value);
            saved->hasName = true;
        } else if (key == "ICAOFlightNumber") {
            saved->number = FlightPlan_CleanNumber(value);
            saved->hasNumber = true;
        } else if (key != "FL" && key != "TransLevelFLDep" && key != "TransLevelFLArr") {
            PrintInfo("FlightPlan_ReadFiles", "%s line %i: unknown key, skipped", kSettingsFile, lineNumber);
        } else if (!FlightPlanFiles_wholeNumber(value, &number)) {
            PrintInfo("FlightPlan_ReadFiles", "%s line %i: %s is not a whole number, skipped", kSettingsFile,
                      lineNumber, key.c_str());
        } else if (key == "FL") {
            saved->plannedFL = number;
            saved->hasLevel = true;
        } else if (key == "TransLevelFLDep") {
            saved->transDep = number;
            saved->hasTransDep = true;
        } else {
            saved->transArr = number;
            saved->hasTransArr = true;
        }
    }
}

void FlightPlan_ReadFiles(SavedFlightPlan *saved)
{
    std::string text;
    if (FlightPlanFiles_read(kPlanFile, &text))
        FlightPlan_ParsePlanText(text, saved);
    else
        PrintInfo("FlightPlan_ReadFiles", "Flight plan file could not be found!");
    text.clear();
    if (FlightPlanFiles_read(kSettingsFile, &text))
        FlightPlan_ParseSettingsText(text, saved);
    else
        PrintInfo("FlightPlan_ReadFiles", "Flight settings file could not be found!");
}

void pilot::WriteFlightPlanKml(pilot *record)
{
    record->kmlExport = gKMLExp;
    if (record->kmlExport != 1 || record->datiPilotaImpostati != 1)
        return;
    std::string kml = Kml_Header(kKmlFile, "sh_grn-pushpin", kKmlYellowPushpin, "Waypoints");
    for (const flightPlanLoc &loc : record->flightPlanVec)
        kml += Kml_Placemark(loc.name, loc.lat, loc.lon);
    kml += Kml_Footer();
    Kml_WriteFile(kKmlFile, kml, "WriteFlightPlanKml");
}
