// Voices.txt: lines "key#value"; `user` names the user's voice, random01 to random15 the controller voices.
#include "speech/Voices.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "plugin/Log.h"
#include "speech/LocalTTS.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

std::vector<voceRandom> vociRandom;
char voceRandomAttuale[VOICE_NAME_SIZE] = "";
char userVoice[VOICE_NAME_SIZE] = "";
int vociCustom = 0;
const char *const kPilotVoice = "en-GB-RyanNeural";

namespace {

/// Number of controller voice keys: random01 .. random15.
const int kRandomVoiceKeys = 15;

bool Voices_isRandomKey(const std::string &key)
{
    if (key.size() != 8 || key.compare(0, 6, "random") != 0 || !isdigit((unsigned char)key[6]) ||
        !isdigit((unsigned char)key[7]))
        return false;
    int number = (key[6] - '0') * 10 + (key[7] - '0');
    return number >= 1 && number <= kRandomVoiceKeys;
}

std::string Voices_trim(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

/// Copies a voice name into dest; a name that does not fit would call a voice that does not exist, so it is
/// refused with a log line instead of being cut.
bool Voices_copyName(char (&dest)[VOICE_NAME_SIZE], const std::string &value, const char *path, int lineNumber)
{
    if (value.size() >= VOICE_NAME_SIZE) {
        PrintInfo("readVoices", "%s line %i: voice name longer than %i characters ignored: '%s'", path, lineNumber,
                  VOICE_NAME_SIZE - 1, value.c_str());
        return false;
    }
    snprintf(dest, sizeof dest, "%s", value.c_str());
    return true;
}

} // namespace

bool Voices_ReadCatalogue(const char *fileName, std::vector<voceRandom> &list, char (&user)[VOICE_NAME_SIZE])
{
    char path[1024];
    bool pathFits = Utils_PluginFilePath(fileName, path, sizeof path);
    PrintInfo("readVoices", "Voices file path: '%s'", path);
    list.clear();
    user[0] = '\0';

    std::ifstream file;
    if (pathFits)
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        PrintInfo("readVoices", "%s not found!", fileName);
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        lineNumber++;
        std::string tokens[3];
        if (Utils_HashTokens(line, tokens) != 2)
            continue;
        std::string value = Voices_trim(tokens[1]);
        if (value.empty())
            continue;
        if (tokens[0] == "user") {
            Voices_copyName(user, value, path, lineNumber);
        } else if (Voices_isRandomKey(tokens[0])) {
            voceRandom entry;
            if (Voices_copyName(entry.name, value, path, lineNumber))
                list.push_back(entry);
        }
    }
    PrintInfo("readVoices", "Random voices found: %i", (int)list.size());
    return true;
}

void readVoices()
{
    Voices_ReadCatalogue("Voices.txt", vociRandom, userVoice);

    if (userVoice[0] == '\0' && vociRandom.empty()) {
        vociCustom = 0;
        PrintInfo("readVoices", "No custom voices configuration available...");
        azureTtsOn = 0;
        PrintInfo("readVoices", "Azure TTS disabled...");
    } else {
        vociCustom = 1;
        PrintInfo("readVoices", "Loading custom voices configuration...");
    }
    readLocalVoices();
}

void CambiaVoceRandom()
{
    CambiaVoceLocale();
    if (vociRandom.empty())
        return;
    srand((unsigned)time(nullptr));
    int count = (int)vociRandom.size();
    int index = rand() % count;
    vociRandom[index].scelta = 1;
    snprintf(voceRandomAttuale, sizeof voceRandomAttuale, "%s", vociRandom[index].name);
    if (developerDEBUG)
        PrintInfo("CambiaVoceRandom", "Setting new random voice: %s (%i/%i), old voice %i ", voceRandomAttuale, index,
                  count, count);
    else
        PrintInfo("CambiaVoceRandom", "Setting new random voice: %s (%i/%i)", voceRandomAttuale, index, count);
}
