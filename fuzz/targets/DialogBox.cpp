// The dialogue box's word wrapper (AddToDialogArray) on arbitrary text, its drawing, and the radio
// history.
// Input: colour (3 bytes, 0 to 1 in 255ths), time stamps of the simulator or the computer (1 byte), then
// the text (its lines are delivered one after the other, as the queue delivers messages).
#include <cstring>

#include "FuzzHost.h"
#include "Harness.h"
#include "comms/DialogBox.h"
#include "ui/Settings.h"

namespace {

/// The words of a box line after its "r:g:b#HH:MM:SS " stamp.
std::string WordsOf(const std::string &line)
{
    size_t hash = line.find('#');
    FUZZ_CHECK(hash != std::string::npos && line.size() >= hash + 10 && line[hash + 9] == ' ',
               "box line without its stamp: %s", line.c_str());
    return line.substr(hash + 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    float color[3];
    for (float &channel : color)
        channel = input.Byte() / 255.0f;
    simTimeStampMessages = input.Byte() & 1;
    std::string text = input.Rest();

    gOutputDialogues.clear();
    HisotryComunicazioniRadio.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string message = text.substr(start, end - start);
        AddToDialogArray(message.c_str(), color);
        Radio_AddToHistory(message.c_str());
        start = end + 1;
    }
    FUZZ_CHECK(gOutputDialogues.size() <= DIALOG_BOX_LINES, "%zu box lines", gOutputDialogues.size());
    FUZZ_CHECK(HisotryComunicazioniRadio.size() <= RADIO_HISTORY_SIZE, "%zu history entries",
               HisotryComunicazioniRadio.size());
    for (const std::string &line : gOutputDialogues) {
        std::string words = WordsOf(line);
        FUZZ_CHECK(!words.empty() && words[0] != ' ' && words.back() != ' ', "box line '%s'", words.c_str());
        // A line is longer than the width only when it is one word that is.
        FUZZ_CHECK(words.size() <= DIALOG_LINE_WIDTH || words.find(' ') == std::string::npos,
                   "a box line of %zu characters", words.size());
    }
    ShowDialogMessages();
    simhost::RunFrame(); // the drawn strings are kept until the next frame
    // A run frees what it allocated, else libFuzzer leak-checks every run.
    gOutputDialogues.clear();
    HisotryComunicazioniRadio.clear();
    return 0;
}
