// FlightPlan.txt and FlightSettings.txt as anybody may leave them, read back for the flight plan window:
// what comes back is only what the form could file, and writing it again and reading that back gives
// the same. (The window itself is left out: building it every run costs a leak scan per run.)
// Input: FlightPlan.txt's length (2), FlightPlan.txt, then FlightSettings.txt.
#include <string>

#include "FuzzHost.h"
#include "planning/FlightPlanFiles.h"
#include "planning/FlightPlanText.h"

namespace {

bool OnlyRouteText(const std::string &text)
{
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string::npos))
        return false;
    return text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789. ") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    size_t planLength = input.Word();
    if (planLength > input.size)
        planLength = input.size;
    fuzz::LayFile("Resources/plugins/Vellomir64/FlightPlan.txt", input.data, planLength);
    fuzz::LayFile("Resources/plugins/Vellomir64/FlightSettings.txt", input.data + planLength, input.size - planLength);

    SavedFlightPlan saved;
    FlightPlan_ReadFiles(&saved);
    FUZZ_CHECK(OnlyRouteText(saved.route) && saved.arrival.size() <= 5 &&
                   saved.arrival.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") == std::string::npos,
               "route '%s' or arrival '%s' the form could not file", saved.route.c_str(), saved.arrival.c_str());
    FUZZ_CHECK(saved.name == FlightPlan_CleanName(saved.name) && saved.number == FlightPlan_CleanNumber(saved.number),
               "name '%s' or number '%s' the form could not file", saved.name.c_str(), saved.number.c_str());

    SavedFlightPlan again;
    FlightPlan_ParsePlanText(FlightPlan_PlanFileText("KSEA", saved.route, saved.arrival), &again);
    FlightPlan_ParseSettingsText(FlightPlan_SettingsFileText(saved.plannedFL, saved.name, saved.number, saved.transDep,
                                                             saved.transArr),
                                 &again);
    FUZZ_CHECK(again.route == saved.route && (again.arrival == saved.arrival || saved.arrival.empty()) &&
                   again.name == saved.name && again.number == saved.number && again.plannedFL == saved.plannedFL &&
                   again.transDep == saved.transDep && again.transArr == saved.transArr,
               "a written plan reads back otherwise");
    return 0;
}
