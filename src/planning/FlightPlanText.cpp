// Cleaning of the flight plan form's texts and the radio callsign.
#include "planning/FlightPlanText.h"

#include <algorithm>
#include <cctype>

namespace {

bool FlightPlanText_isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool FlightPlanText_isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char FlightPlanText_upper(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

} // namespace

std::string FlightPlan_CleanCode(const std::string &text)
{
    std::string code;
    for (size_t i = 0; i < text.size() && i < 5; i++)
        if (FlightPlanText_isLetter(text[i]) || FlightPlanText_isDigit(text[i]))
            code += FlightPlanText_upper(text[i]);
    return code;
}

std::string FlightPlan_CleanName(const std::string &text)
{
    std::string name;
    for (size_t i = 0; i < text.size() && i < FLIGHT_NAME_MAX; i++) {
        char c = text[i];
        if (FlightPlanText_isLetter(c) || FlightPlanText_isDigit(c) || c == ' ' || c == '-')
            name += c;
    }
    return name;
}

std::string FlightPlan_CleanNumber(const std::string &text)
{
    std::string number;
    for (size_t i = 0; i < text.size() && i < FLIGHT_NUMBER_MAX; i++) {
        char c = text[i];
        if (FlightPlanText_isLetter(c) || FlightPlanText_isDigit(c) || c == ' ' || c == '-')
            number += FlightPlanText_upper(c);
    }
    return number;
}

std::vector<std::string> FlightPlan_RouteWords(const std::string &text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (FlightPlanText_isLetter(c) || FlightPlanText_isDigit(c) || c == '.') {
            word += FlightPlanText_upper(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::string FlightPlan_JoinWords(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words) {
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}

std::string FlightPlan_WordIdentifier(const std::string &word)
{
    return word.substr(0, word.find('.'));
}

int FlightPlan_RemoveWords(std::vector<std::string> &words, const std::vector<std::string> &names)
{
    size_t before = words.size();
    words.erase(std::remove_if(words.begin(), words.end(),
                               [&](const std::string &word) {
                                   return std::find(names.begin(), names.end(), FlightPlan_WordIdentifier(word)) !=
                                          names.end();
                               }),
                words.end());
    return (int)(before - words.size());
}

bool FlightPlan_IsAirway(const std::string &word)
{
    size_t i = 0;
    while (i < word.size() && i < 2 && FlightPlanText_isLetter(word[i]))
        i++;
    size_t letters = i;
    while (i < word.size() && FlightPlanText_isDigit(word[i]))
        i++;
    size_t digits = i - letters;
    if (i < word.size() && FlightPlanText_isLetter(word[i]))
        i++;
    return letters >= 1 && digits >= 1 && digits <= 4 && i == word.size();
}

std::string FlightPlan_Callsign(const std::string &spokenName, const std::string &number, bool heavy)
{
    std::string suffix = "@" + number + "@";
    if (heavy)
        suffix += " Heavy";
    // The callsign buffer keeps CALLSIGN_SIZE - 1 characters: the name and its space give way first.
    const size_t room = (size_t)CALLSIGN_SIZE - 1;
    std::string name = spokenName;
    if (name.size() + 1 + suffix.size() > room) {
        size_t keep = room > suffix.size() + 1 ? room - suffix.size() - 1 : 0;
        // Cut between words when the name has more than one ("SOUTHERN AIR", not "SOUTHERN AIR T").
        size_t space = name[keep] == ' ' ? keep : name.rfind(' ', keep);
        name.resize(space != std::string::npos && space > 0 ? space : keep);
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name.empty() ? suffix : name + " " + suffix;
}
