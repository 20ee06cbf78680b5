// Settings.txt as a user may leave it (readSettings), and the round trip through writeSettings: what
// one write gives, reading it and writing again gives the same.
// Input: the file.
#include <cmath>
#include <cstring>

#include "FuzzHost.h"
#include "Harness.h"
#include "ui/Settings.h"

namespace {

const char kSettings[] = "Resources/plugins/Vellomir64/Settings.txt";

/// Every setting back to its compiled-in default, mostly from the file the defaults wrote.
void RestoreDefaults()
{
    static std::string defaults;
    if (defaults.empty()) {
        writeSettings();
        defaults = simhost::ReadFile(kSettings);
        if (defaults.empty())
            fuzz::Fail("the default settings were not written");
    }
    fuzz::LayFile(kSettings, defaults);
    readSettings();
    // Neither written by default nor ever: set by hand.
    latestVersion[0] = 0;
    frequenciesPositionLeft = frequenciesPositionTop = dialogPositionLeft = dialogPositionTop = 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    RestoreDefaults();
    fuzz::LayFile(kSettings, data, size);
    readSettings();
    for (float value : {offsetFirstReadback, offsetFirstTurn, holdingPointRadius})
        FUZZ_CHECK(std::isfinite(value), "a setting that is not a number");
    FUZZ_CHECK(strlen(azureKey) < sizeof azureKey && strlen(azureRegion) < sizeof azureRegion &&
                   strlen(latestVersion) < sizeof latestVersion,
               "a text setting without its end");

    writeSettings();
    std::string first = simhost::ReadFile(kSettings);
    FUZZ_CHECK(!first.empty(), "the settings were not written");
    readSettings();
    writeSettings();
    std::string second = simhost::ReadFile(kSettings);
    FUZZ_CHECK(first == second, "the settings changed when read back:\n%s\n---\n%s", first.c_str(), second.c_str());
    return 0;
}
