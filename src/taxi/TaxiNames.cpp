// Taxiway names of a route: cleaned of markup, only those that read as taxiway designators, in order
// from the aircraft to the runway.
#include "taxi/TaxiNames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "state/Pilot.h"

std::string Taxi_CleanName(const std::string &name)
{
    std::string clean;
    for (char c : name) {
        if (c == '#' || c == '*' || c == '@' || (unsigned char)c < 0x20 || c == 0x7f)
            continue;
        clean += c;
    }
    size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

bool Taxi_LooksLikeTaxiway(const std::string &name)
{
    size_t letters = 0, digits = 0;
    while (letters < name.size() && isalpha((unsigned char)name[letters]))
        letters++;
    while (letters + digits < name.size() && isdigit((unsigned char)name[letters + digits]))
        digits++;
    return letters >= 1 && letters <= 2 && digits <= 2 && letters + digits == name.size();
}

int Taxi_ViaText(const pilot *record, char *out, size_t size)
{
    if (out == nullptr || size == 0)
        return 0;
    out[0] = 0;
    int count = 0;
    std::string last;
    size_t used = 0;
    // taxiPoints runs from the runway back to the aircraft.
    for (auto point = record->taxiPoints.rbegin(); point != record->taxiPoints.rend(); ++point) {
        std::string name = Taxi_CleanName(point->name);
        if (!Taxi_LooksLikeTaxiway(name))
            continue;
        for (char &c : name)
            c = (char)toupper((unsigned char)c);
        if (name == last)
            continue;
        if (count == TAXI_VIA_MAX_NAMES)
            break;
        int n = snprintf(out + used, size - used, "%s#%s#", count > 0 ? ", " : "", name.c_str());
        if (n < 0 || (size_t)n >= size - used) {
            out[used] = 0;
            break;
        }
        used += (size_t)n;
        last = name;
        count++;
    }
    return count;
}
