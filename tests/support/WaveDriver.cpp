#include "support/WaveDriver.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

std::vector<int16_t> WaveDriver_Samples(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples;
    size_t data = bytes.find("data");
    for (size_t s = data + 8; data < 256 && s + 1 < bytes.size(); s += 2)
        samples.push_back((int16_t)((unsigned char)bytes[s] | ((unsigned char)bytes[s + 1] << 8)));
    return samples;
}

LoudSpan WaveDriver_LoudSpan(const std::vector<int16_t> &samples, int threshold)
{
    LoudSpan span;
    for (size_t i = 0; i < samples.size(); i++) {
        if (abs(samples[i]) <= threshold)
            continue;
        if (span.first < 0)
            span.first = (long)i;
        span.last = (long)i + 1;
        span.loud++;
    }
    return span;
}
