// Settings.txt: one "key#value" line per setting, read at start and written on Save and at stop.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

namespace {

enum SettingType { SETTING_INT, SETTING_FLOAT, SETTING_TEXT };

/// Lines written only when the window they place has been moved on screen (left > 0, top > 10), or, for
/// optional texts, only when set.
enum SettingGroup { GROUP_ALWAYS, GROUP_FREQUENCIES_POSITION, GROUP_DIALOG_POSITION, GROUP_TEXT_WHEN_SET };

struct SettingKey {
    const char *key;
    SettingType type;
    void *where;
    size_t size; ///< buffer size of a text setting
    SettingGroup group;
};

// clang-format off
#define INT_KEY(var) {#var, SETTING_INT, &var, 0, GROUP_ALWAYS}
#define FLOAT_KEY(var) {#var, SETTING_FLOAT, &var, 0, GROUP_ALWAYS}
#define TEXT_KEY(var) {#var, SETTING_TEXT, var, sizeof var, GROUP_ALWAYS}
// clang-format on

/// Every written setting, in the file's order.
const SettingKey kWrittenKeys[] = {
    INT_KEY(welcomeMessage202012),
    INT_KEY(gIsSpeechActivated),
    INT_KEY(gShowDarkWindows),
    INT_KEY(gKMLExp),
    INT_KEY(gQNH),
    INT_KEY(altimeterDecimal),
    INT_KEY(firstReadback),
    FLOAT_KEY(offsetFirstReadback),
    FLOAT_KEY(offsetFirstTurn),
    FLOAT_KEY(holdingPointRadius),
    INT_KEY(programFMSDirectOnJump),
    INT_KEY(switchCenterDefaultDistance),
    INT_KEY(pluginAutostart),
    INT_KEY(FLTolerance),
    INT_KEY(pointInsteadDecimal),
    INT_KEY(flightStatsIsActive),
    INT_KEY(lowAltitudeSpeedWarning),
    INT_KEY(calculateWCA),
    INT_KEY(maxHeadingError),
    {"headingAnnounceDelay", SETTING_INT, &pilotObj.headingAnnounceDelay, 0, GROUP_ALWAYS},
    INT_KEY(updateCheck),
    INT_KEY(enableFmcProgramming),
    INT_KEY(programFMSApproxILS),
    {"headingAnnounceDelayAP", SETTING_INT, &pilotObj.headingAnnounceDelayAP, 0, GROUP_ALWAYS},
    INT_KEY(onScreenWarnings),
    INT_KEY(reduceVectorCalls),
    INT_KEY(releaseRadioBetweenDialogs),
    INT_KEY(preciseHeading),
    INT_KEY(tdDescentSpeed),
    INT_KEY(disableVoiceOnReadBack),
    INT_KEY(userDebug),
    INT_KEY(autoHideDarkBox),
    INT_KEY(autoHideDarkBoxTimeOut),
    INT_KEY(simTimeStampMessages),
    INT_KEY(checkSquawkCode),
    INT_KEY(lookForSID),
    INT_KEY(lookForSTAR),
    INT_KEY(manualChooseSID),
    INT_KEY(manualChooseSTAR),
    {"vfrFlight", SETTING_INT, &pilotObj.vfrFlight, 0, GROUP_ALWAYS},
    INT_KEY(checkGroundElevation),
    INT_KEY(respectRestrictions),
    INT_KEY(skipApprox),
    TEXT_KEY(azureKey),
    TEXT_KEY(azureRegion),
    INT_KEY(azureTtsOn),
    INT_KEY(headingIndicatorActive),
    {"frequenciesPositionLeft", SETTING_INT, &frequenciesPositionLeft, 0, GROUP_FREQUENCIES_POSITION},
    {"frequenciesPositionTop", SETTING_INT, &frequenciesPositionTop, 0, GROUP_FREQUENCIES_POSITION},
    {"dialogPositionLeft", SETTING_INT, &dialogPositionLeft, 0, GROUP_DIALOG_POSITION},
    {"dialogPositionTop", SETTING_INT, &dialogPositionTop, 0, GROUP_DIALOG_POSITION},
    INT_KEY(informationsPosition),
    // Another address for the speech service (a compatible service); absent from the file unless set.
    {"azureTokenUrl", SETTING_TEXT, azureTokenUrl, sizeof azureTokenUrl, GROUP_TEXT_WHEN_SET},
    {"azureTtsUrl", SETTING_TEXT, azureTtsUrl, sizeof azureTtsUrl, GROUP_TEXT_WHEN_SET},
    // The update server; without it the updater contacts nothing.
    {"updateUrl", SETTING_TEXT, updateUrl, sizeof updateUrl, GROUP_TEXT_WHEN_SET},
    INT_KEY(localTtsOn),
    INT_KEY(radioSoundOn),
    // Another local synthesiser's command line; absent from the file unless set.
    {"localTtsCommand", SETTING_TEXT, localTtsCommand, sizeof localTtsCommand, GROUP_TEXT_WHEN_SET},
};

/// Read but never written.
const SettingKey kLatestVersionKey = TEXT_KEY(latestVersion);
/// Recognised in the file and ignored: the developer trace is switched on in the code only.
const char *const kIgnoredKey = "developerDEBUG";

#undef INT_KEY
#undef FLOAT_KEY
#undef TEXT_KEY

const char *const kFileName = "Settings.txt";
/// Longest value quoted in a log line about a bad line.
const int kQuotedValueMax = 40;

const SettingKey *Settings_Find(const std::string &key)
{
    for (const SettingKey &entry : kWrittenKeys)
        if (key == entry.key)
            return &entry;
    if (key == kLatestVersionKey.key)
        return &kLatestVersionKey;
    return nullptr;
}

void Settings_Apply(const SettingKey &entry, const std::string &value, int lineNumber)
{
    switch (entry.type) {
    case SETTING_INT:
        if (!Utils_LeadingInt(value.c_str(), (int *)entry.where))
            PrintInfo("readSettings", "%s line %i: %s expects a whole number, not \"%.*s\"; set to 0", kFileName,
                      lineNumber, entry.key, kQuotedValueMax, value.c_str());
        break;
    case SETTING_FLOAT:
        if (!Utils_LeadingFloat(value.c_str(), (float *)entry.where))
            PrintInfo("readSettings", "%s line %i: %s expects a number, not \"%.*s\"; set to 0", kFileName, lineNumber,
                      entry.key, kQuotedValueMax, value.c_str());
        break;
    case SETTING_TEXT: {
        // The text settings end up in requests (a key in a header, an address, a version): a control
        // character there is never meant, and a CR would split the header.
        for (unsigned char c : value) {
            if (c < 0x20 || c == 0x7f) {
                PrintInfo("readSettings", "%s line %i: %s holds a control character (%d), ignored", kFileName,
                          lineNumber, entry.key, (int)c);
                return;
            }
        }
        if (entry.group == GROUP_TEXT_WHEN_SET && value.size() >= entry.size) {
            // An address cut short names another place: it is refused instead.
            PrintInfo("readSettings", "%s line %i: %s is longer than %i characters, ignored", kFileName, lineNumber,
                      entry.key, (int)entry.size - 1);
            return;
        }
        char *text = (char *)entry.where;
        snprintf(text, entry.size, "%s", value.c_str());
        if (value.size() >= entry.size)
            PrintInfo("readSettings", "%s line %i: %s is longer than %i characters and was cut", kFileName, lineNumber,
                      entry.key, (int)entry.size - 1);
        break;
    }
    }
}

bool Settings_GroupWritten(const SettingKey &entry)
{
    switch (entry.group) {
    case GROUP_TEXT_WHEN_SET:
        return ((const char *)entry.where)[0] != '\0';
    case GROUP_FREQUENCIES_POSITION:
        return frequenciesPositionLeft > 0 && frequenciesPositionTop > 10;
    case GROUP_DIALOG_POSITION:
        return dialogPositionLeft > 0 && dialogPositionTop > 10;
    default:
        return true;
    }
}

/// Writes "key#value\n"; floats as a default-formatted stream would (six significant digits), without
/// the locale so that a comma never replaces the point.
bool Settings_WriteLine(FILE *file, const SettingKey &entry)
{
    char value[320];
    switch (entry.type) {
    case SETTING_INT:
        snprintf(value, sizeof value, "%d", *(const int *)entry.where);
        break;
    case SETTING_FLOAT: {
        std::to_chars_result r =
            std::to_chars(value, value + sizeof value - 1, *(const float *)entry.where, std::chars_format::general, 6);
        *r.ptr = 0;
        break;
    }
    case SETTING_TEXT:
        snprintf(value, sizeof value, "%s", (const char *)entry.where);
        break;
    }
    return fprintf(file, "%s#%s\n", entry.key, value) > 0;
}

} // namespace

bool Settings_FilePath(char *out, size_t size)
{
    return Utils_PluginFilePath(kFileName, out, size);
}

void readSettings()
{
    char path[1024];
    if (!Settings_FilePath(path, sizeof path)) {
        PrintInfo("readSettings", "The path of %s is too long", kFileName);
        return;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        PrintDebug("readSettings", "Settings file could not be found!");
        return;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        lineNumber++;
        std::string tokens[3];
        int count = Utils_HashTokens(line, tokens);
        if (count != 2) {
            if (count > 0)
                PrintDebug("readSettings", "%s line %i: %i \"#\"-separated parts instead of key#value, skipped",
                           kFileName, lineNumber, count);
            continue;
        }
        if (tokens[0] == kIgnoredKey)
            continue;
        const SettingKey *entry = Settings_Find(tokens[0]);
        if (entry == nullptr) {
            PrintDebug("readSettings", "%s line %i: unknown key \"%.*s\", skipped", kFileName, lineNumber,
                       kQuotedValueMax, tokens[0].c_str());
            continue;
        }
        Settings_Apply(*entry, tokens[1], lineNumber);
    }
    if (file.bad())
        PrintInfo("readSettings", "%s could not be read to its end (line %i)", kFileName, lineNumber);
}

void writeSettings()
{
    char path[1024], temporary[1100];
    if (!Settings_FilePath(path, sizeof path)) {
        PrintInfo("writeSettings", "The path of %s is too long, settings not written", kFileName);
        return;
    }
    snprintf(temporary, sizeof temporary, "%s.tmp", path);
    // The file holds the speech service's key: a new one is the owner's only, a replaced one keeps the
    // permissions the user gave it. The temporary file is never more open than that.
    struct stat previous;
    mode_t mode = stat(path, &previous) == 0 ? (previous.st_mode & 07777) : (S_IRUSR | S_IWUSR);
    int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0 && fchmod(fd, mode) != 0)
        PrintInfo("writeSettings", "%s: permissions %o could not be kept (%s)", temporary, (unsigned)mode,
                  strerror(errno));
    FILE *file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr && fd >= 0)
        close(fd);
    if (file == nullptr) {
        PrintInfo("writeSettings", "%s could not be created (%s), settings not written", temporary, strerror(errno));
        return;
    }
    bool written = true;
    for (const SettingKey &entry : kWrittenKeys)
        if (Settings_GroupWritten(entry))
            written = Settings_WriteLine(file, entry) && written;
    // The new file replaces the old one only once it is complete on disk.
    written = fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    written = fclose(file) == 0 && written;
    if (!written || rename(temporary, path) != 0) {
        PrintInfo("writeSettings", "%s could not be written (%s); the previous file is kept", path, strerror(errno));
        remove(temporary);
    }
}
