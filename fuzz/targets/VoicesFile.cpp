// Voices.txt as a user may leave it (readVoices), and the controller voice picked from it.
// Input: the file.
#include <cstring>

#include "FuzzHost.h"
#include "speech/Voices.h"
#include "ui/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::LayFile("Resources/plugins/Vellomir64/Voices.txt", data, size);
    azureTtsOn = 1;
    readVoices();
    FUZZ_CHECK(vociRandom.size() <= size / 10 + 1, "%zu voices from %zu bytes", vociRandom.size(), size);
    for (const voceRandom &voice : vociRandom)
        FUZZ_CHECK(voice.name[0] != 0 && strnlen(voice.name, sizeof voice.name) < sizeof voice.name,
                   "a voice name empty or without its end");
    FUZZ_CHECK(strnlen(userVoice, sizeof userVoice) < sizeof userVoice, "the user voice without its end");
    bool any = userVoice[0] != 0 || !vociRandom.empty();
    FUZZ_CHECK(vociCustom == (any ? 1 : 0) && (any || azureTtsOn == 0), "voices %d, custom %d, cloud engine %d",
               (int)any, vociCustom, azureTtsOn);

    voceRandomAttuale[0] = 0;
    CambiaVoceRandom();
    if (!vociRandom.empty()) {
        bool listed = false;
        for (const voceRandom &voice : vociRandom)
            listed = listed || strcmp(voice.name, voceRandomAttuale) == 0;
        FUZZ_CHECK(listed, "controller voice '%s' is not in the list", voceRandomAttuale);
    }
    std::vector<voceRandom>().swap(vociRandom); // a run frees what it allocated, else every run is leak-checked
    return 0;
}
