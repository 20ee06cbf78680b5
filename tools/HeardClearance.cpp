// What a pilot hears in a controller's text: the heading, level and speed it gives, read from the words as the
// plug-in speaks them (numbers as figures or spelled digit by digit, "tree" and "niner" included).
#include <cctype>
#include <string>
#include <vector>

#include "Scenario.h"

namespace {

struct Word {
    std::string text;       ///< lower case, letters and digits only
    bool endsClause = false; ///< a comma, full stop or the like follows it
};

/// The words of a text, lower case; a '.' between two digits stays in its word ("124.2").
std::vector<Word> SplitWords(const std::string &text)
{
    std::vector<Word> words;
    std::string current;
    auto finish = [&](bool clause) {
        if (!current.empty())
            words.push_back(Word{current, false});
        current.clear();
        if (clause && !words.empty())
            words.back().endsClause = true;
    };
    for (size_t i = 0; i < text.size(); i++) {
        const unsigned char c = (unsigned char)text[i];
        const bool betweenDigits = i > 0 && i + 1 < text.size() && isdigit((unsigned char)text[i - 1]) &&
                                   isdigit((unsigned char)text[i + 1]);
        if (isalnum(c) || (c == '.' && betweenDigits))
            current += (char)tolower(c);
        else
            finish(c == ',' || c == '.' || c == ';' || c == ':' || c == '!' || c == '?');
    }
    finish(false);
    return words;
}

/// The digit of a spoken digit word, -1 for another word.
int DigitOf(const std::string &word)
{
    static const char *const kWords[] = {"zero", "one", "two", "tree", "four", "five", "six", "seven", "eight", "niner"};
    for (int i = 0; i < 10; i++)
        if (word == kWords[i] || (i == 3 && word == "three") || (i == 9 && word == "nine"))
            return i;
    return -1;
}

/// A number spoken from words[at] on, within its clause: figures ("7000"), or digits one by one ("two seven
/// eight"), either followed by "thousand" and "N hundred". next is the word after it.
bool ReadNumber(const std::vector<Word> &w, size_t at, int &value, size_t &next)
{
    if (at >= w.size())
        return false;
    const std::string &first = w[at].text;
    long number = 0;
    size_t i = at;
    if (!first.empty() && first.size() <= 6 && first.find_first_not_of("0123456789") == std::string::npos) {
        number = std::stol(first);
        i++;
    } else {
        for (int digits = 0; i < w.size() && digits < 6 && DigitOf(w[i].text) >= 0; digits++) {
            number = number * 10 + DigitOf(w[i].text);
            if (w[i++].endsClause)
                break;
        }
        if (i == at)
            return false;
    }
    if (i < w.size() && !w[i - 1].endsClause && w[i].text == "thousand") {
        number *= 1000;
        int hundreds = 0;
        size_t after = 0;
        if (!w[i].endsClause && ReadNumber(w, i + 1, hundreds, after) && hundreds < 10 && after < w.size() &&
            w[after].text == "hundred" && !w[after - 1].endsClause) {
            number += hundreds * 100;
            i = after;
        }
        i++;
    }
    if (number > 999999) // no heading, level or speed is this large
        return false;
    value = (int)number;
    next = i;
    return true;
}

/// The first "N UNIT" (UNIT one of units) or, when levels, "flight level N" / "FL N" in the clause from
/// words[from] on; -1 when the clause holds none.
int FindQuantity(const std::vector<Word> &w, size_t from, const std::vector<std::string> &units, bool levels)
{
    for (size_t i = from; i < w.size(); i++) {
        const bool flightLevel = levels && i + 1 < w.size() && w[i].text == "flight" && w[i + 1].text == "level" &&
                                 !w[i].endsClause;
        const bool fl = levels && w[i].text == "fl";
        int value = 0;
        size_t next = 0;
        if ((flightLevel || fl) && !w[flightLevel ? i + 1 : i].endsClause &&
            ReadNumber(w, flightLevel ? i + 2 : i + 1, value, next))
            return value * 100;
        if (!(flightLevel || fl) && ReadNumber(w, i, value, next) && next < w.size() && !w[next - 1].endsClause)
            for (const std::string &unit : units)
                if (w[next].text == unit)
                    return value;
        if (w[i].endsClause)
            break;
    }
    return -1;
}

bool OneOf(const std::string &word, std::initializer_list<const char *> list)
{
    for (const char *item : list)
        if (word == item)
            return true;
    return false;
}

} // namespace

HeardClearance Scenario_HeardClearance(const std::string &text)
{
    HeardClearance heard;
    const std::vector<Word> w = SplitWords(text);
    const std::vector<std::string> kFeet = {"feet", "ft"}, kKnots = {"knots", "knot", "kts"};
    bool headingAsked = false, levelAsked = false, speedAsked = false, turned = false;
    for (size_t i = 0; i < w.size(); i++) {
        const std::string &word = w[i].text;
        turned = turned || word == "turn";
        if (turned && word == "heading" && heard.heading_deg < 0) {
            headingAsked = true;
            int value = 0;
            size_t next = 0;
            if (!w[i].endsClause && ReadNumber(w, i + 1, value, next) && value >= 0 && value <= 360)
                heard.heading_deg = value == 0 ? 360 : value;
        }
        // A request ("request climb to ...") is the pilot's own words, not a clearance.
        if (i > 0 && !w[i - 1].endsClause && OneOf(w[i - 1].text, {"request", "requesting"}))
            continue;
        const bool levelWord = OneOf(word, {"climb", "descend", "maintain"});
        const bool speedWord = OneOf(word, {"speed", "maintain"});
        const int level = levelWord && !w[i].endsClause ? FindQuantity(w, i + 1, kFeet, true) : -1;
        const int speed = speedWord && !w[i].endsClause ? FindQuantity(w, i + 1, kKnots, false) : -1;
        if (level != -1 && heard.level_ft < 0)
            heard.level_ft = level > 0 && level <= 60000 ? level : -2;
        if (speed != -1 && heard.speed_kt < 0)
            heard.speed_kt = speed >= 40 && speed <= 600 ? speed : -2;
        // "maintain" gives a level or a speed: it is unreadable only when it gives neither.
        levelAsked = levelAsked || (levelWord && word != "maintain") || (word == "maintain" && speed == -1);
        speedAsked = speedAsked || word == "speed";
    }
    heard.unread = (headingAsked && heard.heading_deg < 0) || (levelAsked && heard.level_ft < 0) ||
                   (speedAsked && heard.speed_kt < 0);
    heard.level_ft = heard.level_ft < 0 ? -1 : heard.level_ft;
    heard.speed_kt = heard.speed_kt < 0 ? -1 : heard.speed_kt;
    return heard;
}
