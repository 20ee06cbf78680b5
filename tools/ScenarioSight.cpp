// What the scripted pilot sees: the lines that appear on screen, the squawk code a message gives, and the
// windows open with their buttons.
#include "ScenarioPilot.h"

#include <algorithm>
#include <cctype>

#include "Harness.h"

namespace {

/// Lines an `await show` looks back over at most.
const size_t kShownKept = 20000;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

std::string Lower(std::string text)
{
    for (char &c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}

} // namespace

std::string Scenario_CollapseBlanks(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        if (!IsBlank(text[i]))
            out += text[i];
        else if (i == 0 || !IsBlank(text[i - 1]))
            out += ' ';
    }
    return out;
}

std::string Scenario_SquawkIn(const std::string &text)
{
    const std::string lower = Lower(text);
    std::string code;
    for (size_t at = lower.find("squawk"); at != std::string::npos; at = lower.find("squawk", at + 1)) {
        size_t i = at + 6;
        while (i < text.size() && i < at + 10 && (IsBlank(text[i]) || text[i] == '#' || text[i] == ':'))
            i++;
        const bool fourDigits = i + 4 <= text.size() && std::all_of(text.begin() + (long)i, text.begin() + (long)i + 4, IsOctal);
        if (fourDigits && (i + 4 == text.size() || !isdigit((unsigned char)text[i + 4])))
            code = text.substr(i, 4);
    }
    return code;
}

void ScenarioSight::Look()
{
    std::vector<std::string> now;
    for (const simhost::DrawnString &s : simhost::FrameStrings())
        if (!s.text.empty())
            now.push_back(s.text);
    if (now == screen)
        return;
    // A message the dialogue box wraps over several lines is read as one.
    std::string message;
    for (const std::string &line : now) {
        if (std::find(screen.begin(), screen.end(), line) != screen.end())
            continue;
        shown.push_back(line);
        // Text that changes every frame (the flight panel) would pile up between awaits.
        if (shown.size() > kShownKept)
            shown.erase(shown.begin(), shown.begin() + (long)(shown.size() - kShownKept / 2));
        message += line + " ";
    }
    std::string code = Scenario_SquawkIn(message);
    if (!code.empty())
        squawkHeard = code;
    if (double mhz = Scenario_FrequencyIn(Scenario_CollapseBlanks(message)))
        frequencyTold = mhz;
    screen = now;
}

std::vector<ScenarioWindow> Scenario_Windows()
{
    std::vector<ScenarioWindow> windows;
    for (void *id : simhost::VisibleWidgetWindows())
        windows.push_back(ScenarioWindow{id, simhost::WidgetText(id), simhost::ButtonLabels(id)});
    return windows;
}

std::vector<std::string> Scenario_WindowChanges(const std::vector<ScenarioWindow> &before,
                                                const std::vector<ScenarioWindow> &after)
{
    std::vector<std::string> lines;
    for (const ScenarioWindow &w : before)
        if (std::find(after.begin(), after.end(), w) == after.end())
            lines.push_back("WIN- \"" + w.title + "\"");
    for (const ScenarioWindow &w : after) {
        if (std::find(before.begin(), before.end(), w) != before.end())
            continue;
        std::string line = "WIN+ \"" + w.title + "\"";
        for (const std::string &label : w.buttons)
            line += " [" + label + "]";
        lines.push_back(line);
    }
    return lines;
}
