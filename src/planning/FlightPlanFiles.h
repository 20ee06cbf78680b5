// The last filed flight kept in the plug-in's folder: FlightPlan.txt (route and airports) and
// FlightSettings.txt (level, flight name and number, transition levels); and the plan as KML.
#pragma once

#include <string>

/// What FlightPlan.txt and FlightSettings.txt hold; the has* flags say which parts were found.
struct SavedFlightPlan {
    bool hasPlan = false;
    std::string route, arrival;
    bool hasLevel = false, hasName = false, hasNumber = false, hasTransDep = false, hasTransArr = false;
    int plannedFL = 0;          ///< hundreds of feet
    std::string name, number;   ///< at most 31 and 16 characters
    int transDep = 0, transArr = 0; ///< hundreds of feet
};

/// FlightPlan.txt's line: "<departure> SID <route> STAR <arrival>\n".
std::string FlightPlan_PlanFileText(const std::string &departure, const std::string &route, const std::string &arrival);
/// FlightSettings.txt: "FL#", "ICAOFlightName#", "ICAOFlightNumber#", "TransLevelFLDep#", "TransLevelFLArr#" lines.
std::string FlightPlan_SettingsFileText(int plannedFL, const std::string &name, const std::string &number,
                                        int transDep, int transArr);
/// Writes both files whole (a temporary file renamed over each); a file that cannot be written keeps its
/// previous contents and is named in failed (", "-separated). False when one failed.
bool FlightPlan_WriteFiles(const std::string &planText, const std::string &settingsText, std::string *failed);
/// Reads both files into saved; missing or malformed files are logged and leave their parts unset.
void FlightPlan_ReadFiles(SavedFlightPlan *saved);
/// Parses FlightPlan.txt's text; false when it is not a plan line.
bool FlightPlan_ParsePlanText(const std::string &text, SavedFlightPlan *saved);
/// Parses FlightSettings.txt's text (bad lines are logged and skipped).
void FlightPlan_ParseSettingsText(const std::string &text, SavedFlightPlan *saved);
