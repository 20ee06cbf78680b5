// The data readers' number conversions, on top of the locale-free leading-number parsers.
#include <charconv>
#include <cmath>
#include <cstring>

#include "ui/Utils.h"

namespace {

/// Reads the leading double of text; sets *stop after its last character. False when there is none.
bool LeadingDouble(const char *text, double *value, const char **stop)
{
    const char *start = Utils_NumberStart(text);
    double parsed = 0;
    std::from_chars_result result = std::from_chars(start, start + strlen(start), parsed, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    *value = parsed;
    *stop = result.ptr;
    return true;
}

} // namespace

int Utils_SpanToInt(const char *text, size_t length)
{
    // Row codes and heading ranges are short: a longer span is not a number of theirs.
    char copy[32];
    if (text == nullptr || length >= sizeof copy)
        return 0;
    memcpy(copy, text, length);
    copy[length] = 0;
    return Utils::stringToInt(copy);
}

bool Utils_ParseDouble(const char *text, double *value)
{
    double parsed = 0;
    const char *stop = nullptr;
    if (text == nullptr || !LeadingDouble(text, &parsed, &stop))
        return false;
    while (*stop == ' ' || *stop == '\t' || *stop == '\r' || *stop == '\n')
        stop++;
    if (*stop != 0)
        return false;
    *value = parsed;
    return true;
}

int Utils::stringToInt(const char *text)
{
    int value = 0;
    Utils_LeadingInt(text, &value);
    return value;
}

float Utils::stringToFloat(const char *text)
{
    float value = 0;
    Utils_LeadingFloat(text, &value);
    return value;
}

double Utils::stringToDouble(const char *text)
{
    double value = 0;
    const char *stop = nullptr;
    return text != nullptr && LeadingDouble(text, &value, &stop) ? value : 0;
}

double Utils::stringToDoubleCut5Digits(const char *text, bool cut)
{
    double value = stringToDouble(text);
    if (cut && value > 99999.0)
        value /= 10.0;
    return std::trunc(value);
}
