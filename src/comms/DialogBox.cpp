// Word wrapping and drawing of the dialogue box; the radio history.
#include "comms/DialogBox.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "XPLMDataAccess.h"
#include "XPLMGraphics.h"
#include "plugin/FrameDriver.h"
#include "plugin/SimDataRefs.h"
#include "ui/Settings.h"

std::deque<std::string> gOutputDialogues;
std::deque<ComunicazioniRadio> HisotryComunicazioniRadio;

namespace {

/// Writes a colour channel as "%f" would in the C locale, whatever the process's locale.
void Dialog_appendChannel(std::string &out, float value)
{
    char text[32];
    std::to_chars_result result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.append(text, result.ptr);
}

void Dialog_timeOfDay(int *hours, int *minutes, int *seconds)
{
    if (simTimeStampMessages == 1) {
        int daySeconds = oraSimulata != nullptr ? (int)XPLMGetDataf(oraSimulata) : 0;
        if (daySeconds < 0)
            daySeconds = 0;
        *hours = (daySeconds / 3600) % 24;
        *minutes = (daySeconds / 60) % 60;
        *seconds = daySeconds % 60;
        return;
    }
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    *hours = local.tm_hour;
    *minutes = local.tm_min;
    *seconds = local.tm_sec;
}

/// Parses "r:g:b" into color; false (colour untouched) unless three numbers are there.
bool Dialog_parseColour(const std::string &prefix, float color[3])
{
    const char *p = prefix.c_str();
    const char *end = p + prefix.size();
    float parsed[3];
    for (int i = 0; i < 3; i++) {
        std::from_chars_result result = std::from_chars(p, end, parsed[i]);
        if (result.ec != std::errc() || parsed[i] != parsed[i])
            return false;
        p = result.ptr;
        if (i < 2) {
            if (p >= end || *p != ':')
                return false;
            p++;
        }
    }
    for (int i = 0; i < 3; i++)
        color[i] = parsed[i];
    return true;
}

} // namespace

void AddToDialogArray(const char *text, const float color[3])
{
    std::vector<std::string> lines;
    std::string current;
    int count = 0;
    const char *p = text != nullptr ? text : "";
    while (*p != '\0') {
        while (*p == ' ')
            p++;
        const char *start = p;
        while (*p != '\0' && *p != ' ')
            p++;
        int length = (int)(p - start);
        if (length == 0)
            continue;
        if (!current.empty() && count + 1 + length > DIALOG_LINE_WIDTH) {
            lines.push_back(current);
            current.clear();
        }
        if (current.empty()) {
            count = length;
        } else {
            current += ' ';
            count += 1 + length;
        }
        current.append(start, (size_t)length);
    }
    if (!current.empty())
        lines.push_back(current);
    if (lines.empty())
        return;

    std::string prefix;
    Dialog_appendChannel(prefix, color[0]);
    prefix += ':';
    Dialog_appendChannel(prefix, color[1]);
    prefix += ':';
    Dialog_appendChannel(prefix, color[2]);
    int hours, minutes, seconds;
    Dialog_timeOfDay(&hours, &minutes, &seconds);
    char stamp[16];
    snprintf(stamp, sizeof stamp, "#%02d:%02d:%02d ", hours, minutes, seconds);
    prefix += stamp;

    while (!gOutputDialogues.empty() && gOutputDialogues.size() + lines.size() > DIALOG_BOX_LINES)
        gOutputDialogues.pop_front();
    size_t first = lines.size() > DIALOG_BOX_LINES ? lines.size() - DIALOG_BOX_LINES : 0;
    for (size_t i = first; i < lines.size(); i++)
        gOutputDialogues.push_back(prefix + lines[i]);
}

void ShowDialogMessages()
{
    int i = 0;
    for (const std::string &line : gOutputDialogues) {
        int index = i++;
        if (line == "\n")
            continue;
        float color[3] = {1.0f, 1.0f, 1.0f};
        size_t hash = line.find('#');
        std::string shown = line;
        if (hash != std::string::npos) {
            Dialog_parseColour(line.substr(0, hash), color);
            shown = line.substr(hash + 1);
        }
        std::vector<char> buffer(shown.begin(), shown.end());
        buffer.push_back('\0');
        XPLMDrawString(color, gLeft + 5, gTop - 10 - 12 * index, buffer.data(), nullptr, xplmFont_Basic);
    }
}

void Radio_AddToHistory(const char *text)
{
    HisotryComunicazioniRadio.push_back(ComunicazioniRadio{text != nullptr ? text : ""});
    while (HisotryComunicazioniRadio.size() > RADIO_HISTORY_SIZE)
        HisotryComunicazioniRadio.pop_front();
}
